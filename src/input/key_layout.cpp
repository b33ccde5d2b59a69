// Keyboard layout texts and the sixteen fields that edit them.
#include "input/key_layout.h"

#include "util/text.h"

namespace qv {

KeyFields LayoutFields(std::string_view layout) {
    KeyFields fields;
    for (int slot = 1; slot <= kKeySlots; ++slot)
        fields[slot - 1] = WordAt(layout, ' ', slot);
    return fields;
}

std::string LayoutText(const KeyFields& fields) {
    std::string text = fields[0];
    for (int slot = 2; slot <= kKeySlots; ++slot)
        text += " " + fields[slot - 1];
    return text;
}

}  // namespace qv
