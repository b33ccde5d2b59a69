// CRC-32 of ZIP entries (reflected polynomial 0xEDB88320).
#pragma once

#include <cstddef>
#include <cstdint>

namespace qv {

// Running form: start with kCrc32Start, feed every block, finish with Crc32Final.
inline constexpr std::uint32_t kCrc32Start = 0xFFFFFFFFu;
std::uint32_t Crc32Update(std::uint32_t running, const std::uint8_t* data, std::size_t size);
inline std::uint32_t Crc32Final(std::uint32_t running) { return running ^ 0xFFFFFFFFu; }

// The CRC-32 of one whole buffer.
inline std::uint32_t Crc32(const std::uint8_t* data, std::size_t size) {
    return Crc32Final(Crc32Update(kCrc32Start, data, size));
}

}  // namespace qv
