// Keyboard layouts: sixteen scan codes per layout, one per game input, kept
// as a text of decimal numbers separated by single blanks.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace qv {

inline constexpr int kKeySlots = 16;

// The texts of the sixteen key fields, slot 1 first.
using KeyFields = std::array<std::string, kKeySlots>;

// Words 1 to 16 of a layout text; a missing word gives an empty field.
KeyFields LayoutFields(std::string_view layout);

// The layout text of the sixteen fields, joined by single blanks (an empty
// field leaves two blanks in a row, which the next split reads as one).
std::string LayoutText(const KeyFields& fields);

// The set-1 make code a key message carries in bits 16 to 23 of its lParam.
// For a key that sends the extended prefix first, this is the final byte
// alone: the arrows give the same codes as keypad 8, 4, 6 and 2.
inline int ScanCodeOf(std::uint32_t keyMessageLParam) {
    return static_cast<int>((keyMessageLParam >> 16) & 0xFF);
}

}  // namespace qv
