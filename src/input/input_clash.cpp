// Mapped inputs that share a key or a button.
#include "input/input_clash.h"

#include "settings/device_list.h"
#include "util/text.h"

namespace qv {
namespace {

constexpr const char* kKeySlotNames[kKeySlots] = {
    "Up-Left",  "Up",       "Up-Right", "Left",     "Right",    "Down-Left", "Down",  "Down-Right",
    "Button A", "Button B", "Button C", "Button D", "Button E", "Button F",  "Start", "Coins"};
constexpr const char* kMapSlotNames[kMapSlots] = {"Button A", "Button B", "Button C", "Button D",
                                                  "Button E", "Button F", "Start",    "Coins"};
constexpr int kKey1Device = 1;  // indexes in the input device list
constexpr int kKey2Device = 2;

std::optional<std::size_t> FirstHolder(std::span<const MappedInput> inputs, std::size_t of,
                                       bool ownGroup) {
    const MappedInput& input = inputs[of];
    for (std::size_t i = 0; i < inputs.size(); ++i) {
        if (i != of && (inputs[i].group == input.group) == ownGroup && inputs[i].code == input.code)
            return i;
    }
    return std::nullopt;
}

}  // namespace

std::vector<std::optional<std::size_t>> FindClashes(std::span<const MappedInput> inputs,
                                                    bool acrossGroups) {
    std::vector<std::optional<std::size_t>> clashes(inputs.size());
    for (std::size_t i = 0; i < inputs.size(); ++i) {
        if (!inputs[i].code) continue;
        clashes[i] = FirstHolder(inputs, i, true);
        if (!clashes[i] && acrossGroups) clashes[i] = FirstHolder(inputs, i, false);
    }
    return clashes;
}

std::vector<MappedInput> LayoutInputs(const KeyFields& key1, const KeyFields& key2) {
    std::vector<MappedInput> inputs;
    int group = 0;
    for (const KeyFields* layout : {&key1, &key2}) {
        for (int slot = 1; slot <= kKeySlots; ++slot) {
            const std::string& field = (*layout)[slot - 1];
            inputs.push_back({group, slot,
                              field.empty() ? std::nullopt : std::optional<int>(TextInt(field))});
        }
        ++group;
    }
    return inputs;
}

bool BothLayoutsInUse(std::span<const int> playerDevices) {
    bool key1 = false, key2 = false;
    for (int device : playerDevices) {
        key1 = key1 || device == kKey1Device;
        key2 = key2 || device == kKey2Device;
    }
    return key1 && key2;
}

std::string KeyClashLine(int code, const MappedInput& other) {
    return IntText(code) + " is also " + kKeySlotNames[other.slot - 1] + " of " +
           (other.group == 0 ? "KEY1" : "KEY2");
}

std::vector<MappedInput> MapInputs(const MapValues& values, int buttonLimit) {
    std::vector<MappedInput> inputs;
    for (int slot = 1; slot <= kMapSlots; ++slot) {
        const int button = values[slot - 1];
        const bool held = button >= 0 && button < buttonLimit && button != kNoButton;
        inputs.push_back({0, slot, held ? std::optional<int>(button) : std::nullopt});
    }
    return inputs;
}

std::string ButtonClashLine(int button, const MappedInput& other) {
    return IntText(button) + " is also " + kMapSlotNames[other.slot - 1];
}

}  // namespace qv
