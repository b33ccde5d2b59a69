// The main window: a borderless picture of a control console with the game
// list on the left, five stacked panels on the right and image buttons that
// light up under the pointer.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "app/info_panel_win.h"
#include "app/main_keys_win.h"
#include "app/main_session.h"
#include "app/main_stick_win.h"
#include "app/scan_report_win.h"
#include "launch/temp_names.h"
#include "catalogue/game_list_win.h"
#include "archive/extract_win.h"
#include "catalogue/scan.h"
#include "components/app_exec_win.h"
#include "components/browse_folder_win.h"
#include "components/label4move_win.h"
#include "components/prev_inst_win.h"
#include "input/joystick_panel_win.h"
#include "input/keyboard_panel_win.h"
#include "input/players_panel_win.h"
#include "launch/launch_win.h"
#include "launch/options_panel_win.h"
#include "settings/play_history.h"
#include "settings/settings.h"
#include "ui/busy_win.h"
#include "ui/container_win.h"
#include "viewer/pcx_view_win.h"

namespace qv {

class TF_Wait;

class TF_Main : public Container, public SnapshotHost, private KeysHost, private StickHost {
public:
    static constexpr int kClientWidth = 400;
    static constexpr int kClientHeight = 395;

    // appWindow carries the application title; wait is the wait window.
    TF_Main(HWND appWindow, TF_Wait& wait, TempNames tempNames);
    ~TF_Main() override;

    // Looks for a running copy (and ends this one if there is), then creates
    // the window (hidden) with its controls and runs InitAll.
    bool create();

    // Handlers, under the names the product uses.
    void ShowPanel(GraphicControl& sender);
    void ShowPImg(GraphicControl& sender);
    void ShowGImg(GraphicControl& sender);
    void TimeProc();
    void RunHint(GraphicControl& sender);
    void ExitProc();
    bool CloseProc();  // false refuses the close request
    void DelTempFiles();
    void GamesCheck();
    void ExecuteButton(GameButton& sender);
    void FilesCounter() override;
    void PcxView();   // opens the snapshot viewer
    void BrowseCF();  // emulator folder
    void BrowseSF();  // save folder
    void BrowsePF();  // snapshot folder
    // The games counter's click: why each game has a button or none.
    void GamesReport();
    // A key message of the message loop that moves the focus or presses what
    // has it (Tab, Shift+Tab, the list keys, Enter); false leaves it to the
    // dialog keys.
    bool KeyMessage(const MSG& msg) { return keys_.take(msg); }
    // The panel that ShowPanel brought to the front last (PA at start).
    Panel& frontPanel() const { return *front_; }
    // A scan, a launch or other work is under way.
    bool Busy() const { return BusyWith() != Work::kNothing; }

    MainSession session;
    Settings settings;
    // Registry key of the settings; tests point it elsewhere before create().
    std::string settingsKey = kSettingsKey;
    const TempNames& tempNames() const { return tempNames_; }
    // Where the window meets the user and the machine beyond its own
    // controls, in one place: each is the real thing from the start, and
    // tests put their own in its place.
    struct Seams {
        // Ends the process; tests replace it so that they live on.
        std::function<void(int exitCode)> endProcess = [](int exitCode) { ExitProcess(exitCode); };
        // Shows a message in a standard message box; tests read it instead.
        std::function<void(const std::string&)> showMessage;
        // The ZIP reader's error boxes, likewise.
        ArchiveReporter reportArchiveError;
        // Free space on the Windows drive, in KB; tests set the figure.
        std::function<std::optional<std::uint64_t>()> freeSpaceKb;
        // Asks the user for a folder, starting at start; nothing when
        // cancelled. Tests replace the modal dialog with their own answer.
        std::function<std::optional<std::string>(const std::string& start)> pickFolder;
    } seams;

    TF_Wait& wait() const { return wait_; }
    TAppExec AE;             // runs the emulator, waiting for it
    TBrowseFolder BF{this};  // the folder choosers' dialog
    // Ends a second copy before its main window exists; made by create().
    std::optional<TPrevInst> PrevInst;
    std::string commandInterpreter;  // that runs the emulator; found at the first launch

    static constexpr UINT_PTR kTimerId = 1;
    static constexpr UINT_PTR kMakeLaterTimerId = 3;
    enum CommandId { kIdBrowseEmulator = 101, kIdReScan };

private:
    // Tests reach the controls through MainWindowInside alone.
    friend struct MainWindowInside;
    friend struct MadeWhole;

    // Controls, under their product names (src/app/README.md says what each is).
    TOstrelLabel4Move* PL4M = nullptr;
    Label* L_CAL = nullptr;
    Label* L_G = nullptr;
    HWND B_1 = nullptr;
    HWND B_R = nullptr;
    Image* Img_Exit = nullptr;
    Image* Img_PA = nullptr;
    Image* Img_PP = nullptr;
    Image* Img_PK = nullptr;
    Image* Img_PJ = nullptr;
    Image* Img_PI = nullptr;
    Image* background = nullptr;
    GameList games;  // the scroll box `sb` with the game buttons
    // The scan's verdicts, opened from L_G.
    TF_ScanReport F_Report;
    OptionsPanel PA;
    PlayersPanel PP;
    KeyboardPanel PK;
    JoystickPanel PJ;
    InfoPanel PI;
    TF_PcxView F_PcxView{*this};  // made hidden, later

protected:
    LRESULT handleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    // What the snapshot viewer asks of this window.
    std::string SnapshotFolder() const override { return PA.L_PF->caption(); }
    std::optional<GameSnapshots> CurrentGameSnapshots(
        const std::string& folder, const std::optional<std::vector<std::string>>& listed) override;
    void ReportError(const std::string& text) override { seams.showMessage(text); }
    HWND HostWindow() const override { return hwnd(); }

    // What the keys and the stick in the list ask of this window.
    HWND keysWindow() const override { return hwnd(); }
    GameList& gameList() override { return games; }
    std::vector<FocusStop> focusStops() override;
    HWND stickWindow() const override { return hwnd(); }
    StickUse stickUse() const override;
    StickSource& stickSource() override;
    const Settings& stickSettings() const override { return settings; }

    bool createControls();
    // Made later, or at once when wanted sooner: the panels behind the
    // options panel, the games window and the snapshot viewer.
    Panel& makePanel(Panel& panel);
    void dressInfoPanel();
    bool makeReport();
    bool makeViewer();
    void makeNextLater();
    // Everything made later, made now (tests reach it all at once).
    void makeAllLater();
    static constexpr int kPiecesMadeLater = 6;
    int madeLater_ = 0;         // pieces made (or tried) so far
    bool panelChosen_ = false;  // ShowPanel has run: the panels behind are disabled
    void comeBackAfterRun();
    void InitAll();
    void FormShow();
    // Runs a settings load or save; a registry error goes to the general
    // error report and stops that load or save. Returns whether it succeeded.
    bool guardSettings(const std::function<void()>& work);
    void showGameSettings();
    // The snapshot folder's files, as the viewer lists them.
    std::vector<std::string> snapshotFiles() const;
    // Adds the run that just ended, whose emulator ran, to the game's history.
    void RecordPlay();
    Panel* panelOf(const GraphicControl& image);
    void BrowseDataFolder(std::string& folder);  // what BrowseSF and BrowsePF do

    class LaunchSide;  // what a launch needs of this window

    void onActivate(WPARAM wp);
    // The window takes keys and the stick now: active, enabled, not minimised.
    bool activeForInput() const;
    // Tells the stick's readers what changed: activation (active, when the
    // activation message says it), a launch or scan, the panel in front.
    void stickUseChanged(std::optional<bool> active = std::nullopt);
    // Frames the focused control, checked with the hover timer.
    void markFocus();

    HWND appWindow_;
    TF_Wait& wait_;
    TempNames tempNames_;
    std::unique_ptr<LaunchSide> launchSide_;
    // While a launch is under way, game clicks, Re-Scan, the folder choosers,
    // the exit image and close requests start nothing.
    Launcher launcher_;
    PlayTracker playTracker_;  // the emulator's start and end in a launch
    // The files, folders and process runner that a launch works on.
    WinLaunchSystem launchSystem_{AE, [this] { return seams.freeSpaceKb(); }};
    std::optional<BusyScope> launchBusy_;  // while a launch is under way
    // The first show scans; later shows (a restore from the task bar) do not.
    bool shownBefore_ = false;
    MainKeys keys_{*this};
    MainStick stick_{*this};
    Panel* front_ = &PA;
    // The control that had the focus when the window was last deactivated,
    // given it back when the window is active again.
    HWND savedFocus_ = nullptr;
};

}  // namespace qv
