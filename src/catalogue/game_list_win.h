// The game list on the left of the main window: the ROM scan that fills the
// scroll box with one button per game found, and what the scan found.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "catalogue/game_button_win.h"
#include "catalogue/scan.h"
#include "ui/progress_display.h"
#include "ui/scroll_box_win.h"

namespace qv {

class GameList {
public:
    // Makes the scroll box `sb` on the main window.
    bool create(HWND mainWindow);

    // One scan of the emulator folder: destroys the buttons and makes one
    // for each game of the table found there, telling wait which game it looks
    // for. report shows a message.
    void scan(const std::string& emulatorFolder, ProgressDisplay& wait,
              const std::function<void(const std::string&)>& report);

    ScrollBox sb;
    unsigned short gamesLookedFor = 0;
    unsigned short gamesFound = 0;
    unsigned short nextButtonTop = 0;
    const std::vector<std::unique_ptr<GameButton>>& buttons() const { return buttons_; }
    // What the last scan decided, and why: Ravlen, and each row in table order.
    EmulatorVerdict emulator;
    const std::vector<GameVerdict>& verdicts() const { return verdicts_; }

    GameButton* lastClicked = nullptr;  // null after a scan
    HCURSOR selectCursor = nullptr;     // over the game buttons
    HCURSOR runCursor = nullptr;        // over the button clicked last
    std::function<void(GameButton&)> onClick;

private:
    void AddButton(const GameRecord& game, const std::string& emulatorFolder,
                   ProgressDisplay& wait);

    std::vector<std::unique_ptr<GameButton>> buttons_;
    std::vector<GameVerdict> verdicts_;
};

}  // namespace qv
