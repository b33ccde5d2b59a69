// Play history and each game's own snapshots through real launches of the
// stand-in emulator: what the games window copies, what the snapshot viewer
// lists with each choice, and what the registry keeps after deletions.
#include <gtest/gtest.h>

#include <regex>
#include <string>
#include <vector>

#include "../components/child_programs_win.h"
#include "settings/play_history_store_win.h"
#include "shell_fixture_win.h"
#include "ui/standard_controls_win.h"
#include "util/files_win.h"

namespace qv {
namespace {

std::vector<std::string> Choices(HWND combo) {
    std::vector<std::string> choices;
    const int count = static_cast<int>(SendMessageA(combo, CB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        char text[128] = "";
        SendMessageA(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
        choices.push_back(text);
    }
    return choices;
}

// The line of the copied list that starts with title and a colon.
std::string LineOf(const std::string& text, const std::string& title) {
    const std::size_t at = text.find("\r\n" + title + ": ");
    if (at == std::string::npos) return "";
    return text.substr(at + 2, text.find("\r\n", at + 2) - at - 2);
}

class PlayHistoryTest : public ShellTest {
protected:
    void SetUp() override {
        ShellTest::SetUp();
        SetEnvironmentVariableA("RAVLEN_STANDIN_NO_WINDOW", "1");
        emu = test::NewScratchFolder("qv-played");
        ASSERT_TRUE(CopyFileA(test::RavlenExe().c_str(), (emu + "\\ravlen.exe").c_str(), FALSE));
        for (const char* folder : {"FFIGHT", "3wonders"})
            CreateDirectoryA((emu + "\\" + folder).c_str(), nullptr);
        test::WriteText(emu + "\\FFIGHT\\ff01.bin", "rom");
        test::WriteText(emu + "\\3wonders\\3wonders.01", "rom");
        createMain();
        main->settings.L_CAL = emu;
        main->settings.L_SF = emu + "\\Saves";
        main->settings.L_PF = emu + "\\Pcx";
        ui().PA.showSettings();
        main->GamesCheck();
        ASSERT_EQ(ui().games.gamesFound, 2);
    }
    void TearDown() override {
        SetEnvironmentVariableA("RAVLEN_STANDIN_SNAPSHOTS", nullptr);
        SetEnvironmentVariableA("RAVLEN_STANDIN_SECONDS", nullptr);
        ShellTest::TearDown();
        DeleteTree(emu);
    }

    GameButton& button(const std::string& title) {
        for (const auto& b : ui().games.buttons())
            if (b->caption() == title) return *b;
        throw std::runtime_error("no button " + title);
    }
    // Makes the game current (a first click) without playing it.
    void select(const std::string& title) {
        GameButton& b = button(title);
        if (main->session.run.selectedGameId != b.current().gameId)
            main->ExecuteButton(b);
    }
    // Plays the game once; the stand-in leaves that many snapshots.
    void play(const std::string& title, int snapshots, int seconds = 0) {
        SetEnvironmentVariableA("RAVLEN_STANDIN_SNAPSHOTS", std::to_string(snapshots).c_str());
        SetEnvironmentVariableA("RAVLEN_STANDIN_SECONDS",
                                seconds ? std::to_string(seconds).c_str() : nullptr);
        select(title);
        main->ExecuteButton(button(title));
    }
    std::string copiedList() {
        ui().F_Report.CopyProc();
        return ClipboardText();
    }
    TF_PcxView& viewer() { return ui().F_PcxView; }
    void refill() { viewer().ActiveX(); }
    void choose(int choice) {
        SetListIndex(viewer().CB_SHOW, choice);
        SendMessageA(viewer().hwnd(), WM_COMMAND, MAKEWPARAM(0, CBN_SELCHANGE),
                     reinterpret_cast<LPARAM>(viewer().CB_SHOW));
    }
    std::string shot(int n) const {
        return emu + "\\Pcx\\Snap" + std::to_string(10000 + n).substr(1) + ".Pcx";
    }

    std::string emu;
};

TEST_F(PlayHistoryTest, RunsShowInTheGamesWindowAndEachGameListsItsOwnSnapshots) {
    const std::regex never("^Final Fight: .* - never played$");
    EXPECT_TRUE(std::regex_search(LineOf(copiedList(), "Final Fight"), never));
    play("Final Fight", 2, 1);
    play("Three Wonders", 1);
    EXPECT_EQ(ListFiles(emu + "\\Pcx", "Snap*.Pcx", "AHR").size(), 3u);

    const std::string copied = copiedList();
    const std::regex once(
        ": .* - played once, [0-9]+ s, last [0-9]{1,2} [A-Z][a-z]{2} 20[0-9]{2} "
        "[0-9]{2}:[0-9]{2}");
    EXPECT_TRUE(std::regex_search(LineOf(copied, "Final Fight"), once)) << copied;
    EXPECT_TRUE(std::regex_search(LineOf(copied, "Three Wonders"), once)) << copied;
    const PlayHistory final = ReadPlayHistory("FFIGHT", settingsKey());
    EXPECT_EQ(final.runs, 1);
    EXPECT_GE(final.seconds, 1);  // the stand-in ran a second after its files
    EXPECT_EQ(final.snapshots, (std::vector<std::string>{shot(0), shot(1)}));
    EXPECT_EQ(ReadPlayHistory("3wonders", settingsKey()).snapshots,
              std::vector<std::string>{shot(2)});

    // Three Wonders is current: all snapshots first, then its own.
    main->PcxView();
    settle();
    refill();
    EXPECT_EQ(Choices(viewer().CB_SHOW),
              (std::vector<std::string>{"All snapshots", "Three Wonders only"}));
    EXPECT_EQ(ListIndex(viewer().CB_SHOW), 0);
    EXPECT_EQ(ListBoxItems(viewer().LB),
              (std::vector<std::string>{"Snap0000.Pcx", "Snap0001.Pcx", "Snap0002.Pcx"}));
    choose(1);
    EXPECT_EQ(ListBoxItems(viewer().LB), std::vector<std::string>{"Snap0002.Pcx"});

    // Another current game: the choice names it and lists its files.
    select("Final Fight");
    refill();
    EXPECT_EQ(Choices(viewer().CB_SHOW),
              (std::vector<std::string>{"All snapshots", "Final Fight only"}));
    EXPECT_EQ(ListIndex(viewer().CB_SHOW), 1);
    EXPECT_EQ(ListBoxItems(viewer().LB),
              (std::vector<std::string>{"Snap0000.Pcx", "Snap0001.Pcx"}));

    // Deleted in the filtered list: gone from the folder and from the record.
    SendMessageA(viewer().LB, LB_SETSEL, TRUE, 0);
    viewer().DelPic();
    EXPECT_EQ(ListBoxItems(viewer().LB), std::vector<std::string>{"Snap0001.Pcx"});
    EXPECT_FALSE(FileExists(shot(0)));
    EXPECT_EQ(ReadPlayHistory("FFIGHT", settingsKey()).snapshots,
              std::vector<std::string>{shot(1)});
    choose(0);
    EXPECT_EQ(ListBoxItems(viewer().LB),
              (std::vector<std::string>{"Snap0001.Pcx", "Snap0002.Pcx"}));

    // Three Wonders' snapshot deleted outside, unseen; the next run writes
    // files of the same names (Snap0000 and Snap0002): they are Final Fight's alone.
    DeleteFileA(shot(2).c_str());
    viewer().HideProc();
    play("Final Fight", 2);
    EXPECT_EQ(ReadPlayHistory("FFIGHT", settingsKey()).snapshots,
              (std::vector<std::string>{shot(1), shot(0), shot(2)}));
    EXPECT_TRUE(ReadPlayHistory("3wonders", settingsKey()).snapshots.empty());
    const std::regex twice("played 2 times, [0-9]+ s, last ");
    EXPECT_TRUE(std::regex_search(LineOf(copiedList(), "Final Fight"), twice));
}

TEST_F(PlayHistoryTest, AFolderThatCannotBeListedKeepsTheGamesSnapshots) {
    play("Final Fight", 2);
    main->PcxView();
    settle();
    choose(1);
    ASSERT_EQ(ListBoxItems(viewer().LB),
              (std::vector<std::string>{"Snap0000.Pcx", "Snap0001.Pcx"}));
    // The folder is gone for a moment (a drive unplugged, a share down).
    const std::string away = emu + "\\Pcx-away";
    ASSERT_TRUE(MoveFileA((emu + "\\Pcx").c_str(), away.c_str()));
    refill();
    EXPECT_TRUE(ListBoxItems(viewer().LB).empty());
    EXPECT_EQ(viewer().L_INFO->caption(), "Cannot list the snapshot folder");
    EXPECT_EQ(ReadPlayHistory("FFIGHT", settingsKey()).snapshots.size(), 2u);

    ASSERT_TRUE(MoveFileA(away.c_str(), (emu + "\\Pcx").c_str()));
    refill();
    EXPECT_EQ(ListBoxItems(viewer().LB),
              (std::vector<std::string>{"Snap0000.Pcx", "Snap0001.Pcx"}));
    EXPECT_EQ(viewer().L_INFO->caption(), "READY");
    EXPECT_EQ(ReadPlayHistory("FFIGHT", settingsKey()).snapshots,
              (std::vector<std::string>{shot(0), shot(1)}));
}

TEST_F(PlayHistoryTest, ALaunchWhoseEmulatorDidNotRunAddsNothing) {
    main->commandInterpreter = emu + "\\no-such-interpreter.exe";
    play("Final Fight", 1);
    EXPECT_FALSE(messages.empty());  // the launch said why
    const PlayHistory history = ReadPlayHistory("FFIGHT", settingsKey());
    EXPECT_EQ(history.runs, 0);
    EXPECT_FALSE(history.lastRun);
    EXPECT_NE(LineOf(copiedList(), "Final Fight").find(" - never played"), std::string::npos);

    // The next launch that runs counts once, not twice.
    main->commandInterpreter = CommandInterpreter();
    play("Final Fight", 1);
    EXPECT_EQ(ReadPlayHistory("FFIGHT", settingsKey()).runs, 1);
}

TEST_F(PlayHistoryTest, UnreadableHistoryReadsAsNoneAndARunWritesItAfresh) {
    const std::string key = settingsKey() + "\\FFIGHT";
    HKEY game = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                              nullptr, &game, nullptr),
              ERROR_SUCCESS);
    const DWORD number = 7;
    RegSetValueExA(game, "Played_Runs", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number),
                   sizeof number);
    RegSetValueExA(game, "Played_Seconds", 0, REG_SZ, reinterpret_cast<const BYTE*>("-40"), 4);
    RegSetValueExA(game, "Played_Last", 0, REG_SZ,
                   reinterpret_cast<const BYTE*>("2026-02-30 10:00:00"), 20);
    RegSetValueExA(game, "Played_Snaps", 0, REG_BINARY, reinterpret_cast<const BYTE*>("ab"), 2);
    RegCloseKey(game);

    const PlayHistory none = ReadPlayHistory("FFIGHT", settingsKey());
    EXPECT_EQ(none.runs, 0);
    EXPECT_EQ(none.seconds, 0);
    EXPECT_FALSE(none.lastRun);
    EXPECT_TRUE(none.snapshots.empty());
    EXPECT_NE(LineOf(copiedList(), "Final Fight").find(" - never played"), std::string::npos);
    // A game never played has no key made for it by reading.
    HKEY absent = nullptr;
    ReadPlayHistory("NOSUCHGAME", settingsKey());
    EXPECT_NE(RegOpenKeyExA(HKEY_CURRENT_USER, (settingsKey() + "\\NOSUCHGAME").c_str(), 0,
                            KEY_READ, &absent),
              ERROR_SUCCESS);

    messages.clear();
    play("Final Fight", 1);
    EXPECT_TRUE(messages.empty());
    const PlayHistory played = ReadPlayHistory("FFIGHT", settingsKey());
    EXPECT_EQ(played.runs, 1);
    EXPECT_TRUE(played.lastRun);
    EXPECT_EQ(played.snapshots, std::vector<std::string>{shot(0)});
}

}  // namespace
}  // namespace qv
