// PCX writer for the stand-in's snapshots: version 5, 8 bits per pixel in one
// plane, run-length encoded, with the 256-colour palette appended.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

namespace ravlen {

// 256 entries of red, green, blue.
using Palette = std::array<std::uint8_t, 768>;

// pixels holds width * height palette indices, rows top first (1 to 65535 each way).
std::vector<std::uint8_t> EncodePcx(int width, int height, const std::vector<std::uint8_t>& pixels,
                                    const Palette& palette);

}  // namespace ravlen
