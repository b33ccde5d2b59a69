// The stand-in's snapshots: decoded here by the format's rules and by ImageMagick.
#include "pcx_writer.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <string>

namespace ravlen {
namespace {

int Le16(const std::vector<std::uint8_t>& b, std::size_t at) { return b[at] | (b[at + 1] << 8); }

// A picture with long runs, runs of 0xC0 and above, single bytes and an odd width.
std::vector<std::uint8_t> Pattern(int width, int height) {
    std::vector<std::uint8_t> p(static_cast<std::size_t>(width) * height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            p[static_cast<std::size_t>(y) * width + x] =
                static_cast<std::uint8_t>(x < 100   ? 0xC7
                                          : x < 170 ? (y * 3)
                                                    : (x * 7 + y));
    return p;
}

Palette TestPalette() {
    Palette pal{};
    for (int i = 0; i < 256; ++i) {
        pal[3 * i] = static_cast<std::uint8_t>(i);
        pal[3 * i + 1] = static_cast<std::uint8_t>(255 - i);
        pal[3 * i + 2] = static_cast<std::uint8_t>(i * 5);
    }
    return pal;
}

TEST(RavlenPcx, HeaderRowsAndPaletteDecodeBack) {
    const int width = 321, height = 7;
    const std::vector<std::uint8_t> pixels = Pattern(width, height);
    const Palette pal = TestPalette();
    const std::vector<std::uint8_t> pcx = EncodePcx(width, height, pixels, pal);

    ASSERT_GT(pcx.size(), 128u + 769u);
    EXPECT_EQ(pcx[0], 10);
    EXPECT_EQ(pcx[1], 5);
    EXPECT_EQ(pcx[3], 8);
    EXPECT_EQ(pcx[65], 1);
    EXPECT_EQ(Le16(pcx, 8), width - 1);
    EXPECT_EQ(Le16(pcx, 10), height - 1);
    const int bytesPerLine = Le16(pcx, 66);
    EXPECT_EQ(bytesPerLine, 322);
    EXPECT_EQ(pcx[pcx.size() - 769], 0x0C);
    EXPECT_TRUE(std::equal(pal.begin(), pal.end(), pcx.end() - 768));

    // Decode: every code below 0xC0 is one pixel, 0xC0 + n repeats the next byte n times.
    std::vector<std::uint8_t> rows;
    std::size_t at = 128;
    const std::size_t end = pcx.size() - 769;
    while (at < end) {
        const std::uint8_t code = pcx[at++];
        int run = 1;
        if (code >= 0xC0) {
            run = code - 0xC0;
            ASSERT_GT(run, 0) << "empty run at " << at;
            ASSERT_LT(at, end);
        }
        const std::uint8_t value = code >= 0xC0 ? pcx[at++] : code;
        ASSERT_LE(rows.size() % bytesPerLine + run, static_cast<std::size_t>(bytesPerLine))
            << "run crosses a row end";
        rows.insert(rows.end(), run, value);
    }
    ASSERT_EQ(rows.size(), static_cast<std::size_t>(bytesPerLine) * height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            ASSERT_EQ(rows[static_cast<std::size_t>(y) * bytesPerLine + x],
                      pixels[static_cast<std::size_t>(y) * width + x])
                << x << "," << y;
}

TEST(RavlenPcx, ImageMagickReadsTheSameColours) {
    const char* convert = "/usr/bin/convert";
    if (access(convert, X_OK) != 0) GTEST_SKIP() << "no ImageMagick";
    const int width = 320, height = 224;
    const std::vector<std::uint8_t> pixels = Pattern(width, height);
    const Palette pal = TestPalette();
    const std::vector<std::uint8_t> pcx = EncodePcx(width, height, pixels, pal);
    const std::string path =
        ::testing::TempDir() + "ravlen-snap-" + std::to_string(getpid()) + ".pcx";
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(pcx.data()), pcx.size());

    FILE* pipe = popen((std::string(convert) + " '" + path + "' -depth 8 rgb:-").c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    std::vector<std::uint8_t> rgb(static_cast<std::size_t>(width) * height * 3 + 1);
    const std::size_t got = fread(rgb.data(), 1, rgb.size(), pipe);
    pclose(pipe);
    std::remove(path.c_str());
    ASSERT_EQ(got, rgb.size() - 1);
    for (std::size_t i = 0; i < pixels.size(); ++i)
        for (int c = 0; c < 3; ++c)
            ASSERT_EQ(rgb[3 * i + c], pal[3 * pixels[i] + c]) << "pixel " << i;
}

TEST(RavlenPcx, RefusesSizesItCannotWrite) {
    EXPECT_THROW(EncodePcx(0, 1, {}, Palette{}), std::invalid_argument);
    EXPECT_THROW(EncodePcx(2, 2, std::vector<std::uint8_t>(3), Palette{}), std::invalid_argument);
}

}  // namespace
}  // namespace ravlen
