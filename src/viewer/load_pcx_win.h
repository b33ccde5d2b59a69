// Reading a snapshot file into a bitmap.
#pragma once

#include <string>

#include "util/handles_win.h"

namespace qv {

// Replaces target with the picture of the PCX file. On false target is left
// as it was and, when why is given, it says why in a few words. The file is
// opened for reading only, so read-only snapshots show as well.
bool LoadPcx(OwnedBitmap& target, const std::string& fileName, std::string* why = nullptr);

}  // namespace qv
