// The GIF reader and the composition: files made by ImageMagick and gifsicle
// against Pillow's decoding, and broken files built here.
#include <gtest/gtest.h>

#include <cstring>

#include "gif/gif_compositor.h"
#include "gif/gif_decoder.h"
#include "gif_test_files.h"

namespace qv::gif {
namespace {

using test::Bytes;
using test::DataFile;
using test::GifBuilder;

uint32_t Word32(const Bytes& b, size_t at) {
    return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | uint32_t(b[at + 3]) << 24;
}

Picture Read(const Bytes& data, GifStatus expected = GifStatus::kDone) {
    Picture picture;
    EXPECT_EQ(ReadGif(data, picture), expected);
    return picture;
}

// Every frame's composite, as RGBA with alpha 0 where the mask is transparent.
std::vector<Bytes> Composites(const Picture& picture) {
    Composition composition;
    composition.reset(picture);
    std::vector<Bytes> out;
    for (int k = 1; k <= int(picture.frames.size()); ++k) {
        composition.applyDisposal(picture, k - 1);
        composition.draw(picture, k);
        Bytes rgba;
        for (size_t i = 0; i < composition.image().pixels.size(); ++i) {
            const uint32_t p = composition.image().pixels[i];
            const bool clear = composition.hasMask() && composition.mask()[i];
            rgba.insert(rgba.end(),
                        {uint8_t(p >> 16), uint8_t(p >> 8), uint8_t(p), uint8_t(clear ? 0 : 255)});
        }
        out.push_back(std::move(rgba));
    }
    return out;
}

class ReferenceFile : public testing::TestWithParam<const char*> {};

// Pixel for pixel as Pillow composes them; where both say transparent, the
// colour underneath does not matter.
TEST_P(ReferenceFile, EveryFrameComposesAsTheReferenceDecoder) {
    const std::string name = GetParam();
    const Picture picture = Read(DataFile(name + ".gif"));
    const Bytes ref = DataFile(name + ".ref");
    const size_t refFrames = Word32(ref, 0);
    ASSERT_EQ(picture.width, int(Word32(ref, 4)));
    ASSERT_EQ(picture.height, int(Word32(ref, 8)));
    ASSERT_EQ(picture.frames.size(), std::min<size_t>(refFrames, kMaxFrames));

    const auto composites = Composites(picture);
    const size_t frameBytes = size_t(picture.width) * picture.height * 4;
    for (size_t k = 0; k < composites.size(); ++k) {
        for (size_t i = 0; i < frameBytes; i += 4) {
            const uint8_t* want = ref.data() + 12 + k * frameBytes + i;
            const uint8_t* got = composites[k].data() + i;
            ASSERT_EQ(got[3], want[3]) << name << " frame " << k + 1 << " pixel " << i / 4;
            if (want[3] == 0) continue;
            ASSERT_EQ(0, std::memcmp(got, want, 3))
                << name << " frame " << k + 1 << " pixel " << i / 4;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(ImageMagickAndGifsicle, ReferenceFile,
                         testing::Values("loop0_delay50", "loop3_delay0", "no_loop", "disposal",
                                         "interlaced", "interlaced_anim", "local_tables",
                                         "noise256", "transparent_first", "frames300"));

TEST(GifReader, KeepsWhatTheFilesSayOfTheirFrames) {
    const Picture loop0 = Read(DataFile("loop0_delay50.gif"));
    EXPECT_EQ(loop0.loopCount, 0);
    EXPECT_EQ(loop0.frames[0].delayMs, 500);
    EXPECT_FALSE(loop0.frames[0].localTable);
    EXPECT_TRUE(loop0.frames[1].localTable);
    EXPECT_FALSE(loop0.anyTransparent);

    const Picture loop3 = Read(DataFile("loop3_delay0.gif"));
    EXPECT_EQ(loop3.loopCount, 3);
    EXPECT_EQ(loop3.frames[2].delayMs, 1);  // a delay of 0 is 1 ms

    EXPECT_EQ(Read(DataFile("no_loop.gif")).loopCount, 1);

    const Picture disposal = Read(DataFile("disposal.gif"));
    std::vector<int> disposals, lefts;
    for (const Frame& f : disposal.frames) {
        disposals.push_back(f.disposal);
        lefts.push_back(f.left);
    }
    EXPECT_EQ(disposals, (std::vector<int>{0, 2, 3, 1, 0, 2}));
    EXPECT_EQ(lefts, (std::vector<int>{0, 2, 12, 20, 6, 14}));
    EXPECT_TRUE(disposal.anyTransparent);
    EXPECT_FALSE(disposal.frames[0].transparent);
    EXPECT_TRUE(disposal.frames[1].transparent);

    EXPECT_TRUE(Read(DataFile("interlaced.gif")).frames[0].interlaced);
    EXPECT_EQ(Read(DataFile("noise256.gif")).colorBits, 8);
    EXPECT_EQ(Read(DataFile("frames300.gif")).frames.size(), 256u);
}

TEST(GifReader, HandMadeFileKeepsFieldsAndReadsDisposal4To7As2) {
    const Bytes data = GifBuilder(6, 4)
                           .raw({0x21, 0xFE, 3, 'a', 'b', 'c', 2, 'd', 'e', 0})
                           .control(5, 7, 2)
                           .image(1, 1, 3, 2, {0, 1, 2, 3, 2, 1})
                           .control(7, 0)
                           .image(5, 3, 2, 2, {3, 3, 3, 3})
                           .done();
    const Picture p = Read(data);
    ASSERT_EQ(p.frames.size(), 2u);
    EXPECT_EQ(p.frames[0].comment, "abcde");
    EXPECT_EQ(p.frames[0].disposal, 2);
    EXPECT_EQ(p.frames[0].delayMs, 70);
    EXPECT_TRUE(p.frames[0].transparent);
    EXPECT_EQ(p.frames[0].transparentIndex, 2);
    EXPECT_EQ(p.frames[0].pixels, (Bytes{0, 1, 2, 3, 2, 1}));
    EXPECT_EQ(p.frames[1].comment, "");  // a comment belongs to one image only
    EXPECT_EQ(p.frames[1].disposal, 2);
    // The second frame reaches past the screen: the picture grows to hold it.
    EXPECT_EQ(p.width, 7);
    EXPECT_EQ(p.height, 5);
}

TEST(GifReader, InterlacedRowsComeInFourPasses) {
    // Row y holds colour y % 4; in the data the rows come 0, 4, 2, 1, 3.
    for (int rows : {1, 2, 3, 5, 9}) {
        static constexpr int kOrder[][9] = {
            {0}, {0, 1}, {0, 2, 1}, {}, {0, 4, 2, 1, 3}, {}, {}, {}, {0, 8, 4, 2, 6, 1, 3, 5, 7}};
        Bytes data, want;
        for (int i = 0; i < rows; ++i) {
            data.insert(data.end(), 2, uint8_t(kOrder[rows - 1][i] % 4));
            want.insert(want.end(), 2, uint8_t(i % 4));
        }
        const Picture p = Read(GifBuilder(2, rows).image(0, 0, 2, rows, data, true).done());
        ASSERT_EQ(p.frames.size(), 1u);
        EXPECT_EQ(p.frames[0].pixels, want) << rows << " rows";
    }
}

TEST(GifReader, NoDataAndNoGifLeaveNoFrames) {
    EXPECT_TRUE(Read({}, GifStatus::kEmpty).frames.empty());
    EXPECT_TRUE(Read({'B', 'M', 0, 0}, GifStatus::kReading).frames.empty());
    EXPECT_TRUE(Read({'G', 'I'}, GifStatus::kReading).frames.empty());
    // "GIF" alone is a GIF file without frames.
    const Picture bare = Read({'G', 'I', 'F'});
    EXPECT_TRUE(bare.frames.empty());
    EXPECT_EQ(bare.loopCount, 1);
}

TEST(GifReader, EndsQuietlyAtTheFirstBlockItCannotUseKeepingEarlierFrames) {
    const Bytes one = {1, 1, 1, 1};
    const GifBuilder start = GifBuilder(2, 2).image(0, 0, 2, 2, one);
    struct Case {
        const char* what;
        Bytes tail;
    };
    const Bytes good = GifBuilder(2, 2).image(0, 0, 2, 2, one).bytes();
    const Bytes image = Bytes(good.begin() + 19, good.end());  // the first frame's blocks
    Bytes badCode = image;
    badCode[10] = 0x00;
    badCode[11] = 0x00;
    Bytes widthOnly = Bytes(image.begin(), image.begin() + 6);
    const Case cases[] = {
        {"unknown block", {0x99}},
        {"min code size 12", {0x2C, 0, 0, 0, 0, 1, 0, 1, 0, 0, 12, 1, 0, 0}},
        {"min code size 0", {0x2C, 0, 0, 0, 0, 1, 0, 1, 0, 0, 0, 1, 0, 0}},
        {"codes end early", {0x2C, 0, 0, 0, 0, 2, 0, 2, 0, 0, 2, 1, 0x04, 0}},
        {"descriptor cut short", widthOnly},
        {"huge frame", {0x2C, 0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0, 2, 0}},
    };
    for (const Case& c : cases) {
        Bytes data = start.bytes();
        data.insert(data.end(), c.tail.begin(), c.tail.end());
        // What follows the unusable block is never read.
        const Bytes more = GifBuilder(2, 2).image(0, 0, 2, 2, one).done();
        data.insert(data.end(), more.begin() + 19, more.end());
        const Picture p = Read(data);
        EXPECT_EQ(p.frames.size(), 1u) << c.what;
    }
}

TEST(GifReader, ExtensionsOfUnknownLabelsAreSkippedByTheirSubBlocks) {
    // A white pixel behind an extension of a label GIF89a does not define,
    // whose data holds bytes that would read as an image or the trailer.
    Bytes data = {'G', 'I', 'F', '8', '9', 'a', 1, 0, 1, 0, 0x80, 0, 0, 0, 0, 0, 255, 255, 255};
    const Bytes tail = {0x21, 0x99, 3, 0x2C, 0x3B, 0x21, 2, 0x3B, 0x3B, 0,
                        0x2C, 0,    0, 0,    0,    1,    0, 1,    0,    0};
    data.insert(data.end(), tail.begin(), tail.end());
    const Bytes lzw = test::LiteralLzw({1}, 2);  // code size, sub-blocks, terminator
    data.insert(data.end(), lzw.begin(), lzw.end());
    data.push_back(0x3B);
    const Picture p = Read(data);
    ASSERT_EQ(p.frames.size(), 1u);
    EXPECT_EQ(Composites(p)[0], (Bytes{255, 255, 255, 255}));

    // Plain text (0x01) is skipped the same way, between two frames.
    const Bytes both = GifBuilder(2, 1)
                           .image(0, 0, 1, 1, {1})
                           .raw({0x21, 0x01, 2, 0x2C, 0x2C, 0})
                           .image(1, 0, 1, 1, {3})
                           .done();
    EXPECT_EQ(Read(both).frames.size(), 2u);
}

TEST(GifReader, AHugeScreenIsIgnoredAndTheFramesGiveTheSize) {
    Bytes data = GifBuilder(3, 2).image(1, 0, 2, 2, {1, 2, 3, 1}).done();
    data[6] = data[7] = data[8] = data[9] = 0xFF;
    const Picture p = Read(data);
    ASSERT_EQ(p.frames.size(), 1u);
    EXPECT_EQ(p.width, 3);
    EXPECT_EQ(p.height, 2);
}

TEST(GifReader, EveryCutOfAFileReadsAPrefixOfItsFrames) {
    const Bytes whole = DataFile("disposal.gif");
    const Picture full = Read(whole);
    size_t lastCount = 0;
    for (size_t n = 0; n <= whole.size(); ++n) {
        Picture p;
        ReadGif(std::span(whole.data(), n), p);
        ASSERT_GE(p.frames.size(), lastCount) << n;
        lastCount = p.frames.size();
        for (size_t k = 0; k < p.frames.size(); ++k)
            ASSERT_EQ(p.frames[k].pixels, full.frames[k].pixels) << n << " bytes, frame " << k;
    }
    EXPECT_EQ(lastCount, full.frames.size());
}

TEST(Composition, DisposalClearsOrRestoresTheFrameArea) {
    // A 4 x 1 red line, then a green pixel at x=1 with the given disposal,
    // then a blue pixel at x=3 that leaves the rest as it is.
    auto after = [](int disposal) {
        const Picture p = Read(GifBuilder(4, 1)
                                   .control(1, 0)
                                   .image(0, 0, 4, 1, {1, 1, 1, 1})
                                   .control(disposal, 0)
                                   .image(1, 0, 1, 1, {2})
                                   .control(1, 0, 0)
                                   .image(3, 0, 1, 1, {3})
                                   .done());
        Composition c;
        c.reset(p);
        for (int k = 1; k <= 3; ++k) {
            c.applyDisposal(p, k - 1);
            c.draw(p, k);
        }
        std::vector<uint32_t> mask(c.mask().begin(), c.mask().end());
        return std::make_pair(c.image().pixels, mask);
    };
    const uint32_t red = 0xFF0000, green = 0x00FF00, blue = 0x0000FF;
    EXPECT_EQ(after(1).first, (std::vector<uint32_t>{red, green, red, blue}));
    EXPECT_EQ(after(0).first, (std::vector<uint32_t>{red, green, red, blue}));
    EXPECT_EQ(after(3).first, (std::vector<uint32_t>{red, red, red, blue}));
    // Disposal 2 clears to black and makes the area transparent.
    EXPECT_EQ(after(2).first, (std::vector<uint32_t>{red, 0, red, blue}));
    EXPECT_EQ(after(2).second, (std::vector<uint32_t>{0, 1, 0, 0}));
    EXPECT_EQ(after(3).second, (std::vector<uint32_t>{0, 0, 0, 0}));
}

}  // namespace
}  // namespace qv::gif
