// Thread timers that call a function of ours.
#include "ui/thread_timer_win.h"

#include "ui/window_win.h"

namespace qv {

// The hidden window that takes every thread timer's WM_TIMER. A window's timer
// ids are the caller's to choose, so each timer's id is its own address and
// the tick finds its timer without a table.
class TimerWindow : public Window {
public:
    static HWND handle() {
        static TimerWindow* const window = [] {
            auto* created = new TimerWindow;  // lives as long as the thread's timers
            created->createWindow({.className = "QuarvelTimers", .parent = HWND_MESSAGE});
            return created;
        }();
        return window->hwnd();
    }

protected:
    LRESULT handleMessage(UINT msg, WPARAM wp, LPARAM lp) override {
        if (msg == WM_TIMER) {
            reinterpret_cast<ThreadTimer*>(wp)->onTick_();
            return 0;
        }
        return Window::handleMessage(msg, wp, lp);
    }
};

void ThreadTimer::start(unsigned intervalMs) {
    // A running timer keeps its id: SetTimer then just changes the interval.
    if (SetTimer(TimerWindow::handle(), reinterpret_cast<UINT_PTR>(this), intervalMs, nullptr))
        running_ = true;
    else
        stop();
}

void ThreadTimer::stop() {
    if (!running_) return;
    KillTimer(TimerWindow::handle(), reinterpret_cast<UINT_PTR>(this));
    running_ = false;
}

}  // namespace qv
