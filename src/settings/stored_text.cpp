// Parsing of stored integer texts.
#include "settings/stored_text.h"

namespace qv {

namespace {

int DigitValue(char c, int base) {
    int value = -1;
    if (c >= '0' && c <= '9')
        value = c - '0';
    else if (c >= 'a' && c <= 'f')
        value = c - 'a' + 10;
    else if (c >= 'A' && c <= 'F')
        value = c - 'A' + 10;
    return value < base ? value : -1;
}

// Digits only, at least one; the magnitude is bounded by limit (checked on
// every digit, so no length of text can overflow).
std::optional<std::uint32_t> Magnitude(std::string_view digits, int base, std::uint32_t limit) {
    if (digits.empty()) return std::nullopt;
    std::uint32_t value = 0;
    for (char c : digits) {
        const int digit = DigitValue(c, base);
        if (digit < 0) return std::nullopt;
        const auto d = static_cast<std::uint32_t>(digit);
        if (value > (limit - d) / static_cast<std::uint32_t>(base)) return std::nullopt;
        value = value * static_cast<std::uint32_t>(base) + d;
    }
    return value;
}

constexpr std::uint32_t kMaxPositive = 0x7FFFFFFFu;
constexpr std::uint32_t kMaxNegative = 0x80000000u;

}  // namespace

std::optional<std::int32_t> StoredInt(std::string_view text) {
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        const auto value = Magnitude(text.substr(2), 16, kMaxPositive);
        if (!value) return std::nullopt;
        return static_cast<std::int32_t>(*value);
    }
    bool negative = false;
    if (!text.empty() && (text[0] == '+' || text[0] == '-')) {
        negative = text[0] == '-';
        text.remove_prefix(1);
    }
    const auto value = Magnitude(text, 10, negative ? kMaxNegative : kMaxPositive);
    if (!value) return std::nullopt;
    // -2147483648 has no positive twin; negate in unsigned arithmetic.
    return negative ? static_cast<std::int32_t>(0u - *value) : static_cast<std::int32_t>(*value);
}

std::int32_t StoredIntOr(std::string_view text, std::int32_t def) {
    return StoredInt(text).value_or(def);
}

}  // namespace qv
