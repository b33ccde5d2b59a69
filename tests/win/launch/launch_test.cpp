// Launches of real games under Wine, the stand-in emulator playing Ravlen:
// what it was given, what it saw, and what is left afterwards.
#include <cstdint>
#include <fstream>
#include <map>
#include <sstream>
#include <string>

#include "../app/shell_fixture_win.h"
#include "../components/child_programs_win.h"
#include "../../shared/stored_zip.h"
#include "util/files_win.h"

namespace qv {
namespace {

using test::Files;
using test::StoredZip;

class LaunchTest : public ShellTest {
protected:
    void SetUp() override {
        ShellTest::SetUp();
        SetEnvironmentVariableA("RAVLEN_STANDIN_NO_WINDOW", "1");
        emu = test::NewScratchFolder("qv-launch");
        CreateDirectoryA((emu + "\\Saves").c_str(), nullptr);
        CreateDirectoryA((emu + "\\Pcx").c_str(), nullptr);
        createMain();
        main->settings.L_SF = emu + "\\Saves";
        main->settings.L_PF = emu + "\\Pcx";
        main->seams.freeSpaceKb = [this] { return std::optional<std::uint64_t>(freeKb); };
        main->seams.reportArchiveError = [this](const std::string& text, const std::string& caption) {
            archiveErrors.push_back(caption + ": " + text);
        };
    }
    void TearDown() override {
        ShellTest::TearDown();
        DeleteTree(emu);
    }

    void write(const std::string& name, const std::string& data) {
        test::WriteText(emu + "\\" + name, data);
    }
    std::string read(const std::string& name) const { return test::ReadText(emu + "\\" + name); }
    void unzippedEmulator() {
        CopyFileA(test::RavlenExe().c_str(), (emu + "\\ravlen.exe").c_str(), FALSE);
    }
    void zippedEmulator() {
        write("Rvl023.zip", StoredZip({{"ravlen.exe", test::ReadText(test::RavlenExe())}}));
    }
    void gameFolder(const std::string& id, const Files& files) {
        CreateDirectoryA((emu + "\\" + id).c_str(), nullptr);
        for (const auto& [name, data] : files)
            write(id + "\\" + name, data);
    }

    // Scans, then clicks the game's button twice: select, then launch.
    void play(const std::string& title) {
        main->settings.L_CAL = emu;
        main->GamesCheck();
        GameButton* button = nullptr;
        for (const auto& b : ui().games.buttons()) {
            if (b->caption() == title) button = b.get();
        }
        ASSERT_NE(button, nullptr) << title << " not found";
        SendMessageA(button->hwnd(), BM_CLICK, 0, 0);
        SendMessageA(button->hwnd(), BM_CLICK, 0, 0);
    }
    std::string witness() const { return read("Saves\\ravlen-witness.txt"); }

    void expectCleanedUp() {
        EXPECT_FALSE(FileExists(main->tempNames().optionsFile));
        EXPECT_FALSE(FolderExists(main->tempNames().tempFolder));
        EXPECT_FALSE(main->session.run.running);
        EXPECT_TRUE(IsWindowEnabled(main->hwnd()));
        EXPECT_FALSE(IsWindowVisible(main->wait().hwnd()));
    }

    std::string emu;
    std::uint64_t freeKb = 1u << 30;
    std::vector<std::string> archiveErrors;
};

TEST_F(LaunchTest, AFolderGameWithAnUnzippedEmulatorRunsInTheEmulatorFolder) {
    unzippedEmulator();
    gameFolder("Knights", {{"kr_23e.rom", "rom"}});
    write("RaVlEn.InI", "old settings");
    play("Knights of the Round");
    const std::string seen = witness();
    ASSERT_FALSE(seen.empty()) << "the emulator did not run";
    EXPECT_NE(seen.find("current directory: " + emu), std::string::npos) << seen;
    EXPECT_NE(seen.find(emu + "\\ravlen.exe @\""), std::string::npos) << seen;
    EXPECT_NE(seen.find("Quarvel.InI\" Knights"), std::string::npos) << seen;
    EXPECT_NE(
        seen.find("option: ; Quarvel v1.01 - Ravlen v0.23 Configuration for Knights of the Round"),
        std::string::npos);
    EXPECT_TRUE(read("RaVlEn.InI").empty());  // the emulator's own settings are gone
    expectCleanedUp();
    EXPECT_TRUE(messages.empty()) << messages[0];
    EXPECT_EQ(ui().PA.L_PFF->caption(), "1 File(s)");
    EXPECT_EQ(ui().PA.L_SFF->caption(), "1 File(s)");
    EXPECT_TRUE(IsWindowEnabled(ui().PP.hwnd()));  // the click handler shows the players again
}

TEST_F(LaunchTest, AZippedGameRunsACopyOfTheEmulatorInTheTempFolder) {
    unzippedEmulator();
    write("MSword.ZIP", StoredZip({{"ms_30.rom", "rom"}}));
    play("Magic Sword");
    const std::string seen = witness();
    const std::string temp = main->tempNames().tempFolder;
    EXPECT_NE(seen.find("current directory: " + temp), std::string::npos) << seen;
    EXPECT_NE(seen.find(temp + "\\ravlen.exe @\""), std::string::npos) << seen;
    expectCleanedUp();
    EXPECT_EQ(ui().PA.L_PFF->caption(), "1 File(s)");
}

TEST_F(LaunchTest, AZippedEmulatorIsUnpackedIntoTheTempFolder) {
    zippedEmulator();
    gameFolder("Knights", {{"kr_23e.rom", "rom"}});
    play("Knights of the Round");
    const std::string seen = witness();
    EXPECT_NE(seen.find("current directory: " + emu), std::string::npos) << seen;
    EXPECT_NE(seen.find(main->tempNames().tempFolder + "\\ravlen.exe @\""), std::string::npos)
        << seen;
    EXPECT_TRUE(messages.empty());
    expectCleanedUp();
}

const Files kStreetFighterFolder = {{"SF2.21", "T21"},   {"SF2.22", "T22"},   {"SF2.23", "T23"},
                                    {"Sf2Ce.21", "CE1"}, {"Sf2Ce.22", "CE2"}, {"Sf2Ce.23", "CE3"}};

TEST_F(LaunchTest, StreetFighterCeInAFolderRunsOnItsOwnFilesAndPutsEveryNameBack) {
    unzippedEmulator();
    gameFolder("SF2t", kStreetFighterFolder);
    play("Street Fighter 2 CE");
    const std::string seen = witness();
    EXPECT_NE(seen.find("rom SF2.21: 3 bytes, starts 43 45 31"), std::string::npos)
        << seen;  // "CE1"
    EXPECT_NE(seen.find("rom SF2.23: 3 bytes, starts 43 45 33"), std::string::npos) << seen;
    for (const auto& [name, data] : kStreetFighterFolder)
        EXPECT_EQ(read("SF2t\\" + name), data) << name;
    EXPECT_FALSE(FileExists(emu + "\\SF2t\\_SF2.21"));
    expectCleanedUp();
}

TEST_F(LaunchTest, StreetFighterCeFromArchivesSwapsInTheTempFolderOnly) {
    unzippedEmulator();
    write("sf2t.ZIP", StoredZip({{"SF2.21", "T21"}, {"SF2.22", "T22"}, {"SF2.23", "T23"}}));
    write("sf2ce.ZIP", StoredZip({{"Sf2Ce.21", "CE1"}, {"Sf2Ce.22", "CE2"}, {"Sf2Ce.23", "CE3"}}));
    play("Street Fighter 2 CE");
    const std::string seen = witness();
    EXPECT_NE(seen.find("rom SF2.22: 3 bytes, starts 43 45 32"), std::string::npos) << seen;
    EXPECT_TRUE(messages.empty());
    expectCleanedUp();
}

TEST_F(LaunchTest, TooLittleSpaceForZippedRomsOrAZippedEmulatorIsRefused) {
    zippedEmulator();
    write("MSword.ZIP", StoredZip({{"ms_30.rom", "rom"}}));
    gameFolder("Knights", {{"kr_23e.rom", "rom"}});
    freeKb = 11263;
    play("Magic Sword");
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(
        messages[0],
        "You Need At Least 11264Kb of free space on Windows Drive to Use Zipped ROMS with Quarvel");
    EXPECT_FALSE(FileExists(main->tempNames().optionsFile));
    freeKb = 259;
    play("Knights of the Round");
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(
        messages[1],
        "You Need At Least 260Kb of free space on Windows Drive to Use Zipped Ravlen with Quarvel");
    EXPECT_TRUE(witness().empty());
    freeKb = 11264;
    play("Magic Sword");
    EXPECT_FALSE(witness().empty());
    expectCleanedUp();
}

TEST_F(LaunchTest, AFolderGameWithAnUnzippedEmulatorNeedsNoFreeSpace) {
    unzippedEmulator();
    gameFolder("Knights", {{"kr_23e.rom", "rom"}});
    freeKb = 0;
    play("Knights of the Round");
    EXPECT_FALSE(witness().empty());
    EXPECT_TRUE(messages.empty());
}

TEST_F(LaunchTest, ADamagedArchiveStopsTheLaunchWithItsMessage) {
    unzippedEmulator();
    std::string zip = StoredZip({{"ms_30.rom", "good rom data"}});
    zip[zip.size() - 2] ^= 0x55;
    write("MSword.ZIP", zip);
    play("Magic Sword");
    ASSERT_EQ(archiveErrors.size(), 1u);
    EXPECT_EQ(archiveErrors[0], "Archive error..: CRC error in ms_30.rom");
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], " " + emu + "\\MSword.ZIP DAMAGED! ");
    EXPECT_TRUE(witness().empty());
    EXPECT_TRUE(IsWindowEnabled(main->hwnd()));
    EXPECT_FALSE(IsWindowVisible(main->wait().hwnd()));
}

TEST_F(LaunchTest, ARenameThatFailsLeavesNothingRenamed) {
    unzippedEmulator();
    Files files = kStreetFighterFolder;
    files.erase("Sf2Ce.22");
    gameFolder("SF2t", files);
    play("Street Fighter 2 CE");
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], "I CAN'T RUN Street Fighter 2 CE");
    for (const auto& [name, data] : files)
        EXPECT_EQ(read("SF2t\\" + name), data) << name;
    EXPECT_FALSE(FileExists(emu + "\\SF2t\\_SF2.21"));
    EXPECT_TRUE(witness().empty());
}

TEST_F(LaunchTest, AnInterpreterThatCannotStartIsReportedAndEverythingIsPutBack) {
    unzippedEmulator();
    gameFolder("SF2t", kStreetFighterFolder);
    main->commandInterpreter = "Command.com";  // there is none under Wine
    play("Street Fighter 2 CE");
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], main->AE.ErrorText());
    for (const auto& [name, data] : kStreetFighterFolder)
        EXPECT_EQ(read("SF2t\\" + name), data) << name;
    expectCleanedUp();
}

HWND closeTarget;
void CALLBACK PostCloseRequest(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    PostMessageA(closeTarget, WM_CLOSE, 0, 0);
}

TEST_F(LaunchTest, ACloseRequestWhileTheEmulatorRunsIsRefused) {
    SetEnvironmentVariableA("RAVLEN_STANDIN_NO_WINDOW", nullptr);  // it stays a few seconds
    unzippedEmulator();
    gameFolder("Knights", {{"kr_23e.rom", "rom"}});
    closeTarget = main->hwnd();
    const UINT_PTR timer = SetTimer(nullptr, 0, 1500, &PostCloseRequest);
    play("Knights of the Round");
    KillTimer(nullptr, timer);
    EXPECT_TRUE(IsWindow(main->hwnd()));
    EXPECT_TRUE(exitCodes.empty());
    EXPECT_FALSE(witness().empty());
    SendMessageA(main->hwnd(), WM_CLOSE, 0, 0);
    EXPECT_EQ(exitCodes, std::vector<int>{0});
}

// Everything a user can start from the main window, tried while the emulator
// runs: the window takes no input then, but posted clicks still arrive.
HWND mainWindow;
std::vector<HWND> clickTargets;
void CALLBACK ClickEverything(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    for (HWND target : clickTargets) {
        PostMessageA(GetParent(target), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(target), BN_CLICKED),
                     reinterpret_cast<LPARAM>(target));
    }
    PostMessageA(mainWindow, WM_CLOSE, 0, 0);
}

TEST_F(LaunchTest, NothingTheUserClicksDuringALaunchStartsOrChangesAnything) {
    SetEnvironmentVariableA("RAVLEN_STANDIN_SECONDS", "2");
    unzippedEmulator();
    write("MSword.ZIP", StoredZip({{"ms_30.rom", "rom"}}));
    gameFolder("Knights", {{"kr_23e.rom", "rom"}});
    main->settings.L_CAL = emu;
    main->GamesCheck();
    ASSERT_EQ(ui().games.buttons().size(), 2u);
    GameButton* knights = ui().games.buttons()[0].get();
    GameButton* sword = ui().games.buttons()[1].get();
    int picks = 0;
    main->seams.pickFolder = [&picks](const std::string&) -> std::optional<std::string> {
        ++picks;
        return std::nullopt;
    };
    mainWindow = main->hwnd();
    clickTargets = {ui().B_R, ui().B_1, sword->hwnd(), knights->hwnd(), ui().PA.B_2, ui().PA.B_3};
    SendMessageA(sword->hwnd(), BM_CLICK, 0, 0);
    const UINT_PTR timer = SetTimer(nullptr, 0, 700, &ClickEverything);
    SendMessageA(sword->hwnd(), BM_CLICK, 0, 0);
    KillTimer(nullptr, timer);
    SetEnvironmentVariableA("RAVLEN_STANDIN_SECONDS", nullptr);

    EXPECT_EQ(ListFiles(emu + "\\Pcx", "Snap*.Pcx", "AHR").size(), 1u);
    EXPECT_EQ(picks, 0);
    EXPECT_TRUE(IsWindow(main->hwnd()));
    EXPECT_TRUE(exitCodes.empty());
    ASSERT_EQ(ui().games.buttons().size(), 2u);  // no re-scan made new buttons
    EXPECT_EQ(ui().games.buttons()[1].get(), sword);
    EXPECT_EQ(main->session.run.selectedGameId, "MSword");
    EXPECT_EQ(ui().games.lastClicked, sword);
    settle();  // the clicks posted during the run are gone with it
    EXPECT_EQ(ListFiles(emu + "\\Pcx", "Snap*.Pcx", "AHR").size(), 1u);
    EXPECT_EQ(main->session.run.selectedGameId, "MSword");
    expectCleanedUp();
}

}  // namespace
}  // namespace qv
