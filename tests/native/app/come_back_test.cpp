// Coming back to the front after a game, through each path of ticks.
#include <gtest/gtest.h>

#include "app/come_back.h"

namespace qv {
namespace {

using Front = ComeBack::Front;
using Step = ComeBack::Step;

TEST(ComeBack, WaitsForTheGamesWindowsThenTakesTheFrontUntilItHeldIt) {
    ComeBack back;
    EXPECT_EQ(back.tick(0, Front::kNone), Step::kNothing);  // no game yet
    back.gameEnded(1000);
    EXPECT_EQ(back.tick(1100, Front::kOther), Step::kNothing);  // the console holds it
    EXPECT_TRUE(back.pending());
    EXPECT_EQ(back.tick(1200, Front::kNone), Step::kTakeFront);
    EXPECT_EQ(back.tick(1200, Front::kThisWindow), Step::kKeepFocus);
    // The X server takes the focus away once more: taken again, held anew.
    EXPECT_EQ(back.tick(2000, Front::kNone), Step::kTakeFront);
    EXPECT_EQ(back.tick(2100, Front::kThisWindow), Step::kKeepFocus);
    EXPECT_EQ(back.tick(5000, Front::kThisWindow), Step::kKeepFocus);
    EXPECT_TRUE(back.pending());
    EXPECT_EQ(back.tick(5100, Front::kThisWindow), Step::kKeepFocus);  // held 3 s
    EXPECT_FALSE(back.pending());
    EXPECT_EQ(back.tick(5200, Front::kNone), Step::kNothing);
}

TEST(ComeBack, EndsAfterItsLimitWhereverTheFrontIs) {
    // The game's console can take the front after the window came back;
    // once it is gone the window comes back again.
    ComeBack console;
    console.gameEnded(0);
    EXPECT_EQ(console.tick(100, Front::kThisWindow), Step::kKeepFocus);
    EXPECT_EQ(console.tick(500, Front::kOther), Step::kNothing);
    EXPECT_EQ(console.tick(900, Front::kNone), Step::kTakeFront);

    // Another window in front from the start, then none long after: the
    // window stays where the user left it.
    ComeBack limited;
    limited.gameEnded(0);
    EXPECT_EQ(limited.tick(ComeBack::kLimitMs - 1, Front::kOther), Step::kNothing);
    EXPECT_TRUE(limited.pending());
    EXPECT_EQ(limited.tick(ComeBack::kLimitMs, Front::kNone), Step::kNothing);
    EXPECT_FALSE(limited.pending());

    // A new game arms it afresh.
    limited.gameEnded(60000);
    EXPECT_EQ(limited.tick(60100, Front::kNone), Step::kTakeFront);
}

}  // namespace
}  // namespace qv
