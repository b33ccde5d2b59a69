// After a game the main window takes the front back by itself: the game's
// console can outlive the interpreter for a while and hold the front, and
// the X server can take the focus away once more just after the window came
// back and leave no window in front. Fed the time and who holds the front on
// every tick, it says what to do.
#pragma once

#include <cstdint>

namespace qv {

class ComeBack {
public:
    // Held this long again, the window is back for good.
    static constexpr std::int64_t kSettleMs = 3000;
    // However things stand, the come-back ends this long after the game: a
    // window the user brought forward meanwhile and closed later leaves the
    // front to whatever the system gives it next. Any other window in front
    // before that may still be the game's console, which can close late on a
    // busy machine, or one the game's windows hand the front to.
    static constexpr std::int64_t kLimitMs = 15000;

    enum class Front {
        kThisWindow,  // the main window is active and in front
        kNone,        // no window, or one already destroyed
        kOther,       // any other window: another program's, or one of ours
    };
    enum class Step {
        kNothing,
        kTakeFront,  // bring the main window forward
        kKeepFocus,  // the window is in front: give the focus back if it has none
    };

    // A game has ended (at now, milliseconds of a monotonic clock).
    void gameEnded(std::int64_t now);
    Step tick(std::int64_t now, Front front);
    bool pending() const { return pending_; }

private:
    bool pending_ = false;
    std::int64_t endedAt_ = 0;
    std::int64_t heldSince_ = -1;  // -1: not in front now
};

}  // namespace qv
