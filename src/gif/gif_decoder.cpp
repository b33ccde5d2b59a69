// Reads a GIF file (bytes) into its frames.
#include "gif/gif_decoder.h"

#include <algorithm>
#include <cstring>

namespace qv::gif {
namespace {

// Bytes of the file with a read position. Reading past the end gives zeros
// and sets the sticky `ended` flag, which callers check once per block.
class ByteReader {
public:
    explicit ByteReader(std::span<const uint8_t> data) : data_(data) {}

    bool atEnd() const { return pos_ >= data_.size(); }
    bool ended() const { return ended_; }
    uint8_t byte() {
        if (pos_ >= data_.size()) {
            ended_ = true;
            return 0;
        }
        return data_[pos_++];
    }
    int word() {
        const int low = byte();
        return low | (byte() << 8);
    }
    // The next n bytes, fewer when the data ends first.
    std::span<const uint8_t> take(size_t n) {
        const size_t have = std::min(n, data_.size() - std::min(pos_, data_.size()));
        if (have < n) ended_ = true;
        auto part = data_.subspan(std::min(pos_, data_.size()), have);
        pos_ += have;
        return part;
    }
    // One data sub-block: its length byte, then its bytes. Empty at the
    // terminator (length 0) and at the end of the data.
    std::span<const uint8_t> subBlock() {
        const uint8_t length = byte();
        return ended_ ? std::span<const uint8_t>{} : take(length);
    }
    void skipSubBlocks() {
        while (!subBlock().empty()) {
        }
    }

private:
    std::span<const uint8_t> data_;
    size_t pos_ = 0;
    bool ended_ = false;
};

int TableEntries(int packed) { return 1 << ((packed & 7) + 1); }

void ReadColorTable(ByteReader& in, int entries, ColorTable& table) {
    table.fill(Rgb{});
    for (int i = 0; i < entries; ++i)
        table[i] = Rgb{in.byte(), in.byte(), in.byte()};
}

// The bytes of a graphic control extension that matter to the next image.
struct GraphicControlExtension {
    uint8_t packed = 0;
    int delay = 0;  // hundredths of a second
    uint8_t transparentIndex = 0;
};

GraphicControlExtension ReadGraphicControl(ByteReader& in) {
    GraphicControlExtension gc;
    auto block = in.subBlock();
    if (block.size() >= 4)
        gc = GraphicControlExtension{block[0], block[1] | (block[2] << 8), block[3]};
    if (!block.empty()) in.skipSubBlocks();
    return gc;
}

std::string ReadComment(ByteReader& in) {
    std::string text;
    for (auto block = in.subBlock(); !block.empty(); block = in.subBlock())
        text.append(block.begin(), block.end());
    return text;
}

// An application extension: the loop count when it is the "NETSCAPE2.0" one.
void ReadApplication(ByteReader& in, int& loopCount) {
    auto id = in.subBlock();
    const bool netscape = id.size() == 11 && std::memcmp(id.data(), "NETSCAPE2.0", 11) == 0;
    if (id.empty()) return;
    for (auto block = in.subBlock(); !block.empty(); block = in.subBlock()) {
        if (netscape && block.size() >= 3 && block[0] == 1) loopCount = block[1] | (block[2] << 8);
    }
}

// The LZW codes of one image: variable-length codes, least significant bit
// first, packed in sub-blocks that are joined before decoding.
class LzwDecoder {
public:
    LzwDecoder(std::span<const uint8_t> codes, int minCodeSize)
        : codes_(codes), minCodeSize_(minCodeSize) {}

    // Fills out (one index per pixel, in the order of the data); false when
    // the codes end, or turn invalid, before every pixel is filled.
    bool decode(std::span<uint8_t> out) {
        const int clear = 1 << minCodeSize_;
        const int end = clear + 1;
        for (int c = 0; c < clear; ++c) {
            prefix_[c] = -1;
            suffix_[c] = first_[c] = static_cast<uint8_t>(c);
            length_[c] = 1;
        }
        int width = minCodeSize_ + 1;
        int nextFree = clear + 2;
        int previous = -1;
        size_t filled = 0;
        while (true) {
            const int code = nextCode(width);
            if (code < 0) return filled == out.size();
            if (code == clear) {
                width = minCodeSize_ + 1;
                nextFree = clear + 2;
                previous = -1;
                continue;
            }
            if (code == end) return filled == out.size();
            if (previous < 0) {
                if (code >= clear) return filled == out.size();
                if (filled < out.size()) out[filled++] = static_cast<uint8_t>(code);
                previous = code;
                continue;
            }
            // Codes that cannot be end the data; what was decoded up to
            // there counts when it filled the image.
            if (code > nextFree || (code == nextFree && nextFree >= kCodes))
                return filled == out.size();
            // A new entry (previous string + first byte of the current one)
            // goes in even when the code is that very entry (KwKwK).
            const uint8_t first = first_[code == nextFree ? previous : code];
            if (nextFree < kCodes) {
                prefix_[nextFree] = static_cast<int16_t>(previous);
                suffix_[nextFree] = first;
                first_[nextFree] = first_[previous];
                length_[nextFree] = static_cast<uint16_t>(length_[previous] + 1);
                ++nextFree;
                if (nextFree == (1 << width) && width < 12) ++width;
            }
            filled = emit(code, out, filled);
            previous = code;
        }
    }

private:
    static constexpr int kCodes = 4096;

    int nextCode(int width) {
        while (bitCount_ < width) {
            if (pos_ >= codes_.size()) return -1;
            bits_ |= uint32_t{codes_[pos_++]} << bitCount_;
            bitCount_ += 8;
        }
        const int code = static_cast<int>(bits_ & ((1u << width) - 1));
        bits_ >>= width;
        bitCount_ -= width;
        return code;
    }

    // Writes the string of code at out[filled...], cut at the end of out.
    size_t emit(int code, std::span<uint8_t> out, size_t filled) {
        const size_t length = length_[code];
        const size_t room = out.size() - filled;
        // Strings are stored back to front: skip the part beyond the end.
        for (size_t skip = length; skip > room; --skip)
            code = prefix_[code];
        uint8_t* p = out.data() + filled + std::min(length, room);
        while (code >= 0) {
            *--p = suffix_[code];
            code = prefix_[code];
        }
        return filled + std::min(length, room);
    }

    std::span<const uint8_t> codes_;
    int minCodeSize_;
    size_t pos_ = 0;
    uint32_t bits_ = 0;
    int bitCount_ = 0;
    int16_t prefix_[kCodes];
    uint8_t suffix_[kCodes];
    uint8_t first_[kCodes];
    uint16_t length_[kCodes];
};

// Rows of an interlaced image arrive in four passes: every 8th row from 0,
// every 8th from 4, every 4th from 2, every 2nd from 1.
void Deinterlace(std::vector<uint8_t>& pixels, int width, int height) {
    std::vector<uint8_t> rows(pixels.size());
    static constexpr int kStart[] = {0, 4, 2, 1};
    static constexpr int kStep[] = {8, 8, 4, 2};
    const uint8_t* from = pixels.data();
    for (int pass = 0; pass < 4; ++pass) {
        for (int y = kStart[pass]; y < height; y += kStep[pass]) {
            std::memcpy(rows.data() + size_t(y) * width, from, width);
            from += width;
        }
    }
    pixels.swap(rows);
}

class GifReader {
public:
    GifReader(std::span<const uint8_t> data, Picture& picture) : in_(data), picture_(picture) {}

    GifStatus read() {
        picture_ = Picture{};
        if (in_.atEnd()) return GifStatus::kEmpty;
        auto signature = in_.take(3);
        if (signature.size() < 3 || std::memcmp(signature.data(), "GIF", 3) != 0)
            return GifStatus::kReading;
        in_.take(3);  // the version is not checked
        readScreen();
        readBlocks();
        picture_.anyTransparent = std::any_of(picture_.frames.begin(), picture_.frames.end(),
                                              [](const Frame& f) { return f.transparent; });
        return GifStatus::kDone;
    }

private:
    void readScreen() {
        picture_.width = in_.word();
        picture_.height = in_.word();
        const int packed = in_.byte();
        in_.take(2);  // background colour and aspect ratio
        // A screen too large to hold is ignored: the frames give the size.
        if (in_.ended() || int64_t{picture_.width} * picture_.height > kMaxPixels)
            picture_.width = picture_.height = 0;
        if (packed & 0x80) {
            ReadColorTable(in_, TableEntries(packed), picture_.globalColors);
            picture_.colorBits = (packed & 7) + 1;
        }
    }

    void readBlocks() {
        while (!in_.atEnd()) {
            const uint8_t introducer = in_.byte();
            if (introducer == 0x2C) {
                if (picture_.frames.size() >= kMaxFrames || !readFrame()) return;
                graphicControl_ = GraphicControlExtension{};
                comment_.clear();
            } else if (introducer != 0x21 || !readExtension()) {
                return;  // the trailer, or a block we do not know
            }
            if (in_.ended()) return;
        }
    }

    // Every extension is sub-blocks after its label; those of no use here
    // (plain text, and labels GIF89a does not define) are skipped, as the
    // format asks of decoders.
    bool readExtension() {
        switch (in_.byte()) {
        case 0xF9:
            graphicControl_ = ReadGraphicControl(in_);
            return true;
        case 0xFE:
            comment_ = ReadComment(in_);
            return true;
        case 0xFF:
            ReadApplication(in_, picture_.loopCount);
            return true;
        default:
            in_.skipSubBlocks();
            return true;
        }
    }

    bool readFrame() {
        Frame frame;
        frame.left = in_.word();
        frame.top = in_.word();
        frame.width = in_.word();
        frame.height = in_.word();
        const int packed = in_.byte();
        frame.interlaced = packed & 0x40;
        frame.localTable = packed & 0x80;
        if (frame.localTable) {
            ReadColorTable(in_, TableEntries(packed), frame.colors);
            frame.colorBits = (packed & 7) + 1;
        } else {
            frame.colors = picture_.globalColors;
            frame.colorBits = picture_.colorBits;
        }
        picture_.colorBits = std::max(picture_.colorBits, frame.colorBits);

        const int disposal = (graphicControl_.packed >> 2) & 7;
        frame.disposal = disposal > 3 ? 2 : disposal;
        frame.delayMs = std::max(1, graphicControl_.delay * 10);
        frame.transparent = graphicControl_.packed & 1;
        frame.transparentIndex = graphicControl_.transparentIndex;
        frame.comment = std::move(comment_);

        if (in_.ended() || !fits(frame) || !readPixels(frame)) return false;
        picture_.width = std::max(picture_.width, frame.left + frame.width);
        picture_.height = std::max(picture_.height, frame.top + frame.height);
        totalPixels_ += int64_t{frame.width} * frame.height;
        picture_.frames.push_back(std::move(frame));
        return true;
    }

    bool fits(const Frame& frame) const {
        const int64_t pixels = int64_t{frame.width} * frame.height;
        const int64_t w = std::max(picture_.width, frame.left + frame.width);
        const int64_t h = std::max(picture_.height, frame.top + frame.height);
        return pixels <= kMaxPixels && w * h <= kMaxPixels &&
               totalPixels_ + pixels <= kMaxTotalPixels;
    }

    bool readPixels(Frame& frame) {
        const int minCodeSize = in_.byte();
        if (in_.ended() || minCodeSize < 1 || minCodeSize > 11) return false;
        codes_.clear();
        for (auto block = in_.subBlock(); !block.empty(); block = in_.subBlock())
            codes_.insert(codes_.end(), block.begin(), block.end());
        frame.pixels.resize(size_t(frame.width) * frame.height);
        if (!LzwDecoder(codes_, minCodeSize).decode(frame.pixels)) return false;
        if (frame.interlaced && !frame.pixels.empty())
            Deinterlace(frame.pixels, frame.width, frame.height);
        return true;
    }

    ByteReader in_;
    Picture& picture_;
    GraphicControlExtension graphicControl_;
    std::string comment_;
    std::vector<uint8_t> codes_;
    int64_t totalPixels_ = 0;
};

}  // namespace

GifStatus ReadGif(std::span<const uint8_t> data, Picture& picture) {
    return GifReader(data, picture).read();
}

}  // namespace qv::gif
