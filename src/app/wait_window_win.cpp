// The wait window.
#include "app/wait_window_win.h"

#include "launch/emulator.h"
#include "ui/graphics_win.h"

namespace qv {

bool TF_Wait::create() {
    if (!createWindow({.className = "QuarvelWait",
                       .text = "Wait",
                       .style = WS_POPUP,
                       .exStyle = WS_EX_TOPMOST | WS_EX_TOOLWINDOW,
                       .width = kClientWidth,
                       .height = kClientHeight})) {
        return false;
    }
    setColor(RGB(0, 0, 0));
    CentreOnScreen(hwnd());

    // The three lines as designed; InitAll fits their widths to the window.
    auto line = [this](int top, int height, int fontHeight, FontStyle style, COLORREF color,
                       const char* text) {
        Label& label = addLabel(0, top, kClientWidth, height);
        label.setFont(UiFont(fontHeight, style));
        label.setColor(color);
        label.setCentred(true);
        label.setCaption(text);
        return &label;
    };
    L_T = line(8, 16, 13, FontStyle::Bold, RGB(0, 0, 255), kAppTitle);
    L_I = line(32, 33, 11, FontStyle::Regular, RGB(0, 255, 0), "Quar Vel");
    L_I->setWordWrap(true);
    L_W = line(72, 24, 19, FontStyle::Regular, RGB(255, 255, 0), "Working...");
    InitAll();
    return true;
}

void TF_Wait::InitAll() {
    background = &addImage(0, 0, 0, 0);
    background->setAutoSize(true);
    background->loadPicture("_F_WAIT");
    sendToBack(*background);
    L_T->setBounds(4, L_T->design().top, kClientWidth - 8, L_T->designHeight());
    L_I->setBounds(8, L_I->design().top, kClientWidth - 16, L_I->designHeight());
    L_W->setBounds(4, L_W->design().top, kClientWidth - 8, L_W->designHeight());
}

void TF_Wait::showNow() {
    SetWindowPos(hwnd(), HWND_TOPMOST, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    UpdateWindow(hwnd());
}

void TF_Wait::hide() { ShowWindow(hwnd(), SW_HIDE); }

}  // namespace qv
