// The portable picture: 32-bit pixels, rows top first, shared by the image
// decoders and encoders. Its layout is that of a top-down 32-bit DIB, so the
// Win32 layer turns it into a bitmap without converting (util/pixmap_win.h).
#pragma once

#include <cstdint>
#include <vector>

namespace qv {

// 0x00RRGGBB: in memory blue, green, red and an unused byte.
using Pixel = std::uint32_t;

constexpr Pixel RgbPixel(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
    return (Pixel{red} << 16) | (Pixel{green} << 8) | blue;
}
constexpr std::uint8_t RedOf(Pixel p) { return static_cast<std::uint8_t>(p >> 16); }
constexpr std::uint8_t GreenOf(Pixel p) { return static_cast<std::uint8_t>(p >> 8); }
constexpr std::uint8_t BlueOf(Pixel p) { return static_cast<std::uint8_t>(p); }

struct Pixmap {
    int width = 0;
    int height = 0;
    std::vector<Pixel> pixels;  // width * height, rows top first

    Pixmap() = default;
    // Black, unless a colour is given.
    Pixmap(int w, int h, Pixel fill = 0)
        : width(w), height(h), pixels(static_cast<std::size_t>(w) * h, fill) {}

    Pixel at(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
    Pixel& at(int x, int y) { return pixels[static_cast<std::size_t>(y) * width + x]; }
    bool valid() const {
        return width > 0 && height > 0 &&
               pixels.size() == static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
    }
};

}  // namespace qv
