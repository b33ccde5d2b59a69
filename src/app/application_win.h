// The life of the process: start-up in its fixed order, the message loop,
// and the hidden application window that carries the title on the task bar.
#pragma once

#include "ui/window_win.h"

namespace qv {

// The application window: never seen itself, it owns the main window and
// shows the application title on the task bar.
class AppWindow : public Window {
public:
    bool create(const char* title);
    void setMainWindow(HWND mainWindow) { mainWindow_ = mainWindow; }

protected:
    LRESULT handleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    // Hands the activation on to the last active pop-up (the main window or
    // its message box), which a zero-sized window cannot show.
    void PassActivation();

    HWND mainWindow_ = nullptr;
};

// Starts Quarvel and runs it until it ends; returns the exit code.
int RunQuarvel();

}  // namespace qv
