// The decisions of the ROM scan, each with its reason.
#include "catalogue/scan.h"

#include "util/text.h"

namespace qv {

namespace {

// "a", "a and b", "a, b and c".
std::string ListText(const std::vector<std::string>& items) {
    std::string text;
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (i > 0) text += i + 1 == items.size() ? " and " : ", ";
        text += items[i];
    }
    return text;
}

// Said after a reason when a name the scan looked for is there as the other kind.
std::string KindNotes(const std::vector<std::string>& notes) {
    std::string text;
    for (const std::string& note : notes)
        text += (text.empty() ? " (" : "; ") + note;
    return text.empty() ? text : text + ")";
}

}  // namespace

std::string FolderText(const std::string& folder) {
    return folder.empty() ? folder : EndWithBackslash(folder);
}

GameVerdict JudgeGame(const GameRecord& game, const std::string& emulatorFolder,
                      FolderView& files) {
    GameVerdict verdict;
    verdict.game = &game;
    const std::string folder = JoinPath(emulatorFolder, game.gameId, false);
    if (files.folderExists(folder)) {
        // A game folder wins over archives, even when it is incomplete.
        for (int i = 1; i <= WordCount(game.romPatterns, ';'); ++i) {
            const std::string mask = WordAt(game.romPatterns, ';', i);
            if (!files.anyFileMatches(folder, mask)) {
                verdict.reason = "the folder " + folder + " has no file matching " + mask +
                                 " (so the archives beside it are not looked at)";
                return verdict;
            }
        }
        verdict.storage = "DIR";
        verdict.reason = "found in the folder " + folder;
        return verdict;
    }
    std::vector<std::string> present;
    for (int i = 1; i <= WordCount(game.archiveNames, ';'); ++i) {
        const std::string archive = WordAt(game.archiveNames, ';', i) + ".ZIP";
        const std::string path = JoinPath(emulatorFolder, archive, false);
        if (!files.fileExists(path)) {
            // Only now, with the game not there, ask what else the two names are.
            std::vector<std::string> notes;
            if (files.fileExists(folder))
                notes.push_back(std::string(game.gameId) + " there is a file, not a folder");
            if (files.folderExists(path))
                notes.push_back(archive + " there is a folder, not a file");
            if (present.empty()) {
                verdict.reason = "no folder " + std::string(game.gameId) + " and no " + archive +
                                 " in " + FolderText(emulatorFolder);
            } else {
                verdict.reason = ListText(present) + (present.size() == 1 ? " is" : " are") +
                                 " in " + FolderText(emulatorFolder) + ", " + archive +
                                 " is missing";
            }
            verdict.reason += KindNotes(notes);
            verdict.archives.clear();
            return verdict;
        }
        present.push_back(archive);
        verdict.archives.push_back(path);
    }
    verdict.storage = "ZIP";
    verdict.reason = "found as " + ListText(present) + " in " + FolderText(emulatorFolder);
    return verdict;
}

std::string_view StorageText(RomStorage storage) {
    return storage == RomStorage::kArchives ? "ZIP" : "DIR";
}

namespace {

std::string_view RenameMarkerOf(const GameRecord& game) {
    return game.renameMarker.empty() ? std::string_view(kNoRenameMarker) : game.renameMarker;
}

}  // namespace

std::string GameButtonHint(const GameRecord& game, RomStorage storage) {
    std::string hint(game.gameId);
    hint += '|';
    hint += RenameMarkerOf(game);
    hint += '|';
    hint += StorageText(storage);
    hint += '|';
    hint += game.romPatterns;
    return hint;
}

CurrentGame CurrentGameOf(const GameRecord& game, RomStorage storage) {
    return CurrentGame{std::string(game.gameId), std::string(RenameMarkerOf(game)),
                       std::string(StorageText(storage)), std::string(game.romPatterns),
                       std::string(game.title)};
}

EmulatorVerdict JudgeEmulator(const std::string& emulatorFolder, std::string_view program,
                              std::string_view archive, FolderView& files) {
    EmulatorVerdict verdict;
    const std::string where = " in " + FolderText(emulatorFolder);
    if (files.fileExists(JoinPath(emulatorFolder, program, true))) {
        verdict.storage = "DIR";
        verdict.present = true;
        verdict.reason = std::string(program) + where;
        return verdict;
    }
    verdict.storage = "ZIP";
    verdict.archive = JoinPath(emulatorFolder, archive, true);
    if (files.fileExists(verdict.archive)) {
        verdict.present = true;
        verdict.reason = "zipped as " + std::string(archive) + where;
    } else if (!files.folderExists(emulatorFolder)) {
        verdict.reason = "the folder " + FolderText(emulatorFolder) + " does not exist";
    } else {
        verdict.reason = "no " + std::string(program) + " and no " + std::string(archive) + where;
    }
    return verdict;
}

}  // namespace qv
