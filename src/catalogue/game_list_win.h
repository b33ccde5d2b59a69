// The game list on the left of the main window: the ROM scan that fills the
// scroll box with one button per game found, and what the scan found.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "catalogue/game_button_win.h"
#include "catalogue/scan.h"
#include "ui/focus_walk.h"
#include "ui/progress_display.h"
#include "ui/busy_win.h"
#include "ui/scroll_box_win.h"

namespace qv {

class GameList {
public:
    // Makes the scroll box `sb` on the main window.
    bool create(HWND mainWindow);

    // One scan of the emulator folder: destroys the buttons and makes one
    // for each game of the table found there, telling wait which game it looks
    // for and yielding through busy before each. report shows a message.
    void scan(const std::string& emulatorFolder, ProgressDisplay& wait,
              const std::function<void(const std::string&)>& report, BusyScope& busy);

    ScrollBox sb;
    unsigned short gamesLookedFor = 0;
    unsigned short gamesFound = 0;
    unsigned short nextButtonTop = 0;
    const std::vector<std::unique_ptr<GameButton>>& buttons() const { return buttons_; }
    // What the last scan decided, and why: Ravlen, and each row in table order.
    EmulatorVerdict emulator;
    const std::vector<GameVerdict>& verdicts() const { return verdicts_; }

    // The keyboard in the list. The button that has the focus, or null.
    GameButton* focusedButton() const;
    // Gives the focus to the list: to the button that had it last, else the
    // first; false when there is no button.
    bool focusList();
    // Moves the focus among the buttons by a list key, scrolling the list to
    // keep the focused one in view; false when no button has the focus.
    bool moveFocus(ListKey key);

    GameButton* lastClicked = nullptr;  // null after a scan
    HCURSOR selectCursor() const { return selectCursor_.get(); }  // over the game buttons
    HCURSOR runCursor() const { return runCursor_.get(); }  // over the button clicked last
    // Loads both cursors for dpi, larger above 96 (the system stretches the
    // 32-pixel art), and hands them to the buttons again.
    void loadCursors(int dpi);
    std::function<void(GameButton&)> onClick;

private:
    void AddButton(const GameRecord& game, const std::string& emulatorFolder,
                   ProgressDisplay& wait, BusyScope& busy);

    void focusButton(GameButton& button);
    // Places the buttons again at the list's new DPI.
    void placeButtons(int dpi);
    // Scrolls the list so that the button is wholly in view.
    void scrollIntoView(const GameButton& button);

    OwnedCursor selectCursor_;
    OwnedCursor runCursor_;
    std::vector<std::unique_ptr<GameButton>> buttons_;  // after the cursors they point at
    std::vector<GameVerdict> verdicts_;
    GameButton* lastFocused_ = nullptr;  // by a key or a click; null after a scan
};

}  // namespace qv
