// The GIF encoder: colour conversion into tables built in first-met order,
// the LZW coder with its open-addressing dictionary, and the stream layout.
#include "gif/gif_encoder.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <memory>
#include <string_view>

namespace qv {
namespace {

// Written at the end of every stream; a saved file overwrites it.
constexpr std::string_view kBuiltInComment =
    "Written by the Quarvel GIF writer. Each saved picture overwrites this closing "
    "comment with a text of its own, which keeps its length.  ";
static_assert(kBuiltInComment.size() == kClosingCommentSize);

constexpr int kMaxColours = 256;

// Colour bits of a table of n colours.
int ColourBits(int n) {
    int bits = 1;
    while ((1 << bits) < n)
        ++bits;
    return bits;
}

class ByteWriter {
public:
    explicit ByteWriter(std::vector<std::uint8_t>& out) : out_(out) {}
    void byte(int value) { out_.push_back(static_cast<std::uint8_t>(value)); }
    void word(int value) {
        byte(value & 0xFF);
        byte((value >> 8) & 0xFF);
    }
    void bytes(std::string_view text) { out_.insert(out_.end(), text.begin(), text.end()); }

private:
    std::vector<std::uint8_t>& out_;
};

// The colour table being built, with a lookup that gives the same index as
// a linear search from the first entry (colours in the table are distinct).
// The lookup is a hash of the 24-bit colour: a pixel costs one probe and a
// branch that goes the same way nearly every time.
class ColourTable {
public:
    void clear() {
        count_ = 0;
        keys_.fill(0);
    }
    int count() const { return count_; }
    Pixel colour(int index) const { return colours_[index]; }

    // The colour's index, adding it when new; -1 when that would make 257.
    int indexOf(Pixel colour) {
        const std::uint32_t key = colour | kUsed;
        std::size_t slot = Hash(colour);
        while (keys_[slot] != key) {
            if (keys_[slot] == 0) return add(colour, slot);
            slot = (slot + 1) & (kSlots - 1);
        }
        return indexes_[slot];
    }
    // The colour's index, or -1 when it is not in the table.
    int find(Pixel colour) const {
        for (std::size_t slot = Hash(colour); keys_[slot] != 0; slot = (slot + 1) & (kSlots - 1)) {
            if (keys_[slot] == (colour | kUsed)) return indexes_[slot];
        }
        return -1;
    }

private:
    static constexpr std::size_t kSlots = 4096;       // a sixteenth full at most
    static constexpr std::uint32_t kUsed = 1u << 24;  // above the colour; 0 is an empty slot
    static std::size_t Hash(Pixel colour) {
        const std::uint32_t mixed = (colour ^ (colour >> 13)) * 2654435761u;
        return mixed >> 20;  // the top 12 bits
    }

    int add(Pixel colour, std::size_t slot) {
        if (count_ >= kMaxColours) {
            count_ = kMaxColours + 1;  // the count stays at 257
            return -1;
        }
        colours_[count_] = colour;
        keys_[slot] = colour | kUsed;
        indexes_[slot] = static_cast<std::uint8_t>(count_);
        return count_++;
    }

    std::array<Pixel, kMaxColours> colours_{};
    std::array<std::uint32_t, kSlots> keys_{};
    std::array<std::uint8_t, kSlots> indexes_{};
    int count_ = 0;
};

// Rows in the order they are written: top to bottom, or the four passes of
// an interlaced picture (every 8th from 0, every 8th from 4, every 4th from
// 2, every 2nd from 1).
std::vector<int> RowOrder(int height, bool interlaced) {
    std::vector<int> rows;
    rows.reserve(height);
    if (!interlaced) {
        for (int y = 0; y < height; ++y)
            rows.push_back(y);
        return rows;
    }
    constexpr int kStart[] = {0, 4, 2, 1};
    constexpr int kStep[] = {8, 8, 4, 2};
    for (int pass = 0; pass < 4; ++pass) {
        for (int y = kStart[pass]; y < height; y += kStep[pass])
            rows.push_back(y);
    }
    return rows;
}

struct FrameIndices {
    std::unique_ptr<std::uint8_t[]> indices;  // one per pixel, in written row order
    std::size_t count = 0;
    std::uint8_t transparentIndex = 255;  // 255: none found
};

// Converts one frame's pixels into indices of the table, adding new colours.
GifStatus ConvertFrame(const TFrameInfo& frame, ColourTable& table, FrameIndices& out) {
    const Pixmap* bitmap = frame.bitmap;
    if (bitmap == nullptr || !bitmap->valid() || bitmap->width > 0xFFFF ||
        bitmap->height > 0xFFFF) {
        return GifStatus::kPixelsUnreadable;
    }
    out.transparentIndex = 255;
    out.count = bitmap->pixels.size();
    out.indices.reset(new std::uint8_t[out.count]);  // every byte is written below
    std::uint8_t* next = out.indices.get();
    for (int y : RowOrder(bitmap->height, frame.interlaced)) {
        const Pixel* row = bitmap->pixels.data() + static_cast<std::size_t>(y) * bitmap->width;
        for (int x = 0; x < bitmap->width; ++x) {
            const int index = table.indexOf(row[x] & 0xFFFFFF);
            if (index < 0) return GifStatus::kTableOverflow;
            *next++ = static_cast<std::uint8_t>(index);
        }
    }
    // The index of the first pixel of the transparent colour, when the frame
    // has one: the colour's index in the table, if this frame uses it (a
    // shared table may hold it from an earlier frame).
    const int transparent = table.find(frame.transparentColour & 0xFFFFFF);
    if (transparent >= 0 && std::memchr(out.indices.get(), transparent, out.count) != nullptr)
        out.transparentIndex = static_cast<std::uint8_t>(transparent);
    return GifStatus::kDone;
}

// The LZW dictionary: an open-addressing hash of 5119 slots. The string of
// prefix code p extended by index c has the key c * 4096 + p; probing starts
// at (c * 16) XOR p and goes backwards by 5119 minus that slot, stopping at
// the wanted key or at a key that is not positive (an empty slot, or key 0).
// A slot is one 32-bit word, key << 12 | code. An empty slot holds code 0,
// which no entry has (codes run from 6 to 4095), so it never holds a key.
// The 20-bit key of the word is then all ones; that key (prefix 4095) is
// never entered, since the dictionary is full once code 4095 is given.
class LzwDictionary {
public:
    static constexpr int kSlots = 5119;
    static constexpr std::uint32_t kEmpty = 0xFFFFF000;

    LzwDictionary() : slots_(new std::uint32_t[kSlots + 1]) { clear(); }
    void clear() { std::fill_n(slots_.get(), kSlots + 1, kEmpty); }
    std::uint32_t* slots() { return slots_.get(); }

    static std::uint32_t Key(std::uint32_t prefix, std::uint32_t index) {
        return index << 12 | prefix;
    }
    static std::uint32_t FirstSlot(std::uint32_t prefix, std::uint32_t index) {
        return index << 4 ^ prefix;
    }
    static std::uint32_t Entry(std::uint32_t key, int code) {
        return key << 12 | static_cast<std::uint32_t>(code);
    }
    static bool Holds(std::uint32_t entry, std::uint32_t key) {
        return entry - (key << 12 | 1) < 0xFFF;  // the key, and a code from 1 to 4095
    }
    static int CodeOf(std::uint32_t entry) { return static_cast<int>(entry & 0xFFF); }

    // Past a first slot that holds another key: the slot holding the key, or
    // the one where it goes.
    static int Probe(const std::uint32_t* slots, std::uint32_t key, int slot) {
        const int step = slot == 0 ? 1 : kSlots - slot;
        for (;;) {
            slot -= step;
            if (slot < 0) slot += kSlots;
            const std::uint32_t entry = slots[slot];
            const bool keyZero = entry < 0x1000;
            if (Holds(entry, key) || keyZero || entry == kEmpty) return slot;
        }
    }

private:
    std::unique_ptr<std::uint32_t[]> slots_;
};

// The image data of one frame: minimum code size, then the codes.
void WriteLzw(const FrameIndices& frame, int colourCount, std::vector<std::uint8_t>& out) {
    static_assert(std::endian::native == std::endian::little,
                  "codes are moved out 8 bytes at a time");
    const int minimum = std::max(2, ColourBits(colourCount));
    out.push_back(static_cast<std::uint8_t>(minimum));
    const int clearCode = 1 << minimum;
    const int endCode = clearCode + 1;
    int nextCode = clearCode + 2;
    int width = minimum + 1;
    int largest = (1 << width) - 1;

    // The codes as bytes, least significant bit first. Room for at most one
    // code per index, a clear code per full dictionary and three more, of
    // up to 12 bits, and for the 8 bytes stored past the last one.
    const std::size_t maxCodes = frame.count + frame.count / 256 + 3;
    std::unique_ptr<std::uint8_t[]> bytes(new std::uint8_t[maxCodes * 12 / 8 + 16]);
    std::uint8_t* next = bytes.get();
    std::uint64_t held = 0;  // fewer than 8 bits between codes
    unsigned heldBits = 0;
    auto put = [&](int code) {
        held |= static_cast<std::uint64_t>(code) << heldBits;
        heldBits += static_cast<unsigned>(width);
        std::memcpy(next, &held, sizeof held);
        next += heldBits >> 3;
        held >>= heldBits & ~7u;
        heldBits &= 7;
    };
    auto emit = [&](int code) {  // any code but the clear code
        put(code);
        if (nextCode > largest) {
            ++width;
            largest = width == 12 ? 4096 : (1 << width) - 1;
        }
    };
    auto emitClear = [&] {
        put(clearCode);
        width = minimum + 1;
        largest = (1 << width) - 1;
    };

    LzwDictionary dictionary;
    std::uint32_t* const slots = dictionary.slots();
    const std::uint8_t* index = frame.indices.get();
    const std::uint8_t* const end = index + frame.count;
    std::uint32_t current = *index++;
    emitClear();
    for (; index < end; ++index) {
        const std::uint32_t c = *index;
        const std::uint32_t key = LzwDictionary::Key(current, c);
        int slot = static_cast<int>(LzwDictionary::FirstSlot(current, c));
        std::uint32_t entry = slots[slot];
        if (!LzwDictionary::Holds(entry, key) && entry != LzwDictionary::kEmpty) {
            slot = LzwDictionary::Probe(slots, key, slot);
            entry = slots[slot];
        }
        if (LzwDictionary::Holds(entry, key)) {
            current = static_cast<std::uint32_t>(LzwDictionary::CodeOf(entry));
            continue;
        }
        emit(static_cast<int>(current));
        if (nextCode < 4096) {
            slots[slot] = LzwDictionary::Entry(key, nextCode++);
        } else {
            emitClear();
            dictionary.clear();
            nextCode = clearCode + 2;
        }
        current = c;
    }
    emit(static_cast<int>(current));
    emit(endCode);
    if (heldBits > 0) *next++ = static_cast<std::uint8_t>(held);  // filled up with zeros

    // Sub-blocks of up to 255 bytes, each after its length, and the zero
    // length that ends them.
    const std::size_t size = static_cast<std::size_t>(next - bytes.get());
    out.reserve(out.size() + size + size / 255 + 2);
    for (const std::uint8_t* at = bytes.get(); at < next;) {
        const std::size_t block = std::min<std::size_t>(255, next - at);
        out.push_back(static_cast<std::uint8_t>(block));
        out.insert(out.end(), at, at + block);
        at += block;
    }
    out.push_back(0x00);
}

void WriteColourTable(const ColourTable& table, ByteWriter& out) {
    const int entries = 1 << ColourBits(table.count());
    for (int i = 0; i < entries; ++i) {
        const Pixel colour = i < table.count() ? table.colour(i) : 0;
        out.byte(RedOf(colour));
        out.byte(GreenOf(colour));
        out.byte(BlueOf(colour));
    }
}

void WriteComment(std::string_view text, ByteWriter& out) {
    out.byte(0x21);
    out.byte(0xFE);
    while (!text.empty()) {
        const std::string_view block = text.substr(0, 255);
        out.byte(static_cast<int>(block.size()));
        out.bytes(block);
        text.remove_prefix(block.size());
    }
    out.byte(0x00);
}

std::uint8_t DisposalBits(std::uint8_t disposal) {
    return disposal >= 1 && disposal <= 3 ? static_cast<std::uint8_t>(disposal << 2) : 0;
}

}  // namespace

bool GifEncoder::EncodeGif(const GifFrameList& frames) {
    if (encode(frames)) return true;
    stream_.clear();  // no part of a stream that could not be finished
    return false;
}

bool GifEncoder::encode(const GifFrameList& list) {
    status_ = GifStatus::kEncoding;
    stream_.clear();
    const int count = list.frameCount;
    if (count < 1 || count > 256) return false;
    for (int i = 0; i < count; ++i) {
        if (list.frames[i] == nullptr) return false;
    }
    auto frame = [&](int i) -> const TFrameInfo& { return *list.frames[i]; };

    ByteWriter out(stream_);
    out.bytes("GIF89a");
    int screenWidth = 0;
    int screenHeight = 0;
    for (int i = 0; i < count; ++i) {
        if (const Pixmap* bitmap = frame(i).bitmap) {
            screenWidth = std::max(screenWidth, frame(i).left + bitmap->width);
            screenHeight = std::max(screenHeight, frame(i).top + bitmap->height);
        }
    }

    // First pass: every frame into the shared table, or the first frame only.
    // A shared table that overflows after the first frame gives way to
    // tables of their own.
    bool shared = list.sharedColourTable;
    ColourTable table;
    std::vector<FrameIndices> indices(count);
    for (int i = 0; i < (shared ? count : 1); ++i) {
        status_ = GifStatus::kPixelsUnreadable;
        const GifStatus converted = ConvertFrame(frame(i), table, indices[i]);
        status_ = converted;
        if (converted == GifStatus::kDone) continue;
        if (shared && i > 0 && converted == GifStatus::kTableOverflow) {
            shared = false;
            break;
        }
        return false;
    }

    const bool ownTables = count > 1 && !shared;
    out.word(screenWidth);
    out.word(screenHeight);
    out.byte(ownTables ? 0 : 0x80 | (ColourBits(table.count()) - 1));
    out.byte(0);  // background colour index
    out.byte(0);  // pixel aspect ratio
    if (!ownTables) WriteColourTable(table, out);

    if (count > 1) {
        out.byte(0x21);
        out.byte(0xFF);
        out.byte(11);
        out.bytes("NETSCAPE2.0");
        out.byte(0x03);
        out.byte(0x01);
        out.word(list.loopCount);
        out.byte(0x00);
    }

    for (int i = 0; i < count; ++i) {
        const TFrameInfo& info = frame(i);
        if (ownTables) {
            table.clear();
            status_ = ConvertFrame(info, table, indices[i]);
            if (status_ != GifStatus::kDone) return false;
        }
        if (!info.comment.empty()) WriteComment(info.comment, out);

        const bool transparent = info.transparent && indices[i].transparentIndex != 255;
        out.byte(0x21);
        out.byte(0xF9);
        out.byte(0x04);
        out.byte(DisposalBits(info.disposal) | (transparent ? 1 : 0));
        out.word(info.delay / 10);
        out.byte(transparent ? indices[i].transparentIndex : 0);
        out.byte(0x00);

        out.byte(0x2C);
        out.word(info.left);
        out.word(info.top);
        out.word(info.bitmap->width);
        out.word(info.bitmap->height);
        out.byte((ownTables ? 0x80 | (ColourBits(table.count()) - 1) : 0) |
                 (info.interlaced ? 0x40 : 0));
        if (ownTables) WriteColourTable(table, out);

        WriteLzw(indices[i], table.count(), stream_);
        indices[i].indices.reset();
    }

    out.byte(0x21);
    out.byte(0xFE);
    out.byte(static_cast<int>(kClosingCommentSize));
    out.bytes(kBuiltInComment);
    out.byte(0x00);
    out.byte(0x3B);
    status_ = GifStatus::kDone;
    return true;
}

bool GifEncoder::SaveToStream(const GifFrameList& frames, std::vector<std::uint8_t>& destination) {
    struct EmptyAfterwards {
        std::vector<std::uint8_t>& stream;
        ~EmptyAfterwards() { std::vector<std::uint8_t>().swap(stream); }
    } emptyAfterwards{stream_};
    if (!EncodeGif(frames)) return false;
    destination.insert(destination.end(), stream_.begin(), stream_.end());
    status_ = GifStatus::kDone;
    return true;
}

std::vector<std::uint8_t> EncodeGifFile(const Pixmap& picture, const GifSaveOptions& options) {
    const std::size_t length = options.comment.size();
    const bool longComment = length > kClosingCommentSize;
    std::string tail = longComment ? std::string() : options.comment;
    tail.resize(kClosingCommentSize, ' ');

    TFrameInfo frame;
    frame.bitmap = &picture;
    frame.width = picture.width;
    frame.height = picture.height;
    frame.interlaced = options.interlaced;
    frame.transparent = options.transparent;
    frame.transparentColour = options.transparentColour;
    frame.disposal = 1;
    if (longComment) frame.comment = options.comment;
    GifFrameList list;
    list.frameCount = 1;
    list.frames[0] = &frame;
    list.sharedColourTable = true;

    std::vector<std::uint8_t> file;
    GifEncoder encoder;
    if (!encoder.SaveToStream(list, file)) return {};
    // The closing comment's text starts 137 bytes before the end (its
    // 135 bytes, the block end and the trailer follow).
    std::copy(tail.begin(), tail.end(), file.end() - (kClosingCommentSize + 2));
    return file;
}

}  // namespace qv
