// The game list and the ROM scan.
#include "catalogue/game_list_win.h"

#include "catalogue/disk_folder_view_win.h"
#include "catalogue/scan.h"
#include "util/ravlen_files.h"
#include "util/system_win.h"

namespace qv {

bool GameList::create(HWND mainWindow) {
    return sb.create(mainWindow, 8, 120, 137, 265, RGB(0, 0, 255));
}

void GameList::scan(const std::string& emulatorFolder, ProgressDisplay& wait,
                    const std::function<void(const std::string&)>& report) {
    DiskFolderView disk;
    emulator = JudgeEmulator(emulatorFolder, kRavlenProgram, kRavlenArchive, disk);
    if (!emulator.present) report(kCantFindRavlen + emulatorFolder);

    lastClicked = nullptr;
    while (!buttons_.empty())
        buttons_.pop_back();  // last to first
    sb.scrollTo(0);
    nextButtonTop = gamesLookedFor = gamesFound = 0;
    verdicts_.clear();

    wait.setInfo("");
    wait.setState("Working...");
    wait.showNow();
    for (const GameRecord& game : GameTable())
        AddButton(game, emulatorFolder, wait);
    sb.setContentHeight(nextButtonTop);
    wait.hide();
}

void GameList::AddButton(const GameRecord& game, const std::string& emulatorFolder,
                         ProgressDisplay& wait) {
    ++gamesLookedFor;
    wait.setInfo("Looking for " + std::string(game.title));
    ProcessMessages();

    DiskFolderView disk;
    verdicts_.push_back(JudgeGame(game, emulatorFolder, disk));
    const std::string storage = verdicts_.back().storage;
    if (storage.empty()) return;

    RECT box{};
    GetWindowRect(sb.hwnd(), &box);
    auto button =
        std::make_unique<GameButton>(sb.hwnd(), nextButtonTop - sb.position(),
                                     GameButtonWidth(box.right - box.left), game, storage);
    button->setCursor(selectCursor);
    button->onClick = [this](GameButton& clicked) {
        if (onClick) onClick(clicked);
    };
    nextButtonTop += button->height();
    ++gamesFound;
    buttons_.push_back(std::move(button));
}

}  // namespace qv
