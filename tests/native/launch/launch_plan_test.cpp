// The launch plan: free-space refusals, paths, Street Fighter 2 swaps and
// the command line.
#include <gtest/gtest.h>

#include <map>
#include <stdexcept>
#include <string>

#include "launch/launch_plan.h"

namespace qv {
namespace {

CurrentGame Stored(std::string_view romStorage, std::string_view marker = "NONE") {
    return CurrentGame{"FFIGHT", std::string(marker), std::string(romStorage), "ff*.*",
                       "Final Fight"};
}

// A table row as its game button hands it to the launch.
CurrentGame Clicked(std::string_view title) {
    for (const GameRecord& game : GameTable()) {
        if (game.title == title) return CurrentGameOf(game, RomStorage::kArchives);
    }
    throw std::runtime_error("no such game");
}

TEST(LaunchPlan, FreeSpaceRefusalsAndTheirThresholds) {
    const std::string roms =
        "You Need At Least 11264Kb of free space on Windows Drive to Use Zipped ROMS with Quarvel";
    const std::string emulator =
        "You Need At Least 260Kb of free space on Windows Drive to Use Zipped Ravlen with Quarvel";
    EXPECT_EQ(FreeSpaceRefusal(Stored("ZIP"), "DIR", 11263), roms);
    EXPECT_EQ(FreeSpaceRefusal(Stored("ZIP"), "DIR", 11264), std::nullopt);
    EXPECT_EQ(FreeSpaceRefusal(Stored("DIR"), "ZIP", 259), emulator);
    EXPECT_EQ(FreeSpaceRefusal(Stored("DIR"), "ZIP", 260), std::nullopt);
    EXPECT_EQ(FreeSpaceRefusal(Stored("DIR"), "DIR", 0), std::nullopt);
    // Both zipped: the ROM rule is asked first.
    EXPECT_EQ(FreeSpaceRefusal(Stored("ZIP"), "ZIP", 259), roms);
    EXPECT_EQ(FreeSpaceRefusal(Stored("ZIP"), "ZIP", 11264), std::nullopt);
}

TEST(LaunchPlan, PathsForEveryStorageWithAndWithoutATrailingBackslash) {
    const std::string temp = "C:\\WINDOWS\\TEMP\\QV95-TMP";
    for (const std::string emu : {"C:\\EMU", "C:\\EMU\\"}) {
        SCOPED_TRACE(emu);
        struct Case {
            const char* emulator;
            const char* roms;
            std::string exe, work;
        };
        for (const Case& c : {Case{"DIR", "DIR", emu, emu}, Case{"DIR", "ZIP", temp, temp},
                              Case{"ZIP", "DIR", temp, emu}, Case{"ZIP", "ZIP", temp, temp}}) {
            SCOPED_TRACE(std::string(c.emulator) + "/" + c.roms);
            const LaunchPaths p = MakeLaunchPaths(Stored(c.roms), c.emulator, emu, temp);
            EXPECT_EQ(p.gameTemp, "C:\\WINDOWS\\TEMP\\QV95-TMP\\FFIGHT");
            EXPECT_EQ(p.gameFolder, "C:\\EMU\\FFIGHT");
            EXPECT_EQ(p.gameArchive, "C:\\EMU\\FFIGHT.ZIP");
            EXPECT_EQ(p.emulatorArchive, "C:\\EMU\\Rvl023.zip");
            EXPECT_EQ(p.emulatorSettings, "C:\\EMU\\RaVlEn.InI");
            EXPECT_EQ(p.exeFolder, c.exe);
            EXPECT_EQ(p.workFolder, c.work);
        }
    }
    // Only the emulator archive collapses every doubled backslash; the others one.
    const LaunchPaths p = MakeLaunchPaths(Stored("ZIP"), "ZIP", "C:\\EMU\\\\", temp + "\\");
    EXPECT_EQ(p.emulatorArchive, "C:\\EMU\\Rvl023.zip");
    EXPECT_EQ(p.gameFolder, "C:\\EMU\\\\FFIGHT");
    EXPECT_EQ(p.emulatorSettings, "C:\\EMU\\\\RaVlEn.InI");
    EXPECT_EQ(p.gameTemp, "C:\\WINDOWS\\TEMP\\QV95-TMP\\FFIGHT");
}

// Applies renames to a folder of name -> contents as the file system would:
// the old name must exist and the new one must not.
bool Apply(std::map<std::string, std::string>& folder, const std::vector<Rename>& renames) {
    for (const auto& [from, to] : renames) {
        if (!folder.contains(from) || folder.contains(to)) return false;
        folder[to] = folder[from];
        folder.erase(from);
    }
    return true;
}

TEST(LaunchPlan, VariantRenamesAndTheirRestore) {
    EXPECT_EQ(VariantRenames("Sf2Ce"), (std::vector<Rename>{{"SF2.21", "_SF2.21"},
                                                            {"SF2.22", "_SF2.22"},
                                                            {"SF2.23", "_SF2.23"},
                                                            {"Sf2Ce.21", "SF2.21"},
                                                            {"Sf2Ce.22", "SF2.22"},
                                                            {"Sf2Ce.23", "SF2.23"}}));
    EXPECT_EQ(RestoreRenames("Sf2Ce"), (std::vector<Rename>{{"SF2.21", "Sf2Ce.21"},
                                                            {"SF2.22", "Sf2Ce.22"},
                                                            {"SF2.23", "Sf2Ce.23"},
                                                            {"_SF2.21", "SF2.21"},
                                                            {"_SF2.22", "SF2.22"},
                                                            {"_SF2.23", "SF2.23"}}));

    const std::map<std::string, std::string> before{{"SF2.21", "turbo 21"}, {"SF2.22", "turbo 22"},
                                                    {"SF2.23", "turbo 23"}, {"sf2.11", "shared"},
                                                    {"Sf2Ce.21", "ce 21"},  {"Sf2Ce.22", "ce 22"},
                                                    {"Sf2Ce.23", "ce 23"}};
    auto folder = before;
    ASSERT_TRUE(Apply(folder, VariantRenames("Sf2Ce")));
    EXPECT_EQ(folder["SF2.22"], "ce 22");
    EXPECT_EQ(folder["_SF2.22"], "turbo 22");
    EXPECT_FALSE(folder.contains("Sf2Ce.22"));
    ASSERT_TRUE(Apply(folder, RestoreRenames("Sf2Ce")));
    EXPECT_EQ(folder, before);
}

TEST(LaunchPlan, VariantsAndTheirArchives) {
    EXPECT_EQ(RenameVariant(Clicked("Street Fighter 2 CE")), "Sf2Ce");
    EXPECT_EQ(RenameVariant(Clicked("Street Fighter 2 CE (J)")), "Sf2Cej");
    EXPECT_EQ(RenameVariant(Clicked("Street Fighter 2 T (J)")), "Sf2tj");
    EXPECT_EQ(RenameVariant(Clicked("Street Fighter 2 Turbo")), "");  // "NONE"
    EXPECT_EQ(VariantArchive(Clicked("Street Fighter 2 CE"), "C:\\EMU\\"), "C:\\EMU\\sf2ce.ZIP");
    EXPECT_EQ(VariantArchive(Clicked("Street Fighter 2 CE (J)"), "C:\\EMU"), "C:\\EMU\\sf2cej.ZIP");
    EXPECT_EQ(VariantArchive(Clicked("Street Fighter 2 T (J)"), "C:\\EMU\\"), "C:\\EMU\\sf2tj.ZIP");
    // The marker's first word must be exactly RSF2.
    for (const char* marker : {"NONE", "rsf2 Sf2Ce", "RSF2x Sf2Ce", "Sf2Ce RSF2"}) {
        EXPECT_EQ(RenameVariant(Stored("DIR", marker)), "") << marker;
    }
}

TEST(LaunchPlan, CommandLine) {
    EXPECT_EQ(LaunchCommand("cmd.exe", "C:\\EMU\\", "C:\\windows\\TEMP\\Quarvel.InI", "FFIGHT"),
              "cmd.exe /C C:\\EMU\\ravlen.exe @\"C:\\windows\\TEMP\\Quarvel.InI\" FFIGHT > NUL");
    EXPECT_EQ(LaunchCommand("Command.com", "C:\\WINDOWS\\TEMP\\QV95-TMP",
                            "C:\\WINDOWS\\TEMP\\Quarvel.InI", "SF2t"),
              "Command.com /C C:\\WINDOWS\\TEMP\\QV95-TMP\\ravlen.exe "
              "@\"C:\\WINDOWS\\TEMP\\Quarvel.InI\" SF2t > NUL");
}

TEST(LaunchPlan, AProgramPathWithABlankIsQuotedAsEachInterpreterNeeds) {
    const std::string options = "C:\\WINDOWS\\TEMP\\Quarvel.InI";
    // cmd.exe drops the first and last quote of such a line: one more pair keeps the rest.
    EXPECT_EQ(LaunchCommand("C:\\windows\\system32\\cmd.exe", "C:\\My Arcade\\", options, "FFIGHT"),
              "C:\\windows\\system32\\cmd.exe /C \"\"C:\\My Arcade\\ravlen.exe\" "
              "@\"C:\\WINDOWS\\TEMP\\Quarvel.InI\" FFIGHT > NUL\"");
    EXPECT_EQ(LaunchCommand("Command.com", "C:\\Program Files\\Ravlen", options, "SF2t"),
              "Command.com /C \"C:\\Program Files\\Ravlen\\ravlen.exe\" "
              "@\"C:\\WINDOWS\\TEMP\\Quarvel.InI\" SF2t > NUL");
    EXPECT_EQ(LaunchCommand("cmd.exe", "D:\\Games & Co", options, "kod"),
              "cmd.exe /C \"\"D:\\Games & Co\\ravlen.exe\" "
              "@\"C:\\WINDOWS\\TEMP\\Quarvel.InI\" kod > NUL\"");
    // Without a blank the line is as it always was, whatever the options file's path.
    EXPECT_EQ(LaunchCommand("cmd.exe", "C:\\EMU", "C:\\My Windows\\TEMP\\Quarvel.InI", "kod"),
              "cmd.exe /C C:\\EMU\\ravlen.exe @\"C:\\My Windows\\TEMP\\Quarvel.InI\" kod > NUL");
}

TEST(LaunchPlan, OnlyCmdsNotRecognisedCodeMeansTheEmulatorDidNotStart) {
    EXPECT_TRUE(InterpreterCouldNotStart("C:\\windows\\system32\\cmd.exe", 9009));
    EXPECT_TRUE(InterpreterCouldNotStart("CMD.EXE", 9009));
    for (int code : {0, 1, 2, 3, 5, 259, 9008})
        EXPECT_FALSE(InterpreterCouldNotStart("C:\\windows\\system32\\cmd.exe", code)) << code;
    EXPECT_FALSE(InterpreterCouldNotStart("Command.com", 9009));  // the emulator's own code there
    EXPECT_EQ(CouldNotStartMessage("cmd.exe /C x"), "I CAN'T START RAVLEN WITH\r\ncmd.exe /C x");
}

}  // namespace
}  // namespace qv
