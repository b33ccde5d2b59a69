// The temporary places of a launch, named once at start-up.
#pragma once

#include <string>

namespace qv {

struct TempNames {
    std::string optionsFile;  // the options file handed to the emulator
    std::string tempFolder;   // unpacked ROMs and emulator
    // The renames standing in a game folder while the emulator runs; kept
    // apart from the two above, which every clean-up deletes.
    std::string renameJournal;
};

// windowsTempDir is the Windows directory followed by "TEMP\" (not the user's
// temporary directory).
TempNames MakeTempNames(const std::string& windowsTempDir);

}  // namespace qv
