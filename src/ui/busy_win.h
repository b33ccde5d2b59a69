// The one place that handles window messages while work runs, and what the
// application is busy with. Work holds a BusyScope for its length and yields
// through it; handlers ask BusyWith() instead of keeping flags of their own.
#pragma once

#include <windows.h>

#include <functional>

namespace qv {

enum class Work {
    kNothing,
    kScan,      // the ROM scan
    kLaunch,    // a launch, from the free-space check to the recount
    kCheck,     // the games window's archive check
    kSnapshot,  // the viewer loads, copies or saves a snapshot
};

// What the application is busy with now: the innermost scope's work.
Work BusyWith();

// How a message is routed before it is translated and dispatched (the main
// window's keys, the dialog keys): true when the route took it. The main loop
// and every yield route alike.
void SetMessageRoute(std::function<bool(MSG&)> route);

// Runs the main loop until a quit request; returns its exit code.
int RunMessageLoop();

// Drops the mouse input queued while the thread was busy: clicks made then
// are stale (a burst on a game button must not start a second run).
void DropQueuedMouseInput();

class BusyScope {
public:
    explicit BusyScope(Work work);
    ~BusyScope();
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

    // Handles the messages pending now. A quit request is held and posted
    // again when the outermost scope ends, so that the work is not cut short
    // and the main loop still ends.
    void yield();
    // Sleeps until object is signalled, handling messages as they come;
    // false when the wait itself failed.
    bool waitFor(HANDLE object);

private:
    Work outer_;
};

}  // namespace qv
