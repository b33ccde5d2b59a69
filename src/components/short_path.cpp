// The shortened form of a folder path.
#include "components/short_path.h"

#include <vector>

namespace qv {
namespace {

std::vector<std::string> SplitParts(std::string_view path) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (std::size_t at; (at = path.find('\\', start)) != std::string_view::npos; start = at + 1) {
        parts.emplace_back(path.substr(start, at - start));
    }
    parts.emplace_back(path.substr(start));
    return parts;
}

std::string JoinParts(const std::vector<std::string>& parts) {
    std::string joined;
    for (std::size_t i = 0; i < parts.size(); ++i) {
        if (i > 0) joined += '\\';
        joined += parts[i];
    }
    return joined;
}

}  // namespace

std::string ShortenPath(std::string_view path, std::size_t limit) {
    std::vector<std::string> parts = SplitParts(path);
    if (path.size() <= limit || parts.size() < 3) return std::string(path);
    parts[1] = "...";
    std::string shortened = JoinParts(parts);
    while (shortened.size() > limit && parts.size() > 3) {
        parts.erase(parts.begin() + 2);
        shortened = JoinParts(parts);
    }
    return shortened;
}

}  // namespace qv
