// For tests that let the windows run between their steps: the messages
// pending now, handled by the program's own pump.
#pragma once

#include "ui/busy_win.h"

namespace qv {

inline void ProcessMessages() {
    BusyScope pump(BusyWith());
    pump.yield();
}

}  // namespace qv
