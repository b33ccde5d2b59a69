// The life of the process.
#include "app/application_win.h"

#include "app/main_window_win.h"
#include "launch/temp_names.h"
#include "app/wait_window_win.h"
#include "launch/emulator.h"
#include "util/system_win.h"

namespace qv {

bool AppWindow::create(const char* title) {
    if (!createWindow({.className = "QuarvelApplication",
                       .text = title,
                       .style = WS_POPUP | WS_SYSMENU | WS_MINIMIZEBOX,
                       .left = GetSystemMetrics(SM_CXSCREEN) / 2,
                       .top = GetSystemMetrics(SM_CYSCREEN) / 2})) {
        return false;
    }
    // Zero-sized but shown, so that the task bar has a button with the title.
    ShowWindow(hwnd(), SW_SHOWNOACTIVATE);
    return true;
}

LRESULT AppWindow::handleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    // Closing from the task bar is a close request to the main window.
    if (msg == WM_CLOSE && mainWindow_) {
        PostMessageA(mainWindow_, WM_CLOSE, 0, 0);
        return 0;
    }
    return Window::handleMessage(msg, wp, lp);
}

int RunQuarvel() {
    const TempNames tempNames = MakeTempNames(WindowsTempDir());

    AppWindow app;
    if (!app.create(kAppTitle)) return 1;

    TF_Wait wait;
    if (!wait.create()) return 1;
    wait.setInfo("Loading...");
    wait.setState("");
    wait.showNow();

    TF_Main main(app.hwnd(), wait, tempNames);
    if (!main.create()) return 1;
    app.setMainWindow(main.hwnd());

    ShowWindow(main.hwnd(), SW_SHOW);
    SetForegroundWindow(main.hwnd());
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        if (IsDialogMessageA(main.hwnd(), &msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return 0;
}

}  // namespace qv
