// The stick in the game list: when a reading of player 1's joystick counts as
// pushed up or down, and the moves and presses that a run of readings gives.
#pragma once

#include <cstdint>
#include <string_view>

namespace qv {

enum class StickPush { None, Up, Down };

// How a raw vertical position (0 top to 65535 bottom) pushes. With a stored
// calibration ("left right top bottom" in the resolution's units) that holds
// limits (top below bottom), the position scaled by resolution pushes once it
// is past top or bottom; otherwise once it is more than a third of the range
// away from the centre.
StickPush PushOf(std::uint16_t rawY, std::string_view calibration, int resolution);

// Turns readings into list steps: a push moves the focus one game at once
// and, held on, again from the kRepeatAfter-th reading on at every reading;
// button 1 going down presses once, however long it is held.
class ListStick {
public:
    static constexpr int kRepeatAfter = 2;

    struct Step {
        int move = 0;        // -1 up, +1 down
        bool press = false;  // as Enter on the focused game
    };
    Step take(StickPush push, bool button1);

    // The stick was not read for a while: a button already held when reading
    // starts again does not press (it may be the press that ended a game).
    void reset();

private:
    StickPush held_ = StickPush::None;
    int heldReadings_ = 0;
    bool buttonDown_ = true;
};

}  // namespace qv
