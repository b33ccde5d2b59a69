// Text routines shared by every subsystem.
#include "util/text.h"

namespace qv {

std::uint16_t WordCount(std::string_view text, char sep) {
    std::uint16_t count = 0;
    char prev = sep;
    for (char c : text) {
        if (c == sep && prev != sep) ++count;
        prev = c;
    }
    if (!text.empty() && text.back() != sep) ++count;
    return count;
}

std::string WordAt(std::string_view text, char sep, int n) {
    std::string field;
    int counter = 1;
    char prev = sep;
    for (char c : text) {
        if (c == sep) {
            if (prev != sep) ++counter;
        } else if (counter == n) {
            field += c;
        }
        prev = c;
    }
    return field;
}

std::string ReplaceFirst(std::string_view searched, std::string_view replacement,
                         std::string_view text) {
    std::string result(text);
    if (searched.empty()) return result;
    const auto at = result.find(searched);
    if (at != std::string::npos) result.replace(at, searched.size(), replacement);
    return result;
}

std::string ReplaceText(std::string_view searched, std::string_view replacement,
                        std::string_view text, bool all) {
    std::string result = ReplaceFirst(searched, replacement, text);
    if (!all || searched.empty() || replacement.find(searched) != std::string_view::npos)
        return result;
    while (result.find(searched) != std::string::npos)
        result = ReplaceFirst(searched, replacement, result);
    return result;
}

std::string RightChars(std::string_view text, int n) {
    if (n <= 0 || static_cast<std::size_t>(n) >= text.size()) return {};
    return std::string(text.substr(text.size() - static_cast<std::size_t>(n)));
}

std::string EndWithBackslash(std::string_view folder) {
    std::string ended(folder);
    if (ended.empty() || ended.back() != '\\') ended += '\\';
    return ended;
}

std::string UpperText(std::string_view text) {
    std::string result(text);
    for (char& c : result)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return result;
}

std::string IntText(std::int32_t value) { return std::to_string(value); }

namespace {

int DigitValue(char c, bool hex) {
    if (c >= '0' && c <= '9') return c - '0';
    if (hex && c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (hex && c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

}  // namespace

std::int32_t TextInt(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && text[i] == ' ')
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    const bool hex = i < text.size() && text[i] == '$';
    if (hex) ++i;
    const std::uint32_t base = hex ? 16 : 10;
    // Unsigned arithmetic: an overlong number wraps instead of overflowing.
    std::uint32_t value = 0;
    for (; i < text.size(); ++i) {
        const int digit = DigitValue(text[i], hex);
        if (digit < 0) return static_cast<std::int32_t>(value);  // the sign is dropped here
        value = value * base + static_cast<std::uint32_t>(digit);
    }
    return static_cast<std::int32_t>(negative ? 0u - value : value);
}

std::string JoinPath(std::string_view folder, std::string_view name, bool collapseAll) {
    std::string path(folder);
    path += '\\';
    path += name;
    return ReplaceText("\\\\", "\\", path, collapseAll);
}

std::string JoinedFolder(std::string_view folder) { return JoinPath(folder, "", false); }

}  // namespace qv
