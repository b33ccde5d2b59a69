// Round trips through our own writer: frames encoded by the GIF encoder come
// back from the reader with their pixels and every field the writer sets.
#include <gtest/gtest.h>

#include "gif/gif_compositor.h"
#include "gif/gif_decoder.h"
#include "gif/gif_encoder.h"

namespace qv::gif {
namespace {

// A picture of w x h whose pixel (x, y) has one of `colours` colours.
Pixmap Pattern(int w, int h, int colours, int seed) {
    Pixmap p(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const int c = (x * 3 + y * 5 + seed) % colours;
            p.at(x, y) = RgbPixel(uint8_t(c * 37 + seed), uint8_t(c * 91), uint8_t(255 - c * 13));
        }
    return p;
}

void ExpectSamePixels(const Frame& frame, const Pixmap& source) {
    ASSERT_EQ(frame.width, source.width);
    ASSERT_EQ(frame.height, source.height);
    for (int i = 0; i < source.width * source.height; ++i) {
        if (frame.isTransparentAt(size_t(i))) continue;
        ASSERT_EQ(ToPixel(frame.colors[frame.pixels[i]]), source.pixels[i]) << "pixel " << i;
    }
}

TEST(GifRoundTrip, AnAnimationComesBackFrameByFrame) {
    const Pixmap first = Pattern(40, 30, 200, 1);
    const Pixmap second = Pattern(17, 11, 9, 2);  // odd rows: every interlace pass
    const Pixmap third = Pattern(8, 5, 4, 3);
    TFrameInfo a, b, c;
    a.bitmap = &first;
    a.disposal = 1;
    a.comment = "first frame";
    b.bitmap = &second;
    b.left = 5;
    b.top = 7;
    b.delay = 500;
    b.interlaced = true;
    b.disposal = 2;
    c.bitmap = &third;
    c.left = 30;
    c.top = 26;
    c.delay = 1230;
    c.transparent = true;
    c.transparentColour = first.at(0, 0);  // not in the third frame: no transparency bit
    c.disposal = 3;
    for (bool shared : {false, true}) {
        GifFrameList list;
        list.frameCount = 3;
        list.loopCount = 3;
        list.sharedColourTable = shared;
        list.frames[0] = &a;
        list.frames[1] = &b;
        list.frames[2] = &c;
        GifEncoder encoder;
        ASSERT_TRUE(encoder.EncodeGif(list));

        Picture p;
        ASSERT_EQ(ReadGif(encoder.stream(), p), GifStatus::kDone);
        ASSERT_EQ(p.frames.size(), 3u);
        EXPECT_EQ(p.loopCount, 3);
        EXPECT_EQ(p.width, 40);
        EXPECT_EQ(p.height, 31);  // the third frame reaches row 30
        const Pixmap* sources[] = {&first, &second, &third};
        const int delays[] = {1, 500, 1230};
        const int disposals[] = {1, 2, 3};
        for (int k = 0; k < 3; ++k) {
            const Frame& f = p.frames[k];
            SCOPED_TRACE(k);
            ExpectSamePixels(f, *sources[k]);
            EXPECT_EQ(f.delayMs, delays[k]);
            EXPECT_EQ(f.disposal, disposals[k]);
            EXPECT_EQ(f.localTable, !shared);
            EXPECT_FALSE(f.transparent);
        }
        EXPECT_EQ(p.frames[0].comment, "first frame");
        EXPECT_TRUE(p.frames[1].interlaced);
        EXPECT_EQ(p.frames[1].left, 5);
        EXPECT_EQ(p.frames[1].top, 7);
    }
}

TEST(GifRoundTrip, ATransparentColourBecomesTheMask) {
    Pixmap picture = Pattern(6, 4, 3, 0);
    const Pixel clear = picture.at(1, 0);
    TFrameInfo frame;
    frame.bitmap = &picture;
    frame.transparent = true;
    frame.transparentColour = clear;
    GifFrameList list;
    list.frameCount = 1;
    list.frames[0] = &frame;
    GifEncoder encoder;
    ASSERT_TRUE(encoder.EncodeGif(list));
    Picture p;
    ASSERT_EQ(ReadGif(encoder.stream(), p), GifStatus::kDone);
    ASSERT_TRUE(p.anyTransparent);
    Composition c;
    c.reset(p);
    c.draw(p, 1);
    for (size_t i = 0; i < picture.pixels.size(); ++i) {
        EXPECT_EQ(c.mask()[i], picture.pixels[i] == clear) << i;
        if (picture.pixels[i] != clear) EXPECT_EQ(c.image().pixels[i], picture.pixels[i]);
    }
}

TEST(GifRoundTrip, TheViewersFileReadsBackWith256Colours) {
    const Pixmap picture = Pattern(320, 224, 256, 0);
    GifSaveOptions options;
    options.interlaced = true;
    options.comment = "snapshot";
    const auto file = EncodeGifFile(picture, options);
    Picture p;
    ASSERT_EQ(ReadGif(file, p), GifStatus::kDone);
    ASSERT_EQ(p.frames.size(), 1u);
    EXPECT_EQ(p.colorBits, 8);
    EXPECT_TRUE(p.frames[0].interlaced);
    ExpectSamePixels(p.frames[0], picture);
}

}  // namespace
}  // namespace qv::gif
