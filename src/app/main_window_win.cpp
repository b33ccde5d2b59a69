// The main window.
#include "app/main_window_win.h"

#include <shellapi.h>

#include <tuple>

#include "app/links.h"
#include "app/wait_window_win.h"
#include "launch/emulator.h"
#include "launch/launch_win.h"
#include "settings/play_history_store_win.h"
#include "settings/registry_win.h"
#include "settings/settings_store_win.h"
#include "ui/graphics_win.h"
#include "ui/standard_controls_win.h"
#include "util/files_win.h"
#include "product/ravlen_files.h"
#include "util/system_win.h"
#include "util/text.h"

namespace qv {
namespace {

constexpr UINT kShownMessage = WM_APP + 1;
enum ButtonId { kIdB1 = 101, kIdBR };

constexpr COLORREF kBlue = RGB(0, 0, 255);

// Clicks made while the launch kept the thread busy are stale by now: a burst
// on a game button must not start a second run once the first has ended.
void DropQueuedMouseInput() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, WM_MOUSEFIRST, WM_MOUSELAST, PM_REMOVE) ||
           PeekMessageA(&msg, nullptr, WM_NCMOUSEMOVE, WM_NCXBUTTONDBLCLK, PM_REMOVE)) {
    }
    // A press dropped halfway leaves no control holding the pointer.
    ReleaseCapture();
}

// The save and snapshot folders as they stand before the user sets them.
constexpr char kDefaultSaveFolder[] = "\\Saves";
constexpr char kDefaultSnapshotFolder[] = "\\Pcx";

}  // namespace

class TF_Main::LaunchSide final : public LaunchHost {
public:
    explicit LaunchSide(TF_Main& main) : main_(main) {}

    const CurrentGame& game() const override { return main_.run.game; }
    const Settings& settings() const override { return main_.settings; }
    const std::string& emulatorStorage() const override { return main_.games.emulator.storage; }
    const TempNames& tempNames() const override { return main_.tempNames(); }
    ProgressDisplay& wait() override { return main_.wait(); }
    void processMessages() override { ProcessMessages(); }
    void showMessage(const std::string& text) override { main_.seams.showMessage(text); }
    void showArchiveMessage(const std::string& text, const std::string& caption) override {
        main_.seams.reportArchiveError(text, caption);
    }
    const std::string& commandInterpreter() const override { return main_.commandInterpreter; }
    void setRunning(bool running) override {
        if (running) {
            EnableWindow(main_.hwnd(), FALSE);
            main_.run.running = true;
            main_.playTracker_.started(LocalNow(), SteadyMilliseconds(), main_.snapshotFiles());
        } else {
            main_.playTracker_.ended(SteadyMilliseconds(), main_.snapshotFiles());
            main_.run.running = false;
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
    commandInterpreter = CommandInterpreter();
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
    if (!F_Report.create(hwnd())) return false;
    F_Report.busy = [this] { return Busy(); };
    F_Report.readHistory = [this](const std::string& gameId) {
        return ReadPlayHistory(gameId, settingsKey);
    };
    SetTimer(hwnd(), kTimerId, 100, nullptr);
    return F_PcxView.create(appWindow_);
}

// The controls as designed, before the creation handler dresses them; false
// when a child window could not be made.
bool TF_Main::createControls() {
    setColor(RGB(255, 0, 0));
    PL4M = &add<TOstrelLabel4Move>(8, 8, 385, 41);
    PL4M->setFont(UiFont(32, FontStyle::Bold));
    PL4M->setColor(RGB(255, 0, 0));
    PL4M->setCentred(true);
    PL4M->setCaption("QUARVEL");

    L_CAL = &addLabel(176, 56, 169, 16);
    L_CAL->setFont(UiFont(13, FontStyle::Bold));
    L_CAL->setColor(kBlue);
    L_CAL->setPathEllipsis(true);
    L_CAL->setCaption("GETPDIR");

    L_G = &addLabel(88, 96, 57, 17);
    L_G->setFont(UiFont(13, FontStyle::Bold));
    L_G->setColor(kBlue);
    L_G->setCentred(true);
    L_G->setCaption("0/0");
    L_G->setCursor(LoadCursor(nullptr, IDC_HAND));
    L_G->onClick = [this](GraphicControl&) { GamesReport(); };

    auto imageButton = [this](int left, int top, int width, int height) {
        Image& image = addImage(left, top, width, height);
        image.setVisible(false);
        image.onMouseDown = [this](GraphicControl& c) { ShowPImg(c); };
        image.onMouseUp = [this](GraphicControl& c) { ShowGImg(c); };
        return &image;
    };
    Img_Exit = imageButton(354, 52, 41, 25);
    Img_Exit->onClick = [this](GraphicControl&) {
        if (!launcher_.underWay()) ExitProc();
    };
    Img_PA = imageButton(153, 80, 46, 40);
    Img_PP = imageButton(201, 80, 46, 40);
    Img_PK = imageButton(249, 80, 46, 40);
    Img_PJ = imageButton(297, 80, 46, 40);
    Img_PI = imageButton(345, 80, 46, 40);
    for (Image* image : {Img_PA, Img_PP, Img_PK, Img_PJ, Img_PI}) {
        image->onClick = [this](GraphicControl& c) { ShowPanel(c); };
    }

    // Child windows in tab order.
    B_1 = CreatePushButton(hwnd(), "...", 144, 56, 17, 17, kIdB1);
    if (!B_1 || !PA.create(hwnd(), 147, 120, 255, 265) || !PK.create(hwnd(), 147, 120, 255, 265) ||
        !PP.create(hwnd(), 146, 120, 255, 265) || !PI.create(hwnd(), 147, 120, 255, 265) ||
        !PJ.create(hwnd(), 147, 120, 255, 265)) {
        return false;
    }
    B_R = CreatePushButton(hwnd(), "&Re-Scan", 16, 96, 57, 17, kIdBR);
    if (!B_R) return false;
    PA.build(settings);
    PA.onBrowseSaveFolder = [this] { BrowseSF(); };
    PA.onBrowseSnapshotFolder = [this] { BrowsePF(); };
    PA.onSnapshotFolderClick = [this] { PcxView(); };
    PK.build(settings);
    PP.build(settings);
    PP.onStickListChanged = [this] { stick_.update(); };
    launcher_.underWayChanged = [this] { stickUseChanged(); };
    PJ.build(settings);
    if (!games.create(hwnd())) return false;
    games.onClick = [this](GameButton& button) { ExecuteButton(button); };
    PI.build();
    return true;
}

void TF_Main::InitAll() {
    SetWindowTextA(appWindow_, kAppTitleVersion);

    background = &addImage(0, 0, 0, 0);
    background->setAutoSize(true);
    background->loadPicture("_M_MAIN");
    sendToBack(*background);

    // The options panel looks cut out of the console picture.
    {
        Image& cut = PA.addImage(0, 0, 255, 265);
        ScreenDc screen;
        OwnedDc source(CreateCompatibleDC(screen.get()));
        OwnedDc target(CreateCompatibleDC(screen.get()));
        OwnedBitmap pixels(CreateCompatibleBitmap(screen.get(), cut.width(), cut.height()));
        {
            SelectScope selectSource(source.get(), background->picture());
            SelectScope selectTarget(target.get(), pixels.get());
            RECT all{0, 0, cut.width(), cut.height()};
            FillRect(target.get(), &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
            BitBlt(target.get(), 0, 0, cut.width(), cut.height(), source.get(), 147, 120, SRCCOPY);
        }
        cut.setPicture(std::move(pixels));
        PA.sendToBack(cut);
    }
    const std::pair<Panel*, const char*> backgrounds[] = {
        {&PP, "_M_Pid"}, {&PK, "_M_Key"}, {&PJ, "_M_Joy"}, {&PI, "_M_Info"}};
    for (auto [panel, picture] : backgrounds) {
        Image& image = panel->addImage(0, 0, 0, 0);
        image.setAutoSize(true);
        image.loadPicture(picture);
        panel->sendToBack(image);
    }

    const std::pair<Image*, const char*> hoverImages[] = {{Img_Exit, "_Exit"}, {Img_PA, "_PA"},
                                                          {Img_PP, "_Pp"},     {Img_PK, "_Pk"},
                                                          {Img_PJ, "_Pj"},     {Img_PI, "_Pi"}};
    for (auto [image, suffix] : hoverImages) {
        image->loadPicture(std::string("_G") + suffix);
        image->setHint(suffix);
    }
    const std::tuple<Image*, const char*, const char*> linkImages[] = {
        {PI.Img_Ostrel, "_G_Ostrel", links::kAuthorMail},
        {PI.Img_Tev, "_G_Tev", links::kCoAuthorMail},
        {PI.Img_Int, "_G_Int", links::kWebPage}};
    for (auto [image, picture, target] : linkImages) {
        image->loadPicture(picture);
        image->setHint(target);
        image->onClick = [this](GraphicControl& c) { RunHint(c); };
    }

    HINSTANCE instance = GetModuleHandleA(nullptr);
    games.selectCursor =
        static_cast<HCURSOR>(LoadImageA(instance, "_GB_SEL", IMAGE_CURSOR, 0, 0, 0));
    games.runCursor = static_cast<HCURSOR>(LoadImageA(instance, "_GB_RUN", IMAGE_CURSOR, 0, 0, 0));

    for (Container* surface : {static_cast<Container*>(this), static_cast<Container*>(&PA),
                               static_cast<Container*>(&PP), static_cast<Container*>(&PK),
                               static_cast<Container*>(&PJ), static_cast<Container*>(&PI)}) {
        surface->setColor(RGB(0, 0, 0));
    }
    PL4M->setCaption("");
    run = RunState{};
    PI.L_VER->setAutoSize(true);
    PI.L_VER->setCaption(kProgramVersion);
    PI.L_CALVER->setAutoSize(true);
    PI.L_CALVER->setCaption(kForRavlenVersion);

    settings = DefaultSettings(ProgramDir(), IsPentium());
    PP.PrepareDeviceLists();
    guardSettings([this] { LoadReg(settings, settingsKey); });
    L_CAL->setCaption(settings.L_CAL);
    PA.showSettings();
    PP.showSettings();
    PK.showSettings();
    PJ.showSettings();
    FilesCounter();
    SetWindowPos(PA.hwnd(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    PutBackLeftRenames(tempNames_, launchSystem_, seams.showMessage);
    DelTempFiles();
}

void TF_Main::GamesCheck() {
    if (launcher_.underWay()) return;
    // A request that arrives while a scan lets messages through (a re-scan
    // click, a new folder) is served once the scan has ended.
    if (scanning_) {
        rescanRequested_ = true;
        return;
    }
    scanning_ = true;
    stickUseChanged();
    const bool listHadFocus = games.focusedButton() != nullptr;
    do {
        rescanRequested_ = false;
        L_CAL->setCaption(settings.L_CAL);
        games.scan(settings.L_CAL, wait_, seams.showMessage);
        F_Report.refresh(settings.L_CAL, games.emulator, games.verdicts());
        L_G->setCaption(IntText(games.gamesFound) + "/" + IntText(games.gamesLookedFor));
        FilesCounter();
    } while (rescanRequested_);
    scanning_ = false;
    stickUseChanged();
    if (listHadFocus) games.focusList();  // the old buttons went with the focus
}

void TF_Main::GamesReport() { F_Report.ShowProc(); }

void TF_Main::ExecuteButton(GameButton& sender) {
    if (scanning_) return;  // the button may be gone before the scan ends
    if (launcher_.underWay()) return;
    // Settings that cannot be saved stay in memory, unchanged by the game clicked.
    if (!guardSettings([this] { SaveRegGame(settings, run.game.gameId, settingsKey); })) return;
    if (games.lastClicked) games.lastClicked->setCursor(games.selectCursor);
    run.game = ReadGameButton(sender.hint(), sender.caption());
    sender.setCursor(games.runCursor);
    // A further click on the selected game launches it; any other selects.
    if (run.game.gameId == run.selectedGameId) {
        if (launcher_.RunRavlen(*launchSide_, launchSystem_) == LaunchOutcome::kPlayed)
            RecordPlay();
        DropQueuedMouseInput();
        // The window lost the focus when it was disabled for the run: it goes
        // back to the game, so that the keys and the stick carry on from there.
        // With no other program in front once the game has ended (its window
        // gone), the main window comes back to the front by itself.
        savedFocus_ = sender.hwnd();
        comeBack_.gameEnded(SteadyMilliseconds());
        comeBackAfterRun();
        if (GetActiveWindow() == hwnd()) SetFocus(sender.hwnd());
    } else {
        run.selectedGameId = run.game.gameId;
    }
    // A load stopped by a bad value has still changed the values before it:
    // the panels show what the model holds either way.
    bool loaded = false;
    guardSettings([this, &loaded] {
        loaded = !run.game.gameId.empty();
        LoadRegGame(settings, run.game.gameId, settingsKey);
    });
    if (loaded) showGameSettings();
    ShowPanel(*Img_PP);
    games.lastClicked = &sender;
}

// The panels that show a game's settings take them up again.
void TF_Main::showGameSettings() {
    PA.showSettings();
    PJ.SetJotOps();
    PK.SetKeyOps();
    PP.showSettings();
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
        return IntText(static_cast<std::int32_t>(ListFiles(folder, mask, "AHR").size())) +
               " File(s)";
    };
    PA.L_SFF->setCaption(count(settings.L_SF, kSaveStateMask));
    PA.L_PFF->setCaption(count(settings.L_PF, kSnapshotMask));
}

std::vector<std::string> TF_Main::snapshotFiles() const {
    return ListFiles(JoinedFolder(SnapshotFolder()), kSnapshotMask, "N");
}

void TF_Main::RecordPlay() {
    const std::optional<PlayedRun> played = playTracker_.ran();
    if (!played) return;
    guardSettings([&] { RecordRun(run.game.gameId, *played, settingsKey); });
    F_Report.HistoryChanged();
}

std::optional<GameSnapshots> TF_Main::CurrentGameSnapshots(
    const std::string& folder, const std::optional<std::vector<std::string>>& listed) {
    if (run.game.gameId.empty()) return std::nullopt;
    return GameSnapshots{run.game.title,
                         KeptSnapshots(run.game.gameId, folder, listed, settingsKey)};
}

void TF_Main::PcxView() {
    // The count label reads "0 File(s)" when there is no snapshot.
    if (PA.L_PFF->caption().starts_with('0')) {
        MessageBeep(MB_OK);
        return;
    }
    ShowWindow(F_PcxView.hwnd(), SW_SHOW);
    SetForegroundWindow(F_PcxView.hwnd());
}

void TF_Main::BrowseCF() {
    if (launcher_.underWay()) return;
    const std::optional<std::string> folder = seams.pickFolder(settings.L_CAL);
    if (!folder) return;
    if (!FileExists(JoinPath(*folder, kRavlenProgram, true)) &&
        !FileExists(JoinPath(*folder, kRavlenArchive, true))) {
        seams.showMessage(std::string(kCantFindRavlen) + *folder);
        return;
    }
    settings.L_CAL = *folder;
    L_CAL->setCaption(settings.L_CAL);
    // Save and snapshot folders still at their defaults move along with the
    // emulator; folders the user chose elsewhere stay.
    if (settings.L_SF == kDefaultSaveFolder) settings.L_SF = JoinPath(*folder, "Saves", false);
    if (settings.L_PF == kDefaultSnapshotFolder) settings.L_PF = JoinPath(*folder, "Pcx", false);
    PA.showSettings();
    GamesCheck();
}

void TF_Main::BrowseSF() { BrowseDataFolder(settings.L_SF); }

void TF_Main::BrowsePF() { BrowseDataFolder(settings.L_PF); }

// The saves and the snapshot folder are chosen alike; the counters follow.
void TF_Main::BrowseDataFolder(std::string& folder) {
    if (launcher_.underWay()) return;
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
    if (Panel* panel = panelOf(sender)) {
        front_ = panel;
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

// Any window in front but this one, another program's or one of its own (the
// games window, the viewer, a box), keeps it there; with none in front the
// window comes back.
void TF_Main::comeBackAfterRun() {
    if (!comeBack_.pending()) return;
    auto front = [this] {
        if (GetActiveWindow() == hwnd() && GetForegroundWindow() == hwnd())
            return ComeBack::Front::kThisWindow;
        // A window already destroyed can still be named the foreground one:
        // it has no owner any more, and holds the front no more than none.
        DWORD owner = 0;
        if (HWND shown = GetForegroundWindow()) GetWindowThreadProcessId(shown, &owner);
        return owner != 0 ? ComeBack::Front::kOther : ComeBack::Front::kNone;
    };
    const std::int64_t now = SteadyMilliseconds();
    ComeBack::Step step = comeBack_.tick(now, front());
    if (step == ComeBack::Step::kTakeFront) {
        SetForegroundWindow(hwnd());
        step = comeBack_.tick(now, front());
    }
    // Made active while the run still kept it disabled, the window had no
    // control to give the focus to.
    if (step == ComeBack::Step::kKeepFocus && !GetFocus() && savedFocus_ && IsWindow(savedFocus_))
        SetFocus(savedFocus_);
}

void TF_Main::TimeProc() {
    comeBackAfterRun();
    // The link pictures of the information panel light even behind another panel.
    for (Image* image : {Img_PA, Img_PP, Img_PK, Img_PJ, Img_PI, Img_Exit, PI.Img_Ostrel,
                         PI.Img_Tev, PI.Img_Int}) {
        image->setVisible(PointerStrictlyInside(*image));
    }
}

void TF_Main::RunHint(GraphicControl& sender) {
    // A target that cannot be opened is ignored without a word.
    ShellExecuteA(nullptr, nullptr, sender.hint().c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

void TF_Main::ExitProc() {
    // Each save on its own, so that a game key that cannot be written does not
    // cost the general settings.
    guardSettings([this] { SaveRegGame(settings, run.game.gameId, settingsKey); });
    guardSettings([this] { SaveReg(settings, settingsKey); });
    DelTempFiles();
    seams.endProcess(0);
}

// Refused through the whole launch, so that its clean-up is never cut short.
bool TF_Main::CloseProc() { return !run.running && !launcher_.underWay(); }

void TF_Main::DelTempFiles() { DeleteTempFiles(tempNames_, launchSystem_); }

void TF_Main::FormShow() { GamesCheck(); }

void TF_Main::markFocus() {
    HWND focus = GetFocus();
    HWND parent = focus ? GetParent(focus) : nullptr;
    for (Container* surface : {static_cast<Container*>(this), static_cast<Container*>(&PA),
                               static_cast<Container*>(&PP), static_cast<Container*>(&PK),
                               static_cast<Container*>(&PJ), static_cast<Container*>(&PI)}) {
        surface->markFocusedChild(parent == surface->hwnd() ? focus : nullptr);
    }
}

bool TF_Main::activeForInput() const {
    return GetActiveWindow() == hwnd() && IsWindowEnabled(hwnd()) && !IsIconic(hwnd());
}

void TF_Main::stickUseChanged(std::optional<bool> active) {
    const bool takesInput = active.value_or(activeForInput());
    PJ.setWindowState(takesInput, Busy(), front_ == &PJ);
    stick_.windowActivated(takesInput);
}

void TF_Main::onActivate(WPARAM wp) {
    if (LOWORD(wp) == WA_INACTIVE) {
        HWND focus = GetFocus();
        if (focus && (focus == hwnd() || IsChild(hwnd(), focus))) savedFocus_ = focus;
        return;
    }
    if (HIWORD(wp)) return;  // minimised
    if (savedFocus_ && !(IsWindow(savedFocus_) && IsWindowVisible(savedFocus_) &&
                         IsWindowEnabled(savedFocus_))) {
        savedFocus_ = nullptr;  // gone with a scan, or hidden meanwhile
    }
    if (savedFocus_) SetFocus(savedFocus_);
}

LRESULT TF_Main::handleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_TIMER:
        if (wp == kTimerId) {
            TimeProc();
            markFocus();
        }
        if (wp == MainStick::kTimerId) stick_.tick();
        return 0;
    case WM_SHOWWINDOW:
        if (wp && !shownBefore_) {
            shownBefore_ = true;
            PostMessageA(hwnd(), kShownMessage, 0, 0);
        }
        break;
    case kShownMessage:
        FormShow();
        return 0;
    case WM_COMMAND:
        if (HIWORD(wp) == BN_CLICKED && LOWORD(wp) == kIdBR) GamesCheck();
        if (HIWORD(wp) == BN_CLICKED && LOWORD(wp) == kIdB1) BrowseCF();
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
        ExitProc();
        return 0;
    }
    return Container::handleMessage(msg, wp, lp);
}

}  // namespace qv
