// Mapped inputs that share a key or a button: the rule behind the clash
// warnings of the keyboard and joystick panels. A clash is only reported,
// never refused, since some users want one key twice.
#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "input/joystick.h"
#include "input/key_layout.h"

namespace qv {

// One mapped input: its group (a keyboard layout), its slot (from 1) and the
// code it holds, if any.
struct MappedInput {
    int group = 0;
    int slot = 0;
    std::optional<int> code;
};

// For each input, the other input that holds the same code: the first in
// slot order of its own group, else, when acrossGroups, the first of another
// group. Nothing for an input that holds no code or a code of its own.
std::vector<std::optional<std::size_t>> FindClashes(std::span<const MappedInput> inputs,
                                                    bool acrossGroups);

// The sixteen fields of KEY1 (group 0), then those of KEY2 (group 1); an
// empty field holds no code.
std::vector<MappedInput> LayoutInputs(const KeyFields& key1, const KeyFields& key2);

// Whether the players' devices (indexes in the input device list) use both
// keyboard layouts: then a key of one layout clashes with the other too.
bool BothLayoutsInUse(std::span<const int> playerDevices);

// The panel's line for a key that another field holds: "17 is also Up of KEY2".
std::string KeyClashLine(int code, const MappedInput& other);

// The eight fields of a button map (group 0); no button (255) and a button
// the device does not have hold no code.
std::vector<MappedInput> MapInputs(const MapValues& values, int buttonLimit);

// The panel's line for a button that another input holds: "2 is also Start".
std::string ButtonClashLine(int button, const MappedInput& other);

}  // namespace qv
