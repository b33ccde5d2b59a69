// The decisions of the ROM scan.
#include "catalogue/scan.h"

#include "util/text.h"

namespace qv {

std::string FindRomStorage(const GameRecord& game, const std::string& emulatorFolder,
                           FolderView& files) {
    const std::string folder = JoinPath(emulatorFolder, game.gameId, false);
    if (files.folderExists(folder)) {
        // A game folder wins over archives, even when it is incomplete.
        for (int i = 1; i <= WordCount(game.romPatterns, ';'); ++i) {
            if (!files.anyFileMatches(folder, WordAt(game.romPatterns, ';', i))) return "";
        }
        return "DIR";
    }
    for (int i = 1; i <= WordCount(game.archiveNames, ';'); ++i) {
        const std::string archive = WordAt(game.archiveNames, ';', i) + ".ZIP";
        if (!files.fileExists(JoinPath(emulatorFolder, archive, false))) return "";
    }
    return "ZIP";
}

std::string GameButtonHint(const GameRecord& game, std::string_view storage) {
    std::string hint(game.gameId);
    hint += '|';
    hint += game.renameMarker.empty() ? std::string_view(kNoRenameMarker) : game.renameMarker;
    hint += '|';
    hint += storage;
    hint += '|';
    hint += game.romPatterns;
    return hint;
}

CurrentGame ReadGameButton(std::string_view hint, std::string_view caption) {
    return CurrentGame{WordAt(hint, '|', 1), WordAt(hint, '|', 2), WordAt(hint, '|', 3),
                       WordAt(hint, '|', 4), std::string(caption)};
}

}  // namespace qv
