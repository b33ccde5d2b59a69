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
    EXPECT_EQ(FindRomStorage(Game("Final Fight"), "C:\\EMU", disk), "");
    disk.matches["C:\\EMU\\FFIGHT"] = {"ff*.*"};
    EXPECT_EQ(FindRomStorage(Game("Final Fight"), "C:\\EMU", disk), "DIR");
}

TEST(RomStorage, EveryPatternMustMatchAndTheScanStopsAtTheFirstMiss) {
    FakeFolder disk;
    disk.folders = {"C:\\EMU\\SF2t"};
    disk.matches["C:\\EMU\\SF2t"] = {"sf2.*"};
    EXPECT_EQ(FindRomStorage(Game("Street Fighter 2 Turbo"), "C:\\EMU\\", disk), "DIR");
    EXPECT_EQ(FindRomStorage(Game("Street Fighter 2 CE"), "C:\\EMU\\", disk), "");
    disk.matches["C:\\EMU\\SF2t"].insert("sf2ce.*");
    EXPECT_EQ(FindRomStorage(Game("Street Fighter 2 CE"), "C:\\EMU\\", disk), "DIR");

    FakeFolder empty;
    empty.folders = {"C:\\EMU\\SF2"};
    FindRomStorage(Game("Street Fighter 2"), "C:\\EMU", empty);
    EXPECT_EQ(empty.asked, std::vector<std::string>{"C:\\EMU\\SF2|sf2*.rom"});
}

TEST(RomStorage, ZippedGamesNeedEveryArchiveAndTrailingBackslashesCollapse) {
    FakeFolder disk;
    disk.files = {"C:\\EMU\\sf2ce.ZIP"};
    EXPECT_EQ(FindRomStorage(Game("Street Fighter 2 CE"), "C:\\EMU\\", disk), "");
    disk.files.insert("C:\\EMU\\sf2t.ZIP");
    EXPECT_EQ(FindRomStorage(Game("Street Fighter 2 CE"), "C:\\EMU\\", disk), "ZIP");
    EXPECT_EQ(FindRomStorage(Game("Street Fighter 2 Turbo"), "C:\\EMU\\", disk), "ZIP");
    EXPECT_EQ(FindRomStorage(Game("Street Fighter 2 CE (J)"), "C:\\EMU\\", disk), "");
}

TEST(GameButtonHint, CarriesFourNonEmptyFieldsThatReadBack) {
    EXPECT_EQ(GameButtonHint(Game("Street Fighter 2 CE"), "ZIP"),
              "SF2t|RSF2 Sf2Ce|ZIP|sf2.*;sf2ce.*");
    EXPECT_EQ(GameButtonHint(Game("Final Fight"), "DIR"), "FFIGHT|NONE|DIR|ff*.*");
    for (const GameRecord& game : GameTable()) {
        const CurrentGame current = ReadGameButton(GameButtonHint(game, "DIR"), game.title);
        EXPECT_EQ(current.gameId, game.gameId);
        EXPECT_EQ(current.renameMarker, game.renameMarker.empty() ? "NONE" : game.renameMarker);
        EXPECT_EQ(current.romStorage, "DIR");
        EXPECT_EQ(current.romPatterns, game.romPatterns);
        EXPECT_EQ(current.title, game.title);
    }
}

}  // namespace
}  // namespace qv
