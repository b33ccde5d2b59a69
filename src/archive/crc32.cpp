// CRC-32, table-driven, eight bytes per step ("slicing by 8").
#include "archive/crc32.h"

#include <array>

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

}  // namespace

std::uint32_t Crc32Update(std::uint32_t crc, const std::uint8_t* p, std::size_t size) {
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

}  // namespace qv
