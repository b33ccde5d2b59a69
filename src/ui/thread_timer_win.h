// A timer of the user-interface thread that calls a function of ours: for
// windowless controls, which have no window to take WM_TIMER.
#pragma once

#include <windows.h>

#include <functional>

namespace qv {

class ThreadTimer {
public:
    explicit ThreadTimer(std::function<void()> onTick) : onTick_(std::move(onTick)) {}
    ~ThreadTimer() { stop(); }
    ThreadTimer(const ThreadTimer&) = delete;
    ThreadTimer& operator=(const ThreadTimer&) = delete;

    // Starts the timer, or restarts it with a new interval.
    void start(unsigned intervalMs);
    void stop();
    bool running() const { return id_ != 0; }

private:
    static void CALLBACK onTimer(HWND, UINT, UINT_PTR id, DWORD);

    std::function<void()> onTick_;
    UINT_PTR id_ = 0;  // the system's, while running
};

}  // namespace qv
