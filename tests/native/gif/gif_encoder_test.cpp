// The GIF encoder: streams decoded by giflib and compared with the source
// pictures, and the byte layout of single pictures, comments, interlacing,
// full dictionaries and animations.
#include "gif/gif_encoder.h"

#include <gif_lib.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>
#include <string>

namespace qv {
namespace {

using Bytes = std::vector<std::uint8_t>;

// A picture of width x height whose pixel i has colour palette[pick(i)].
Pixmap RandomPicture(int width, int height, int colours, unsigned seed) {
    std::mt19937 random(seed);
    std::vector<Pixel> palette(colours);
    for (int i = 0; i < colours; ++i)
        palette[i] = RgbPixel(i, (i * 7) & 0xFF, 255 - i) | (i >> 8);
    Pixmap picture(width, height);
    for (Pixel& p : picture.pixels)
        p = palette[random() % colours];
    return picture;
}

// Rows of one colour each: row y has colour (y + 1, 0, 0).
Pixmap StripedRows(int width, int height) {
    Pixmap picture(width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x)
            picture.at(x, y) = RgbPixel(y + 1, 0, 0);
    }
    return picture;
}

struct Decoded {
    int width = 0, height = 0;
    std::vector<Pixmap> frames;
    std::vector<std::string> comments;
};

// giflib's reading of a whole stream, frames de-interlaced, each frame as
// the colours of its pixels (the local table when it has one).
Decoded DecodeWithGiflib(const Bytes& stream) {
    struct Reader {
        const Bytes* data;
        std::size_t at = 0;
    } reader{&stream};
    auto read = [](GifFileType* gif, GifByteType* out, int size) -> int {
        auto* r = static_cast<Reader*>(gif->UserData);
        const int n = static_cast<int>(std::min<std::size_t>(size, r->data->size() - r->at));
        std::memcpy(out, r->data->data() + r->at, n);
        r->at += n;
        return n;
    };
    int error = 0;
    GifFileType* gif = DGifOpen(&reader, read, &error);
    Decoded decoded;
    EXPECT_NE(gif, nullptr);
    if (!gif) return decoded;
    EXPECT_EQ(DGifSlurp(gif), GIF_OK) << GifErrorString(gif->Error);
    decoded.width = gif->SWidth;
    decoded.height = gif->SHeight;
    for (int i = 0; i < gif->ImageCount; ++i) {
        const SavedImage& image = gif->SavedImages[i];
        const ColorMapObject* map =
            image.ImageDesc.ColorMap ? image.ImageDesc.ColorMap : gif->SColorMap;
        Pixmap frame(image.ImageDesc.Width, image.ImageDesc.Height);
        for (std::size_t p = 0; p < frame.pixels.size(); ++p) {
            const GifColorType c = map->Colors[image.RasterBits[p]];
            frame.pixels[p] = RgbPixel(c.Red, c.Green, c.Blue);
        }
        decoded.frames.push_back(std::move(frame));
        // A comment's further sub-blocks come as continuation blocks.
        int extension = 0;
        for (int b = 0; b < image.ExtensionBlockCount; ++b) {
            const ExtensionBlock& block = image.ExtensionBlocks[b];
            const std::string bytes(reinterpret_cast<char*>(block.Bytes), block.ByteCount);
            if (block.Function != CONTINUE_EXT_FUNC_CODE) extension = block.Function;
            if (extension != COMMENT_EXT_FUNC_CODE) continue;
            if (block.Function == COMMENT_EXT_FUNC_CODE) {
                decoded.comments.push_back(bytes);
            } else {
                decoded.comments.back() += bytes;
            }
        }
    }
    DGifCloseFile(gif, &error);
    return decoded;
}

Bytes Encode(const Pixmap& picture, GifSaveOptions options = {}) {
    return EncodeGifFile(picture, options);
}

std::string Text(const Bytes& bytes, std::size_t at, std::size_t size) {
    return std::string(bytes.begin() + at, bytes.begin() + at + size);
}

const std::string kViewerComment = "Quarvel v1.01\r\n\r\nCapcom System One Game Snapshot";

TEST(GifRoundTrip, GiflibReadsBackEveryPictureExactly) {
    struct Case {
        int width, height, colours;
        bool interlaced;
    };
    for (const Case& c : {Case{1, 1, 1, false}, Case{3, 5, 2, true}, Case{17, 9, 5, false},
                          Case{320, 224, 200, true}, Case{384, 224, 256, false},
                          Case{128, 128, 256, true}, Case{1000, 3, 3, false}}) {
        SCOPED_TRACE(std::to_string(c.width) + "x" + std::to_string(c.height));
        const Pixmap picture = RandomPicture(c.width, c.height, c.colours, c.width * 31 + c.height);
        const Bytes file = Encode(picture, {.interlaced = c.interlaced});
        ASSERT_FALSE(file.empty());
        const Decoded decoded = DecodeWithGiflib(file);
        ASSERT_EQ(decoded.frames.size(), 1u);
        EXPECT_EQ(decoded.width, c.width);
        EXPECT_EQ(decoded.height, c.height);
        EXPECT_EQ(decoded.frames[0].pixels, picture.pixels);
    }
}

TEST(GifLayout, ViewerSnapshotOf200Colours) {
    const Pixmap picture = RandomPicture(320, 224, 200, 1);
    const Bytes file = Encode(picture, {.interlaced = true, .comment = kViewerComment});
    ASSERT_FALSE(file.empty());
    EXPECT_EQ(Text(file, 0, 6), "GIF89a");
    const Bytes screen = {0x40, 0x01, 0xE0, 0x00, 0x87, 0x00, 0x00};
    EXPECT_EQ(Bytes(file.begin() + 6, file.begin() + 13), screen);
    // 256 entries: 200 colours, then 56 black ones.
    const std::size_t table = 13;
    EXPECT_NE(Bytes(file.begin() + table + 199 * 3, file.begin() + table + 200 * 3), Bytes(3, 0));
    EXPECT_EQ(Bytes(file.begin() + table + 200 * 3, file.begin() + table + 768), Bytes(56 * 3, 0));
    const std::size_t control = table + 768;  // no application extension before it
    const Bytes expectedControl = {0x21, 0xF9, 0x04, 0x04, 0x00, 0x00, 0x00, 0x00};
    EXPECT_EQ(Bytes(file.begin() + control, file.begin() + control + 8), expectedControl);
    const Bytes descriptor = {0x2C, 0, 0, 0, 0, 0x40, 0x01, 0xE0, 0x00, 0x40, 8};
    EXPECT_EQ(Bytes(file.begin() + control + 8, file.begin() + control + 19), descriptor);
    // The end: the comment padded to 135 bytes, then the trailer.
    const std::size_t tail = file.size() - 140;
    EXPECT_EQ(Bytes(file.begin() + tail, file.begin() + tail + 3), (Bytes{0x21, 0xFE, 0x87}));
    std::string padded = kViewerComment;
    padded.resize(135, ' ');
    EXPECT_EQ(Text(file, tail + 3, 135), padded);
    EXPECT_EQ(Bytes(file.end() - 2, file.end()), (Bytes{0x00, 0x3B}));
}

TEST(GifLayout, ColourTablesAreSizedByTheColoursUsed) {
    // One colour: 2 entries, minimum code size 2.
    const Bytes one = Encode(Pixmap(4, 4, RgbPixel(9, 8, 7)));
    EXPECT_EQ(one[10], 0x80);
    EXPECT_EQ(Bytes(one.begin() + 13, one.begin() + 19), (Bytes{9, 8, 7, 0, 0, 0}));
    EXPECT_EQ(one[19 + 8 + 10], 2);

    // Three colours: 4 entries (packed 0x81).
    EXPECT_EQ(Encode(RandomPicture(8, 8, 3, 2))[10], 0x81);

    // Exactly 256 colours encode; 257 do not.
    Pixmap colours256 = RandomPicture(16, 16, 1, 0);
    for (int i = 0; i < 256; ++i)
        colours256.pixels[i] = RgbPixel(i, 0, 1);
    EXPECT_EQ(Encode(colours256)[10], 0x87);
    Pixmap colours257(257, 1);
    for (int i = 0; i < 257; ++i)
        colours257.pixels[i] = RgbPixel(i & 0xFF, i >> 8, 0);
    EXPECT_TRUE(Encode(colours257).empty());
}

TEST(GifLayout, CommentsLongerThanTheClosingOneGoAheadOfThePicture) {
    const Pixmap picture(2, 2, RgbPixel(1, 2, 3));
    for (std::size_t length : {0u, 1u, 135u, 136u, 200u, 300u}) {
        SCOPED_TRACE(length);
        std::string comment(length, 'c');
        for (std::size_t i = 0; i < length; ++i)
            comment[i] = static_cast<char>('a' + i % 26);
        const Bytes file = Encode(picture, {.comment = comment});
        const Decoded decoded = DecodeWithGiflib(file);
        const std::string closing = Text(file, file.size() - 137, 135);
        const std::size_t control = 13 + 6;
        if (length <= 135) {
            std::string padded = comment;
            padded.resize(135, ' ');
            EXPECT_EQ(closing, padded);
            EXPECT_EQ(file[control + 1], 0xF9);
        } else {
            EXPECT_EQ(closing, std::string(135, ' '));
            // Comment extension, sub-blocks of up to 255 bytes, then the control extension.
            EXPECT_EQ(
                Bytes(file.begin() + control, file.begin() + control + 3),
                (Bytes{0x21, 0xFE, static_cast<std::uint8_t>(std::min<std::size_t>(length, 255))}));
            ASSERT_FALSE(decoded.comments.empty());
            EXPECT_EQ(decoded.comments[0], comment);
        }
    }
}

TEST(GifLayout, InterlacedRowsAreWrittenInTheFourPasses) {
    // Each row has its own colour, so the table's first-met order is the
    // order in which the rows were written.
    auto rowOrder = [](int height) {
        const Bytes file = Encode(StripedRows(3, height), {.interlaced = true});
        std::vector<int> rows;
        for (int i = 0; i < height; ++i)
            rows.push_back(file[13 + 3 * i] - 1);
        return rows;
    };
    EXPECT_EQ(rowOrder(3), (std::vector<int>{0, 2, 1}));
    EXPECT_EQ(rowOrder(5), (std::vector<int>{0, 4, 2, 1, 3}));
    EXPECT_EQ(rowOrder(10), (std::vector<int>{0, 8, 4, 2, 6, 1, 3, 5, 7, 9}));
}

// The codes of the first frame's image data, read with the decoder's width
// rule (the width grows when the table reaches the width's limit, never past 12).
struct CodeStats {
    int clearCodes = 0;
    int clearCodesAt12Bits = 0;
    int widestCode = 0;
};

CodeStats ReadCodes(const Bytes& file, std::size_t at) {
    const int minimum = file[at++];
    Bytes data;
    while (file[at] != 0) {
        data.insert(data.end(), file.begin() + at + 1, file.begin() + at + 1 + file[at]);
        at += 1 + file[at];
    }
    const int clear = 1 << minimum;
    int width = minimum + 1, next = clear + 2, bit = 0;
    bool first = true;
    CodeStats stats;
    for (;;) {
        int code = 0;
        for (int i = 0; i < width; ++i, ++bit)
            code |= ((data[bit / 8] >> (bit % 8)) & 1) << i;
        stats.widestCode = std::max(stats.widestCode, width);
        if (code == clear) {
            ++stats.clearCodes;
            if (width == 12) ++stats.clearCodesAt12Bits;
            width = minimum + 1;
            next = clear + 2;
            first = true;
            continue;
        }
        if (code == clear + 1) break;
        if (!first && next < 4096) ++next;
        first = false;
        if (next == (1 << width) && width < 12) ++width;
    }
    return stats;
}

TEST(GifLzw, FullDictionariesAreClearedAtTwelveBits) {
    const Pixmap picture = RandomPicture(128, 128, 256, 5);
    const Bytes file = Encode(picture);
    const CodeStats stats = ReadCodes(file, 13 + 768 + 8 + 10);
    EXPECT_GT(stats.clearCodes, 2);  // the first one and those of full dictionaries
    EXPECT_EQ(stats.clearCodesAt12Bits, stats.clearCodes - 1);
    EXPECT_EQ(stats.widestCode, 12);
    EXPECT_EQ(DecodeWithGiflib(file).frames.at(0).pixels, picture.pixels);
}

// The image data of a picture as the coder's rules give it, written out
// plainly: the colour indices in first-met order, a dictionary of 5119 slots
// of 32-bit keys (-1 empty) and 16-bit codes probed backwards, codes packed
// least significant bit first into sub-blocks of up to 255 bytes.
Bytes PlainImageData(const Pixmap& picture) {
    std::vector<Pixel> table;
    Bytes indices;
    for (Pixel p : picture.pixels) {
        const auto at = std::find(table.begin(), table.end(), p & 0xFFFFFF);
        indices.push_back(static_cast<std::uint8_t>(at - table.begin()));
        if (at == table.end()) table.push_back(p & 0xFFFFFF);
    }
    int minimum = 2;
    while ((1u << minimum) < table.size())
        ++minimum;
    Bytes out{static_cast<std::uint8_t>(minimum)}, block;
    auto putByte = [&](std::uint8_t b) {
        if (block.size() == 255) {
            out.push_back(255);
            out.insert(out.end(), block.begin(), block.end());
            block.clear();
        }
        block.push_back(b);
    };
    const int clear = 1 << minimum;
    int next = clear + 2, width = minimum + 1, largest = (1 << width) - 1;
    std::uint32_t bitsHeld = 0;
    int bitCount = 0;
    auto emit = [&](int code) {
        bitsHeld |= static_cast<std::uint32_t>(code) << bitCount;
        for (bitCount += width; bitCount >= 8; bitCount -= 8, bitsHeld >>= 8)
            putByte(static_cast<std::uint8_t>(bitsHeld));
        if (code == clear) {
            width = minimum + 1;
            largest = (1 << width) - 1;
        } else if (next > largest) {
            ++width;
            largest = width == 12 ? 4096 : (1 << width) - 1;
        }
    };
    std::vector<std::int32_t> keys(5120, -1);
    std::vector<std::uint16_t> codes(5120);
    int current = indices[0];
    emit(clear);
    for (std::size_t i = 1; i < indices.size(); ++i) {
        const int c = indices[i];
        const std::int32_t key = c * 4096 + current;
        int slot = (c * 16) ^ current;
        if (keys[slot] != key && keys[slot] >= 0) {
            const int step = slot == 0 ? 1 : 5119 - slot;
            do {
                slot -= step;
                if (slot < 0) slot += 5119;
            } while (keys[slot] != key && keys[slot] > 0);
        }
        if (keys[slot] == key) {
            current = codes[slot];
            continue;
        }
        emit(current);
        if (next < 4096) {
            keys[slot] = key;
            codes[slot] = static_cast<std::uint16_t>(next++);
        } else {
            emit(clear);
            std::fill(keys.begin(), keys.end(), -1);
            next = clear + 2;
        }
        current = c;
    }
    emit(current);
    emit(clear + 1);
    if (bitCount > 0) putByte(static_cast<std::uint8_t>(bitsHeld));
    out.push_back(static_cast<std::uint8_t>(block.size()));
    out.insert(out.end(), block.begin(), block.end());
    out.push_back(0);
    return out;
}

TEST(GifLzw, ImageDataIsThatOfThePlainDictionaryRules) {
    // Long runs, full dictionaries, crowded slots and colour 0 repeated (the
    // key 0, at which later probes stop), at several minimum code sizes.
    std::vector<Pixmap> pictures = {
        RandomPicture(384, 224, 256, 7),  RandomPicture(300, 200, 2, 8),
        RandomPicture(97, 61, 5, 9),      RandomPicture(255, 255, 16, 10),
        RandomPicture(512, 300, 129, 11), Pixmap(300, 100, RgbPixel(1, 2, 3))};
    Pixmap tiles(384, 224);
    std::mt19937 random(12);
    for (int y = 0; y < tiles.height; ++y) {
        for (int x = 0; x < tiles.width; ++x) {
            const int colour = random() % 7 == 0 ? random() % 256 : (x / 5 + y / 16 * 16) % 256;
            tiles.at(x, y) = RgbPixel(colour, 255 - colour, colour / 3);
        }
    }
    pictures.push_back(tiles);
    for (const Pixmap& picture : pictures) {
        SCOPED_TRACE(std::to_string(picture.width) + "x" + std::to_string(picture.height));
        const Bytes file = Encode(picture);
        ASSERT_FALSE(file.empty());
        const std::size_t data = 13 + 3 * (std::size_t{2} << (file[10] & 7)) + 8 + 10;
        const Bytes expected = PlainImageData(picture);
        ASSERT_GE(file.size(), data + expected.size() + 140);
        EXPECT_EQ(Bytes(file.begin() + data, file.end() - 140), expected);
    }
}

TEST(GifLayout, TransparencyMarksTheFirstIndexOfTheColourUnless255) {
    Pixmap picture = RandomPicture(16, 16, 1, 0);
    for (int i = 0; i < 256; ++i)
        picture.pixels[i] = RgbPixel(i, 1, 2);
    const Bytes at3 =
        Encode(picture, {.transparent = true, .transparentColour = RgbPixel(3, 1, 2)});
    const std::size_t control = 13 + 768;
    EXPECT_EQ(at3[control + 3], 0x05);
    EXPECT_EQ(at3[control + 6], 3);
    // The 256th colour met has index 255, which stands for none.
    const Bytes at255 =
        Encode(picture, {.transparent = true, .transparentColour = RgbPixel(255, 1, 2)});
    EXPECT_EQ(at255[control + 3], 0x04);
    EXPECT_EQ(at255[control + 6], 0);
    // A colour that is not there: no transparency.
    const Bytes absent = Encode(picture, {.transparent = true, .transparentColour = 0xFFFFFF});
    EXPECT_EQ(absent[control + 3], 0x04);
}

TEST(GifFrames, TwoFramesShareOneTableAndLoop) {
    const Pixmap first = RandomPicture(10, 6, 20, 1);
    const Pixmap second = RandomPicture(4, 9, 30, 2);
    TFrameInfo a{.bitmap = &first, .delay = 120, .disposal = 2};
    TFrameInfo b{.bitmap = &second, .left = 3, .top = 1, .disposal = 7};
    GifFrameList list{.frameCount = 2, .loopCount = 513, .sharedColourTable = true};
    list.frames[0] = &a;
    list.frames[1] = &b;
    GifEncoder encoder;
    ASSERT_TRUE(encoder.EncodeGif(list));
    EXPECT_EQ(encoder.status(), GifStatus::kDone);
    const Bytes& file = encoder.stream();
    // 30 colours between them (the first 20 are common): a table of 32.
    EXPECT_EQ(Bytes(file.begin() + 6, file.begin() + 11), (Bytes{10, 0, 10, 0, 0x84}));
    const std::size_t app = 13 + 32 * 3;
    EXPECT_EQ(Text(file, app, 3 + 11), std::string("\x21\xFF\x0B") + "NETSCAPE2.0");
    EXPECT_EQ(Bytes(file.begin() + app + 14, file.begin() + app + 19), (Bytes{3, 1, 1, 2, 0}));
    const std::size_t control = app + 19;
    EXPECT_EQ(Bytes(file.begin() + control, file.begin() + control + 8),
              (Bytes{0x21, 0xF9, 4, 0x08, 12, 0, 0, 0}));
    EXPECT_EQ(file[control + 8 + 9], 0x00);  // no local table

    const Decoded decoded = DecodeWithGiflib(file);
    ASSERT_EQ(decoded.frames.size(), 2u);
    EXPECT_EQ(decoded.frames[0].pixels, first.pixels);
    EXPECT_EQ(decoded.frames[1].pixels, second.pixels);
}

TEST(GifFrames, ASharedTableThatOverflowsLaterGivesWayToTablesPerFrame) {
    Pixmap first(200, 1), second(200, 1);
    for (int i = 0; i < 200; ++i) {
        first.pixels[i] = RgbPixel(i, 0, 0);
        second.pixels[i] = RgbPixel(i, 1, 0);
    }
    TFrameInfo a{.bitmap = &first}, b{.bitmap = &second};
    GifFrameList list{.frameCount = 2, .sharedColourTable = true};
    list.frames[0] = &a;
    list.frames[1] = &b;
    GifEncoder encoder;
    ASSERT_TRUE(encoder.EncodeGif(list));
    const Bytes& file = encoder.stream();
    EXPECT_EQ(file[10], 0x00);  // no global table
    const std::size_t descriptor = 13 + 19 + 8;
    EXPECT_EQ(file[descriptor], 0x2C);
    EXPECT_EQ(file[descriptor + 9], 0x87);  // a local table of 256
    const Decoded decoded = DecodeWithGiflib(file);
    ASSERT_EQ(decoded.frames.size(), 2u);
    EXPECT_EQ(decoded.frames[1].pixels, second.pixels);

    // The first frame alone overflowing fails, whatever the flag.
    Pixmap many(257, 1);
    for (int i = 0; i < 257; ++i)
        many.pixels[i] = RgbPixel(i & 0xFF, i >> 8, 9);
    a.bitmap = &many;
    EXPECT_FALSE(encoder.EncodeGif(list));
    EXPECT_EQ(encoder.status(), GifStatus::kTableOverflow);
}

TEST(GifStatusCodes, RefusalsLeaveNoStream) {
    GifEncoder encoder;
    std::vector<std::uint8_t> destination;
    TFrameInfo none{};
    GifFrameList list{.frameCount = 1};
    list.frames[0] = &none;
    EXPECT_FALSE(encoder.SaveToStream(list, destination));
    EXPECT_EQ(encoder.status(), GifStatus::kPixelsUnreadable);
    EXPECT_TRUE(destination.empty());
    EXPECT_TRUE(encoder.stream().empty());

    const Pixmap picture(3, 3);
    TFrameInfo frame{.bitmap = &picture};
    list.frames[0] = &frame;
    list.frameCount = 0;
    EXPECT_FALSE(encoder.EncodeGif(list));
    EXPECT_EQ(encoder.status(), GifStatus::kEncoding);

    // A failure after the header and a first frame were written leaves
    // nothing of them either.
    TFrameInfo unreadable{};
    list.frames[1] = &unreadable;
    list.frameCount = 2;
    EXPECT_FALSE(encoder.EncodeGif(list));
    EXPECT_EQ(encoder.status(), GifStatus::kPixelsUnreadable);
    EXPECT_TRUE(encoder.stream().empty());

    list.frameCount = 1;
    EXPECT_TRUE(encoder.SaveToStream(list, destination));
    EXPECT_EQ(encoder.status(), GifStatus::kDone);
    EXPECT_TRUE(encoder.stream().empty());
    EXPECT_EQ(destination.back(), 0x3B);
}

}  // namespace
}  // namespace qv
