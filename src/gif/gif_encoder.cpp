// The GIF encoder: colour conversion into tables built in first-met order,
// the LZW coder with its open-addressing dictionary, and the stream layout.
#include "gif/gif_encoder.h"

#include <algorithm>
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
class ColourTable {
public:
    void clear() {
        count_ = 0;
        slots_.fill(Slot{});
    }
    int count() const { return count_; }
    Pixel colour(int index) const { return colours_[index]; }

    // The colour's index, adding it when new; -1 when that would make 257.
    int indexOf(Pixel colour) {
        std::size_t slot = Hash(colour);
        while (slots_[slot].used) {
            if (colours_[slots_[slot].index] == colour) return slots_[slot].index;
            slot = (slot + 1) & (kSlots - 1);
        }
        if (count_ >= kMaxColours) {
            count_ = kMaxColours + 1;  // the count stays at 257
            return -1;
        }
        colours_[count_] = colour;
        slots_[slot] = Slot{true, static_cast<std::uint8_t>(count_)};
        return count_++;
    }

private:
    static constexpr std::size_t kSlots = 4096;
    struct Slot {
        bool used = false;
        std::uint8_t index = 0;
    };
    static std::size_t Hash(Pixel colour) {
        const std::uint32_t mixed = (colour ^ (colour >> 13)) * 2654435761u;
        return mixed >> 20;  // the top 12 bits
    }

    std::array<Pixel, kMaxColours> colours_{};
    std::array<Slot, kSlots> slots_{};
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
    std::vector<std::uint8_t> indices;    // one per pixel, in written row order
    std::uint8_t transparentIndex = 255;  // 255: none found
};

// Converts one frame's pixels into indices of the table, adding new colours.
GifStatus ConvertFrame(const TFrameInfo& frame, ColourTable& table, FrameIndices& out) {
    const Pixmap* bitmap = frame.bitmap;
    if (bitmap == nullptr || !bitmap->valid() || bitmap->width > 0xFFFF ||
        bitmap->height > 0xFFFF) {
        return GifStatus::kPixelsUnreadable;
    }
    const std::uint32_t key = frame.transparentColour;
    const Pixel transparent = RgbPixel(key & 0xFF, (key >> 8) & 0xFF, (key >> 16) & 0xFF);
    bool transparentFound = false;
    out.transparentIndex = 255;
    out.indices.resize(bitmap->pixels.size());
    std::uint8_t* next = out.indices.data();
    // Neighbouring pixels often share a colour: the last lookup is reused.
    Pixel lastColour = 0;
    int lastIndex = -1;
    for (int y : RowOrder(bitmap->height, frame.interlaced)) {
        const Pixel* row = bitmap->pixels.data() + static_cast<std::size_t>(y) * bitmap->width;
        for (int x = 0; x < bitmap->width; ++x) {
            const Pixel colour = row[x] & 0xFFFFFF;
            if (lastIndex < 0 || colour != lastColour) {
                lastIndex = table.indexOf(colour);
                if (lastIndex < 0) return GifStatus::kTableOverflow;
                lastColour = colour;
                if (!transparentFound && colour == transparent) {
                    transparentFound = true;
                    out.transparentIndex = static_cast<std::uint8_t>(lastIndex);
                }
            }
            *next++ = static_cast<std::uint8_t>(lastIndex);
        }
    }
    return GifStatus::kDone;
}

// The LZW dictionary: an open-addressing hash of 5119 slots. The string of
// prefix code p extended by index c has the key c * 4096 + p; probing starts
// at (c * 16) XOR p and goes backwards by 5119 minus that slot, stopping at
// the wanted key or at a key that is not positive (-1 marks an empty slot).
class LzwDictionary {
public:
    static constexpr int kSlots = 5119;

    LzwDictionary() : slots_(new Slot[kSlots + 1]) { clear(); }

    void clear() { std::memset(slots_.get(), 0xFF, (kSlots + 1) * sizeof(Slot)); }

    // The string's code, or -1 after noting the slot where it goes.
    int find(int prefix, int index) {
        Slot* const slots = slots_.get();
        const std::int32_t key = index * 4096 + prefix;
        int slot = (index << 4) ^ prefix;
        std::int32_t found = slots[slot].key;
        if (found != key && found >= 0) {
            const int step = slot == 0 ? 1 : kSlots - slot;
            do {
                slot -= step;
                if (slot < 0) slot += kSlots;
                found = slots[slot].key;
            } while (found != key && found > 0);
        }
        if (found == key) return slots[slot].code;
        free_ = slot;
        freeKey_ = key;
        return -1;
    }
    // Enters the string of the last failed find under code.
    void add(int code) { slots_[free_] = Slot{freeKey_, static_cast<std::uint16_t>(code)}; }

private:
    struct Slot {
        std::int32_t key;
        std::uint16_t code;
    };
    std::unique_ptr<Slot[]> slots_;
    int free_ = 0;
    std::int32_t freeKey_ = 0;
};

// The codes of one frame as bytes, least significant bit first.
class CodeBits {
public:
    // Room for codes of up to 12 bits, and the 4-byte stores that may reach past the last one.
    explicit CodeBits(std::size_t codes)
        : bytes_(new std::uint8_t[codes * 12 / 8 + 8]), next_(bytes_.get()) {}

    void put(int code, int width) {
        bits_ |= static_cast<std::uint64_t>(code) << count_;
        count_ += width;
        if (count_ >= 32) {
            for (int i = 0; i < 4; ++i)
                next_[i] = static_cast<std::uint8_t>(bits_ >> (8 * i));
            next_ += 4;
            bits_ >>= 32;
            count_ -= 32;
        }
    }
    // The last bits filled up with zeros, then the bytes in sub-blocks of
    // up to 255, each after its length, and the zero length that ends them.
    void writeBlocks(std::vector<std::uint8_t>& out) {
        for (; count_ > 0; count_ -= 8, bits_ >>= 8)
            *next_++ = static_cast<std::uint8_t>(bits_);
        const std::uint8_t* at = bytes_.get();
        while (at < next_) {
            const std::size_t size = std::min<std::size_t>(255, next_ - at);
            out.push_back(static_cast<std::uint8_t>(size));
            out.insert(out.end(), at, at + size);
            at += size;
        }
        out.push_back(0x00);
    }

private:
    std::unique_ptr<std::uint8_t[]> bytes_;  // not cleared: written before it is read
    std::uint8_t* next_;
    std::uint64_t bits_ = 0;
    int count_ = 0;
};

// The image data of one frame: minimum code size, then the codes.
void WriteLzw(const std::vector<std::uint8_t>& indices, int colourCount,
              std::vector<std::uint8_t>& out) {
    const int minimum = std::max(2, ColourBits(colourCount));
    out.push_back(static_cast<std::uint8_t>(minimum));
    const int clearCode = 1 << minimum;
    const int endCode = clearCode + 1;
    int nextCode = clearCode + 2;
    int width = minimum + 1;
    int largest = (1 << width) - 1;

    // At most one code per index, a clear code per full dictionary, and three more.
    CodeBits codes(indices.size() + indices.size() / 256 + 3);
    auto emit = [&](int code) {
        codes.put(code, width);
        if (code == clearCode) {
            width = minimum + 1;
            largest = (1 << width) - 1;
        } else if (nextCode > largest) {
            ++width;
            largest = width == 12 ? 4096 : (1 << width) - 1;
        }
    };

    LzwDictionary dictionary;
    const std::uint8_t* index = indices.data();
    const std::uint8_t* const end = index + indices.size();
    int current = *index++;
    emit(clearCode);
    for (; index < end; ++index) {
        const int c = *index;
        const int code = dictionary.find(current, c);
        if (code >= 0) {
            current = code;
            continue;
        }
        emit(current);
        if (nextCode < 4096) {
            dictionary.add(nextCode++);
        } else {
            emit(clearCode);
            dictionary.clear();
            nextCode = clearCode + 2;
        }
        current = c;
    }
    emit(current);
    emit(endCode);
    codes.writeBlocks(out);
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

bool GifEncoder::EncodeGif(const GifFrameList& list) {
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

        WriteLzw(indices[i].indices, table.count(), stream_);
        std::vector<std::uint8_t>().swap(indices[i].indices);
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
