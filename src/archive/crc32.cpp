// CRC-32: table-driven, eight bytes per step ("slicing by 8"), and on x86
// processors with carry-less multiplication, 64 bytes per step by folding.
#include "archive/crc32.h"

#include <array>

#if (defined(__x86_64__) || defined(__i386__)) && (defined(__GNUC__) || defined(__clang__))
#include <immintrin.h>
#define QV_CRC32_FOLDING 1
#else
#define QV_CRC32_FOLDING 0
#endif

namespace qv {

namespace {

using Tables = std::array<std::array<std::uint32_t, 256>, 8>;

// tables[0] is the classic byte table; tables[k][b] is the CRC of byte b
// followed by k zero bytes, so eight table reads advance the CRC by eight bytes.
constexpr Tables MakeTables() {
    Tables t{};
    for (std::uint32_t b = 0; b < 256; ++b) {
        std::uint32_t c = b;
        for (int i = 0; i < 8; ++i)
            c = (c & 1) ? (c >> 1) ^ 0xEDB88320u : c >> 1;
        t[0][b] = c;
    }
    for (std::size_t k = 1; k < 8; ++k)
        for (std::uint32_t b = 0; b < 256; ++b)
            t[k][b] = (t[k - 1][b] >> 8) ^ t[0][t[k - 1][b] & 0xFF];
    return t;
}

constexpr Tables kTables = MakeTables();

// Little-endian 32-bit read at p, whatever the host.
inline std::uint32_t Le32(const std::uint8_t* p) {
    return std::uint32_t{p[0]} | std::uint32_t{p[1]} << 8 | std::uint32_t{p[2]} << 16 |
           std::uint32_t{p[3]} << 24;
}

std::uint32_t TableUpdate(std::uint32_t crc, const std::uint8_t* p, std::size_t size) {
    for (; size >= 8; size -= 8, p += 8) {
        const std::uint32_t a = crc ^ Le32(p);
        const std::uint32_t b = Le32(p + 4);
        crc = kTables[7][a & 0xFF] ^ kTables[6][(a >> 8) & 0xFF] ^ kTables[5][(a >> 16) & 0xFF] ^
              kTables[4][a >> 24] ^ kTables[3][b & 0xFF] ^ kTables[2][(b >> 8) & 0xFF] ^
              kTables[1][(b >> 16) & 0xFF] ^ kTables[0][b >> 24];
    }
    for (; size > 0; --size, ++p)
        crc = (crc >> 8) ^ kTables[0][(crc ^ *p) & 0xFF];
    return crc;
}

#if QV_CRC32_FOLDING

bool HasCarrylessMultiply() {
    static const bool has = (__builtin_cpu_init(), __builtin_cpu_supports("pclmul") != 0);
    return has;
}

#define QV_FOLDING_TARGET [[gnu::target("pclmul,sse2")]]

QV_FOLDING_TARGET inline __m128i Load128(const std::uint8_t* p) {
    return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
}

// The lane x carried on by the distance of k, plus the data there.
QV_FOLDING_TARGET inline __m128i Fold(__m128i x, __m128i k, __m128i data) {
    return _mm_xor_si128(
        _mm_xor_si128(_mm_clmulepi64_si128(x, k, 0x00), _mm_clmulepi64_si128(x, k, 0x11)), data);
}

// The CRC over size bytes (a multiple of 16, at least 64), in the bit-reflected
// form of the polynomial. Four 16-byte lanes are each carried 64 bytes on (a
// carry-less multiply of each half by x to the power of that distance, modulo
// the polynomial) and added to the data there; at the end the lanes fold into
// one, that into 64 bits and then 32, and a Barrett reduction leaves the
// remainder. The constants are those powers of x, reflected and shifted as
// the reflected form needs: k1/k2 carry 64 bytes, k3/k4 16 bytes, k5 the last
// 64 bits; then the polynomial and its Barrett quotient.
QV_FOLDING_TARGET std::uint32_t FoldUpdate(std::uint32_t crc, const std::uint8_t* p,
                                          std::size_t size) {
    const __m128i k1k2 = _mm_set_epi64x(0x1C6E41596, 0x154442BD4);
    const __m128i k3k4 = _mm_set_epi64x(0x0CCAA009E, 0x1751997D0);
    const __m128i k5 = _mm_set_epi64x(0, 0x163CD6124);
    const __m128i polyQuotient = _mm_set_epi64x(0x1F7011641, 0x1DB710641);
    const __m128i low32 = _mm_set_epi32(0, 0, 0, -1);
    __m128i x0 = _mm_xor_si128(Load128(p), _mm_cvtsi32_si128(static_cast<int>(crc)));
    __m128i x1 = Load128(p + 16), x2 = Load128(p + 32), x3 = Load128(p + 48);
    for (p += 64, size -= 64; size >= 64; p += 64, size -= 64) {
        x0 = Fold(x0, k1k2, Load128(p));
        x1 = Fold(x1, k1k2, Load128(p + 16));
        x2 = Fold(x2, k1k2, Load128(p + 32));
        x3 = Fold(x3, k1k2, Load128(p + 48));
    }
    x0 = Fold(x0, k3k4, x1);
    x0 = Fold(x0, k3k4, x2);
    x0 = Fold(x0, k3k4, x3);
    for (; size >= 16; p += 16, size -= 16)
        x0 = Fold(x0, k3k4, Load128(p));

    // 128 bits to 64: the low half carried over the high one by k4.
    x0 = _mm_xor_si128(_mm_clmulepi64_si128(k3k4, x0, 0x01), _mm_srli_si128(x0, 8));
    // 64 bits to 32 (with 32 zero bits appended): the low word carried by k5.
    x0 = _mm_xor_si128(_mm_clmulepi64_si128(_mm_and_si128(x0, low32), k5, 0x00),
                       _mm_srli_si128(x0, 4));
    // Barrett reduction: the quotient estimated, times the polynomial, off the value.
    __m128i t = _mm_clmulepi64_si128(_mm_and_si128(x0, low32), polyQuotient, 0x10);
    t = _mm_clmulepi64_si128(_mm_and_si128(t, low32), polyQuotient, 0x00);
    return static_cast<std::uint32_t>(_mm_cvtsi128_si32(_mm_srli_si128(_mm_xor_si128(t, x0), 4)));
}

#endif

}  // namespace

std::uint32_t Crc32Update(std::uint32_t crc, const std::uint8_t* p, std::size_t size) {
#if QV_CRC32_FOLDING
    if (size >= 64 && HasCarrylessMultiply()) {
        const std::size_t folded = size & ~std::size_t{15};
        crc = FoldUpdate(crc, p, folded);
        p += folded;
        size -= folded;
    }
#endif
    return TableUpdate(crc, p, size);
}

}  // namespace qv
