// Files written and read whole, through the standard library.
#include "util/whole_file.h"

#include <fstream>

namespace qv {

bool WriteWholeFile(const std::string& path, std::string_view text) {
    // Binary: line ends are in the text already.
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(text.data(), static_cast<std::streamsize>(text.size()));
    file.close();
    return !file.fail();
}

std::optional<std::string> ReadFileStart(const std::string& path, std::size_t limit) {
    std::ifstream file(path, std::ios::binary);
    if (!file) return std::nullopt;
    std::string text(limit, '\0');
    file.read(text.data(), static_cast<std::streamsize>(limit));
    text.resize(static_cast<std::size_t>(file.gcount()));
    return text;
}

}  // namespace qv
