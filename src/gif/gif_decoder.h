// Reads a GIF file (bytes) into its frames: the reading side of the GIF component.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "gif/gif_status.h"

namespace qv::gif {

struct Rgb {
    uint8_t r = 0, g = 0, b = 0;
    bool operator==(const Rgb&) const = default;
};

// Always 256 entries; entries the file does not give are black.
using ColorTable = std::array<Rgb, 256>;

// One decoded image of the file.
struct Frame {
    int left = 0, top = 0, width = 0, height = 0;
    int colorBits = 0;  // of the table the frame uses
    bool localTable = false;
    bool interlaced = false;
    int disposal = 0;  // 0 to 3; the codes 4 to 7 are read as 2
    int delayMs = 1;   // at least 1
    bool transparent = false;
    uint8_t transparentIndex = 0;
    std::string comment;
    ColorTable colors{};          // the local table, or the global one
    std::vector<uint8_t> pixels;  // width * height colour indices, rows top to bottom

    bool isTransparentAt(size_t i) const { return transparent && pixels[i] == transparentIndex; }
};

struct Picture {
    int width = 0, height = 0;  // the screen, enlarged to cover every frame
    ColorTable globalColors{};
    int colorBits = 0;  // the largest met
    int loopCount = 1;  // 0 plays for ever
    bool anyTransparent = false;
    std::vector<Frame> frames;
};

inline constexpr size_t kMaxFrames = 256;
// Guards against files that claim huge images: a frame, or the picture, of
// more pixels than this ends reading, and so do frames whose pixels add up
// to more than kMaxTotalPixels; a larger screen is taken as empty.
inline constexpr int64_t kMaxPixels = int64_t{1} << 24;
inline constexpr int64_t kMaxTotalPixels = int64_t{1} << 26;

// Reads a whole GIF file. Returns GifStatus::kEmpty for no data and
// GifStatus::kReading when the data does not start with "GIF" (picture empty
// then); otherwise GifStatus::kDone with every frame read up to the end, the
// trailer or the first block that cannot be used.
GifStatus ReadGif(std::span<const uint8_t> data, Picture& picture);

}  // namespace qv::gif
