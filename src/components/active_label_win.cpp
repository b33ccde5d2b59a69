// TOstrelActiveLabel.
#include "components/active_label_win.h"

#include <shellapi.h>

#include <map>

#include "ui/container_win.h"

namespace qv {
namespace {

// Thread timers carry no data of their own: find the label by its timer.
std::map<UINT_PTR, TOstrelActiveLabel*>& LabelsByTimer() {
    static std::map<UINT_PTR, TOstrelActiveLabel*> labels;
    return labels;
}

}  // namespace

TOstrelActiveLabel::TOstrelActiveLabel(Container& owner)
    : Label(owner), notActiveColor_(color()), activeColor_(color()) {
    timer_ = SetTimer(nullptr, 0, 100, &TOstrelActiveLabel::onTimer);
    LabelsByTimer()[timer_] = this;
    onClick = [this](GraphicControl&) {
        ShellExecuteA(nullptr, nullptr, cmdExec_.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
    };
}

TOstrelActiveLabel::~TOstrelActiveLabel() {
    KillTimer(nullptr, timer_);
    LabelsByTimer().erase(timer_);
}

void CALLBACK TOstrelActiveLabel::onTimer(HWND, UINT, UINT_PTR id, DWORD) {
    auto found = LabelsByTimer().find(id);
    if (found != LabelsByTimer().end()) found->second->checkHover();
}

void TOstrelActiveLabel::checkHover() {
    POINT at{};
    if (!GetCursorPos(&at) || !owner().hwnd()) return;
    ScreenToClient(owner().hwnd(), &at);
    const RECT& r = bounds();
    const bool over = r.left <= at.x && at.x <= r.right && r.top <= at.y && at.y <= r.bottom;
    const COLORREF wanted = over ? activeColor_ : notActiveColor_;
    if (color() != wanted) setColor(wanted);
}

}  // namespace qv
