// Deflate decoder: table-driven Huffman decoding over a 64-bit bit buffer.
//
// The output buffer holds 32768 bytes of history followed by room for several
// blocks; each block is written to the sink as soon as it holds 32768 bytes,
// and only when the room is used up does the last 32768 bytes slide down to
// become the history. So every back-reference is one plain forward copy that
// never wraps, and the slide costs one 32 KB move per several blocks.
#include "archive/inflate.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>

namespace qv {

static_assert(std::endian::native == std::endian::little,
              "the bit buffer loads 8 bytes at a time little-endian");

namespace {

constexpr std::size_t kWindowSize = 32768;
// Blocks written between two slides.
constexpr std::size_t kBlocksPerSlide = 8;
// Room past the block's end for what one step of the decoder writes before it
// checks (three literals, or two and a 258-byte match with its copy's 61-byte overrun).
constexpr std::size_t kTail = 512;
constexpr std::size_t kBufferSize = (1 + kBlocksPerSlide) * kWindowSize + kTail;
// The fast loop runs while more than this many input bytes remain: one pass
// of it refills at most twice, each refill reading a word and taking at most
// 7 bytes of it, so it never reads past the input's end.
constexpr std::ptrdiff_t kFastInput = 32;

// Lookup table entries (32 bits):
//   bits 0..7    bits the entry takes from the stream: the code and its extra bits
//                (for a link: the first level's bits)
//   bits 8..11   bits of the code alone, before the extra bits (for a link: the
//                second level's bits)
//   bit 12       link: the second-level table starts at the value
//   bit 13       end of block
//   bit 14       no code: a pattern outside an incomplete set, or a symbol that must not occur
//   bit 15       literal
//   bits 16..31  literal byte, base length or distance, code-length symbol, or link offset
// A length or distance with its extra bits is then one read and one shift:
// the bits the entry takes, less the code's own, are the extra value.
constexpr std::uint32_t kLink = 1u << 12;
constexpr std::uint32_t kEnd = 1u << 13;
constexpr std::uint32_t kInvalid = 1u << 14;
constexpr std::uint32_t kLiteral = 1u << 15;

// The meaning of a symbol: its value and extra bits; the builder adds the code length.
constexpr std::uint32_t BaseAndExtra(std::uint32_t base, std::uint32_t extra) {
    return base << 16 | extra;
}
constexpr std::uint32_t WithCodeLength(std::uint32_t meaning, unsigned length) {
    return meaning + (length | length << 8);
}

constexpr std::uint16_t kLengthBase[29] = {3,  4,  5,  6,   7,   8,   9,   10,  11, 13,
                                           15, 17, 19, 23,  27,  31,  35,  43,  51, 59,
                                           67, 83, 99, 115, 131, 163, 195, 227, 258};
constexpr std::uint8_t kLengthExtra[29] = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                                           2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
constexpr std::uint16_t kDistBase[30] = {
    1,   2,   3,   4,   5,   7,    9,    13,   17,   25,   33,   49,   65,    97,    129,
    193, 257, 385, 513, 769, 1025, 1537, 2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577};
constexpr std::uint8_t kDistExtra[30] = {0, 0, 0, 0, 1, 1, 2, 2,  3,  3,  4,  4,  5,  5,  6,
                                         6, 7, 7, 8, 8, 9, 9, 10, 10, 11, 11, 12, 12, 13, 13};

std::uint32_t LitLenMeaning(unsigned sym) {
    if (sym < 256) return kLiteral | sym << 16;
    if (sym == 256) return kEnd;
    if (sym < 286) return BaseAndExtra(kLengthBase[sym - 257], kLengthExtra[sym - 257]);
    return kInvalid;  // 286 and 287 take part in the fixed code but never occur
}
std::uint32_t DistMeaning(unsigned sym) {
    return sym < 30 ? BaseAndExtra(kDistBase[sym], kDistExtra[sym]) : kInvalid;
}
std::uint32_t CodeLengthMeaning(unsigned sym) { return BaseAndExtra(sym, 0); }

// First-level bits: literal/length and distance codes (dynamic and fixed), code-length code.
// An 11-bit first level holds almost every literal/length code of real data.
constexpr unsigned kLitBits = 11, kDistBits = 8, kCodeLengthBits = 7;
// Enough for any code set: a code longer than the first level shares its
// second-level table (at most 2^(15 - first-level bits) entries) with at least
// one other code, so it fills at most half of it: the second levels of 288
// literal/length codes take at most 288 * 8 entries, those of 32 distance codes
// 32 * 64. The builder checks anyway.
constexpr std::size_t kLitTableSize = (1u << kLitBits) + 288 * 8,
                      kDistTableSize = (1u << kDistBits) + 32 * 64,
                      kCodeLengthTableSize = 1u << kCodeLengthBits;

constexpr unsigned kMaxLitCodes = 288, kMaxDistCodes = 32, kMaxCodeBits = 15;

// Each byte with its bits in the opposite order.
constexpr std::array<std::uint8_t, 256> kReversedBytes = [] {
    std::array<std::uint8_t, 256> r{};
    for (unsigned b = 0; b < 256; ++b)
        for (unsigned i = 0; i < 8; ++i)
            if (b >> i & 1) r[b] = static_cast<std::uint8_t>(r[b] | 0x80 >> i);
    return r;
}();

// The low length bits of code (length 1 to 15) in the opposite order.
std::uint32_t Reversed(std::uint32_t code, unsigned length) {
    const std::uint32_t all16 =
        std::uint32_t{kReversedBytes[code & 0xFF]} << 8 | kReversedBytes[code >> 8 & 0xFF];
    return all16 >> (16 - length);
}

// Builds the lookup table of a canonical Huffman code from its code lengths
// (0 = symbol unused). The first level is indexed by the next rootBits bits of
// the stream; a longer code's first-level entry links to a second-level table
// holding its remaining bits, sized for all the codes that share its prefix.
// An over-subscribed set is refused; so is an incomplete one unless
// oneBitAllowed and it is a single code of one bit (the one incomplete set the
// format allows, for distances or for a block of literals only). A set with no
// codes at all gives a table where every pattern is invalid.
bool BuildTable(const std::uint8_t* lengths, unsigned symbols, unsigned rootBits,
                std::uint32_t (*meaning)(unsigned), bool oneBitAllowed, std::uint32_t* table,
                std::size_t capacity) {
    unsigned counts[kMaxCodeBits + 1] = {};
    for (unsigned s = 0; s < symbols; ++s)
        ++counts[lengths[s]];
    counts[0] = 0;
    unsigned maxLength = kMaxCodeBits;
    while (maxLength > 0 && counts[maxLength] == 0)
        --maxLength;

    const std::size_t rootSize = std::size_t{1} << rootBits;
    if (maxLength == 0) {
        std::fill(table, table + rootSize, kInvalid);
        return true;
    }

    int left = 1;
    for (unsigned len = 1; len <= kMaxCodeBits; ++len) {
        left = (left << 1) - static_cast<int>(counts[len]);
        if (left < 0) return false;  // over-subscribed
    }
    // The one incomplete set leaves one of the two one-bit patterns without a code.
    if (left > 0) {
        if (!(oneBitAllowed && maxLength == 1)) return false;  // incomplete
        table[0] = table[1] = kInvalid;
    }

    // First code of each length, and the symbols in canonical order (by length, then symbol).
    std::uint32_t nextCode[kMaxCodeBits + 1] = {};
    unsigned offset[kMaxCodeBits + 2] = {};
    for (unsigned len = 1; len <= kMaxCodeBits; ++len) {
        nextCode[len] = (nextCode[len - 1] + counts[len - 1]) << 1;
        offset[len + 1] = offset[len] + counts[len];
    }
    std::uint16_t sorted[kMaxLitCodes];
    for (unsigned s = 0; s < symbols; ++s)
        if (lengths[s] != 0) sorted[offset[lengths[s]]++] = static_cast<std::uint16_t>(s);
    const unsigned total = offset[kMaxCodeBits + 1];  // the number of codes

    // The first level grows a length at a time: the table of the codes up to
    // len bits is 2^len entries, each code writing the one entry of its
    // pattern; doubling it (a copy of the entries after themselves) makes the
    // table for len + 1 bits, where each of those codes then covers both
    // patterns that start with it. An entry whose pattern begins a longer
    // code is overwritten at that code's length, or by a link below, so the
    // copies of not yet written entries never survive.
    unsigned k = 0;
    for (unsigned len = 1;; ++len) {
        for (; k < total && lengths[sorted[k]] == len; ++k)
            table[Reversed(nextCode[len]++, len)] = WithCodeLength(meaning(sorted[k]), len);
        if (len == rootBits) break;
        std::memcpy(table + (std::size_t{1} << len), table, sizeof(*table) << len);
    }

    // Codes longer than the first level, through links to second-level tables.
    unsigned remaining[kMaxCodeBits + 1];
    std::copy(counts, counts + kMaxCodeBits + 1, remaining);
    std::size_t used = rootSize;
    std::uint32_t linkPrefix = ~0u;
    std::size_t subStart = 0;
    unsigned subBits = 0;
    for (; k < total; ++k) {
        const unsigned sym = sorted[k];
        const unsigned len = lengths[sym];
        const std::uint32_t stream =
            Reversed(nextCode[len]++, len);  // the code as the stream's bits arrive
        const std::uint32_t prefix = stream & (rootSize - 1);
        if (prefix != linkPrefix) {
            // Canonical codes sharing a prefix come one after another: size the
            // second level for this one and the longer ones still to come.
            subBits = len - rootBits;
            int room = 1 << subBits;
            while (subBits + rootBits < maxLength) {
                room -= static_cast<int>(remaining[subBits + rootBits]);
                if (room <= 0) break;
                ++subBits;
                room <<= 1;
            }
            if (used + (std::size_t{1} << subBits) > capacity) return false;
            subStart = used;
            used += std::size_t{1} << subBits;
            std::fill(table + subStart, table + used, kInvalid);
            table[prefix] =
                kLink | rootBits | subBits << 8 | static_cast<std::uint32_t>(subStart) << 16;
            linkPrefix = prefix;
        }
        const unsigned subLength = len - rootBits;
        const std::uint32_t entry = WithCodeLength(meaning(sym), subLength);
        for (std::size_t i = stream >> rootBits; i < (std::size_t{1} << subBits);
             i += std::size_t{1} << subLength)
            table[subStart + i] = entry;
        --remaining[len];
    }
    return true;
}

inline std::uint64_t Load64(const std::uint8_t* p) {
    std::uint64_t v;
    std::memcpy(&v, p, 8);
    return v;
}

// Copies a match of length bytes from distance back, mostly in pieces of 16
// bytes. From 16 back or more the first 64 bytes go without a test: almost
// every match is that short, and a test after each piece is a branch
// mispredicted at the end of every longer one. May write up to 61 bytes past
// the match's end (the buffer's tail takes them, and later output overwrites
// them). A piece never overlaps itself; later pieces read what earlier ones wrote.
inline void CopyMatch(std::uint8_t* dst, std::size_t distance, unsigned length) {
    const std::uint8_t* src = dst - distance;
    std::uint8_t* const stop = dst + length;
    if (distance >= 16) {
        std::memcpy(dst, src, 16);
        std::memcpy(dst + 16, src + 16, 16);
        std::memcpy(dst + 32, src + 32, 16);
        std::memcpy(dst + 48, src + 48, 16);
        for (dst += 64, src += 64; dst < stop; dst += 16, src += 16)
            std::memcpy(dst, src, 16);
    } else if (distance >= 8) {
        // Two pieces of eight write the first 16 bytes; after them the pattern
        // also repeats at twice the distance, which pieces of 16 can copy from.
        std::memcpy(dst, src, 8);
        std::memcpy(dst + 8, src + 8, 8);
        const std::size_t period = 2 * distance;
        for (dst += 16; dst < stop; dst += 16)
            std::memcpy(dst, dst - period, 16);
    } else if (distance == 1 || distance == 2 || distance == 4) {
        // The pattern repeats within eight bytes: one word of it, stored again and again.
        std::uint64_t run;
        if (distance == 1) {
            run = 0x0101010101010101ull * *src;
        } else if (distance == 2) {
            std::uint16_t pattern;
            std::memcpy(&pattern, src, 2);
            run = 0x0001000100010001ull * pattern;
        } else {
            std::uint32_t pattern;
            std::memcpy(&pattern, src, 4);
            run = 0x0000000100000001ull * pattern;
        }
        do {
            std::memcpy(dst, &run, 8);
            dst += 8;
        } while (dst < stop);
    } else {
        // 3, 5, 6 or 7: the first eight bytes one by one; after them the pattern
        // also repeats at the first multiple of the distance that is at least 8,
        // which pieces of eight can copy from.
        static constexpr std::uint8_t kPeriod[8] = {0, 0, 0, 9, 0, 10, 12, 14};
        for (int i = 0; i < 8; ++i)
            dst[i] = src[i];
        const std::size_t period = kPeriod[distance];
        for (dst += 8; dst < stop; dst += 8)
            std::memcpy(dst, dst - period, 8);
    }
}

}  // namespace

struct InflateStorage {
    std::uint8_t window[kBufferSize];
    std::uint32_t lit[kLitTableSize];
    std::uint32_t dist[kDistTableSize];
    std::uint32_t codeLengths[kCodeLengthTableSize];
    std::uint32_t fixedLit[kLitTableSize];
    std::uint32_t fixedDist[kDistTableSize];

    InflateStorage() {
        std::uint8_t lengths[kMaxLitCodes];
        std::fill(lengths, lengths + 144, 8);
        std::fill(lengths + 144, lengths + 256, 9);
        std::fill(lengths + 256, lengths + 280, 7);
        std::fill(lengths + 280, lengths + 288, 8);
        BuildTable(lengths, kMaxLitCodes, kLitBits, LitLenMeaning, false, fixedLit,
                   kLitTableSize);
        std::fill(lengths, lengths + kMaxDistCodes, 5);
        BuildTable(lengths, kMaxDistCodes, kDistBits, DistMeaning, false, fixedDist,
                   kDistTableSize);
    }
};

namespace {

// The state of one stream's decoding.
class Decoder {
public:
    Decoder(InflateStorage& storage, InflateInput& input, InflateSink& sink)
        : s_(storage), input_(input), sink_(sink), next_(input.next), end_(input.end) {}

    InflateStatus Run();

private:
    InflateStatus Stored();
    InflateStatus Dynamic();
    InflateStatus Codes(const std::uint32_t* lit, const std::uint32_t* dist);
    bool FastCodes(const std::uint32_t* lit, const std::uint32_t* dist, InflateStatus& status);

    // Tops the bit buffer up to at least 56 bits. False (and truncated_ set)
    // once bits past the end of the input have been taken.
    bool Refill() {
        if (end_ - next_ >= 8) {
            bits_ |= Load64(next_) << count_;
            next_ += (63 - count_) >> 3;
            count_ |= 56;
            return true;
        }
        return RefillSlow();
    }
    bool RefillSlow();
    std::uint32_t Take(unsigned n) {  // n <= 32
        if (count_ < n) Refill();
        const std::uint32_t v = static_cast<std::uint32_t>(bits_ & ((std::uint64_t{1} << n) - 1));
        bits_ >>= n;
        count_ -= n;
        return v;
    }
    std::uint32_t Decode(const std::uint32_t* table, unsigned rootBits);
    bool Overrun() const { return padding_ * 8 > count_; }
    void DropToByte() {
        bits_ >>= count_ & 7;
        count_ &= ~7u;
    }
    // Gives the whole bytes still in the bit buffer back to the input.
    void ReturnBytes() {
        DropToByte();
        next_ -= count_ / 8 - padding_;
        bits_ = 0;
        count_ = 0;
        padding_ = 0;
    }
    std::uint8_t* BlockEnd() const { return block_ + kWindowSize; }
    void Flush();
    void Finish() {
        if (out_ > block_) sink_.Write(block_, static_cast<std::size_t>(out_ - block_));
        out_ = block_;
    }

    InflateStorage& s_;
    InflateInput& input_;
    InflateSink& sink_;

    // Bit input: next_/end_ the bytes not yet in the buffer; bits_ holds count_
    // bits, the next one at bit 0; bits above count_ are zero or copies of the
    // bytes at next_ (a refill ORs the same values over them). Past the end of
    // the input, bytes of 0xFF are fed (padding_ counts them) so that lookups may
    // look ahead; taking any of their bits means the stream is truncated, which
    // is checked where the buffer is refilled and where the stream ends.
    const std::uint8_t* next_;
    const std::uint8_t* end_;
    std::uint64_t bits_ = 0;
    unsigned count_ = 0;
    unsigned padding_ = 0;
    bool truncated_ = false;

    // Output: block_ is the start of the block being filled, out_ where the next
    // byte goes, history_ the first byte a back-reference may reach (the start
    // of output until the first slide).
    std::uint8_t* block_ = s_.window + kWindowSize;
    std::uint8_t* out_ = block_;
    std::uint8_t* history_ = block_;
};

bool Decoder::RefillSlow() {
    const bool ok = !Overrun();
    if (!ok) truncated_ = true;
    while (count_ < 56) {
        if (next_ == end_ && padding_ == 0) {
            input_.next = next_;
            input_.end = end_;
            input_.Refill();
            next_ = input_.next;
            end_ = input_.end;
            if (end_ - next_ >= 8) return Refill() && ok;
        }
        std::uint64_t byte = 0xFF;
        if (next_ < end_)
            byte = *next_++;
        else
            ++padding_;
        bits_ |= byte << count_;
        count_ += 8;
    }
    return ok;
}

std::uint32_t Decoder::Decode(const std::uint32_t* table, unsigned rootBits) {
    if (count_ < kMaxCodeBits) Refill();
    std::uint32_t e = table[bits_ & ((1u << rootBits) - 1)];
    if (e & kLink) {
        bits_ >>= e & 0xFF;
        count_ -= e & 0xFF;
        e = table[(e >> 16) + (bits_ & ((1u << ((e >> 8) & 0xF)) - 1))];
    }
    bits_ >>= e & 0xFF;
    count_ -= e & 0xFF;
    return e;
}

// Writes the full block and starts the next one after it; when no room for
// another block is left, the block just written and what is past it slide
// down to the front, the block becoming the history.
void Decoder::Flush() {
    sink_.Write(block_, kWindowSize);
    block_ += kWindowSize;
    if (block_ + kWindowSize + kTail > s_.window + kBufferSize) {
        std::uint8_t* const from = block_ - kWindowSize;
        std::memmove(s_.window, from, static_cast<std::size_t>(out_ - from));
        out_ -= from - s_.window;
        block_ = s_.window + kWindowSize;
        history_ = s_.window;
    }
}

InflateStatus Decoder::Run() {
    InflateStatus status = InflateStatus::kOk;
    bool last = false;
    while (status == InflateStatus::kOk && !last) {
        last = Take(1) != 0;
        const std::uint32_t type = Take(2);
        if (truncated_ || Overrun()) {
            status = InflateStatus::kTruncated;
            break;
        }
        switch (type) {
        case 0:
            status = Stored();
            break;
        case 1:
            status = Codes(s_.fixedLit, s_.fixedDist);
            break;
        case 2:
            status = Dynamic();
            break;
        default:
            status = InflateStatus::kBadBlockType;
            break;
        }
    }
    // Whatever was found after bits past the end were taken is the cut's doing.
    if (truncated_ || Overrun()) status = InflateStatus::kTruncated;
    if (out_ >= BlockEnd()) Flush();
    Finish();
    if (status == InflateStatus::kOk) ReturnBytes();
    input_.next = next_;
    input_.end = end_;
    return status;
}

// Stored block: to the byte boundary, LEN and its complement NLEN, LEN bytes.
InflateStatus Decoder::Stored() {
    DropToByte();
    const std::uint32_t length = Take(16);
    const std::uint32_t complement = Take(16);
    if (truncated_ || Overrun()) return InflateStatus::kTruncated;
    if (length != (~complement & 0xFFFF)) return InflateStatus::kBadStoredLength;
    ReturnBytes();
    for (std::size_t left = length; left > 0;) {
        if (next_ == end_) {
            input_.next = next_;
            input_.end = end_;
            const bool more = input_.Refill();
            next_ = input_.next;
            end_ = input_.end;
            if (!more || next_ == end_) return InflateStatus::kTruncated;
        }
        if (out_ >= BlockEnd()) Flush();
        const std::size_t n = std::min({left, static_cast<std::size_t>(end_ - next_),
                                        static_cast<std::size_t>(BlockEnd() - out_)});
        std::memcpy(out_, next_, n);
        out_ += n;
        next_ += n;
        left -= n;
    }
    return InflateStatus::kOk;
}

// Dynamic block: the code-length code, then the literal/length and distance
// code lengths (one sequence, so repeats may run from one into the other).
InflateStatus Decoder::Dynamic() {
    static constexpr std::uint8_t kOrder[19] = {16, 17, 18, 0, 8,  7, 9,  6, 10, 5,
                                                11, 4,  12, 3, 13, 2, 14, 1, 15};
    const unsigned litCount = Take(5) + 257;
    const unsigned distCount = Take(5) + 1;
    const unsigned codeLengthCount = Take(4) + 4;
    if (litCount > 286 || distCount > 30) return InflateStatus::kBadCodeLengths;

    std::uint8_t lengths[kMaxLitCodes + kMaxDistCodes] = {};
    for (unsigned i = 0; i < codeLengthCount; ++i)
        lengths[kOrder[i]] = static_cast<std::uint8_t>(Take(3));
    if (!BuildTable(lengths, 19, kCodeLengthBits, CodeLengthMeaning, false, s_.codeLengths,
                    kCodeLengthTableSize))
        return InflateStatus::kBadCodeLengths;

    const unsigned total = litCount + distCount;
    for (unsigned i = 0; i < total;) {
        const std::uint32_t e = Decode(s_.codeLengths, kCodeLengthBits);
        if (e & kInvalid) return InflateStatus::kBadCodeLengths;
        const unsigned sym = e >> 16;
        if (sym < 16) {
            lengths[i++] = static_cast<std::uint8_t>(sym);
            continue;
        }
        std::uint8_t value = 0;
        unsigned repeat;
        if (sym == 16) {
            if (i == 0) return InflateStatus::kBadCodeLengths;
            value = lengths[i - 1];
            repeat = 3 + Take(2);
        } else if (sym == 17) {
            repeat = 3 + Take(3);
        } else {
            repeat = 11 + Take(7);
        }
        if (repeat > total - i) return InflateStatus::kBadCodeLengths;
        std::fill(lengths + i, lengths + i + repeat, value);
        i += repeat;
    }
    if (truncated_ || Overrun()) return InflateStatus::kTruncated;
    if (lengths[256] == 0) return InflateStatus::kBadCodeLengths;
    if (!BuildTable(lengths, litCount, kLitBits, LitLenMeaning, true, s_.lit, kLitTableSize) ||
        !BuildTable(lengths + litCount, distCount, kDistBits, DistMeaning, true, s_.dist,
                    kDistTableSize))
        return InflateStatus::kBadCodeLengths;
    return Codes(s_.lit, s_.dist);
}

// The body of a Huffman block while more than kFastInput bytes of input
// remain and the block being filled has room: refills are plain word loads,
// every entry's bits are taken as soon as it is looked up (the bits before it
// kept for its extra bits), and the next entry is looked up before the
// current literal is stored or match copied, so that the chain from one
// lookup to the next is a mask, a load and a shift. True with status set when
// the block's end or damage was found; false when it stopped short of the end
// of the input or of the block, the bit state then at the start of a code.
bool Decoder::FastCodes(const std::uint32_t* lit, const std::uint32_t* dist,
                        InflateStatus& status) {
    constexpr std::uint64_t kLitMask = (std::uint64_t{1} << kLitBits) - 1;
    constexpr std::uint64_t kDistMask = (std::uint64_t{1} << kDistBits) - 1;
    const std::uint8_t* next = next_;
    const std::uint8_t* const fastEnd = end_ - kFastInput;
    std::uint64_t bits = bits_;
    // Only the low 8 bits of count are the count, as in Codes.
    std::uint32_t count = count_;
    std::uint8_t* out = out_;
    std::uint8_t* const blockEnd = BlockEnd();
    const std::uint8_t* const history = history_;

    auto refill = [&] {
        bits |= Load64(next) << (count & 63);
        next += (~count & 63) >> 3;
        count |= 56;
    };
    // The extra bits of a length or distance entry, from the bits it was looked up in.
    auto extra = [](std::uint64_t from, std::uint32_t entry) {
        return static_cast<std::uint32_t>((from & ((std::uint64_t{1} << (entry & 63)) - 1)) >>
                                          ((entry >> 8) & 63));
    };

    // Takes an entry's bits; returns the bits they were taken from, for its extra bits.
    auto take = [&](std::uint32_t entry) {
        const std::uint64_t from = bits;
        bits >>= entry & 63;
        count -= entry;
        return from;
    };

    bool done = false;
    refill();
    std::uint32_t e = lit[bits & kLitMask];
    do {
        std::uint64_t saved = take(e);
        if (e & kLiteral) {
            // Two more literals of the first level may follow before a refill:
            // after three codes of at most 11 bits and the next lookup, or two
            // and a length of at most 20 bits and the distance's lookup, the
            // 56 bits of a refill are not used up.
            std::uint8_t byte = static_cast<std::uint8_t>(e >> 16);
            e = lit[bits & kLitMask];
            saved = take(e);
            *out++ = byte;
            if (e & kLiteral) {
                byte = static_cast<std::uint8_t>(e >> 16);
                e = lit[bits & kLitMask];
                saved = take(e);
                *out++ = byte;
                if (e & kLiteral) {
                    byte = static_cast<std::uint8_t>(e >> 16);
                    e = lit[bits & kLitMask];
                    refill();
                    *out++ = byte;
                    continue;
                }
            }
        }
        if (e & (kLink | kEnd | kInvalid)) [[unlikely]] {
            if (e & kLink) {
                // The first level's bits are taken; the code's own come from the second.
                e = lit[(e >> 16) + (bits & ((1u << ((e >> 8) & 0xF)) - 1))];
                saved = take(e);
                if (e & kLiteral) {
                    const auto byte = static_cast<std::uint8_t>(e >> 16);
                    e = lit[bits & kLitMask];
                    refill();
                    *out++ = byte;
                    continue;
                }
            }
            if (e & (kEnd | kInvalid)) {
                status = (e & kEnd) ? InflateStatus::kOk : InflateStatus::kBadCode;
                done = true;
                break;
            }
        }
        const unsigned length = (e >> 16) + extra(saved, e);

        // The distance is looked up in the bits left after the length (at
        // least 64 - 42 of a refill's word), then the buffer is refilled
        // whatever it still holds: a test of whether it needs to be would be a
        // branch the processor mispredicts about as often as it is taken.
        std::uint32_t d = dist[bits & kDistMask];
        refill();
        if (d & kLink) [[unlikely]] {
            bits >>= d & 63;
            count -= d;
            d = dist[(d >> 16) + (bits & ((1u << ((d >> 8) & 0xF)) - 1))];
        }
        if (d & kInvalid) [[unlikely]] {
            status = InflateStatus::kBadCode;
            done = true;
            break;
        }
        saved = take(d);
        const std::size_t distance = (d >> 16) + extra(saved, d);
        if (distance > static_cast<std::size_t>(out - history)) [[unlikely]] {
            status = InflateStatus::kBadDistance;
            done = true;
            break;
        }
        e = lit[bits & kLitMask];
        refill();
        CopyMatch(out, distance, length);
        out += length;
    } while (out < blockEnd && next < fastEnd);

    next_ = next;
    bits_ = bits;
    count_ = count & 0xFF;
    out_ = out;
    return done;
}

// The body of a Huffman block, the hot loop: bit state and output pointer in
// locals (stores through the output pointer could otherwise alias members).
InflateStatus Decoder::Codes(const std::uint32_t* lit, const std::uint32_t* dist) {
    constexpr std::uint64_t kLitMask = (std::uint64_t{1} << kLitBits) - 1;
    constexpr std::uint64_t kDistMask = (std::uint64_t{1} << kDistBits) - 1;
    std::uint8_t* blockEnd = BlockEnd();
    const std::uint8_t* next = next_;
    const std::uint8_t* end = end_;
    std::uint64_t bits = bits_;
    // Only the low 8 bits of count are the count: taking an entry's bits
    // subtracts the whole entry, which saves masking it on the way from the
    // table to the next lookup (the entry's bit count is its low byte, and no
    // more bits are ever taken than the buffer holds).
    std::uint32_t count = count_;
    std::uint8_t* out = out_;
    const std::uint8_t* history = history_;

    auto save = [&] {
        next_ = next;
        end_ = end;
        bits_ = bits;
        count_ = count & 0xFF;
        out_ = out;
    };
    auto load = [&] {
        next = next_;
        end = end_;
        bits = bits_;
        count = count_;
        out = out_;
        history = history_;
        blockEnd = BlockEnd();
    };
    auto refill = [&]() -> bool {
        if (end - next >= 8) {
            bits |= Load64(next) << (count & 63);
            next += (~count & 63) >> 3;  // the whole bytes that fit: (63 - count) / 8
            count |= 56;
            return true;
        }
        save();
        const bool ok = RefillSlow();
        load();
        return ok;
    };
    auto consume = [&](std::uint32_t entry) {
        bits >>= entry & 63;  // the bit count is below 64
        count -= entry;
    };
    // The entry for the next code, through a link if it is longer than the
    // first level (whose bits are then taken); the entry's own bits are not.
    auto lookup = [&](const std::uint32_t* table, std::uint64_t mask) {
        std::uint32_t e = table[bits & mask];
        if (e & kLink) [[unlikely]] {
            consume(e);
            e = table[(e >> 16) + (bits & ((1u << ((e >> 8) & 0xF)) - 1))];
        }
        return e;
    };
    // A length or distance: the base plus the extra bits after the code; takes both.
    auto value = [&](std::uint32_t entry) {
        const std::uint32_t v =
            (entry >> 16) + static_cast<std::uint32_t>(
                                (bits & ((std::uint64_t{1} << (entry & 0xFF)) - 1)) >> ((entry >> 8) & 0xF));
        consume(entry);
        return v;
    };

    InflateStatus status;
    for (;;) {
        if (out >= blockEnd) {
            save();
            Flush();
            load();
        }
        if (end - next > kFastInput) {
            save();
            const bool done = FastCodes(lit, dist, status);
            load();
            if (done) break;
            if (out >= blockEnd) continue;
        }
        // Near the end of the input: one step at a time, each refill checked.
        // 56 bits cover three literals, or two and a length code; a length and a
        // distance with their extra bits take at most 48.
        if (!refill()) {
            status = InflateStatus::kTruncated;
            break;
        }
        std::uint32_t e = lookup(lit, kLitMask);
        if (e & kLiteral) {
            consume(e);
            *out++ = static_cast<std::uint8_t>(e >> 16);
            e = lookup(lit, kLitMask);
            if (e & kLiteral) {
                consume(e);
                *out++ = static_cast<std::uint8_t>(e >> 16);
                e = lookup(lit, kLitMask);
                if (e & kLiteral) {
                    consume(e);
                    *out++ = static_cast<std::uint8_t>(e >> 16);
                    continue;
                }
            }
            if ((count & 0xFF) < 48 && !refill()) {
                status = InflateStatus::kTruncated;
                break;
            }
        }
        if (e & (kEnd | kInvalid)) {
            consume(e);
            status = (e & kEnd) ? InflateStatus::kOk : InflateStatus::kBadCode;
            break;
        }
        const unsigned length = value(e);
        const std::uint32_t d = lookup(dist, kDistMask);
        if (d & kInvalid) {
            status = InflateStatus::kBadCode;
            break;
        }
        const std::size_t distance = value(d);
        if (distance > static_cast<std::size_t>(out - history)) {
            status = InflateStatus::kBadDistance;
            break;
        }
        CopyMatch(out, distance, length);
        out += length;
    }
    save();
    return status;
}

}  // namespace

Inflater::Inflater() : storage_(std::make_unique<InflateStorage>()) {}
Inflater::~Inflater() = default;

InflateStatus Inflater::Inflate(InflateInput& input, InflateSink& sink) {
    return Decoder(*storage_, input, sink).Run();
}

}  // namespace qv
