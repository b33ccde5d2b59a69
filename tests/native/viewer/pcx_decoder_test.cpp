// PCX decoding: files written by ImageMagick compared with its own decoding,
// and hand-made files for the header rules, runs and malformed data.
#include "viewer/pcx_decoder.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <tuple>
#include <unistd.h>
#include <vector>

namespace qv {
namespace {

using Bytes = std::vector<std::uint8_t>;

struct Header {
    int manufacturer = 10, version = 5, bitsPerPixel = 8, planes = 1;
    int xmin = 0, ymin = 0, xmax = 0, ymax = 0, bytesPerLine = 0;
};

// Palette entry i is (i, 255 - i, i / 2).
Pixel ColourOf(int i) { return RgbPixel(i, 255 - i, i / 2); }

Bytes MakePcx(const Header& h, const Bytes& data, int marker = 0x0C,
              Pixel (*colourOf)(int) = ColourOf) {
    Bytes file(128, 0);
    auto word = [&](int at, int value) {
        file[at] = value & 0xFF;
        file[at + 1] = (value >> 8) & 0xFF;
    };
    file[0] = h.manufacturer;
    file[1] = h.version;
    file[2] = 1;
    file[3] = h.bitsPerPixel;
    word(4, h.xmin);
    word(6, h.ymin);
    word(8, h.xmax);
    word(10, h.ymax);
    file[65] = h.planes;
    word(66, h.bytesPerLine);
    file.insert(file.end(), data.begin(), data.end());
    file.push_back(marker);
    for (int i = 0; i < 256; ++i) {
        const Pixel c = colourOf(i);
        file.insert(file.end(), {RedOf(c), GreenOf(c), BlueOf(c)});
    }
    return file;
}

PcxResult Decode(const Bytes& file) { return DecodePcx(file.data(), file.size()); }

Header Sized(int width, int height, int bytesPerLine) {
    Header h;
    h.xmax = width - 1;
    h.ymax = height - 1;
    h.bytesPerLine = bytesPerLine;
    return h;
}

// Row-major indices as pixels of the test palette.
std::vector<Pixel> Colours(std::initializer_list<int> indices) {
    std::vector<Pixel> out;
    for (int i : indices)
        out.push_back(ColourOf(i));
    return out;
}

TEST(PcxHeader, RefusesOtherMakersVersionsAndTheThreeOtherKinds) {
    const Bytes data = {1, 2, 3, 4};
    struct Case {
        Header header;
        PcxOutcome outcome;
    };
    Header h = Sized(2, 2, 2);
    std::vector<Case> cases;
    for (auto [field, value, outcome] : {std::tuple{&Header::manufacturer, 11, PcxOutcome::kNotPcx},
                                         {&Header::version, 3, PcxOutcome::kWrongVersion},
                                         {&Header::planes, 3, PcxOutcome::kTrueColour}}) {
        Header bad = h;
        bad.*field = value;
        cases.push_back({bad, outcome});
    }
    Header sixteen = h;
    sixteen.bitsPerPixel = 1;
    sixteen.planes = 4;
    cases.push_back({sixteen, PcxOutcome::kSixteenColours});
    Header mono = h;
    mono.bitsPerPixel = 1;
    mono.planes = 1;
    cases.push_back({mono, PcxOutcome::kMonochrome});
    for (const Case& c : cases)
        EXPECT_EQ(Decode(MakePcx(c.header, data)).outcome, c.outcome);

    // Other combinations are read one byte per pixel all the same.
    Header fourPlanes = h;
    fourPlanes.planes = 4;
    EXPECT_EQ(Decode(MakePcx(fourPlanes, data)).outcome, PcxOutcome::kOk);
}

TEST(PcxHeader, ShortFilesAreRefusedAndTheMarkerIsNotChecked) {
    const Bytes file = MakePcx(Sized(2, 1, 2), {7, 8}, 0x55);
    const PcxResult result = Decode(file);
    ASSERT_EQ(result.outcome, PcxOutcome::kOk);
    EXPECT_EQ(result.picture.pixels, Colours({7, 8}));

    EXPECT_EQ(DecodePcx(file.data(), 127).outcome, PcxOutcome::kTooShort);
    EXPECT_EQ(DecodePcx(file.data(), 768).outcome, PcxOutcome::kTooShort);
    EXPECT_EQ(DecodePcx(nullptr, 0).outcome, PcxOutcome::kTooShort);
}

TEST(PcxHeader, SizeIsXmaxAndYmaxPlusOneWhateverTheMinimumsAre) {
    Header h = Sized(330, 2, 330);
    h.xmin = 10;
    h.ymin = 1;
    const PcxResult result = Decode(MakePcx(h, {0xC0 + 63, 1}));
    ASSERT_EQ(result.outcome, PcxOutcome::kOk);
    EXPECT_EQ(result.picture.width, 330);
    EXPECT_EQ(result.picture.height, 2);
}

TEST(PcxRuns, ZeroRunsPlaceNothingAndRunsCrossRowEnds) {
    // 5 x 2: two singles, an empty run, a run of 7 starting 3 before the end
    // of row 0 (3 pixels there, then 4 on row 1) and a last single.
    const PcxResult result = Decode(MakePcx(Sized(5, 2, 5), {1, 2, 0xC0, 5, 0xC7, 9, 4}));
    ASSERT_EQ(result.outcome, PcxOutcome::kOk);
    EXPECT_EQ(result.picture.pixels, Colours({1, 2, 9, 9, 9, 9, 9, 9, 9, 4}));
}

TEST(PcxRuns, PaddingBytesAreConsumedAndNotDrawn) {
    // Width 3 with 5 bytes per line: two padding bytes a row, one of them
    // inside a run that goes on into the next row.
    const PcxResult result =
        Decode(MakePcx(Sized(3, 2, 5), {1, 2, 3, 0xC3, 200, 4, 5, 6, 0xC2, 7}));
    ASSERT_EQ(result.outcome, PcxOutcome::kOk);
    EXPECT_EQ(result.picture.pixels, Colours({1, 2, 3, 200, 4, 5}));
}

TEST(PcxMalformed, EveryBrokenLayoutEndsWithAPictureOfTheHeaderSize) {
    struct Case {
        const char* what;
        Header header;
        Bytes data;
        std::vector<Pixel> expected;  // empty: not checked
    };
    const std::vector<Case> cases = {
        // Fewer bytes per line than the width: the row's tail stays black.
        {"short lines",
         Sized(3, 2, 2),
         {1, 2, 3, 4},
         {ColourOf(1), ColourOf(2), 0, ColourOf(3), ColourOf(4), 0}},
        // No bytes per line: every pixel lands on row 1, nothing on row 0.
        {"no bytes per line", Sized(2, 2, 0), {1, 2, 3}, {}},
        {"height 65536", Sized(1, 65536, 1), {0xFF, 3, 0xFF, 4}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const PcxResult result = Decode(MakePcx(c.header, c.data));
        ASSERT_EQ(result.outcome, PcxOutcome::kOk);
        EXPECT_EQ(result.picture.width, c.header.xmax + 1);
        EXPECT_EQ(result.picture.height, c.header.ymax + 1);
        if (!c.expected.empty()) EXPECT_EQ(result.picture.pixels, c.expected);
    }
    // 65536 x 65536 would need 16 GB: refused.
    EXPECT_EQ(Decode(MakePcx(Sized(65536, 65536, 0), {1})).outcome, PcxOutcome::kTooLarge);
}

// Palettes whose bytes, read on as data, each give one pixel (entry i is
// grey i / 2), the second one ending in a run code (0xC5) instead.
Pixel GreyOf(int i) { return RgbPixel(i / 2, i / 2, i / 2); }
Pixel GreyEndingInARunCodeOf(int i) { return i == 255 ? RgbPixel(127, 127, 0xC5) : GreyOf(i); }

// The data runs on through the marker and the palette; in a picture larger
// than all of that, the file ends before the last row is full.
TEST(PcxMalformed, DataThatEndsEarlyLeavesTheRestBlackAndALastRunCodePlacesNothing) {
    for (bool endsInARunCode : {false, true}) {
        SCOPED_TRACE(endsInARunCode ? "last byte a run code" : "last byte a pixel");
        Pixel (*palette)(int) = endsInARunCode ? GreyEndingInARunCodeOf : GreyOf;
        const PcxResult result = Decode(MakePcx(Sized(1000, 1, 1000), {0xC3, 5, 7}, 0x0C, palette));
        ASSERT_EQ(result.outcome, PcxOutcome::kOk);
        std::vector<Pixel> expected = {GreyOf(5), GreyOf(5), GreyOf(5), GreyOf(7), GreyOf(0x0C)};
        for (int i = 0; i < 256; ++i) {
            const Pixel entry = palette(i);
            for (int byte : {RedOf(entry), GreenOf(entry), BlueOf(entry)})
                if (byte < 0xC0) expected.push_back(GreyOf(byte));
        }
        expected.resize(1000, RgbPixel(0, 0, 0));
        EXPECT_EQ(result.picture.pixels, expected);
    }
}

// ImageMagick writes the files and decodes them for comparison.
class ImageMagickPcx : public testing::Test {
protected:
    static std::string TempName(const std::string& suffix) {
        return testing::TempDir() + "qv_pcx_" + std::to_string(::getpid()) + suffix;
    }
    static Bytes ReadWhole(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return Bytes(std::istreambuf_iterator<char>(in), {});
    }
    static void Run(const std::string& command) {
        ASSERT_EQ(std::system(command.c_str()), 0) << command;
    }
};

TEST_F(ImageMagickPcx, PalettePicturesOfOddWidthsDecodeAsImageMagickReadsThem) {
    const std::string pcx = TempName(".pcx");
    const std::string rgb = TempName(".rgb");
    for (auto [width, height] : {std::pair{37, 5}, {320, 224}, {1, 1}, {255, 3}}) {
        SCOPED_TRACE(std::to_string(width) + "x" + std::to_string(height));
        const std::string size = std::to_string(width) + "x" + std::to_string(height);
        Run("convert -size " + size +
            " plasma:fractal -seed 7 -colors 200 -type Palette pcx:" + pcx);
        Run("convert pcx:" + pcx + " -depth 8 rgb:" + rgb);
        const Bytes file = ReadWhole(pcx);
        const Bytes expected = ReadWhole(rgb);
        const PcxResult result = DecodePcx(file.data(), file.size());
        ASSERT_EQ(result.outcome, PcxOutcome::kOk);
        ASSERT_EQ(result.picture.width, width);
        ASSERT_EQ(result.picture.height, height);
        ASSERT_EQ(expected.size(), result.picture.pixels.size() * 3);
        for (std::size_t i = 0; i < result.picture.pixels.size(); ++i) {
            const Pixel p = result.picture.pixels[i];
            ASSERT_EQ(p, RgbPixel(expected[3 * i], expected[3 * i + 1], expected[3 * i + 2]))
                << "pixel " << i;
        }
    }
    Run("convert -size 37x20 plasma:fractal -type TrueColor pcx:" + pcx);
    const Bytes trueColour = ReadWhole(pcx);
    EXPECT_EQ(DecodePcx(trueColour.data(), trueColour.size()).outcome, PcxOutcome::kTrueColour);
    std::remove(pcx.c_str());
    std::remove(rgb.c_str());
}

}  // namespace
}  // namespace qv
