// Reading a whole file into memory, with a size above which it is refused, so
// that no reader of outside files takes whatever a disk holds.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace qv {

// No picture file that Quarvel or its tools read comes near this size.
inline constexpr std::size_t kMaxPictureFileSize = std::size_t{64} << 20;

enum class ReadOutcome {
    kRead,
    kCannotOpen,
    kTooLarge,  // larger than the limit, or of a size that cannot be told
    kCannotRead,
};

// The file's bytes into bytes (emptied first); kRead when all of them came.
ReadOutcome ReadWholeFile(const std::string& path, std::size_t maxSize,
                          std::vector<std::uint8_t>& bytes);

}  // namespace qv
