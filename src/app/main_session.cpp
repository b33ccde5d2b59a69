// The main window's session.
#include "app/main_session.h"

#include "product/ravlen_files.h"
#include "util/text.h"

namespace qv {

MainSession::Click MainSession::clickGame(const CurrentGame& game) {
    run.game = game;
    if (game.gameId == run.selectedGameId) return Click::kLaunch;
    run.selectedGameId = game.gameId;
    return Click::kSelect;
}

std::optional<std::string> MainSession::TakeEmulatorFolder(Settings& settings,
                                                           const std::string& folder,
                                                           bool holdsEmulator) {
    if (!holdsEmulator) return std::string(kCantFindRavlen) + folder;
    settings.L_CAL = folder;
    if (settings.L_SF == kDefaultSaveFolder) settings.L_SF = JoinPath(folder, "Saves", false);
    if (settings.L_PF == kDefaultSnapshotFolder) settings.L_PF = JoinPath(folder, "Pcx", false);
    return std::nullopt;
}

}  // namespace qv
