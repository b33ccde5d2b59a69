// Joystick button maps and calibration.
#include "input/joystick.h"

#include <algorithm>
#include <cstdlib>

#include "settings/device_list.h"
#include "util/text.h"

namespace qv {

const JoystickDevice* JoystickDeviceOf(int deviceIndex) {
    const std::string code = DeviceCodeAt(deviceIndex);
    for (const JoystickDevice& device : JoystickDevices)
        if (code == device.item) return &device;
    return nullptr;
}

MapValues MapFields(std::string_view buttonMap) {
    MapValues values{};
    for (int slot = 1; slot <= kMapSlots; ++slot)
        values[slot - 1] = TextInt(WordAt(buttonMap, ' ', slot));
    return values;
}

std::string MapText(const MapValues& values) {
    std::string text = IntText(values[0]);
    for (int slot = 2; slot <= kMapSlots; ++slot)
        text += " " + IntText(values[slot - 1]);
    return text;
}

int AcceptButton(int value, int buttonLimit) { return value >= buttonLimit ? kNoButton : value; }

std::optional<int> CapturedButton(std::uint32_t buttons) {
    for (int bit = 0; bit < 16; ++bit) {
        if (buttons & (1u << bit)) return bit;
    }
    return std::nullopt;
}

int ScaleAxis(std::uint16_t raw, int resolution) {
    return static_cast<int>(static_cast<std::int64_t>(raw) * resolution / 65535);
}

void Calibration::take(const StickReading& reading, bool escape) {
    if (!running()) return;
    const int x = ScaleAxis(reading.x, resolution_);
    const int y = ScaleAxis(reading.y, resolution_);
    const bool topLeft = phase_ == Phase::TopLeft;
    int& extremeX = topLeft ? minX_ : maxX_;
    int& extremeY = topLeft ? minY_ : maxY_;
    if (!phaseStarted_) {
        extremeX = x;
        extremeY = y;
        phaseStarted_ = true;
        return;
    }
    extremeX = topLeft ? std::min(extremeX, x) : std::max(extremeX, x);
    extremeY = topLeft ? std::min(extremeY, y) : std::max(extremeY, y);
    position_ = IntText(x) + "," + IntText(y);
    // "Button 1" of the prompt is button 0 alone, "Button 2" button 1 alone.
    const std::uint32_t doneButtons = topLeft ? 1 : 2;
    if (reading.buttons != doneButtons && !escape) return;
    phaseStarted_ = false;
    if (topLeft) {
        phase_ = Phase::BottomRight;
    } else {
        phase_ = escape ? Phase::NotCalibrated : Phase::Calibrated;
    }
}

std::string Calibration::thresholds() const {
    const int dx = std::abs(minX_ - maxX_) / 10;
    const int dy = std::abs(minY_ - maxY_) / 10;
    return IntText(minX_ + dx) + " " + IntText(maxX_ - dx) + " " + IntText(minY_ + dy) + " " +
           IntText(maxY_ - dy);
}

}  // namespace qv
