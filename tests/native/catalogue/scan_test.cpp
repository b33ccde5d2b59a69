// The decisions of the ROM scan over a made-up folder.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "catalogue/scan.h"

namespace qv {
namespace {

// A folder as a set of paths; masks are "prefix*" or exact names.
class FakeFolder : public FolderView {
public:
    std::set<std::string> folders, files;
    std::map<std::string, std::set<std::string>> matches;  // folder -> masks with a match

    bool folderExists(const std::string& path) override { return folders.count(path) > 0; }
    bool fileExists(const std::string& path) override { return files.count(path) > 0; }
    bool anyFileMatches(const std::string& folder, const std::string& mask) override {
        asked.push_back(folder + "|" + mask);
        return matches[folder].count(mask) > 0;
    }
    std::vector<std::string> asked;
};

const GameRecord& Game(std::string_view title) {
    for (const GameRecord& game : GameTable()) {
        if (game.title == title) return game;
    }
    throw std::runtime_error("no such game");
}

TEST(RomStorage, AFolderWinsOverArchivesEvenWhenIncomplete) {
    FakeFolder disk;
    disk.folders = {"C:\\EMU\\FFIGHT"};
    disk.files = {"C:\\EMU\\ffight.ZIP"};
    EXPECT_EQ(JudgeGame(Game("Final Fight"), "C:\\EMU", disk).storage, "");
    disk.matches["C:\\EMU\\FFIGHT"] = {"ff*.*"};
    EXPECT_EQ(JudgeGame(Game("Final Fight"), "C:\\EMU", disk).storage, "DIR");
}

TEST(RomStorage, EveryPatternMustMatchAndTheScanStopsAtTheFirstMiss) {
    FakeFolder disk;
    disk.folders = {"C:\\EMU\\SF2t"};
    disk.matches["C:\\EMU\\SF2t"] = {"sf2.*"};
    EXPECT_EQ(JudgeGame(Game("Street Fighter 2 Turbo"), "C:\\EMU\\", disk).storage, "DIR");
    EXPECT_EQ(JudgeGame(Game("Street Fighter 2 CE"), "C:\\EMU\\", disk).storage, "");
    disk.matches["C:\\EMU\\SF2t"].insert("sf2ce.*");
    EXPECT_EQ(JudgeGame(Game("Street Fighter 2 CE"), "C:\\EMU\\", disk).storage, "DIR");

    FakeFolder empty;
    empty.folders = {"C:\\EMU\\SF2"};
    JudgeGame(Game("Street Fighter 2"), "C:\\EMU", empty);
    EXPECT_EQ(empty.asked, std::vector<std::string>{"C:\\EMU\\SF2|sf2*.rom"});
}

TEST(RomStorage, ZippedGamesNeedEveryArchiveAndTrailingBackslashesCollapse) {
    FakeFolder disk;
    disk.files = {"C:\\EMU\\sf2ce.ZIP"};
    EXPECT_EQ(JudgeGame(Game("Street Fighter 2 CE"), "C:\\EMU\\", disk).storage, "");
    disk.files.insert("C:\\EMU\\sf2t.ZIP");
    EXPECT_EQ(JudgeGame(Game("Street Fighter 2 CE"), "C:\\EMU\\", disk).storage, "ZIP");
    EXPECT_EQ(JudgeGame(Game("Street Fighter 2 Turbo"), "C:\\EMU\\", disk).storage, "ZIP");
    EXPECT_EQ(JudgeGame(Game("Street Fighter 2 CE (J)"), "C:\\EMU\\", disk).storage, "");
}

TEST(GameButtonHint, ShowsTheFourFieldsTheLaunchContextCarries) {
    EXPECT_EQ(GameButtonHint(Game("Street Fighter 2 CE"), RomStorage::kArchives),
              "SF2t|RSF2 Sf2Ce|ZIP|sf2.*;sf2ce.*");
    EXPECT_EQ(GameButtonHint(Game("Final Fight"), RomStorage::kFolder), "FFIGHT|NONE|DIR|ff*.*");
    for (const GameRecord& game : GameTable()) {
        const CurrentGame current = CurrentGameOf(game, RomStorage::kFolder);
        EXPECT_EQ(GameButtonHint(game, RomStorage::kFolder),
                  current.gameId + "|" + current.renameMarker + "|" + current.romStorage + "|" +
                      current.romPatterns);
        EXPECT_EQ(current.title, game.title);
    }
}

// Every way a row can fail, and the found cases: the verdict says what the
// decision was and why, in the words the user reads.
TEST(GameVerdicts, FoundGamesSayHowAndWhere) {
    FakeFolder disk;
    disk.folders = {"C:\\EMU\\FFIGHT"};
    disk.matches["C:\\EMU\\FFIGHT"] = {"ff*.*"};
    disk.files = {"C:\\EMU\\sf2ce.ZIP", "C:\\EMU\\sf2t.ZIP", "C:\\EMU\\ffightJ.ZIP"};

    const GameVerdict folder = JudgeGame(Game("Final Fight"), "C:\\EMU\\", disk);
    EXPECT_EQ(folder.storage, "DIR");
    EXPECT_EQ(folder.reason, "found in the folder C:\\EMU\\FFIGHT");
    EXPECT_TRUE(folder.archives.empty());
    EXPECT_EQ(folder.game, &Game("Final Fight"));

    const GameVerdict one = JudgeGame(Game("Final Fight (JAP)"), "C:\\EMU", disk);
    EXPECT_EQ(one.storage, "ZIP");
    EXPECT_EQ(one.reason, "found as ffightJ.ZIP in C:\\EMU\\");
    EXPECT_EQ(one.archives, std::vector<std::string>{"C:\\EMU\\ffightJ.ZIP"});

    const GameVerdict two = JudgeGame(Game("Street Fighter 2 CE"), "C:\\EMU\\", disk);
    EXPECT_EQ(two.reason, "found as sf2ce.ZIP and sf2t.ZIP in C:\\EMU\\");
    EXPECT_EQ(two.archives, (std::vector<std::string>{"C:\\EMU\\sf2ce.ZIP", "C:\\EMU\\sf2t.ZIP"}));
}

TEST(GameVerdicts, NeitherFolderNorArchives) {
    FakeFolder disk;
    const GameVerdict v = JudgeGame(Game("Final Fight"), "C:\\EMU\\", disk);
    EXPECT_FALSE(v.found());
    EXPECT_EQ(v.reason, "no folder FFIGHT and no ffight.ZIP in C:\\EMU\\");
    EXPECT_TRUE(v.archives.empty());
    // Only the first archive missing is named, as the scan stops there.
    EXPECT_EQ(JudgeGame(Game("Street Fighter 2 CE"), "C:\\EMU", disk).reason,
              "no folder SF2t and no sf2ce.ZIP in C:\\EMU\\");
}

TEST(GameVerdicts, EachPatternOfAFolderMissing) {
    FakeFolder disk;
    disk.folders = {"C:\\EMU\\SF2"};
    disk.files = {"C:\\EMU\\sf2.ZIP"};  // complete archives beside it change nothing
    const std::string hidden = " (so the archives beside it are not looked at)";
    EXPECT_EQ(JudgeGame(Game("Street Fighter 2"), "C:\\EMU", disk).reason,
              "the folder C:\\EMU\\SF2 has no file matching sf2*.rom" + hidden);
    disk.matches["C:\\EMU\\SF2"] = {"sf2*.rom"};
    const GameVerdict second = JudgeGame(Game("Street Fighter 2"), "C:\\EMU", disk);
    EXPECT_FALSE(second.found());
    EXPECT_EQ(second.reason, "the folder C:\\EMU\\SF2 has no file matching sf2gfx*.rom" + hidden);
    EXPECT_TRUE(second.archives.empty());

    // The variants share the folder SF2t: each names its own missing mask.
    FakeFolder shared;
    shared.folders = {"C:\\EMU\\SF2t"};
    shared.matches["C:\\EMU\\SF2t"] = {"sf2.*", "sf2ce.*"};
    EXPECT_TRUE(JudgeGame(Game("Street Fighter 2 CE"), "C:\\EMU", shared).found());
    EXPECT_EQ(JudgeGame(Game("Street Fighter 2 CE (J)"), "C:\\EMU", shared).reason,
              "the folder C:\\EMU\\SF2t has no file matching sf2cej.*" + hidden);
    EXPECT_EQ(JudgeGame(Game("Street Fighter 2 T (J)"), "C:\\EMU", shared).reason,
              "the folder C:\\EMU\\SF2t has no file matching sf2tj.*" + hidden);
}

TEST(GameVerdicts, EachArchiveOfAVariantMissing) {
    FakeFolder disk;
    disk.files = {"C:\\EMU\\sf2ce.ZIP"};
    EXPECT_EQ(JudgeGame(Game("Street Fighter 2 CE"), "C:\\EMU", disk).reason,
              "sf2ce.ZIP is in C:\\EMU\\, sf2t.ZIP is missing");
    disk.files = {"C:\\EMU\\sf2t.ZIP"};
    const GameVerdict v = JudgeGame(Game("Street Fighter 2 CE"), "C:\\EMU", disk);
    EXPECT_EQ(v.reason, "no folder SF2t and no sf2ce.ZIP in C:\\EMU\\");
    EXPECT_TRUE(v.archives.empty());
    // The shared archive alone makes Turbo, not the variants.
    EXPECT_TRUE(JudgeGame(Game("Street Fighter 2 Turbo"), "C:\\EMU", disk).found());
    EXPECT_EQ(JudgeGame(Game("Street Fighter 2 T (J)"), "C:\\EMU", disk).reason,
              "no folder SF2t and no sf2tj.ZIP in C:\\EMU\\");
}

TEST(GameVerdicts, AFileWhereAFolderBelongsAndAFolderWhereAnArchiveBelongs) {
    FakeFolder disk;
    disk.files = {"C:\\EMU\\FFIGHT"};
    disk.folders = {"C:\\EMU\\ffight.ZIP"};
    EXPECT_EQ(JudgeGame(Game("Final Fight"), "C:\\EMU\\", disk).reason,
              "no folder FFIGHT and no ffight.ZIP in C:\\EMU\\ (FFIGHT there is a file, not a "
              "folder; ffight.ZIP there is a folder, not a file)");
    disk.folders = {"C:\\EMU\\sf2t.ZIP"};
    disk.files = {"C:\\EMU\\sf2ce.ZIP"};
    EXPECT_EQ(JudgeGame(Game("Street Fighter 2 CE"), "C:\\EMU", disk).reason,
              "sf2ce.ZIP is in C:\\EMU\\, sf2t.ZIP is missing (sf2t.ZIP there is a folder, not a "
              "file)");
    // A file named like the folder does not stop archives that are there.
    disk.files = {"C:\\EMU\\FFIGHT", "C:\\EMU\\ffight.ZIP"};
    EXPECT_EQ(JudgeGame(Game("Final Fight"), "C:\\EMU", disk).storage, "ZIP");
}

constexpr char kProgram[] = "ravlen.exe";
constexpr char kArchive[] = "Rvl023.zip";

TEST(EmulatorVerdict, ProgramArchiveNeitherOrNoFolder) {
    FakeFolder disk;
    disk.folders = {"C:\\EMU"};
    disk.files = {"C:\\EMU\\ravlen.exe", "C:\\EMU\\Rvl023.zip"};
    EmulatorVerdict v = JudgeEmulator("C:\\EMU\\", kProgram, kArchive, disk);
    EXPECT_EQ(v.storage, "DIR");
    EXPECT_TRUE(v.present);
    EXPECT_EQ(v.archive, "");  // the archive is not used while the program is there
    EXPECT_EQ(v.reason, "ravlen.exe in C:\\EMU\\");

    disk.files = {"C:\\EMU\\Rvl023.zip"};
    v = JudgeEmulator("C:\\EMU", kProgram, kArchive, disk);
    EXPECT_EQ(v.storage, "ZIP");
    EXPECT_TRUE(v.present);
    EXPECT_EQ(v.archive, "C:\\EMU\\Rvl023.zip");
    EXPECT_EQ(v.reason, "zipped as Rvl023.zip in C:\\EMU\\");

    disk.files.clear();
    v = JudgeEmulator("C:\\EMU", kProgram, kArchive, disk);
    EXPECT_EQ(v.storage, "ZIP");
    EXPECT_FALSE(v.present);
    EXPECT_EQ(v.reason, "no ravlen.exe and no Rvl023.zip in C:\\EMU\\");
    EXPECT_EQ(JudgeEmulator("D:\\GONE", kProgram, kArchive, disk).reason,
              "the folder D:\\GONE\\ does not exist");
}

}  // namespace
}  // namespace qv
