// Thread timers that call a function of ours.
#include "ui/thread_timer_win.h"

#include <map>

namespace qv {
namespace {

// Thread timers carry no data of their own: find the timer by its id.
std::map<UINT_PTR, ThreadTimer*>& TimersById() {
    static std::map<UINT_PTR, ThreadTimer*> timers;
    return timers;
}

}  // namespace

void ThreadTimer::start(unsigned intervalMs) {
    // An existing id keeps its entry: SetTimer then just changes the interval.
    const UINT_PTR id = SetTimer(nullptr, id_, intervalMs, &ThreadTimer::onTimer);
    if (id != id_) {
        stop();
        id_ = id;
        if (id_) TimersById()[id_] = this;
    }
}

void ThreadTimer::stop() {
    if (!id_) return;
    KillTimer(nullptr, id_);
    TimersById().erase(id_);
    id_ = 0;
}

void CALLBACK ThreadTimer::onTimer(HWND, UINT, UINT_PTR id, DWORD) {
    auto found = TimersById().find(id);
    if (found != TimersById().end()) found->second->onTick_();
}

}  // namespace qv
