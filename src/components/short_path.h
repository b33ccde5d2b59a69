// The shortened form of a folder path that fits a narrow status line.
#pragma once

#include <string>
#include <string_view>

namespace qv {

// A path longer than limit characters loses the parts after the drive, from
// the second on, behind "..." until it fits or only drive, "..." and the last
// part are left: C:\Program Files\Arcade Emulators\Capcom Collection becomes
// C:\...\Capcom Collection. Paths that fit, or that have fewer than three
// parts, are returned unchanged.
std::string ShortenPath(std::string_view path, std::size_t limit = 35);

}  // namespace qv
