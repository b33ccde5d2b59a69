// Player 1's stick in the game list, with a scripted stick: pushes move the
// focus, a held push repeats, button 1 twice plays the focused game, and
// nothing happens without a stick, without the setting or off the window.
#include <algorithm>
#include <memory>

#include "../input/scripted_stick_win.h"
#include "games_fixture_win.h"
#include "settings/settings_store_win.h"
#include "ui/standard_controls_win.h"
#include "../pump_win.h"

namespace qv {
namespace {

constexpr StickReading kCentre{32768, 32768, 0};
constexpr StickReading kUp{32768, 0, 0};
constexpr StickReading kDown{32768, 65535, 0};
constexpr StickReading kButton1{32768, 32768, 1};

class StickListTest : public GamesTest {
protected:
    void SetUp() override {
        GamesTest::SetUp();
        auto scripted = std::make_unique<test::ScriptedStick>();
        stick = scripted.get();
        ui().PJ.stick = std::move(scripted);
        main->settings.CB_P1D = 3;  // JOY1
    }

    // Plays a script through the poll and waits until all of it was read.
    bool play(std::vector<StickReading> script) {
        stick->script = std::move(script);
        stick->next = 0;
        const std::size_t length = stick->script.size();
        return RunUntil([this, length] { return stick->next >= length; });
    }
    HWND game(std::size_t index) const { return ui().games.buttons()[index]->hwnd(); }
    // Lets about a second of polls go by.
    static void idle() {
        for (int i = 0; i < 100; ++i) {
            ProcessMessages();
            Sleep(10);
        }
    }

    test::ScriptedStick* stick = nullptr;
};

TEST_F(StickListTest, PushesMoveTheFocusAmongTheGamesAndAHeldPushRepeats) {
    // The first push brings the focus into the list, the next moves it.
    ASSERT_TRUE(play({kCentre, kDown, kCentre, kDown, kCentre}));
    EXPECT_EQ(GetFocus(), game(1));
    EXPECT_TRUE(std::all_of(stick->asked.begin(), stick->asked.end(), [](int n) { return n == 1; }));
    // Held for six readings: a move at once, then one at every reading from the third.
    ASSERT_TRUE(play({kDown, kDown, kDown, kDown, kDown, kDown, kCentre}));
    EXPECT_EQ(GetFocus(), game(6));
    ASSERT_TRUE(play({kUp, kCentre}));
    EXPECT_EQ(GetFocus(), game(5));
    EXPECT_TRUE(messages.empty());
}

TEST_F(StickListTest, ButtonOneTwiceSelectsThenPlaysTheFocusedGame) {
    ASSERT_TRUE(play({kCentre, kDown, kCentre, kDown, kCentre}));
    ASSERT_EQ(GetFocus(), game(1));
    stick->script = {kButton1, kCentre};
    stick->next = 0;
    ASSERT_TRUE(RunUntil([this] { return main->session.run.selectedGameId == "FFIGHT"; }));
    // Final Fight's own settings came forward with player 1 on KEY1: on JOY1 again.
    main->settings.CB_P1D = 3;
    EXPECT_EQ(&main->frontPanel(), &ui().PP);
    EXPECT_FALSE(FileExists(emu + "\\Saves\\ravlen-witness.txt"));
    stick->script = {kCentre, kButton1, kCentre};  // read again from rest, then pressed
    stick->next = 0;
    ASSERT_TRUE(RunUntil([this] { return witness().find("game id: FFIGHT") != std::string::npos; }))
        << witness();
    ASSERT_TRUE(RunUntil([this] { return !main->Busy(); }));
    EXPECT_TRUE(focusComesBackTo(game(1))) << GetFocus();
}

TEST_F(StickListTest, NothingHappensWithoutAStickOrWithAnotherDevice) {
    SetFocus(game(2));
    stick->fails = true;  // no joystick: every query fails
    stick->script = {kDown};
    ASSERT_TRUE(RunUntil([this] { return stick->asked.size() >= 3; }));
    EXPECT_EQ(GetFocus(), game(2));
    EXPECT_TRUE(messages.empty());

    // Keyboard layout 1 for player 1: the list reads no joystick at all.
    stick->fails = false;
    main->settings.CB_P1D = 1;
    stick->asked.clear();
    idle();
    EXPECT_TRUE(stick->asked.empty());
    // JOY2 reads joystick 2.
    main->settings.CB_P1D = 4;
    ASSERT_TRUE(RunUntil([this] { return !stick->asked.empty(); }));
    EXPECT_EQ(stick->asked.front(), 2);
}

TEST_F(StickListTest, TheSettingTurnsThePollOffAndIsStoredUnderItsOwnName) {
    ASSERT_TRUE(IsChecked(ui().PP.CB_JoyList));  // on at a first start
    SendMessageA(ui().PP.CB_JoyList, BM_CLICK, 0, 0);
    EXPECT_FALSE(main->settings.CB_JoyList);
    stick->script = {kDown};
    stick->asked.clear();
    idle();
    EXPECT_TRUE(stick->asked.empty());

    SaveReg(main->settings, settingsKey());
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, settingsKey().c_str(), 0, KEY_READ, &key),
              ERROR_SUCCESS);
    char value[8] = "";
    DWORD size = sizeof value, type = 0;
    EXPECT_EQ(RegQueryValueExA(key, "CB_JoyList", nullptr, &type, reinterpret_cast<BYTE*>(value),
                               &size),
              ERROR_SUCCESS);
    RegCloseKey(key);
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    EXPECT_STREQ(value, "0");
    Settings loaded;
    LoadReg(loaded, settingsKey());
    EXPECT_FALSE(loaded.CB_JoyList);

    SendMessageA(ui().PP.CB_JoyList, BM_CLICK, 0, 0);  // on again: the poll comes back
    EXPECT_TRUE(RunUntil([this] { return !stick->asked.empty(); }));
}

TEST_F(StickListTest, ThePollRunsOnlyWhileTheWindowIsActiveAndNothingElseReads) {
    ASSERT_TRUE(RunUntil([this] { return !stick->asked.empty(); }));
    ShowWindow(ui().F_PcxView.hwnd(), SW_SHOW);
    SetForegroundWindow(ui().F_PcxView.hwnd());
    settle();
    stick->asked.clear();
    idle();
    EXPECT_TRUE(stick->asked.empty());
    ShowWindow(ui().F_PcxView.hwnd(), SW_HIDE);
    SetForegroundWindow(main->hwnd());
    ASSERT_TRUE(RunUntil([this] { return !stick->asked.empty(); }));

    // A map field takes the stick's buttons: the list leaves them to it.
    main->ShowPanel(*ui().Img_PJ);
    SetFocus(game(0));
    stick->script = {kButton1, kCentre};
    SetFocus(ui().PJ.mapFields[2]);
    ASSERT_TRUE(RunUntil([this] { return WindowText(ui().PJ.mapFields[2]) == "0"; }));
    EXPECT_EQ(GetFocus(), ui().PJ.mapFields[2]);
    EXPECT_TRUE(main->session.run.selectedGameId.empty());
}

TEST_F(StickListTest, NeitherTheListNorTheLiveViewReadsTheStickDuringALaunchOrOffTheWindow) {
    std::size_t readWhileBusy = 0;
    stick->queried = [this, &readWhileBusy] { readWhileBusy += main->Busy() ? 1 : 0; };
    SetEnvironmentVariableA("RAVLEN_STANDIN_SECONDS", "1");  // a run of a second at least
    GameButton& ffight = *ui().games.buttons()[1];
    main->ExecuteButton(ffight);  // selected
    // The list's poll with the players panel in front, then the live view's.
    for (Image* panel : {ui().Img_PP, ui().Img_PJ}) {
        main->settings.CB_P1D = 3;  // the game's own settings came forward
        main->ShowPanel(*panel);
        stick->asked.clear();
        ASSERT_TRUE(RunUntil([this] { return !stick->asked.empty(); }));
        DeleteFileA(witnessPath().c_str());
        main->ExecuteButton(ffight);  // played
        EXPECT_NE(witness().find("game id: FFIGHT"), std::string::npos);
    }
    SetEnvironmentVariableA("RAVLEN_STANDIN_SECONDS", nullptr);
    EXPECT_EQ(readWhileBusy, 0u);

    // The live view with another window in front reads nothing either.
    main->ShowPanel(*ui().Img_PJ);
    ShowWindow(ui().F_PcxView.hwnd(), SW_SHOW);
    SetForegroundWindow(ui().F_PcxView.hwnd());
    ASSERT_TRUE(RunUntil([this] { return GetActiveWindow() == ui().F_PcxView.hwnd(); }));
    stick->asked.clear();
    idle();
    EXPECT_TRUE(stick->asked.empty());
    EXPECT_FALSE(ui().PJ.showingStick());
}

}  // namespace
}  // namespace qv
