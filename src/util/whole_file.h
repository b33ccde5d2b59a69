// Files written and read whole, through the standard library.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace qv {

// Creates or replaces the file at path with text, byte for byte; false when
// it cannot be created or not all of text was written.
bool WriteWholeFile(const std::string& path, std::string_view text);

// The first limit bytes of the file (all of it when shorter); nothing when it
// cannot be opened.
std::optional<std::string> ReadFileStart(const std::string& path, std::size_t limit);

}  // namespace qv
