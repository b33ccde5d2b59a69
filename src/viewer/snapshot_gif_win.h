// How snapshots are saved as GIF files, by the viewer and the converter alike.
#pragma once

#include <string>

#include "gif/save_gif_win.h"

namespace qv {

inline const std::string kSnapshotGifComment =
    "Quarvel v1.01\r\n\r\nCapcom System One Game Snapshot";

// Interlaced, not transparent, with the snapshot comment; see SaveBitmapAsGif.
inline bool SaveSnapshotGif(HBITMAP bitmap, const std::string& fileName) {
    return SaveBitmapAsGif(bitmap, fileName, true, false, RGB(0, 0, 0), kSnapshotGifComment);
}

}  // namespace qv
