// The main window's session, apart from its controls: the current and the
// selected game, what a click on a game means, the folder rules, when the
// snapshot viewer opens, and coming back to the front after a game.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "app/come_back.h"
#include "catalogue/scan.h"
#include "settings/settings.h"

namespace qv {

// State of a run that several parts of the program share; InitAll resets it.
struct RunState {
    std::string selectedGameId;  // game id of the game button clicked last
    CurrentGame game;            // current game; its id is the key of its stored settings
    bool running = false;        // true while the emulator runs
};

class MainSession {
public:
    RunState run;
    ComeBack comeBack;
    // A re-scan asked for while a scan runs, served once it has ended.
    bool rescanRequested = false;

    enum class Click { kSelect, kLaunch };
    // A click on the button of game, which becomes the current game: a
    // further click on the selected game launches it, any other selects it.
    Click clickGame(const CurrentGame& game);

    // The emulator folder the user picked, which holds the emulator (its
    // program or its archive) or not. Taken, the save and snapshot folders
    // still at their defaults move along with it, folders the user chose
    // elsewhere stay; refused, the message says why and nothing changes.
    static std::optional<std::string> TakeEmulatorFolder(Settings& settings,
                                                         const std::string& folder,
                                                         bool holdsEmulator);

    // The snapshot folder's files were counted; the viewer opens only when
    // there is one at least.
    void snapshotsCounted(std::int32_t count) { snapshots_ = count; }
    bool viewerOpens() const { return snapshots_ > 0; }

private:
    std::int32_t snapshots_ = 0;
};

}  // namespace qv
