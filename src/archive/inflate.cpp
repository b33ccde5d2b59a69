// Deflate decoder: table-driven Huffman decoding over a 64-bit bit buffer.
//
// The window buffer holds 32768 bytes of history followed by the block being
// filled; a block is written to the sink when it reaches 32768 bytes and then
// slides down to become the history, so every back-reference is one plain
// forward copy and never wraps.
#include "archive/inflate.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace qv {

static_assert(std::endian::native == std::endian::little,
              "the bit buffer loads 8 bytes at a time little-endian");

namespace {

constexpr std::size_t kWindowSize = 32768;
// Room past the block's end for what one step of the decoder writes before it
// checks (two literals and a 258-byte match) plus the 8-byte copy overrun.
constexpr std::size_t kTail = 512;
constexpr std::size_t kBufferSize = 2 * kWindowSize + kTail;

// Lookup table entries (32 bits):
//   bits 0..7    bits the code takes from the stream (for a link: the first level's bits)
//   bits 8..11   extra bits after the code (for a link: the second level's bits)
//   bit 12       link: the second-level table starts at the value
//   bit 13       end of block
//   bit 14       no code: a pattern outside an incomplete set, or a symbol that must not occur
//   bit 15       literal
//   bits 16..31  literal byte, base length or distance, code-length symbol, or link offset
constexpr std::uint32_t kLink = 1u << 12;
constexpr std::uint32_t kEnd = 1u << 13;
constexpr std::uint32_t kInvalid = 1u << 14;
constexpr std::uint32_t kLiteral = 1u << 15;

constexpr std::uint32_t BaseAndExtra(std::uint32_t base, std::uint32_t extra) {
    return base << 16 | extra << 8;
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

// First-level bits: dynamic literal/length and distance codes, fixed ones, code-length code.
constexpr unsigned kLitBits = 9, kDistBits = 6, kFixedLitBits = 7, kFixedDistBits = 5,
                   kCodeLengthBits = 7;
// Far more than any code set needs (a 9-bit first level needs at most 852
// entries in all, a 6-bit one 592); the builder checks anyway.
constexpr std::size_t kLitTableSize = 2048, kDistTableSize = 1024,
                      kCodeLengthTableSize = 1u << kCodeLengthBits;

constexpr unsigned kMaxLitCodes = 288, kMaxDistCodes = 32, kMaxCodeBits = 15;

std::uint32_t Reversed(std::uint32_t code, unsigned length) {
    std::uint32_t r = 0;
    for (unsigned i = 0; i < length; ++i, code >>= 1)
        r = r << 1 | (code & 1);
    return r;
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
    std::fill(table, table + rootSize, kInvalid);
    if (maxLength == 0) return true;

    int left = 1;
    for (unsigned len = 1; len <= kMaxCodeBits; ++len) {
        left = (left << 1) - static_cast<int>(counts[len]);
        if (left < 0) return false;  // over-subscribed
    }
    if (left > 0 && !(oneBitAllowed && maxLength == 1)) return false;  // incomplete

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

    unsigned remaining[kMaxCodeBits + 1];
    std::copy(counts, counts + kMaxCodeBits + 1, remaining);
    std::size_t used = rootSize;
    std::uint32_t linkPrefix = ~0u;
    std::size_t subStart = 0;
    unsigned subBits = 0;
    for (unsigned k = 0; k < total; ++k) {
        const unsigned sym = sorted[k];
        const unsigned len = lengths[sym];
        const std::uint32_t stream =
            Reversed(nextCode[len]++, len);  // the code as the stream's bits arrive
        const std::uint32_t entry = meaning(sym);
        if (len <= rootBits) {
            for (std::size_t i = stream; i < rootSize; i += std::size_t{1} << len)
                table[i] = entry | len;
        } else {
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
            for (std::size_t i = stream >> rootBits; i < (std::size_t{1} << subBits);
                 i += std::size_t{1} << subLength)
                table[subStart + i] = entry | subLength;
        }
        --remaining[len];
    }
    return true;
}

inline std::uint64_t Load64(const std::uint8_t* p) {
    std::uint64_t v;
    std::memcpy(&v, p, 8);
    return v;
}

// Copies a match of length bytes from distance back; may write up to 7 bytes
// past its end (the window's tail takes them, and later output overwrites them).
inline void CopyMatch(std::uint8_t* dst, std::size_t distance, unsigned length) {
    const std::uint8_t* src = dst - distance;
    std::uint8_t* const stop = dst + length;
    if (distance >= 8) {
        do {  // an 8-byte piece never overlaps itself; later pieces read what earlier ones wrote
            std::memcpy(dst, src, 8);
            dst += 8;
            src += 8;
        } while (dst < stop);
    } else if (distance == 1) {
        const std::uint64_t run = 0x0101010101010101ull * *src;
        do {
            std::memcpy(dst, &run, 8);
            dst += 8;
        } while (dst < stop);
    } else {
        do
            *dst++ = *src++;
        while (dst < stop);
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
        BuildTable(lengths, kMaxLitCodes, kFixedLitBits, LitLenMeaning, false, fixedLit,
                   kLitTableSize);
        std::fill(lengths, lengths + kMaxDistCodes, 5);
        BuildTable(lengths, kMaxDistCodes, kFixedDistBits, DistMeaning, false, fixedDist,
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
    InflateStatus Codes(const std::uint32_t* lit, unsigned litBits, const std::uint32_t* dist,
                        unsigned distBits);

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
    std::uint8_t* BlockEnd() const { return s_.window + 2 * kWindowSize; }
    void Flush();
    void Finish() {
        std::uint8_t* const start = s_.window + kWindowSize;
        if (out_ > start) sink_.Write(start, static_cast<std::size_t>(out_ - start));
        out_ = start;
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

    // Output: out_ is where the next byte goes, history_ the first byte a
    // back-reference may reach (the start of output until the first block is written).
    std::uint8_t* out_ = s_.window + kWindowSize;
    std::uint8_t* history_ = s_.window + kWindowSize;
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

void Decoder::Flush() {
    sink_.Write(s_.window + kWindowSize, kWindowSize);
    std::memmove(s_.window, s_.window + kWindowSize,
                 static_cast<std::size_t>(out_ - (s_.window + kWindowSize)));
    out_ -= kWindowSize;
    history_ = s_.window;
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
            status = Codes(s_.fixedLit, kFixedLitBits, s_.fixedDist, kFixedDistBits);
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
    return Codes(s_.lit, kLitBits, s_.dist, kDistBits);
}

// The body of a Huffman block, the hot loop: bit state and output pointer in
// locals (stores through the output pointer could otherwise alias members).
InflateStatus Decoder::Codes(const std::uint32_t* lit, unsigned litBits, const std::uint32_t* dist,
                             unsigned distBits) {
    const std::uint64_t litMask = (std::uint64_t{1} << litBits) - 1;
    const std::uint64_t distMask = (std::uint64_t{1} << distBits) - 1;
    std::uint8_t* const blockEnd = BlockEnd();
    const std::uint8_t* next = next_;
    const std::uint8_t* end = end_;
    std::uint64_t bits = bits_;
    unsigned count = count_;
    std::uint8_t* out = out_;
    const std::uint8_t* history = history_;

    auto save = [&] {
        next_ = next;
        end_ = end;
        bits_ = bits;
        count_ = count;
        out_ = out;
    };
    auto load = [&] {
        next = next_;
        end = end_;
        bits = bits_;
        count = count_;
        out = out_;
        history = history_;
    };
    auto refill = [&]() -> bool {
        if (end - next >= 8) {
            bits |= Load64(next) << count;
            next += (63 - count) >> 3;
            count |= 56;
            return true;
        }
        save();
        const bool ok = RefillSlow();
        load();
        return ok;
    };
    auto consume = [&](unsigned n) {
        bits >>= n;
        count -= n;
    };
    auto lookup = [&](const std::uint32_t* table, std::uint64_t mask) {
        std::uint32_t e = table[bits & mask];
        if (e & kLink) {
            consume(e & 0xFF);
            e = table[(e >> 16) + (bits & ((1u << ((e >> 8) & 0xF)) - 1))];
        }
        consume(e & 0xFF);
        return e;
    };
    auto extra = [&](unsigned n) {
        const std::uint32_t v = static_cast<std::uint32_t>(bits & ((1u << n) - 1));
        consume(n);
        return v;
    };

    InflateStatus status;
    for (;;) {
        if (out >= blockEnd) {
            save();
            Flush();
            load();
        }
        // 56 bits cover three literals, or two and a length code, before the next
        // refill; a length, a distance and their extra bits take at most 48.
        if (!refill()) {
            status = InflateStatus::kTruncated;
            break;
        }
        std::uint32_t e = lookup(lit, litMask);
        if (e & kLiteral) {
            *out++ = static_cast<std::uint8_t>(e >> 16);
            e = lookup(lit, litMask);
            if (e & kLiteral) {
                *out++ = static_cast<std::uint8_t>(e >> 16);
                e = lookup(lit, litMask);
                if (e & kLiteral) {
                    *out++ = static_cast<std::uint8_t>(e >> 16);
                    continue;
                }
            }
            if (count < 5 + 15 + 13 && !refill()) {
                status = InflateStatus::kTruncated;
                break;
            }
        }
        if (e & (kEnd | kInvalid)) {
            status = (e & kEnd) ? InflateStatus::kOk : InflateStatus::kBadCode;
            break;
        }
        const unsigned length = (e >> 16) + extra((e >> 8) & 0xF);
        const std::uint32_t d = lookup(dist, distMask);
        if (d & kInvalid) {
            status = InflateStatus::kBadCode;
            break;
        }
        const std::size_t distance = (d >> 16) + extra((d >> 8) & 0xF);
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
