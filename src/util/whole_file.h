// Files written and read whole: the options file and the journal written,
// the journal read back, and outside files read into memory with a size
// above which they are refused, so that no reader takes whatever a disk holds.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qv {

// Creates or replaces the file at path with text, byte for byte; false when
// it cannot be created or not all of text was written.
bool WriteWholeFile(const std::string& path, std::string_view text);

// The first limit bytes of the file (all of it when shorter); nothing when it
// cannot be opened.
std::optional<std::string> ReadFileStart(const std::string& path, std::size_t limit);

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
