// Tests of the game table's invariants (the rows themselves are data).
#include "catalogue/game_table.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <set>
#include <string>

#include "util/text.h"

namespace qv {
namespace {

std::string Upper(std::string_view s) { return UpperText(s); }

bool HasItemIgnoringCase(std::string_view list, std::string_view item) {
    for (int i = 1; i <= WordCount(list, ';'); ++i)
        if (Upper(WordAt(list, ';', i)) == Upper(item)) return true;
    return false;
}

const GameRecord& Row(int number) { return GameTable()[static_cast<std::size_t>(number - 1)]; }

TEST(GameTable, HasTwentyFourRowsWithRequiredFieldsAndNoSeparatorOfTheHint) {
    ASSERT_EQ(GameTable().size(), 24u);
    std::set<std::string_view> titles;
    for (const GameRecord& g : GameTable()) {
        EXPECT_FALSE(g.title.empty());
        EXPECT_FALSE(g.gameId.empty()) << g.title;
        EXPECT_GE(WordCount(g.romPatterns, ';'), 1) << g.title;
        EXPECT_GE(WordCount(g.archiveNames, ';'), 1) << g.title;
        EXPECT_TRUE(titles.insert(g.title).second) << "duplicate title " << g.title;
        // The button hint joins fields with "|", so no field may contain one.
        for (std::string_view field :
             {g.title, g.picture, g.gameId, g.romPatterns, g.renameMarker, g.archiveNames})
            EXPECT_EQ(field.find('|'), std::string_view::npos) << g.title;
        EXPECT_NE(g.renameMarker, kNoRenameMarker);
    }
}

TEST(GameTable, ArchiveNamesIncludeTheGameId) {
    for (const GameRecord& g : GameTable())
        EXPECT_TRUE(HasItemIgnoringCase(g.archiveNames, g.gameId)) << g.title;
}

TEST(GameTable, RenameVariantsShareTurboFolderAndNameTheirStem) {
    const GameRecord* turbo = nullptr;
    for (const GameRecord& g : GameTable())
        if (g.title == "Street Fighter 2 Turbo") turbo = &g;
    ASSERT_NE(turbo, nullptr);
    EXPECT_EQ(turbo->gameId, "SF2t");
    EXPECT_TRUE(turbo->renameMarker.empty());

    int variants = 0;
    for (const GameRecord& g : GameTable()) {
        if (g.renameMarker.empty()) continue;
        ++variants;
        ASSERT_EQ(WordCount(g.renameMarker, ' '), 2) << g.title;
        EXPECT_EQ(WordAt(g.renameMarker, ' ', 1), "RSF2") << g.title;
        const std::string stem = WordAt(g.renameMarker, ' ', 2);
        EXPECT_EQ(g.gameId, turbo->gameId) << g.title;
        EXPECT_EQ(Upper(WordAt(g.romPatterns, ';', 2)), Upper(stem + ".*")) << g.title;
        EXPECT_EQ(Upper(WordAt(g.archiveNames, ';', 1)), Upper(stem)) << g.title;
    }
    EXPECT_EQ(variants, 3);
}

TEST(GameTable, JapaneseFlagFollowsTitle) {
    const std::set<int> japanese{3, 5, 8, 10, 12, 14, 16, 19, 23, 24};
    for (int row = 1; row <= 24; ++row)
        EXPECT_EQ(IsJapanese(Row(row)), japanese.count(row) == 1) << "row " << row;
    // Case counts: "(j" is no mark.
    EXPECT_FALSE(IsJapanese(GameRecord{"Demo (jap)", "", "x", "x", "", "x"}));
}

}  // namespace
}  // namespace qv
