// The main window.
#include "app/main_window_win.h"

#include <shellapi.h>

#include "app/wait_window_win.h"
#include "launch/emulator.h"
#include "launch/launch_win.h"
#include "settings/play_history_store_win.h"
#include "settings/registry_win.h"
#include "settings/settings_store_win.h"
#include "util/files_win.h"
#include "util/on_demand_win.h"
#include "product/ravlen_files.h"
#include "util/system_win.h"
#include "util/text.h"

namespace qv {
namespace {

constexpr UINT kShownMessage = WM_APP + 1;

}  // namespace

class TF_Main::LaunchSide final : public LaunchHost {
public:
    explicit LaunchSide(TF_Main& main) : main_(main) {}

    const CurrentGame& game() const override { return main_.session.run.game; }
    const Settings& settings() const override { return main_.settings; }
    const std::string& emulatorStorage() const override { return main_.games.emulator.storage; }
    const TempNames& tempNames() const override { return main_.tempNames(); }
    ProgressDisplay& wait() override { return main_.wait(); }
    void processMessages() override {
        if (main_.launchBusy_) main_.launchBusy_->yield();
    }
    void showMessage(const std::string& text) override { main_.seams.showMessage(text); }
    void showArchiveMessage(const std::string& text, const std::string& caption) override {
        main_.seams.reportArchiveError(text, caption);
    }
    const std::string& commandInterpreter() const override {
        // Looked for at the first launch: a search along the path that the
        // start of the program need not wait for.
        if (main_.commandInterpreter.empty()) main_.commandInterpreter = CommandInterpreter();
        return main_.commandInterpreter;
    }
    void setRunning(bool running) override {
        if (running) {
            EnableWindow(main_.hwnd(), FALSE);
            main_.session.run.running = true;
            main_.playTracker_.started(LocalNow(), SteadyMilliseconds(), main_.snapshotFiles());
        } else {
            main_.playTracker_.ended(SteadyMilliseconds(), main_.snapshotFiles());
            main_.session.run.running = false;
            EnableWindow(main_.hwnd(), TRUE);
        }
    }
    void runEnded() override {
        main_.ShowPanel(*main_.Img_PA);
        main_.FilesCounter();
    }

private:
    TF_Main& main_;
};

TF_Main::TF_Main(HWND appWindow, TF_Wait& wait, TempNames tempNames)
    : F_Report(wait),
      appWindow_(appWindow),
      wait_(wait),
      tempNames_(std::move(tempNames)),
      launchSide_(std::make_unique<LaunchSide>(*this)) {
    seams.showMessage = [this](const std::string& text) {
        MessageBoxA(hwnd(), text.c_str(), kAppTitleVersion, MB_OK);
    };
    seams.reportArchiveError = [this](const std::string& text, const std::string& caption) {
        MessageBoxA(hwnd(), text.c_str(), caption.c_str(), MB_OK);
    };
    seams.freeSpaceKb = WindowsDriveFreeKb;
    seams.pickFolder = [this](const std::string& start) -> std::optional<std::string> {
        BF.SetDirectory(start);
        if (!BF.Execute()) return std::nullopt;
        return BF.Directory();
    };
    AE.SetWait(true);
    AE.SetWindowState(TWindowState::Maximized);
    AE.SetPriorityClass(TPriorClass::HIGH);
}

TF_Main::~TF_Main() {
    // Destroy the window while this object is whole, so that WM_DESTROY runs ExitProc.
    if (hwnd()) DestroyWindow(hwnd());
}

bool TF_Main::create() {
    PrevInst.emplace(appWindow_, kAppTitleVersion, seams.endProcess);
    // Borderless: system menu and minimise only, which such a window does not draw.
    if (!createForm("QuarvelMain", "Ravlen Front/End", WS_SYSMENU | WS_MINIMIZEBOX, kClientWidth,
                    kClientHeight, appWindow_)) {
        return false;
    }
    if (!createControls()) return false;
    InitAll();
    F_Report.readHistory = [this](const std::string& gameId) {
        return ReadPlayHistory(gameId, settingsKey);
    };
    SetTimer(hwnd(), kTimerId, 100, nullptr);
    return true;
}

void TF_Main::GamesCheck() {
    if (BusyWith() == Work::kLaunch) return;
    // A request that arrives while a scan lets messages through (a re-scan
    // click, a new folder) is served once the scan has ended.
    if (BusyWith() == Work::kScan) {
        session.rescanRequested = true;
        return;
    }
    BusyScope busy(Work::kScan);
    stickUseChanged();
    const bool listHadFocus = games.focusedButton() != nullptr;
    do {
        session.rescanRequested = false;
        L_CAL->setCaption(settings.L_CAL);
        games.scan(settings.L_CAL, wait_, seams.showMessage, busy);
        F_Report.refresh(settings.L_CAL, games.emulator, games.verdicts());
        L_G->setCaption(IntText(games.gamesFound) + "/" + IntText(games.gamesLookedFor));
        FilesCounter();
    } while (session.rescanRequested);
    if (listHadFocus) games.focusList();  // the old buttons went with the focus
}

void TF_Main::GamesReport() {
    if (makeReport()) F_Report.ShowProc();
}

void TF_Main::ExecuteButton(GameButton& sender) {
    // Nothing starts while other work runs; a scan may take the button away.
    if (BusyWith() != Work::kNothing) return;
    // Settings that cannot be saved stay in memory, unchanged by the game clicked.
    if (!guardSettings([this] { SaveRegGame(settings, session.run.game.gameId, settingsKey); }))
        return;
    if (games.lastClicked) games.lastClicked->setCursor(games.selectCursor());
    sender.setCursor(games.runCursor());
    if (session.clickGame(sender.current()) == MainSession::Click::kLaunch) {
        if (launcher_.RunRavlen(*launchSide_, launchSystem_) == LaunchOutcome::kPlayed)
            RecordPlay();
        DropQueuedMouseInput();
        // The window lost the focus when it was disabled for the run: it goes
        // back to the game, so that the keys and the stick carry on from there.
        // With no other program in front once the game has ended (its window
        // gone), the main window comes back to the front by itself.
        savedFocus_ = sender.hwnd();
        session.comeBack.gameEnded(SteadyMilliseconds());
        comeBackAfterRun();
        if (GetActiveWindow() == hwnd()) SetFocus(sender.hwnd());
    }
    // A load stopped by a bad value has still changed the values before it:
    // the panels show what the model holds either way.
    bool loaded = false;
    guardSettings([this, &loaded] {
        loaded = !session.run.game.gameId.empty();
        LoadRegGame(settings, session.run.game.gameId, settingsKey);
    });
    if (loaded) showGameSettings();
    ShowPanel(*Img_PP);
    games.lastClicked = &sender;
}

// The panels that show a game's settings take them up again.
void TF_Main::showGameSettings() {
    PA.showSettings();
    // A panel not made yet shows them when it is.
    if (PJ.hwnd()) PJ.SetJotOps();
    if (PK.hwnd()) PK.SetKeyOps();
    if (PP.hwnd()) PP.showSettings();
}

bool TF_Main::guardSettings(const std::function<void()>& work) {
    try {
        work();
        return true;
    } catch (const ERegistry& error) {
        seams.showMessage(error.what());
        return false;
    }
}

void TF_Main::FilesCounter() {
    auto count = [](const std::string& folder, const char* mask) {
        return static_cast<std::int32_t>(ListFiles(folder, mask, "AHR").size());
    };
    const std::int32_t snapshots = count(settings.L_PF, kSnapshotMask);
    session.snapshotsCounted(snapshots);
    PA.L_SFF->setCaption(IntText(count(settings.L_SF, kSaveStateMask)) + " File(s)");
    PA.L_PFF->setCaption(IntText(snapshots) + " File(s)");
}

std::vector<std::string> TF_Main::snapshotFiles() const {
    return ListFiles(JoinedFolder(SnapshotFolder()), kSnapshotMask, "N");
}

void TF_Main::RecordPlay() {
    const std::optional<PlayedRun> played = playTracker_.ran();
    if (!played) return;
    guardSettings([&] { RecordRun(session.run.game.gameId, *played, settingsKey); });
    F_Report.HistoryChanged();
}

std::optional<GameSnapshots> TF_Main::CurrentGameSnapshots(
    const std::string& folder, const std::optional<std::vector<std::string>>& listed) {
    if (session.run.game.gameId.empty()) return std::nullopt;
    return GameSnapshots{session.run.game.title,
                         KeptSnapshots(session.run.game.gameId, folder, listed, settingsKey)};
}

void TF_Main::PcxView() {
    if (!session.viewerOpens()) {
        MessageBeep(MB_OK);
        return;
    }
    if (!makeViewer()) return;
    ShowWindow(F_PcxView.hwnd(), SW_SHOW);
    SetForegroundWindow(F_PcxView.hwnd());
}

void TF_Main::BrowseCF() {
    if (BusyWith() == Work::kLaunch) return;
    const std::optional<std::string> folder = seams.pickFolder(settings.L_CAL);
    if (!folder) return;
    const bool holdsEmulator = FileExists(JoinPath(*folder, kRavlenProgram, true)) ||
                               FileExists(JoinPath(*folder, kRavlenArchive, true));
    if (const auto refused = MainSession::TakeEmulatorFolder(settings, *folder, holdsEmulator)) {
        seams.showMessage(*refused);
        return;
    }
    L_CAL->setCaption(settings.L_CAL);
    PA.showSettings();
    GamesCheck();
}

void TF_Main::BrowseSF() { BrowseDataFolder(settings.L_SF); }

void TF_Main::BrowsePF() { BrowseDataFolder(settings.L_PF); }

// The saves and the snapshot folder are chosen alike; the counters follow.
void TF_Main::BrowseDataFolder(std::string& folder) {
    if (BusyWith() == Work::kLaunch) return;
    if (std::optional<std::string> picked = seams.pickFolder(folder)) {
        folder = *picked;
        PA.showSettings();
    }
    FilesCounter();
}

Panel* TF_Main::panelOf(const GraphicControl& image) {
    if (&image == Img_PA) return &PA;
    if (&image == Img_PP) return &PP;
    if (&image == Img_PK) return &PK;
    if (&image == Img_PJ) return &PJ;
    if (&image == Img_PI) return &PI;
    return nullptr;
}

void TF_Main::ShowPanel(GraphicControl& sender) {
    for (Panel* panel :
         {static_cast<Panel*>(&PA), static_cast<Panel*>(&PP), static_cast<Panel*>(&PK),
          static_cast<Panel*>(&PJ), static_cast<Panel*>(&PI)}) {
        EnableWindow(panel->hwnd(), FALSE);
    }
    panelChosen_ = true;
    if (Panel* panel = panelOf(sender)) {
        front_ = &makePanel(*panel);
        // The players may have changed the layouts they use since it was shown.
        if (panel == &PK) PK.ShowClashes();
        stickUseChanged();
        EnableWindow(panel->hwnd(), TRUE);
        SetWindowPos(panel->hwnd(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
}

void TF_Main::ShowPImg(GraphicControl& sender) {
    static_cast<Image&>(sender).loadPicture("_P" + sender.hint());
}

void TF_Main::ShowGImg(GraphicControl& sender) {
    static_cast<Image&>(sender).loadPicture("_G" + sender.hint());
}

void TF_Main::TimeProc() {
    comeBackAfterRun();
    // The link pictures of the information panel light even behind another panel.
    for (Image* image : {Img_PA, Img_PP, Img_PK, Img_PJ, Img_PI, Img_Exit, PI.Img_Ostrel,
                         PI.Img_Tev, PI.Img_Int}) {
        if (image) image->setVisible(PointerStrictlyInside(*image));
    }
}

void TF_Main::RunHint(GraphicControl& sender) {
    // A target that cannot be opened is ignored without a word.
    on_demand::ShellExecuteA(nullptr, nullptr, sender.hint().c_str(), nullptr, nullptr,
                             SW_SHOWNORMAL);
}

void TF_Main::ExitProc() {
    // Each save on its own, so that a game key that cannot be written does not
    // cost the general settings.
    guardSettings([this] { SaveRegGame(settings, session.run.game.gameId, settingsKey); });
    guardSettings([this] { SaveReg(settings, settingsKey); });
    DelTempFiles();
    seams.endProcess(0);
}

// Refused through the whole launch, so that its clean-up is never cut short.
bool TF_Main::CloseProc() { return !session.run.running && BusyWith() != Work::kLaunch; }

void TF_Main::DelTempFiles() { DeleteTempFiles(tempNames_, launchSystem_); }

void TF_Main::FormShow() { GamesCheck(); }

LRESULT TF_Main::handleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_TIMER:
        if (wp == kTimerId) {
            TimeProc();
            markFocus();
        }
        if (wp == MainStick::kTimerId) stick_.tick();
        if (wp == kMakeLaterTimerId) makeNextLater();
        return 0;
    case WM_SHOWWINDOW:
        if (wp && !shownBefore_) {
            shownBefore_ = true;
            PostMessageA(hwnd(), kShownMessage, 0, 0);
        }
        break;
    case kShownMessage:
        FormShow();
        SetTimer(hwnd(), kMakeLaterTimerId, USER_TIMER_MINIMUM, nullptr);
        return 0;
    case WM_COMMAND:
        if (HIWORD(wp) == BN_CLICKED && LOWORD(wp) == kIdReScan) GamesCheck();
        if (HIWORD(wp) == BN_CLICKED && LOWORD(wp) == kIdBrowseEmulator) BrowseCF();
        return 0;
    case WM_ACTIVATE:
        onActivate(wp);
        stickUseChanged(LOWORD(wp) != WA_INACTIVE && !HIWORD(wp));
        if (LOWORD(wp) != WA_INACTIVE && savedFocus_) return 0;
        break;
    case WM_CLOSE:
        if (CloseProc()) DestroyWindow(hwnd());
        return 0;
    case WM_DESTROY:
        KillTimer(hwnd(), kTimerId);
        KillTimer(hwnd(), MainStick::kTimerId);
        KillTimer(hwnd(), kMakeLaterTimerId);
        ExitProc();
        return 0;
    }
    return Container::handleMessage(msg, wp, lp);
}

}  // namespace qv
