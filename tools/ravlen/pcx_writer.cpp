// PCX writer: header fields at their offsets, rows encoded one by one.
#include "pcx_writer.h"

#include <algorithm>
#include <stdexcept>

namespace ravlen {
namespace {

void Put16(std::vector<std::uint8_t>& out, std::size_t at, int value) {
    out[at] = static_cast<std::uint8_t>(value & 0xFF);
    out[at + 1] = static_cast<std::uint8_t>((value >> 8) & 0xFF);
}

// Runs of up to 63 equal bytes, never across a row end; a single byte below
// 0xC0 stands for itself.
void EncodeRow(const std::uint8_t* row, int length, std::vector<std::uint8_t>& out) {
    int i = 0;
    while (i < length) {
        const std::uint8_t value = row[i];
        int run = 1;
        while (i + run < length && run < 63 && row[i + run] == value)
            ++run;
        if (run > 1 || value >= 0xC0) out.push_back(static_cast<std::uint8_t>(0xC0 | run));
        out.push_back(value);
        i += run;
    }
}

}  // namespace

std::vector<std::uint8_t> EncodePcx(int width, int height, const std::vector<std::uint8_t>& pixels,
                                    const Palette& palette) {
    if (width < 1 || height < 1 || width > 65535 || height > 65535 ||
        pixels.size() != static_cast<std::size_t>(width) * static_cast<std::size_t>(height))
        throw std::invalid_argument("EncodePcx: bad picture size");
    const int bytesPerLine = (width + 1) & ~1;  // rows hold an even number of bytes

    std::vector<std::uint8_t> out(128, 0);
    out[0] = 10;  // maker
    out[1] = 5;   // version
    out[2] = 1;   // run-length encoded
    out[3] = 8;   // bits per pixel
    Put16(out, 8, width - 1);
    Put16(out, 10, height - 1);
    Put16(out, 12, 72);
    Put16(out, 14, 72);
    out[65] = 1;  // planes
    Put16(out, 66, bytesPerLine);
    Put16(out, 68, 1);  // colour palette

    std::vector<std::uint8_t> row(static_cast<std::size_t>(bytesPerLine), 0);
    for (int y = 0; y < height; ++y) {
        const std::uint8_t* source =
            pixels.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(width);
        std::copy(source, source + width, row.begin());
        EncodeRow(row.data(), bytesPerLine, out);
    }
    out.push_back(0x0C);
    out.insert(out.end(), palette.begin(), palette.end());
    return out;
}

}  // namespace ravlen
