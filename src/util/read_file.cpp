// Whole files into memory, through the C library so the core can use it.
#include "util/read_file.h"

#include <cstdio>
#include <memory>

namespace qv {

ReadOutcome ReadWholeFile(const std::string& path, std::size_t maxSize,
                          std::vector<std::uint8_t>& bytes) {
    bytes.clear();
    const std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"),
                                                               &std::fclose);
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
