// Paths the build tree hands to the Windows tests, as Wine sees them.
#pragma once

#include <string>

namespace qv {

// A host path ("/work/...") becomes the same place on Wine's drive Z:.
inline std::string HostPath(std::string path) {
    if (!path.empty() && path[0] == '/') path = "Z:" + path;
    for (char& c : path)
        if (c == '/') c = '\\';
    return path;
}

}  // namespace qv
