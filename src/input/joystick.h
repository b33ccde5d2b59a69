// Joysticks: the seven devices that have a button map, with the analog
// joystick and the calibration each one uses, the maps' texts, the stick
// reading and the calibration of analog joysticks 1 and 2.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "settings/settings.h"

namespace qv {

// One entry of the joystick device selector CB_JOYS: the one table of which
// analog joystick and which calibration a device uses.
struct JoystickDevice {
    const char* item;                    // "JOY1", "4BUTTON" ...
    std::string Settings::*buttonMap;    // the device's ButtonMap in the settings
    int buttonLimit;                     // buttons 0 to limit - 1 exist
    int joystick;                        // analog joystick read for it: 1, 2 or 0 (none)
    std::string Settings::*calibration;  // JoyC1, JoyC2 or null (none shown)
};

inline constexpr int kJoystickDeviceCount = 7;
inline constexpr std::array<JoystickDevice, kJoystickDeviceCount> JoystickDevices{{
    {"JOY1", &Settings::RB_JOY1, 2, 1, &Settings::JoyC1},
    {"JOY2", &Settings::RB_JOY2, 2, 2, &Settings::JoyC2},
    {"4BUTTON", &Settings::RB_4But, 4, 1, &Settings::JoyC1},
    {"6BUTTON", &Settings::RB_6But, 6, 1, &Settings::JoyC1},
    {"SIDEWINDER", &Settings::RB_Swin, 10, 0, nullptr},
    {"GRIP1", &Settings::RB_Grp1, 8, 0, nullptr},
    {"GRIP2", &Settings::RB_Grp2, 8, 0, nullptr},
}};

// The entry of an input device (an index in the input device list, as the
// players' selectors store it), found by its code; null for a device without
// a button map (NONE, the keyboard layouts, the SNES pads) and for no device.
const JoystickDevice* JoystickDeviceOf(int deviceIndex);

// Slots of a ButtonMap: buttons A to F, Start, Coins.
inline constexpr int kMapSlots = 8;
// The map value of an input that no button drives.
inline constexpr int kNoButton = 255;

using MapValues = std::array<int, kMapSlots>;

// Words 1 to 8 of a map text, each read as a decimal integer.
MapValues MapFields(std::string_view buttonMap);
// The map text of eight values, joined by single blanks.
std::string MapText(const MapValues& values);
// A map field's value as it stands when the field is left: a button the
// device does not have (value at or above its limit) becomes kNoButton.
int AcceptButton(int value, int buttonLimit);

// One reading of an analog joystick: positions 0 to 65535, bit k of buttons
// set while button k is held.
struct StickReading {
    std::uint16_t x = 0;
    std::uint16_t y = 0;
    std::uint32_t buttons = 0;
};

// Where readings come from: the multimedia library in the program, a
// scripted stick in tests.
class StickSource {
public:
    virtual ~StickSource() = default;
    // Joystick 1 or 2; nothing for any other number and when the query fails
    // (no such joystick, or the system refuses).
    virtual std::optional<StickReading> query(int joystick) = 0;
    // The same, a failed query reading 0, 0 and no buttons, as the panel
    // takes it.
    StickReading read(int joystick) { return query(joystick).value_or(StickReading{}); }
    // Whether Esc is held down now.
    virtual bool escapeHeld() = 0;
};

// The button a capture records: the lowest set bit of the lowest 16, or
// nothing when none of them is set.
std::optional<int> CapturedButton(std::uint32_t buttons);

// A raw position in the resolution's units, v x resolution / 65535 dropping
// the remainder; 64-bit, so resolutions above 32768 do not overflow.
int ScaleAxis(std::uint16_t raw, int resolution);

// The calibration of one analog joystick: first the user holds the stick at
// its top-left stop until button 0 alone is pressed, then at its
// bottom-right stop until button 1 alone is pressed; Esc ends a phase too,
// and Esc ending the second phase stores nothing.
class Calibration {
public:
    enum class Phase { TopLeft, BottomRight, Calibrated, NotCalibrated };

    explicit Calibration(int resolution) : resolution_(resolution) {}

    // Takes one reading and whether Esc is held at that moment. A phase's
    // first reading only sets its starting extreme; every later one widens
    // it, shows as the live position and may end the phase.
    void take(const StickReading& reading, bool escape);

    Phase phase() const { return phase_; }
    bool running() const { return phase_ == Phase::TopLeft || phase_ == Phase::BottomRight; }
    // The live position "x,y" of the last reading that was shown.
    const std::string& position() const { return position_; }
    // After Calibrated: "left right top bottom", each limit moved a tenth of
    // the travel towards the centre.
    std::string thresholds() const;

private:
    int resolution_;
    Phase phase_ = Phase::TopLeft;
    bool phaseStarted_ = false;
    int minX_ = 0, minY_ = 0, maxX_ = 0, maxY_ = 0;
    std::string position_;
};

}  // namespace qv
