// The input device list: the twelve devices a player can use, in the order
// whose index is stored for each player, and the item texts the selectors hold.
#pragma once

#include <array>
#include <string>
#include <string_view>

namespace qv {

struct InputDevice {
    const char* code;         // Ravlen's name of the device, e.g. "KEY1"
    const char* description;  // what the players panel shows under the selector
};

inline constexpr int kInputDeviceCount = 12;

// Index 0 is NONE, 1 KEY1, 2 KEY2: the stored per-game defaults count on it.
inline constexpr std::array<InputDevice, kInputDeviceCount> InputDeviceList{{
    {"NONE", "No Input Device for this Player"},
    {"KEY1", "Keyboard layout 1"},
    {"KEY2", "Keyboard layout 2"},
    {"JOY1", "2 button analog joystick 1"},
    {"JOY2", "2 button analog joystick 2"},
    {"4BUTTON", "4 button analog joystick/gamepad"},
    {"6BUTTON", "6 button analog joystick/gamepad"},
    {"SIDEWINDER", "Microsoft Sidewinder Gamepad in digital mode (10 button)"},
    {"GRIP1", "GrIP slot 1 (8 button)"},
    {"GRIP2", "GrIP slot 2 (8 button)"},
    {"SNESPAD1", "SNES Pad 1 connected via LPT1 (8 button)"},
    {"SNESPAD2", "SNES Pad 2 connected via LPT1 (8 button)"},
}};

// The item text of entry index (0 to 11): the code padded with blanks to 12
// characters (NONE to 11), "|", one blank, the description.
// "NONE       | No Input Device for this Player", "KEY1        | Keyboard layout 1".
std::string InputDeviceItem(int index);

// A player's device code: the first blank-separated word of an item text.
std::string DeviceCodeOf(std::string_view itemText);

// The device code of the entry a selector stands at; empty for no selection
// (-1) or any other index outside the list.
std::string DeviceCodeAt(int index);

// The item text a player selector holds: the first "|" replaced by 100
// blanks, so that the box and its open list show the code alone.
std::string SelectorItem(int index);

// The description a player selector's label shows for an item text: each
// word after the first preceded by one blank (" Keyboard layout 1"); empty
// when the item has one word or none.
std::string DeviceDescription(std::string_view itemText);

}  // namespace qv
