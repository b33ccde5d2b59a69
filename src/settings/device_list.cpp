// The input device list's item texts and device codes.
#include "settings/device_list.h"

#include "util/text.h"

namespace qv {

std::string InputDeviceItem(int index) {
    const InputDevice& device = InputDeviceList.at(static_cast<std::size_t>(index));
    std::string item = device.code;
    // NONE is one blank short of the others; the product's lists were made so.
    const std::size_t width = index == 0 ? 11 : 12;
    if (item.size() < width) item.append(width - item.size(), ' ');
    item += "| ";
    item += device.description;
    return item;
}

std::string DeviceCodeOf(std::string_view itemText) { return WordAt(itemText, ' ', 1); }

std::string DeviceCodeAt(int index) {
    if (index < 0 || index >= kInputDeviceCount) return {};
    return DeviceCodeOf(InputDeviceItem(index));
}

std::string SelectorItem(int index) {
    return ReplaceFirst("|", std::string(100, ' '), InputDeviceItem(index));
}

std::string DeviceDescription(std::string_view itemText) {
    std::string description;
    const int words = WordCount(itemText, ' ');
    for (int n = 2; n <= words; ++n)
        description += " " + WordAt(itemText, ' ', n);
    return description;
}

}  // namespace qv
