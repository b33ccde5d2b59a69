// The life of the process.
#include "app/application_win.h"

#include "app/main_window_win.h"
#include "launch/temp_names.h"
#include "app/wait_window_win.h"
#include "launch/emulator.h"
#include "ui/busy_win.h"
#include "util/system_win.h"

namespace qv {

bool AppWindow::create(const char* title) {
    if (!createWindow({.className = "QuarvelApplication",
                       .text = title,
                       .style = WS_POPUP | WS_SYSMENU | WS_MINIMIZEBOX,
                       .left = GetSystemMetrics(SM_CXSCREEN) / 2,
                       .top = GetSystemMetrics(SM_CYSCREEN) / 2,
                       .design = false})) {
        return false;
    }
    // Zero-sized but shown, so that the task bar has a button with the title.
    ShowWindow(hwnd(), SW_SHOWNOACTIVATE);
    return true;
}

namespace {
constexpr UINT kPassActivationMessage = WM_APP + 1;
}

LRESULT AppWindow::handleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_CLOSE:
        // Closing from the task bar is a close request to the main window.
        if (!mainWindow_) break;
        PostMessageA(mainWindow_, WM_CLOSE, 0, 0);
        return 0;
    case WM_ACTIVATE:
        // Restored from the task bar or brought forward by a second copy,
        // this window is activated itself; once the activation has settled
        // it goes on to the window the user worked in.
        if (LOWORD(wp) != WA_INACTIVE && !HIWORD(wp)) {
            PostMessageA(hwnd(), kPassActivationMessage, 0, 0);
        }
        break;
    case kPassActivationMessage:
        PassActivation();
        return 0;
    }
    return Window::handleMessage(msg, wp, lp);
}

void AppWindow::PassActivation() {
    if (IsIconic(hwnd()) || GetActiveWindow() != hwnd()) return;
    HWND target = GetLastActivePopup(hwnd());
    if (target == hwnd()) target = mainWindow_;  // hidden while this window was minimised
    if (target && IsWindowVisible(target) && IsWindowEnabled(target)) SetForegroundWindow(target);
}

int RunQuarvel() {
    // First, before a window makes the system load its display libraries:
    // the program usually sits in the emulator folder, and with a crowded one
    // every library looked for there first cost a listing of all its files.
    LoadLibrariesFromSystemFolder();
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
    SetMessageRoute(
        [&main](MSG& msg) { return main.KeyMessage(msg) || IsDialogMessageA(main.hwnd(), &msg); });
    RunMessageLoop();
    return 0;
}

}  // namespace qv
