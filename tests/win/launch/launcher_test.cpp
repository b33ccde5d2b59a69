// The launch driven through a host made for the test: the steps it shows, and
// the one-at-a-time rule that keeps click bursts from starting a second run.
#include <gtest/gtest.h>

#include "launch/rename_journal.h"
#include "test_host_win.h"

namespace qv {
namespace {

using test::StoredZip;
using test::TestHost;

TEST(Launcher, AZippedVariantWithAZippedEmulatorShowsEveryStepAndRunsOnce) {
    TestHost host;
    host.zippedEmulator();
    host.write("sf2t.ZIP", StoredZip({{"SF2.21", "T21"}, {"SF2.22", "T22"}, {"SF2.23", "T23"}}));
    host.write("sf2ce.ZIP",
               StoredZip({{"Sf2Ce.21", "CE1"}, {"Sf2Ce.22", "CE2"}, {"Sf2Ce.23", "CE3"}}));
    host.current = {"SF2t", "RSF2 Sf2Ce", "ZIP", "sf2.*;sf2ce.*", "Street Fighter 2 CE"};
    Launcher launcher;
    // Whatever arrives while the launch handles messages, a second launch among it,
    // starts nothing.
    std::vector<bool> underWay;
    host.onStep = [&] {
        underWay.push_back(launcher.underWay());
        launcher.RunRavlen(host, host.system);
    };
    launcher.RunRavlen(host, host.system);

    const std::vector<std::string> expected = {"info: Street Fighter 2 CE",
                                               "Loading...",
                                               "shown",
                                               "Unzipping...",
                                               "Unzipping....",
                                               "Set Ravlen...",
                                               "Playing...",
                                               "running",
                                               "ended",
                                               "Cleaning...",
                                               "hidden",
                                               "run ended"};
    EXPECT_EQ(host.events, expected);
    EXPECT_EQ(underWay, std::vector<bool>(6, true));
    EXPECT_FALSE(launcher.underWay());
    EXPECT_EQ(host.runs(), 1u);
    EXPECT_NE(host.witness().find("rom SF2.21: 3 bytes, starts 43 45 31"), std::string::npos);
    EXPECT_FALSE(FolderExists(host.tempNames().tempFolder));

    // Once it has ended, the next launch runs.
    host.onStep = nullptr;
    launcher.RunRavlen(host, host.system);
    EXPECT_EQ(host.runs(), 2u);
}

TEST(Launcher, AnEmulatorFolderWithBlanksInItsPathRunsTheEmulator) {
    TestHost host("qv my arcade");
    host.unzippedEmulator();
    host.gameFolder("FFIGHT", {{"ff30-36.bin", "rom"}});
    host.current = {"FFIGHT", "NONE", "DIR", "ff*.*", "Final Fight"};
    Launcher launcher;
    launcher.RunRavlen(host, host.system);
    EXPECT_NE(host.witness().find("current directory: " + host.emu + "\r\n"), std::string::npos);
    EXPECT_NE(host.witness().find("game id: FFIGHT"), std::string::npos);
    EXPECT_EQ(host.events.back(), "run ended");

    // A zipped game runs a copy in the temp folder, whose path has no blank.
    host.write("ffightJ.ZIP", StoredZip({{"ff36.bin", "rom"}}));
    host.current = {"FFIGHTJ", "NONE", "ZIP", "ff*.*", "Final Fight (JAP)"};
    launcher.RunRavlen(host, host.system);
    EXPECT_NE(host.witness().find("game id: FFIGHTJ"), std::string::npos);
    EXPECT_EQ(host.runs(), 2u);
}

TEST(Launcher, AnEmulatorTheInterpreterCannotFindIsReportedWithTheCommand) {
    TestHost host("qv my arcade");
    host.unzippedEmulator();
    DeleteFileA((host.emu + "\\ravlen.exe").c_str());  // gone since the scan
    host.gameFolder("FFIGHT", {{"ff30-36.bin", "rom"}});
    host.current = {"FFIGHT", "NONE", "DIR", "ff*.*", "Final Fight"};
    Launcher launcher;
    launcher.RunRavlen(host, host.system);
    const std::string command = host.processRunner().ExeName();
    EXPECT_NE(command.find(host.emu + "\\ravlen.exe"), std::string::npos);
    // Told, then cleaned up as after any run: the options panel and the counters come back.
    const std::vector<std::string> end = {
        "running",     "ended",  "message: I CAN'T START RAVLEN WITH\r\n" + command,
        "Cleaning...", "hidden", "run ended"};
    ASSERT_GE(host.events.size(), end.size());
    EXPECT_EQ(std::vector<std::string>(host.events.end() - end.size(), host.events.end()), end);
    EXPECT_FALSE(FolderExists(host.tempNames().tempFolder));
}

// The system ends the emulator as it starts (a library that cannot
// initialise): the real cmd.exe hands its status on, and the launch says so.
TEST(Launcher, AnEmulatorTheSystemEndsAsItStartsIsReportedWithTheStatus) {
    TestHost host;
    host.unzippedEmulator();
    host.write("ffightJ.ZIP", StoredZip({{"ff36.bin", "rom"}}));
    host.current = {"FFIGHTJ", "NONE", "ZIP", "ff*.*", "Final Fight (JAP)"};
    SetEnvironmentVariableA("RAVLEN_STANDIN_STATUS", "0xC0000142");
    Launcher launcher;
    const LaunchOutcome outcome = launcher.RunRavlen(host, host.system);
    SetEnvironmentVariableA("RAVLEN_STANDIN_STATUS", nullptr);
    EXPECT_EQ(outcome, LaunchOutcome::kNotStarted);
    const std::string command = host.processRunner().ExeName();
    const std::vector<std::string> end = {"running",
                                          "ended",
                                          "message: I CAN'T RUN RAVLEN WITH\r\n" + command +
                                              "\r\nTHE SYSTEM ENDED IT WITH CODE 0xC0000142",
                                          "Cleaning...",
                                          "hidden",
                                          "run ended"};
    ASSERT_GE(host.events.size(), end.size());
    EXPECT_EQ(std::vector<std::string>(host.events.end() - end.size(), host.events.end()), end);
    EXPECT_EQ(host.runs(), 0u);
    EXPECT_FALSE(FolderExists(host.tempNames().tempFolder));
}

// A launch that cannot write what the run needs stops with one message each
// and never runs the emulator on what is missing or cut short.
TEST(Launcher, WhatCannotBeWrittenStopsTheLaunch) {
    TestHost host;
    host.unzippedEmulator();
    host.write("MSword.ZIP", StoredZip({{"ms_30.rom", "rom 30"}, {"ms_35.rom", "rom 35"}}));
    host.current = {"MSword", "NONE", "ZIP", "*.*", "Magic Sword"};
    const std::string temp = host.tempNames().tempFolder;
    Launcher launcher;

    // An unpacked ROM whose file another program holds open.
    CreateFolderPath(temp + "\\MSword");
    test::WriteText(temp + "\\MSword\\ms_35.rom", "held");
    HANDLE held = CreateFileA((temp + "\\MSword\\ms_35.rom").c_str(), GENERIC_READ, 0, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    launcher.RunRavlen(host, host.system);
    CloseHandle(held);
    const std::vector<std::string> unpacking = {
        "Unzipping...",
        "archive: Unable to extract... Couldn't write " + temp + "\\MSword\\ms_35.rom",
        "message:  " + host.emu + "\\MSword.ZIP DAMAGED! ", "hidden"};
    EXPECT_EQ(std::vector<std::string>(host.events.begin() + 3, host.events.end()), unpacking);

    // A file where the temp folder should be.
    host.events.clear();
    DeleteTree(temp);
    test::WriteText(temp, "in the way");
    launcher.RunRavlen(host, host.system);
    DeleteFileA(temp.c_str());
    ASSERT_EQ(host.events.size(), 5u);
    EXPECT_EQ(host.events[3], "message: I CAN'T WRITE " + temp + "\\MSword");
    EXPECT_EQ(host.runs(), 0u);
}

const test::Files kStreetFighterFolder = {{"SF2.21", "T21"},   {"SF2.22", "T22"},
                                          {"SF2.23", "T23"},   {"Sf2Ce.21", "CE1"},
                                          {"Sf2Ce.22", "CE2"}, {"Sf2Ce.23", "CE3"}};

TEST(Launcher, TheRenamesAreWrittenDownWhileTheyStandAndForgottenAfter) {
    TestHost host;
    host.unzippedEmulator();
    host.gameFolder("SF2t", kStreetFighterFolder);
    host.current = {"SF2t", "RSF2 Sf2Ce", "DIR", "sf2.*;sf2ce.*", "Street Fighter 2 CE"};
    const std::string journal = host.tempNames().renameJournal;
    std::optional<RenameJournal> during;
    host.onStep = [&] {
        if (host.events.back() == "Playing...") during = ReadJournal(host.system, journal).journal;
    };
    Launcher launcher;
    launcher.RunRavlen(host, host.system);
    ASSERT_TRUE(during);
    EXPECT_EQ(during->folder, host.emu + "\\SF2t");
    EXPECT_EQ(during->putBack, RestoreRenames("Sf2Ce"));
    EXPECT_FALSE(FileExists(journal));
    for (const auto& [name, data] : kStreetFighterFolder)
        EXPECT_EQ(host.read("SF2t\\" + name), data) << name;
}

// A front end ended while the emulator ran, at every point of the renames:
// the next start puts every name back and forgets the journal.
TEST(LeftRenames, AreAllPutBackAtStartWhereverTheyStood) {
    TestHost host;
    const TempNames& names = host.tempNames();
    const std::string folder = host.emu + "\\SF2t";
    const std::vector<Rename> forward = VariantRenames("Sf2Ce");
    const std::vector<Rename> back = RestoreRenames("Sf2Ce");
    for (std::size_t made = 0; made <= 6; ++made) {
        for (std::size_t restored :
             made == 6 ? std::vector<std::size_t>{0, 2, 4, 6} : std::vector<std::size_t>{0}) {
            DeleteTree(folder);
            host.gameFolder("SF2t", kStreetFighterFolder);
            ASSERT_TRUE(WriteJournal(host.system, names.renameJournal, {folder, back}));
            for (std::size_t i = 0; i < made; ++i)
                MoveFileA((folder + "\\" + forward[i].first).c_str(),
                          (folder + "\\" + forward[i].second).c_str());
            for (std::size_t i = 0; i < restored; ++i)
                MoveFileA((folder + "\\" + back[i].first).c_str(),
                          (folder + "\\" + back[i].second).c_str());
            std::vector<std::string> messages;
            PutBackLeftRenames(names, host.system,
                               [&](const std::string& m) { messages.push_back(m); });
            EXPECT_TRUE(messages.empty()) << made << "/" << restored;
            EXPECT_FALSE(FileExists(names.renameJournal));
            EXPECT_EQ(ListFiles(folder, "*", "AHR").size(), 6u);
            for (const auto& [name, data] : kStreetFighterFolder)
                EXPECT_EQ(host.read("SF2t\\" + name), data)
                    << made << "/" << restored << " " << name;
        }
    }
}

TEST(LeftRenames, ANameThatCannotBePutBackIsToldOnceAndTheJournalKept) {
    TestHost host;
    const TempNames& names = host.tempNames();
    const std::string folder = host.emu + "\\SF2t";
    host.gameFolder("SF2t", kStreetFighterFolder);
    ASSERT_TRUE(WriteJournal(host.system, names.renameJournal, {folder, RestoreRenames("Sf2Ce")}));
    for (const Rename& rename : VariantRenames("Sf2Ce"))
        MoveFileA((folder + "\\" + rename.first).c_str(), (folder + "\\" + rename.second).c_str());
    host.write("SF2t\\Sf2Ce.22", "put there meanwhile");
    std::vector<std::string> messages;
    auto record = [&](const std::string& m) { messages.push_back(m); };
    PutBackLeftRenames(names, host.system, record);
    EXPECT_EQ(messages,
              std::vector<std::string>{CantPutBackMessage(folder, {"_SF2.22", "SF2.22"})});
    EXPECT_TRUE(FileExists(names.renameJournal));
    EXPECT_EQ(host.read("SF2t\\_SF2.22"), "T22");  // nothing lost

    // Once the way is clear, the next start finishes the work.
    DeleteFileA((folder + "\\Sf2Ce.22").c_str());
    messages.clear();
    PutBackLeftRenames(names, host.system, record);
    EXPECT_TRUE(messages.empty());
    EXPECT_FALSE(FileExists(names.renameJournal));
    for (const auto& [name, data] : kStreetFighterFolder)
        EXPECT_EQ(host.read("SF2t\\" + name), data) << name;

    // A journal damaged beyond reading is dropped without touching anything.
    test::WriteText(names.renameJournal, "Quarvel renames\r\n");
    PutBackLeftRenames(names, host.system, record);
    EXPECT_TRUE(messages.empty());
    EXPECT_FALSE(FileExists(names.renameJournal));
}

// Only a missing name is "not there"; a look that fails otherwise (here a name
// Windows refuses, as a locked folder or a drive that does not answer fails)
// cannot tell, and a journal whose folder cannot be looked at stays, untold.
TEST(LeftRenames, AFolderThatCannotBeLookedAtKeepsTheJournal) {
    TestHost host;
    WinLaunchSystem& system = host.system;
    host.write("seen.txt", "here");
    EXPECT_EQ(system.filePresence(host.emu + "\\seen.txt"), Presence::kThere);
    EXPECT_EQ(system.folderPresence(host.emu + "\\seen.txt"), Presence::kNotThere);
    EXPECT_EQ(system.folderPresence(host.emu), Presence::kThere);
    EXPECT_EQ(system.filePresence(host.emu), Presence::kNotThere);
    EXPECT_EQ(system.filePresence(host.emu + "\\missing.txt"), Presence::kNotThere);
    EXPECT_EQ(system.filePresence(host.emu + "\\no folder\\missing.txt"), Presence::kNotThere);
    const std::string refused = host.emu + "\\SF2<t";
    EXPECT_EQ(system.filePresence(refused + "\\SF2.21"), Presence::kCannotTell);
    EXPECT_EQ(system.folderPresence(refused), Presence::kCannotTell);

    const TempNames& names = host.tempNames();
    ASSERT_TRUE(WriteJournal(system, names.renameJournal, {refused, RestoreRenames("Sf2Ce")}));
    std::vector<std::string> messages;
    EXPECT_FALSE(
        PutBackLeftRenames(names, system, [&](const std::string& m) { messages.push_back(m); }));
    EXPECT_TRUE(messages.empty());
    EXPECT_TRUE(FileExists(names.renameJournal));
    DeleteFileA(names.renameJournal.c_str());
}

}  // namespace
}  // namespace qv
