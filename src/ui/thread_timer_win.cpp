// Thread timers that call a function of ours.
#include "ui/thread_timer_win.h"

#include <map>

namespace qv {
namespace {

// A thread timer carries nothing but the id the system gave it: the tick
// finds its timer here. No window takes the ticks, because under Wine making
// one, even a hidden message-only one, was some 2 ms of the start.
std::map<UINT_PTR, ThreadTimer*>& TimersById() {
    static std::map<UINT_PTR, ThreadTimer*> timers;
    return timers;
}

}  // namespace

void ThreadTimer::start(unsigned intervalMs) {
    // A running timer keeps its id: SetTimer then just changes the interval.
    const UINT_PTR id = SetTimer(nullptr, id_, intervalMs, &ThreadTimer::onTimer);
    if (id == id_) return;
    stop();
    id_ = id;
    if (id_) TimersById()[id_] = this;
}

void ThreadTimer::stop() {
    if (!id_) return;
    KillTimer(nullptr, id_);
    TimersById().erase(id_);
    id_ = 0;
}

void CALLBACK ThreadTimer::onTimer(HWND, UINT, UINT_PTR id, DWORD) {
    const auto found = TimersById().find(id);
    if (found != TimersById().end()) found->second->onTick_();
}

}  // namespace qv
