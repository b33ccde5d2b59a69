// PCX decoding: header checks, the palette from the end of the file, then
// the run-length data one byte per pixel.
#include "viewer/pcx_decoder.h"

#include <algorithm>
#include <array>

namespace qv {
namespace {

constexpr std::size_t kHeaderSize = 128;
constexpr std::size_t kPaletteTail = 769;  // marker byte + 256 * 3

std::uint16_t Word(const std::uint8_t* at) {
    return static_cast<std::uint16_t>(at[0] | at[1] << 8);
}

PcxOutcome CheckHeader(const std::uint8_t* header) {
    const int bitsPerPixel = header[3];
    const int planes = header[65];
    if (header[0] != 10) return PcxOutcome::kNotPcx;
    if (header[1] != 5) return PcxOutcome::kWrongVersion;
    if (bitsPerPixel == 8 && planes == 3) return PcxOutcome::kTrueColour;
    if (bitsPerPixel == 1 && planes == 4) return PcxOutcome::kSixteenColours;
    if (bitsPerPixel == 1 && planes == 1) return PcxOutcome::kMonochrome;
    return PcxOutcome::kOk;
}

// Places the decoded pixel indices row after row. A row ends after
// bytesPerLine indices; the row advances only when the next pixel comes.
class RowWriter {
public:
    RowWriter(Pixmap& picture, const std::array<Pixel, 256>& colours, int bytesPerLine)
        : picture_(picture), colours_(colours), bytesPerLine_(bytesPerLine) {}

    bool full() const { return row_ >= picture_.height; }

    void put(std::uint8_t value, int count) {
        const Pixel colour = colours_[value];
        while (count > 0) {
            if (column_ == bytesPerLine_) {
                ++row_;
                column_ = 0;
            }
            // Up to the row's end; with bytes per line 0 the column never
            // meets it again, and every further pixel falls beyond the width.
            const int span =
                column_ < bytesPerLine_ ? std::min(count, bytesPerLine_ - column_) : count;
            if (row_ < picture_.height && column_ < picture_.width) {
                const int drawn = std::min(span, picture_.width - column_);
                Pixel* out = &picture_.at(column_, row_);
                std::fill(out, out + drawn, colour);
            }
            column_ += span;
            count -= span;
        }
    }

private:
    Pixmap& picture_;
    const std::array<Pixel, 256>& colours_;
    const int bytesPerLine_;
    int column_ = 0;
    int row_ = 0;
};

}  // namespace

PcxResult DecodePcx(const std::uint8_t* data, std::size_t size) {
    PcxResult result;
    if (size < kHeaderSize || size < kPaletteTail) {
        result.outcome = PcxOutcome::kTooShort;
        return result;
    }
    result.outcome = CheckHeader(data);
    if (result.outcome != PcxOutcome::kOk) return result;

    const int width = Word(data + 8) + 1;
    const int height = Word(data + 10) + 1;
    if (static_cast<std::size_t>(width) * static_cast<std::size_t>(height) > kMaxPcxPixels) {
        result.outcome = PcxOutcome::kTooLarge;
        return result;
    }

    // The marker byte ahead of the palette is not checked.
    std::array<Pixel, 256> colours;
    const std::uint8_t* palette = data + size - kPaletteTail + 1;
    for (int i = 0; i < 256; ++i) {
        colours[i] = RgbPixel(palette[3 * i], palette[3 * i + 1], palette[3 * i + 2]);
    }

    result.picture = Pixmap(width, height);
    RowWriter rows(result.picture, colours, Word(data + 66));
    // The data runs to the end of the file (a well-formed file's last code is
    // its palette marker, read after the last row is full); data that ends
    // early leaves the rest of the picture black.
    std::size_t at = kHeaderSize;
    while (!rows.full() && at < size) {
        const std::uint8_t code = data[at++];
        if (code < 0xC0) {
            rows.put(code, 1);
        } else if (at < size) {
            rows.put(data[at++], code - 0xC0);
        }
    }
    return result;
}

const char* PcxOutcomeText(PcxOutcome outcome) {
    switch (outcome) {
    case PcxOutcome::kOk:
        return "decoded";
    case PcxOutcome::kTooShort:
        return "too short for a PCX file";
    case PcxOutcome::kNotPcx:
        return "not a PCX file";
    case PcxOutcome::kWrongVersion:
        return "a PCX version other than 5";
    case PcxOutcome::kTrueColour:
        return "a 24-bit PCX file";
    case PcxOutcome::kSixteenColours:
        return "a 16-colour PCX file";
    case PcxOutcome::kMonochrome:
        return "a monochrome PCX file";
    case PcxOutcome::kTooLarge:
        return "a picture too large";
    }
    return "not readable";
}

}  // namespace qv
