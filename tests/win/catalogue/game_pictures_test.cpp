// The game pictures compiled into the program: one bitmap resource per picture
// name of the game table, 40 pixels high, each as wide as it was drawn, and
// each drawn again at twice that size.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>

#include "catalogue/game_table.h"
#include "ui/graphics_win.h"
#include "util/text.h"

namespace qv {
namespace {

TEST(GamePictures, EachPictureOfTheTableIsAResourceOfItsWidthAndEveryResourceIsUsed) {
    const std::map<std::string, int> widths = {
        {"3WONDERS", 71}, {"SF2", 56},    {"FFIGHT", 95},   {"SF2CE", 56},
        {"KOD", 45},      {"SF2T", 71},   {"CAPTCOMM", 61}, {"STRIDER", 54},
        {"UNSQUAD", 56},  {"WILLOW", 85}, {"CAWING", 74},   {"KNIGHTS", 73},
        {"MSWORD", 110},  {"MTWINS", 83}, {"_1941", 82},    {"ROCKMANJ", 82},
    };
    std::set<std::string> used;
    for (const GameRecord& game : GameTable()) {
        if (game.picture.empty()) continue;
        const std::string name = UpperText(game.picture);
        ASSERT_EQ(widths.count(name), 1u) << game.title << ": " << game.picture;
        const OwnedBitmap picture = LoadBitmapResource(name);
        ASSERT_TRUE(picture) << name;
        const SIZE size = BitmapSize(picture.get());
        EXPECT_EQ(size.cx, widths.at(name)) << name;
        EXPECT_EQ(size.cy, 40) << name;
        // Its drawing at twice the size, which scaled displays show it from.
        const SIZE twice = BitmapSize(LoadTwiceBitmapResource(name).get());
        EXPECT_EQ(twice.cx, 2 * size.cx) << name;
        EXPECT_EQ(twice.cy, 80) << name;
        used.insert(name);
    }
    EXPECT_EQ(used.size(), widths.size());
}

}  // namespace
}  // namespace qv
