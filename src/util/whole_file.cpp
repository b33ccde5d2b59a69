// Files written and read whole, through the C library so the core can use it.
#include "util/whole_file.h"

#include <cstdio>
#include <memory>

namespace qv {
namespace {

using OpenFile = std::unique_ptr<std::FILE, int (*)(std::FILE*)>;

OpenFile Open(const std::string& path, const char* mode) {
    return OpenFile(std::fopen(path.c_str(), mode), &std::fclose);
}

}  // namespace

bool WriteWholeFile(const std::string& path, std::string_view text) {
    // Binary: line ends are in the text already.
    OpenFile file = Open(path, "wb");
    if (!file) return false;
    const bool written = std::fwrite(text.data(), 1, text.size(), file.get()) == text.size();
    return std::fclose(file.release()) == 0 && written;
}

std::optional<std::string> ReadFileStart(const std::string& path, std::size_t limit) {
    const OpenFile file = Open(path, "rb");
    if (!file) return std::nullopt;
    std::string text(limit, '\0');
    text.resize(std::fread(text.data(), 1, limit, file.get()));
    return text;
}

ReadOutcome ReadWholeFile(const std::string& path, std::size_t maxSize,
                          std::vector<std::uint8_t>& bytes) {
    bytes.clear();
    const OpenFile file = Open(path, "rb");
    if (!file) return ReadOutcome::kCannotOpen;
    if (std::fseek(file.get(), 0, SEEK_END) != 0) return ReadOutcome::kCannotRead;
    const long size = std::ftell(file.get());
    if (size < 0 || static_cast<unsigned long>(size) > maxSize) return ReadOutcome::kTooLarge;
    if (std::fseek(file.get(), 0, SEEK_SET) != 0) return ReadOutcome::kCannotRead;
    bytes.resize(static_cast<std::size_t>(size));
    if (size > 0 && std::fread(bytes.data(), 1, bytes.size(), file.get()) != bytes.size()) {
        bytes.clear();
        return ReadOutcome::kCannotRead;
    }
    return ReadOutcome::kRead;
}

}  // namespace qv
