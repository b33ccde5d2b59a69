// Tests of the deflate decoder and CRC-32 against zlib, and on streams broken bit by bit.
#include "archive/inflate.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <algorithm>
#include <cstring>
#include <random>
#include <vector>

#include "archive/crc32.h"

namespace qv {
namespace {

using Bytes = std::vector<std::uint8_t>;

class VectorSink final : public InflateSink {
public:
    void Write(const std::uint8_t* data, std::size_t size) override {
        EXPECT_LE(size, 32768u);
        if (size < 32768) ++shortBlocks;
        bytes.insert(bytes.end(), data, data + size);
    }
    Bytes bytes;
    int shortBlocks = 0;
};

// Hands the stream over a few bytes at a time, keeping the lookback the decoder needs.
class TrickleInput final : public InflateInput {
public:
    TrickleInput(const Bytes& data, std::size_t piece) : data_(data), piece_(piece) {
        next = end = data_.data();
    }
    bool Refill() override {
        const std::uint8_t* limit = data_.data() + data_.size();
        if (end == limit) return false;
        end = std::min(limit, end + piece_);
        return true;
    }

private:
    const Bytes& data_;
    std::size_t piece_;
};

Bytes Deflate(const Bytes& data, int level, int strategy = Z_DEFAULT_STRATEGY) {
    z_stream z{};
    EXPECT_EQ(deflateInit2(&z, level, Z_DEFLATED, -15, 8, strategy), Z_OK);
    Bytes out(deflateBound(&z, data.size()) + 64);
    z.next_in = const_cast<Bytef*>(data.data());
    z.avail_in = static_cast<uInt>(data.size());
    z.next_out = out.data();
    z.avail_out = static_cast<uInt>(out.size());
    EXPECT_EQ(deflate(&z, Z_FINISH), Z_STREAM_END);
    out.resize(z.total_out);
    deflateEnd(&z);
    return out;
}

struct Decoded {
    InflateStatus status;
    Bytes bytes;
    std::size_t used;  // bytes of input up to the end of the stream
};

Decoded Inflate(const Bytes& stream, std::size_t piece = 0) {
    Inflater inflater;
    VectorSink sink;
    if (piece == 0) {
        MemoryInput input(stream.data(), stream.size());
        const InflateStatus status = inflater.Inflate(input, sink);
        return {status, sink.bytes, static_cast<std::size_t>(input.next - stream.data())};
    }
    TrickleInput input(stream, piece);
    const InflateStatus status = inflater.Inflate(input, sink);
    return {status, sink.bytes, static_cast<std::size_t>(input.next - stream.data())};
}

// Data like ROM sets: random stretches, repeated tiles, sparse tables, text,
// and copies from exactly 32768 bytes back (the farthest a match may reach).
Bytes RomLike(std::size_t size, unsigned seed) {
    std::mt19937 rng(seed);
    Bytes data;
    while (data.size() < size) {
        const std::size_t n = 1 + rng() % 3000;
        switch (rng() % 5) {
        case 0:
            for (std::size_t i = 0; i < n; ++i)
                data.push_back(static_cast<std::uint8_t>(rng()));
            break;
        case 1:
            for (std::size_t i = 0; i < n; ++i)
                data.push_back(static_cast<std::uint8_t>(i % 24 * 7));
            break;
        case 2:
            for (std::size_t i = 0; i < n; ++i)
                data.push_back(rng() % 9 == 0 ? static_cast<std::uint8_t>(rng()) : 0);
            break;
        case 3:
            for (std::size_t i = 0; i < n; ++i)
                data.push_back("INSERT COIN  PLAYER 1 START "[i % 28]);
            break;
        default:
            if (data.size() >= 32768)
                for (std::size_t i = 0; i < n; ++i)
                    data.push_back(data[data.size() - 32768]);
        }
    }
    data.resize(size);
    return data;
}

TEST(Inflate, DecodesZlibStreamsOfEveryLevelAndStrategy) {
    const Bytes data = RomLike(200000, 1);
    for (int level : {0, 1, 6, 9})
        for (int strategy : {Z_DEFAULT_STRATEGY, Z_FIXED, Z_HUFFMAN_ONLY, Z_RLE}) {
            SCOPED_TRACE(testing::Message() << "level " << level << " strategy " << strategy);
            Bytes stream = Deflate(data, level, strategy);
            const std::size_t length = stream.size();
            stream.insert(stream.end(), {'P', 'K', 7, 8});  // what follows a stream is left unread
            const Decoded whole = Inflate(stream);
            EXPECT_EQ(whole.status, InflateStatus::kOk);
            EXPECT_TRUE(whole.bytes == data);
            EXPECT_EQ(whole.used, length);
            const Decoded trickled = Inflate(stream, 5);
            EXPECT_EQ(trickled.status, InflateStatus::kOk);
            EXPECT_TRUE(trickled.bytes == data);
            EXPECT_EQ(trickled.used, length);
        }
}

TEST(Inflate, WritesFullWindowsThenTheRest) {
    const Bytes data = RomLike(3 * 32768 + 5, 2);
    Inflater inflater;
    VectorSink sink;
    const Bytes stream = Deflate(data, 6);
    MemoryInput input(stream.data(), stream.size());
    ASSERT_EQ(inflater.Inflate(input, sink), InflateStatus::kOk);
    EXPECT_TRUE(sink.bytes == data);
    EXPECT_EQ(sink.shortBlocks, 1);
    // The same decoder goes on with the next stream from a clean state.
    VectorSink again;
    MemoryInput second(stream.data(), stream.size());
    ASSERT_EQ(inflater.Inflate(second, again), InflateStatus::kOk);
    EXPECT_TRUE(again.bytes == data);
}

// Output far longer than the decoder's buffer: it writes every block when it
// fills and slides the history down when its room is used up, with matches
// reaching back across each slide.
TEST(Inflate, OutputLongerThanTheBufferSlidesItsHistory) {
    const Bytes data = RomLike(40 * 32768 + 77, 3);
    Inflater inflater;
    for (int level : {1, 9}) {
        SCOPED_TRACE(testing::Message() << "level " << level);
        const Bytes stream = Deflate(data, level);
        VectorSink sink;
        MemoryInput input(stream.data(), stream.size());
        ASSERT_EQ(inflater.Inflate(input, sink), InflateStatus::kOk);
        EXPECT_TRUE(sink.bytes == data);
        EXPECT_EQ(sink.shortBlocks, 1);
    }
}

// Matches at every short distance (below 8 the copy repeats the pattern in
// wider pieces) and of lengths around each piece size, one after another.
TEST(Inflate, MatchesOfEveryShortDistanceAndLength) {
    std::mt19937 rng(4);
    Bytes data;
    for (unsigned distance = 1; distance <= 40; ++distance)
        for (unsigned length : {3u, 4u, 7u, 8u, 9u, 15u, 16u, 17u, 31u, 32u, 33u, 100u, 258u}) {
            for (unsigned i = 0; i < distance; ++i)
                data.push_back(static_cast<std::uint8_t>(rng()));
            for (unsigned i = 0; i < length; ++i)
                data.push_back(data[data.size() - distance]);
        }
    for (int strategy : {Z_DEFAULT_STRATEGY, Z_FIXED}) {
        const Decoded decoded = Inflate(Deflate(data, 9, strategy));
        EXPECT_EQ(decoded.status, InflateStatus::kOk);
        EXPECT_TRUE(decoded.bytes == data);
    }
}

// Literal codes of up to 15 bits, longer than the lookup table's first level:
// byte k appears about 16384 / 2^k times, in random order.
TEST(Inflate, LongCodesGoThroughTheSecondLevel) {
    Bytes data;
    for (unsigned k = 0; k < 24; ++k)
        data.insert(data.end(), std::max(1u, 16384u >> k), static_cast<std::uint8_t>(k * 11));
    std::shuffle(data.begin(), data.end(), std::mt19937(5));
    for (int strategy : {Z_HUFFMAN_ONLY, Z_DEFAULT_STRATEGY}) {
        const Decoded decoded = Inflate(Deflate(data, 9, strategy), 7);
        EXPECT_EQ(decoded.status, InflateStatus::kOk);
        EXPECT_TRUE(decoded.bytes == data);
    }
}

TEST(Inflate, EmptyAndTinyStreams) {
    for (const Bytes& data : {Bytes{}, Bytes{42}, Bytes{1, 2, 3}}) {
        for (int level : {0, 9}) {
            const Decoded d = Inflate(Deflate(data, level));
            EXPECT_EQ(d.status, InflateStatus::kOk);
            EXPECT_TRUE(d.bytes == data);
        }
    }
}

// Writes a deflate stream bit by bit, least significant bit first.
class BitWriter {
public:
    BitWriter& Put(std::uint32_t value, unsigned bits) {
        for (unsigned i = 0; i < bits; ++i)
            PutBit((value >> i) & 1);
        return *this;
    }
    // A Huffman code goes most significant bit first.
    BitWriter& Code(std::uint32_t code, unsigned bits) {
        for (unsigned i = bits; i-- > 0;)
            PutBit((code >> i) & 1);
        return *this;
    }
    Bytes bytes;

private:
    void PutBit(unsigned bit) {
        if (used_ % 8 == 0) bytes.push_back(0);
        bytes.back() |= static_cast<std::uint8_t>(bit << (used_ % 8));
        ++used_;
    }
    unsigned used_ = 0;
};

// Fixed code of a literal or length symbol.
void FixedSymbol(BitWriter& w, unsigned sym) {
    if (sym < 144)
        w.Code(0x30 + sym, 8);
    else if (sym < 256)
        w.Code(0x190 + sym - 144, 9);
    else if (sym < 280)
        w.Code(sym - 256, 7);
    else
        w.Code(0xC0 + sym - 280, 8);
}

// A dynamic block header: the code-length code gives every symbol 4 bits
// ("4" has a 1-bit code, "0" and the repeat codes 2 to 3 bits).
BitWriter DynamicHeader(unsigned lit, unsigned dist, const std::vector<unsigned>& codeLengthCodes) {
    BitWriter w;
    w.Put(1, 1).Put(2, 2).Put(lit - 257, 5).Put(dist - 1, 5).Put(codeLengthCodes.size() - 4, 4);
    for (unsigned len : codeLengthCodes)
        w.Put(len, 3);
    return w;
}

TEST(Inflate, HandMadeFixedBlocks) {
    BitWriter good;
    good.Put(1, 1).Put(1, 2);
    FixedSymbol(good, 'a');
    FixedSymbol(good, 'b');
    FixedSymbol(good, 258);  // length 4
    good.Code(1, 5);         // distance 2
    FixedSymbol(good, 256);
    const Decoded d = Inflate(good.bytes);
    EXPECT_EQ(d.status, InflateStatus::kOk);
    EXPECT_EQ(std::string(d.bytes.begin(), d.bytes.end()), "ababab");

    BitWriter tooFar;
    tooFar.Put(1, 1).Put(1, 2);
    FixedSymbol(tooFar, 'a');
    FixedSymbol(tooFar, 257);
    tooFar.Code(1, 5);  // distance 2, with one byte written
    FixedSymbol(tooFar, 256);
    EXPECT_EQ(Inflate(tooFar.bytes).status, InflateStatus::kBadDistance);

    for (unsigned bad : {286u, 287u}) {
        BitWriter w;
        w.Put(1, 1).Put(1, 2);
        FixedSymbol(w, bad);
        EXPECT_EQ(Inflate(w.bytes).status, InflateStatus::kBadCode) << bad;
    }
    BitWriter badDistance;
    badDistance.Put(1, 1).Put(1, 2);
    FixedSymbol(badDistance, 'a');
    FixedSymbol(badDistance, 257);
    badDistance.Code(30, 5);
    EXPECT_EQ(Inflate(badDistance.bytes).status, InflateStatus::kBadCode);
}

// Code lengths of a random complete code over the given symbols: a tree grown
// by splitting a random leaf until there is one per symbol, each leaf at most
// 15 deep. Unused symbols get 0.
std::vector<unsigned> RandomCompleteLengths(const std::vector<unsigned>& symbols,
                                            unsigned alphabet, std::mt19937& rng) {
    std::vector<unsigned> depths{1, 1};
    while (depths.size() < symbols.size()) {
        unsigned& leaf = depths[rng() % depths.size()];
        if (leaf == 15) continue;
        ++leaf;
        depths.push_back(leaf);
    }
    std::vector<unsigned> lengths(alphabet, 0);
    for (std::size_t i = 0; i < symbols.size(); ++i)
        lengths[symbols[i]] = depths[i];
    return lengths;
}

// The canonical codes of a set of code lengths.
std::vector<std::uint32_t> CanonicalCodes(const std::vector<unsigned>& lengths) {
    unsigned counts[16] = {};
    for (unsigned len : lengths)
        ++counts[len];
    counts[0] = 0;
    std::uint32_t next[16] = {};
    for (unsigned len = 1; len < 16; ++len)
        next[len] = (next[len - 1] + counts[len - 1]) << 1;
    std::vector<std::uint32_t> codes(lengths.size());
    for (std::size_t s = 0; s < lengths.size(); ++s)
        if (lengths[s] != 0) codes[s] = next[lengths[s]]++;
    return codes;
}

Bytes ZlibInflate(const Bytes& stream) {
    z_stream z{};
    EXPECT_EQ(inflateInit2(&z, -15), Z_OK);
    Bytes out(1 << 20);
    z.next_in = const_cast<Bytef*>(stream.data());
    z.avail_in = static_cast<uInt>(stream.size());
    z.next_out = out.data();
    z.avail_out = static_cast<uInt>(out.size());
    EXPECT_EQ(inflate(&z, Z_FINISH), Z_STREAM_END);
    out.resize(z.total_out);
    inflateEnd(&z);
    return out;
}

// Dynamic blocks whose literal/length and distance codes are random complete
// sets, from two codes up to a full alphabet, with codes of 1 to 15 bits: the
// tables built for them decode what zlib decodes.
TEST(Inflate, RandomCompleteCodeSetsDecodeLikeZlib) {
    static constexpr unsigned kLengthBase[29] = {3,  4,  5,  6,  7,  8,  9,  10, 11,  13,
                                                 15, 17, 19, 23, 27, 31, 35, 43, 51,  59,
                                                 67, 83, 99, 115, 131, 163, 195, 227, 258};
    static constexpr unsigned kDistanceBase[30] = {
        1,   2,   3,   4,   5,   7,    9,    13,   17,   25,   33,   49,   65,    97,    129,
        193, 257, 385, 513, 769, 1025, 1537, 2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577};
    std::mt19937 rng(6);
    for (unsigned round = 0; round < 300; ++round) {
        SCOPED_TRACE(testing::Message() << "round " << round);
        std::vector<unsigned> litSymbols{256};
        for (unsigned s = 0; s < 286; ++s)
            if (s != 256 && rng() % 4 < 1u + round % 4) litSymbols.push_back(s);
        std::vector<unsigned> distSymbols;
        for (unsigned s = 0; s < 30; ++s)
            if (rng() % 2 == 0) distSymbols.push_back(s);
        if (distSymbols.size() < 2) distSymbols = {0, 29};
        const std::vector<unsigned> litLengths = RandomCompleteLengths(litSymbols, 286, rng);
        const std::vector<unsigned> distLengths = RandomCompleteLengths(distSymbols, 30, rng);
        const std::vector<std::uint32_t> litCodes = CanonicalCodes(litLengths);
        const std::vector<std::uint32_t> distCodes = CanonicalCodes(distLengths);

        // Every length has its own 4-bit code-length code: symbol n is code n.
        BitWriter w = DynamicHeader(286, 30, {0, 0, 0, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4});
        for (unsigned len : litLengths)
            w.Code(len, 4);
        for (unsigned len : distLengths)
            w.Code(len, 4);
        std::size_t written = 0;
        for (int i = 0; i < 3000; ++i) {
            const unsigned sym = litSymbols[1 + rng() % (litSymbols.size() - 1)];
            if (sym < 256) {
                w.Code(litCodes[sym], litLengths[sym]);
                ++written;
                continue;
            }
            const unsigned d = distSymbols[rng() % distSymbols.size()];
            const unsigned distanceBits = d < 4 ? 0 : d / 2 - 1;
            const std::uint32_t distance = kDistanceBase[d] + (rng() & ((1u << distanceBits) - 1));
            if (distance > written) continue;  // a match before its distance is left out
            const unsigned lengthBits = sym < 265 || sym == 285 ? 0 : (sym - 261) / 4;
            const std::uint32_t lengthExtra = rng() & ((1u << lengthBits) - 1);
            w.Code(litCodes[sym], litLengths[sym]).Put(lengthExtra, lengthBits);
            w.Code(distCodes[d], distLengths[d]).Put(distance - kDistanceBase[d], distanceBits);
            written += kLengthBase[sym - 257] + lengthExtra;
        }
        w.Code(litCodes[256], litLengths[256]);
        const Bytes expected = ZlibInflate(w.bytes);
        const Decoded decoded = Inflate(w.bytes);
        ASSERT_EQ(decoded.status, InflateStatus::kOk);
        ASSERT_TRUE(decoded.bytes == expected);
    }
}

// Damage after enough good input that the decoder meets it at full speed
// (whole stream in memory) is told as it is when the stream trickles in.
TEST(Inflate, DamageDeepInAStreamIsFoundAsNearItsEnd) {
    struct Case {
        const char* what;
        unsigned lengthSymbol;  // 257: length 3
        unsigned distanceCode;  // fixed 5-bit code; 30 and 31 are no distance
        unsigned extra;         // the distance's extra bits (code 13: 6 of them, from 97)
        InflateStatus status;
    };
    const Case cases[] = {
        {"back to the first byte", 257, 13, 3, InflateStatus::kOk},
        {"one byte before it", 257, 13, 4, InflateStatus::kBadDistance},
        {"distance code 30", 257, 30, 0, InflateStatus::kBadCode},
        {"length symbol 286", 286, 0, 0, InflateStatus::kBadCode},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        BitWriter w;
        w.Put(1, 1).Put(1, 2);
        Bytes literals;
        for (unsigned i = 0; i < 100; ++i) {
            literals.push_back(static_cast<std::uint8_t>(i * 37 + 11));
            FixedSymbol(w, literals.back());
        }
        FixedSymbol(w, c.lengthSymbol);
        w.Code(c.distanceCode, 5);
        if (c.distanceCode == 13) w.Put(c.extra, 6);
        for (unsigned i = 0; i < 64; ++i)
            FixedSymbol(w, 'x');
        FixedSymbol(w, 256);

        const Decoded whole = Inflate(w.bytes);
        const Decoded trickled = Inflate(w.bytes, 1);
        EXPECT_EQ(whole.status, c.status);
        EXPECT_EQ(trickled.status, c.status);
        EXPECT_TRUE(whole.bytes == trickled.bytes);
        ASSERT_GE(whole.bytes.size(), literals.size());
        EXPECT_TRUE(std::equal(literals.begin(), literals.end(), whole.bytes.begin()));
        if (c.status == InflateStatus::kOk) {
            EXPECT_EQ(whole.bytes.size(), 100u + 3 + 64);
            EXPECT_EQ(whole.used, w.bytes.size());
            EXPECT_EQ(trickled.used, w.bytes.size());
        } else {
            EXPECT_EQ(whole.bytes.size(), literals.size());
        }
    }
}

TEST(Inflate, BrokenBlockHeaders) {
    EXPECT_EQ(Inflate(BitWriter().Put(1, 1).Put(3, 2).Put(0, 5).bytes).status,
              InflateStatus::kBadBlockType);

    BitWriter stored;
    stored.Put(1, 1).Put(0, 2).Put(0, 5).Put(3, 16).Put(0x1234, 16).Put(0x616263, 24);
    EXPECT_EQ(Inflate(stored.bytes).status, InflateStatus::kBadStoredLength);

    // The code-length code: over-subscribed (three 1-bit codes), incomplete (one 2-bit code).
    EXPECT_EQ(Inflate(DynamicHeader(257, 1, {1, 1, 1, 0}).Put(0, 32).bytes).status,
              InflateStatus::kBadCodeLengths);
    EXPECT_EQ(Inflate(DynamicHeader(257, 1, {2, 0, 0, 0}).Put(0, 32).bytes).status,
              InflateStatus::kBadCodeLengths);
    // Too many literal/length codes.
    EXPECT_EQ(Inflate(DynamicHeader(287, 1, {1, 1, 0, 0}).Put(0, 32).bytes).status,
              InflateStatus::kBadCodeLengths);

    // Code-length code: symbol 16 -> "0", 17 -> "10", 18 -> "11" (lengths 1, 2, 2).
    BitWriter repeatFirst = DynamicHeader(257, 1, {1, 2, 2, 0});
    repeatFirst.Code(0, 1).Put(0, 2);  // 16 with nothing before it
    EXPECT_EQ(Inflate(repeatFirst.bytes).status, InflateStatus::kBadCodeLengths);

    BitWriter pastCount = DynamicHeader(257, 1, {1, 2, 2, 0});
    pastCount.Code(3, 2).Put(127, 7).Code(3, 2).Put(127, 7).Code(3, 2).Put(
        127, 7);  // 3 x 138 zeros > 258
    EXPECT_EQ(Inflate(pastCount.bytes).status, InflateStatus::kBadCodeLengths);

    // 18 -> "0", 0 -> "10", 17 -> "11": 138 + 119 zeros for every literal/length, a 0 for the
    // distance.
    BitWriter noEnd = DynamicHeader(257, 1, {0, 2, 1, 2});
    noEnd.Code(0, 1).Put(127, 7).Code(0, 1).Put(108, 7).Code(2, 2);
    EXPECT_EQ(Inflate(noEnd.bytes).status, InflateStatus::kBadCodeLengths);
}

TEST(Inflate, TruncatedStreamsStopWithWhatTheyHad) {
    const Bytes data = RomLike(100000, 3);
    for (int level : {0, 6}) {
        const Bytes stream = Deflate(data, level);
        for (std::size_t cut : {std::size_t{0}, std::size_t{1}, std::size_t{3}, stream.size() / 2,
                                stream.size() - 1}) {
            const Bytes part(stream.begin(), stream.begin() + static_cast<std::ptrdiff_t>(cut));
            const Decoded d = Inflate(part);
            EXPECT_EQ(d.status, InflateStatus::kTruncated) << "level " << level << " cut " << cut;
            // All but the last step's output (decoded from bits past the cut) is right.
            const std::size_t sure = d.bytes.size() > 260 ? d.bytes.size() - 260 : 0;
            ASSERT_LE(sure, data.size());
            EXPECT_TRUE(std::equal(d.bytes.begin(),
                                   d.bytes.begin() + static_cast<std::ptrdiff_t>(sure),
                                   data.begin()));
        }
    }
}

TEST(Crc32, MatchesZlibAcrossSplits) {
    const Bytes data = RomLike(5000, 4);
    const auto zlibCrc = [&](std::size_t n) {
        return static_cast<std::uint32_t>(crc32(0, data.data(), static_cast<uInt>(n)));
    };
    for (std::size_t n : {0, 1, 7, 8, 9, 63, 4999})
        EXPECT_EQ(Crc32(data.data(), n), zlibCrc(n)) << n;
    // Every length up to a few folding steps, from every alignment (long runs
    // fold 64 bytes at a time where the processor can, the rest goes by table).
    for (std::size_t start = 0; start < 16; ++start)
        for (std::size_t n = 0; n <= 300; ++n)
            ASSERT_EQ(Crc32(data.data() + start, n),
                      static_cast<std::uint32_t>(crc32(0, data.data() + start, static_cast<uInt>(n))))
                << start << " " << n;
    // Pieces short and long, the running value carried from one to the next.
    for (std::size_t most : {17u, 200u}) {
        std::uint32_t running = kCrc32Start;
        for (std::size_t at = 0, step = 1; at < data.size(); at += step, step = step * 3 % most + 1)
            running = Crc32Update(running, data.data() + at, std::min(step, data.size() - at));
        EXPECT_EQ(Crc32Final(running), zlibCrc(data.size())) << most;
    }
    EXPECT_EQ(Crc32(reinterpret_cast<const std::uint8_t*>("123456789"), 9), 0xCBF43926u);
}

}  // namespace
}  // namespace qv
