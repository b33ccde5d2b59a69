// Reading numbers back from the texts the settings store keeps in the registry.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace qv {

// The number a stored text holds, or nothing when it holds none.
// A text longer than two characters that starts with "0x" or "0X" is read as
// hexadecimal after that prefix; any other text as signed decimal (an optional
// "+" or "-", then digits). No blanks or other characters are allowed, an empty
// text is no number, and neither is a number outside the signed 32-bit range
// (hexadecimal included: "0xFFFFFFFF" is no number rather than -1).
std::optional<std::int32_t> StoredInt(std::string_view text);

// StoredInt, or def when the text holds no number.
std::int32_t StoredIntOr(std::string_view text, std::int32_t def);

}  // namespace qv
