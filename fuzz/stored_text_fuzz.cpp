// Fuzz target: stored integer texts, checked against std::from_chars.
#include <charconv>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string_view>

#include "settings/stored_text.h"

namespace {

// The same rule by another road: the standard parser on the digits after an
// optional prefix ("0x"/"0X" for hexadecimal, "+" for decimal).
std::optional<std::int32_t> Oracle(std::string_view text) {
    int base = 10;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        text.remove_prefix(2);
        base = 16;
        if (text.front() == '-') return std::nullopt;  // from_chars would take a sign
    } else if (!text.empty() && text.front() == '+') {
        text.remove_prefix(1);
        if (!text.empty() && text.front() == '-') return std::nullopt;
    }
    std::int32_t value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value, base);
    if (text.empty() || error != std::errc() || stop != end) return std::nullopt;
    return value;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const auto value = qv::StoredInt(text);
    if (value != Oracle(text)) std::abort();
    if (qv::StoredIntOr(text, 12345) != value.value_or(12345)) std::abort();
    return 0;
}
