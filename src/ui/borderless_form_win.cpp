// The borderless forms' exit picture.
#include "ui/borderless_form_win.h"

namespace qv {
namespace {

constexpr UINT kPollMs = 100;

}  // namespace

Image& BorderlessForm::addExitPicture(int left) {
    Image& exit = addImage(left, 0, 21, 18);
    exit.setAutoSize(true);
    exit.setVisible(false);
    exit.onClick = [this](GraphicControl&) { HideProc(); };
    Img_Exit = &exit;
    SetTimer(hwnd(), kTimerId, kPollMs, nullptr);
    return exit;
}

void BorderlessForm::TimeProc() {
    Img_Exit->setVisible(IsWindowVisible(hwnd()) && PointerStrictlyInside(*Img_Exit));
}

void BorderlessForm::HideProc() { ShowWindow(hwnd(), SW_HIDE); }

LRESULT BorderlessForm::handleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_TIMER:
        if (wp == kTimerId) TimeProc();
        return 0;
    case WM_CLOSE:
        HideProc();
        return 0;
    case WM_DESTROY:
        KillTimer(hwnd(), kTimerId);
        return 0;
    }
    return Container::handleMessage(msg, wp, lp);
}

}  // namespace qv
