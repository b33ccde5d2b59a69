// Choosing games on the main window: the list across a minimise and restore,
// and the settings across game clicks and exit when the registry fails.
#include <fstream>
#include <functional>
#include <string>

#include "settings/registry_win.h"
#include "shell_fixture_win.h"
#include "ui/standard_controls_win.h"
#include "util/files_win.h"
#include "util/system_win.h"

namespace qv {
namespace {

// An emulator folder with Ravlen and Final Fight; Strider is added on demand.
class GameSelectionTest : public ShellTest {
protected:
    void SetUp() override {
        ShellTest::SetUp();
        emu = WindowsTempDir() + "qvselect" + std::to_string(GetCurrentProcessId());
        DeleteTree(emu);
        CreateDirectoryA(emu.c_str(), nullptr);
        touch("ravlen.exe");
        CreateDirectoryA((emu + "\\FFIGHT").c_str(), nullptr);
        touch("FFIGHT\\ff01.bin");
    }
    void TearDown() override {
        ShellTest::TearDown();
        DeleteTree(emu);
    }
    void touch(const std::string& name) { std::ofstream(emu + "\\" + name) << "rom"; }
    void addStrider() {
        CreateDirectoryA((emu + "\\STRIDER").c_str(), nullptr);
        touch("STRIDER\\strider.30");
    }
    GameButton& button(const std::string& title) {
        for (const auto& b : ui().games.buttons())
            if (b->caption() == title) return *b;
        ADD_FAILURE() << "no button " << title;
        return *ui().games.buttons().front();
    }
    // A key under the test's settings key that lives in memory only: a key
    // created below it for keeps is refused, so that key cannot be written.
    static void volatileKey(const std::string& path) {
        HKEY key = nullptr;
        ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, REG_OPTION_VOLATILE,
                                  KEY_ALL_ACCESS, nullptr, &key, nullptr),
                  ERROR_SUCCESS);
        RegCloseKey(key);
    }
    static void storeText(const std::string& path, const char* name, const std::string& text) {
        WriteRegStr(HKEY_CURRENT_USER, path, name, text);
    }
    static void storeDword(const std::string& path, const char* name, DWORD value) {
        HKEY key = nullptr;
        ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_ALL_ACCESS, &key),
                  ERROR_SUCCESS);
        RegSetValueExA(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                       sizeof value);
        RegCloseKey(key);
    }
    // Shows the main window on the emulator folder: the first show scans.
    void start(std::size_t games) {
        createMain();
        main->settings.L_CAL = emu;
        show();
        ASSERT_TRUE(WaitFor([&] { return ui().games.buttons().size() == games; }));
    }
    static bool WaitFor(const std::function<bool()>& done) {
        for (int i = 0; i < 500 && !done(); ++i)
            settle();
        return done();
    }

    std::string emu;
};

TEST_F(GameSelectionTest, ARestoreFromTheTaskBarKeepsTheListAndOnlyReScanFindsANewGame) {
    start(1);
    GameButton* finalFight = &button("Final Fight");
    main->ExecuteButton(*finalFight);
    ASSERT_EQ(main->session.run.selectedGameId, "FFIGHT");
    addStrider();

    SendMessageA(app.hwnd(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
    settle();
    ASSERT_FALSE(IsWindowVisible(main->hwnd()));  // an owned window hides with its owner
    SendMessageA(app.hwnd(), WM_SYSCOMMAND, SC_RESTORE, 0);
    ASSERT_TRUE(WaitFor([this] { return IsWindowVisible(main->hwnd()) != 0; }));
    for (int i = 0; i < 5; ++i)
        settle();

    ASSERT_EQ(ui().games.buttons().size(), 1u);
    EXPECT_EQ(ui().games.buttons().front().get(), finalFight);  // not made again
    EXPECT_EQ(ui().games.lastClicked, finalFight);
    EXPECT_EQ(finalFight->cursor(), ui().games.runCursor());
    EXPECT_EQ(main->session.run.selectedGameId, "FFIGHT");
    EXPECT_EQ(ui().L_G->caption(), "1/24");
    EXPECT_TRUE(messages.empty());

    SendMessageA(ui().B_R, BM_CLICK, 0, 0);
    EXPECT_EQ(ui().games.buttons().size(), 2u);
    EXPECT_EQ(ui().L_G->caption(), "2/24");
}

TEST_F(GameSelectionTest, AGameClickStopsWhenThePreviousGamesSettingsCannotBeSaved) {
    addStrider();
    volatileKey(settingsKey());
    volatileKey(settingsKey() + "\\FFIGHT");
    volatileKey(settingsKey() + "\\STRIDER");
    storeText(settingsKey() + "\\STRIDER", "CB_P1D", "3");
    start(2);
    main->ExecuteButton(button("Final Fight"));
    ASSERT_EQ(main->session.run.game.gameId, "FFIGHT");
    ASSERT_TRUE(messages.empty());
    main->settings.CB_P1D = 2;  // chosen for Final Fight, not yet stored
    // Final Fight's key is gone and cannot be made again.
    ASSERT_EQ(RegDeleteKeyA(HKEY_CURRENT_USER, (settingsKey() + "\\FFIGHT").c_str()),
              ERROR_SUCCESS);

    main->ExecuteButton(button("Strider"));

    ASSERT_EQ(messages.size(), 1u);
    EXPECT_NE(messages[0].find("FFIGHT"), std::string::npos) << messages[0];
    EXPECT_EQ(main->session.run.game.gameId, "FFIGHT");
    EXPECT_EQ(main->session.run.selectedGameId, "FFIGHT");
    EXPECT_EQ(main->settings.CB_P1D, 2);  // Strider's settings did not replace it
    EXPECT_EQ(ui().games.lastClicked, &button("Final Fight"));
}

TEST_F(GameSelectionTest, ALoadStoppedByAValueThatIsNoTextShowsWhatWasReadBeforeIt) {
    addStrider();
    start(2);
    const std::string strider = settingsKey() + "\\STRIDER";
    storeText(strider, "CB_P1D", "3");
    storeDword(strider, "cb_p2d", 1);
    ASSERT_NE(ListIndex(ui().PP.CB_P1D), 3);  // so that showing 3 is a change

    main->ExecuteButton(button("Strider"));

    ASSERT_EQ(messages.size(), 1u);
    EXPECT_NE(messages[0].find("cb_p2d"), std::string::npos) << messages[0];
    EXPECT_EQ(main->settings.CB_P1D, 3);
    EXPECT_EQ(ListIndex(ui().PP.CB_P1D), 3);  // the panel shows the model
    EXPECT_EQ(main->session.run.game.gameId, "STRIDER");
}

TEST_F(GameSelectionTest, ExitSavesTheGeneralSettingsWhenTheGamesCannotBeSaved) {
    volatileKey(settingsKey());
    volatileKey(settingsKey() + "\\FFIGHT");
    start(1);
    main->ExecuteButton(button("Final Fight"));
    ASSERT_TRUE(messages.empty());
    ASSERT_EQ(RegDeleteKeyA(HKEY_CURRENT_USER, (settingsKey() + "\\FFIGHT").c_str()),
              ERROR_SUCCESS);
    main->settings.L_SF = "D:\\Elsewhere";

    main->ExitProc();

    ASSERT_EQ(messages.size(), 1u);
    EXPECT_NE(messages[0].find("FFIGHT"), std::string::npos) << messages[0];
    EXPECT_EQ(ReadRegStr(HKEY_CURRENT_USER, settingsKey(), "L_SF", ""), "D:\\Elsewhere");
    EXPECT_EQ(exitCodes, std::vector<int>{0});
}

}  // namespace
}  // namespace qv
