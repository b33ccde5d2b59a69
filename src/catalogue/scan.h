// Which games of the table are present in an emulator folder, and what their
// buttons carry: the decisions of the ROM scan, apart from the file system.
#pragma once

#include <string>
#include <string_view>
#include <vector>

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

// A folder as the verdicts show it: with one backslash at its end.
std::string FolderText(const std::string& folder);

// What the scan decided for one row of the game table, and why, in words a
// user understands: where the game was found, or the first thing that stopped it.
struct GameVerdict {
    const GameRecord* game = nullptr;
    std::string storage;  // "DIR" (a folder), "ZIP" (archives), or empty: not there
    std::string reason;
    std::vector<std::string> archives;  // the archives' paths, when the game is zipped
    bool found() const { return !storage.empty(); }
};
GameVerdict JudgeGame(const GameRecord& game, const std::string& emulatorFolder, FolderView& files);

// What the scan decided about Ravlen itself, given the names of its program
// and its archive: "DIR" when the program is in the emulator folder, else
// "ZIP" (the launch unpacks the archive, present or not).
struct EmulatorVerdict {
    std::string storage;
    bool present = false;  // the program or the archive is there
    std::string archive;   // the archive's path, when it is used
    std::string reason;
};
EmulatorVerdict JudgeEmulator(const std::string& emulatorFolder, std::string_view program,
                              std::string_view archive, FolderView& files);

// How a game's ROMs are kept: in a folder named by its id, or as ZIP archives.
enum class RomStorage { kFolder, kArchives };

// The storage as the hint and the launch context say it: "DIR" or "ZIP".
std::string_view StorageText(RomStorage storage);

// The four fields a game button shows as its hint, joined by "|": game id,
// rename marker (or "NONE"), ROM storage, ROM patterns.
std::string GameButtonHint(const GameRecord& game, RomStorage storage);

// The launch context of a clicked game button.
struct CurrentGame {
    std::string gameId;
    std::string renameMarker;
    std::string romStorage;
    std::string romPatterns;
    std::string title;
};
// The launch context of the button of a table row found with that storage.
CurrentGame CurrentGameOf(const GameRecord& game, RomStorage storage);

}  // namespace qv
