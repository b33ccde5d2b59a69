// Binary PPM (P6, maxval 255) pictures for the converter.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "util/pixmap.h"

namespace qvimage {

std::vector<std::uint8_t> EncodePpm(const qv::Pixmap& picture);

// The picture, or nothing with why set: not P6, a maxval other than 255, a
// size of 0 or over 65535 either way (or over 16 million pixels), too little data.
std::optional<qv::Pixmap> DecodePpm(const std::vector<std::uint8_t>& file, std::string& why);

}  // namespace qvimage
