// Which games of the table are present in an emulator folder, and what their
// buttons carry: the decisions of the ROM scan, apart from the file system.
#pragma once

#include <string>
#include <string_view>

#include "catalogue/game_table.h"

namespace qv {

// What the scan asks of the file system.
class FolderView {
public:
    virtual ~FolderView() = default;
    virtual bool folderExists(const std::string& path) = 0;
    virtual bool fileExists(const std::string& path) = 0;
    // True when the folder holds an ordinary file (hidden and read-only ones
    // included; system files and folders not) matching the mask.
    virtual bool anyFileMatches(const std::string& folder, const std::string& mask) = 0;
};

// How a game's ROMs are kept: "DIR" (a folder), "ZIP" (archives), or empty
// when the game is not there.
std::string FindRomStorage(const GameRecord& game, const std::string& emulatorFolder,
                           FolderView& files);

// The four fields a game button carries, joined by "|": game id, rename
// marker (or "NONE"), ROM storage, ROM patterns.
std::string GameButtonHint(const GameRecord& game, std::string_view storage);

// The launch context of a clicked game button.
struct CurrentGame {
    std::string gameId;
    std::string renameMarker;
    std::string romStorage;
    std::string romPatterns;
    std::string title;
};
CurrentGame ReadGameButton(std::string_view hint, std::string_view caption);

}  // namespace qv
