// The game list and the ROM scan.
#include "catalogue/game_list_win.h"

#include <algorithm>

#include "catalogue/disk_folder_view_win.h"
#include "catalogue/scan.h"
#include "product/ravlen_files.h"
#include "ui/dpi_scale.h"

namespace qv {

bool GameList::create(HWND mainWindow) {
    sb.onDpiChanged = [this](int dpi) { placeButtons(dpi); };
    return sb.create(mainWindow, 8, 120, 137, 265, RGB(0, 0, 255));
}

void GameList::loadCursors(int dpi) {
    HINSTANCE instance = GetModuleHandleA(nullptr);
    const int size = dpi == kDesignDpi ? 0 : ScaleLength(32, dpi);
    auto load = [instance, size](const char* name) {
        return OwnedCursor(
            static_cast<HCURSOR>(LoadImageA(instance, name, IMAGE_CURSOR, size, size, 0)));
    };
    selectCursor_ = load("_GB_SEL");
    runCursor_ = load("_GB_RUN");
    for (const auto& button : buttons_)
        button->setCursor(button.get() == lastClicked ? runCursor() : selectCursor());
}

void GameList::placeButtons(int dpi) {
    loadCursors(dpi);
    RECT box{};
    GetWindowRect(sb.hwnd(), &box);
    const int width = GameButtonWidth(box.right - box.left, dpi);
    sb.scrollTo(0);
    int top = 0;
    for (const auto& button : buttons_) {
        button->place(top, 0, width, dpi);
        top += button->height();
    }
    sb.setContentHeight(ScaleCoord(top, dpi));
}

void GameList::scan(const std::string& emulatorFolder, ProgressDisplay& wait,
                    const std::function<void(const std::string&)>& report, BusyScope& busy) {
    DiskFolderView disk;
    emulator = JudgeEmulator(emulatorFolder, kRavlenProgram, kRavlenArchive, disk);
    if (!emulator.present) report(kCantFindRavlen + emulatorFolder);

    lastClicked = lastFocused_ = nullptr;
    while (!buttons_.empty())
        buttons_.pop_back();  // last to first
    sb.scrollTo(0);
    nextButtonTop = gamesLookedFor = gamesFound = 0;
    verdicts_.clear();

    wait.setInfo("");
    wait.setState("Working...");
    wait.showNow();
    for (const GameRecord& game : GameTable())
        AddButton(game, emulatorFolder, wait, busy);
    sb.setContentHeight(ScaleCoord(nextButtonTop, sb.dpi()));
    wait.hide();
}

void GameList::AddButton(const GameRecord& game, const std::string& emulatorFolder,
                         ProgressDisplay& wait, BusyScope& busy) {
    ++gamesLookedFor;
    wait.setInfo("Looking for " + std::string(game.title));
    busy.yield();

    DiskFolderView disk;
    verdicts_.push_back(JudgeGame(game, emulatorFolder, disk));
    const std::string storage = verdicts_.back().storage;
    if (storage.empty()) return;

    RECT box{};
    GetWindowRect(sb.hwnd(), &box);
    const int dpi = sb.dpi();
    auto button = std::make_unique<GameButton>(
        sb.hwnd(), nextButtonTop, sb.position(), GameButtonWidth(box.right - box.left, dpi), game,
        storage == "ZIP" ? RomStorage::kArchives : RomStorage::kFolder, dpi);
    button->setCursor(selectCursor());
    button->onClick = [this](GameButton& clicked) {
        lastFocused_ = &clicked;
        if (onClick) onClick(clicked);
    };
    nextButtonTop = static_cast<unsigned short>(nextButtonTop + button->height());
    ++gamesFound;
    buttons_.push_back(std::move(button));
}

GameButton* GameList::focusedButton() const {
    HWND focus = GetFocus();
    for (const auto& button : buttons_) {
        if (button->hwnd() == focus) return button.get();
    }
    return nullptr;
}

bool GameList::focusList() {
    if (buttons_.empty()) return false;
    focusButton(lastFocused_ ? *lastFocused_ : *buttons_.front());
    return true;
}

bool GameList::moveFocus(ListKey key) {
    const GameButton* focused = focusedButton();
    if (!focused) return false;
    std::size_t current = 0;
    while (buttons_[current].get() != focused)
        ++current;
    RECT client{};
    GetClientRect(sb.hwnd(), &client);
    const std::size_t perPage = static_cast<std::size_t>(client.bottom) /
                                static_cast<std::size_t>(std::max(1, focused->pixelHeight()));
    focusButton(*buttons_[ListTarget(key, current, buttons_.size(), perPage)]);
    return true;
}

void GameList::focusButton(GameButton& button) {
    lastFocused_ = &button;
    scrollIntoView(button);
    SetFocus(button.hwnd());
}

void GameList::scrollIntoView(const GameButton& button) {
    RECT client{};
    GetClientRect(sb.hwnd(), &client);
    const int top = ChildRect(button.hwnd()).top + sb.position();  // in the content
    const int bottom = top + button.pixelHeight();
    if (top < sb.position()) {
        sb.scrollTo(top);
    } else if (bottom > sb.position() + client.bottom) {
        sb.scrollTo(bottom - client.bottom);
    }
}

}  // namespace qv
