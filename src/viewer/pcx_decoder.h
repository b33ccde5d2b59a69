// PCX decoding without files or windows: the snapshots the emulator saves
// (version 5, 8 bits per pixel in one plane, run-length encoded, the
// 256-colour palette at the end of the file).
#pragma once

#include <cstddef>
#include <cstdint>

#include "util/pixmap.h"

namespace qv {

enum class PcxOutcome {
    kOk,
    kTooShort,        // no full header, or too short to hold the palette (769 bytes)
    kNotPcx,          // the first byte is not 10
    kWrongVersion,    // version other than 5
    kTrueColour,      // 8 bits per pixel in 3 planes
    kSixteenColours,  // 1 bit per pixel in 4 planes
    kMonochrome,      // 1 bit per pixel in 1 plane
    kTooLarge,        // more pixels than kMaxPcxPixels
};

// Pictures are at most this many pixels (a 64 MB working picture).
inline constexpr std::size_t kMaxPcxPixels = std::size_t{1} << 24;

struct PcxResult {
    PcxOutcome outcome = PcxOutcome::kOk;
    Pixmap picture;  // valid only when outcome is kOk
};

// Decodes a whole file. The picture is always Xmax + 1 by Ymax + 1; every
// other header kind than the three refused ones is decoded one byte per
// pixel. Runs continue across row ends, columns at or beyond the width (row
// padding) are dropped, and pixels the data never reaches (it ended early, or
// bytes per line is below the width) stay black.
PcxResult DecodePcx(const std::uint8_t* data, std::size_t size);

// Why a file was refused, in a few words for messages.
const char* PcxOutcomeText(PcxOutcome outcome);

}  // namespace qv
