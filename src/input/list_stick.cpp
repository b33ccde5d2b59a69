// The stick in the game list.
#include "input/list_stick.h"

#include "input/joystick.h"
#include "util/text.h"

namespace qv {
namespace {

constexpr int kCentre = 32768;
constexpr int kThird = 65535 / 3;

}  // namespace

StickPush PushOf(std::uint16_t rawY, std::string_view calibration, int resolution) {
    const int top = TextInt(WordAt(calibration, ' ', 3));
    const int bottom = TextInt(WordAt(calibration, ' ', 4));
    if (resolution > 0 && top < bottom) {
        const int y = ScaleAxis(rawY, resolution);
        return y < top ? StickPush::Up : y > bottom ? StickPush::Down : StickPush::None;
    }
    if (rawY < kCentre - kThird) return StickPush::Up;
    if (rawY > kCentre - 1 + kThird) return StickPush::Down;
    return StickPush::None;
}

ListStick::Step ListStick::take(StickPush push, bool button1) {
    Step step;
    step.press = button1 && !buttonDown_;
    buttonDown_ = button1;
    if (push == StickPush::None) {
        held_ = StickPush::None;
        return step;
    }
    heldReadings_ = push == held_ ? heldReadings_ + 1 : 0;
    held_ = push;
    if (heldReadings_ == 0 || heldReadings_ >= kRepeatAfter) step.move = push == StickPush::Up ? -1 : 1;
    return step;
}

void ListStick::reset() {
    held_ = StickPush::None;
    heldReadings_ = 0;
    buttonDown_ = true;
}

}  // namespace qv
