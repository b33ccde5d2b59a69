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
    // However things stand, the come-back ends this long after the game.
    static constexpr std::int64_t kLimitMs = 10000;

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
    bool cameBack_ = false;  // the window held the front since the game
    std::int64_t endedAt_ = 0;
    std::int64_t heldSince_ = -1;  // -1: not in front now
};

}  // namespace qv
