// Tests of the focus ring and of the list keys.
#include <gtest/gtest.h>

#include <array>

#include "ui/focus_walk.h"

namespace qv {
namespace {

TEST(FocusRing, TabAndShiftTabWrapAndPassOverStopsThatCannotTakeTheFocus) {
    const std::array<bool, 5> stops{true, false, true, true, false};
    EXPECT_EQ(NextStop(stops, 0, false), 2u);
    EXPECT_EQ(NextStop(stops, 3, false), 0u);  // past the unusable last stop, round to the first
    EXPECT_EQ(NextStop(stops, 0, true), 3u);
    EXPECT_EQ(NextStop(stops, 2, true), 0u);
    // A stop that cannot take the focus may still hold it (it was disabled meanwhile).
    EXPECT_EQ(NextStop(stops, 1, false), 2u);
    EXPECT_EQ(NextStop(stops, 1, true), 0u);
    // From nowhere: Tab enters at the first usable stop, Shift+Tab at the last.
    EXPECT_EQ(NextStop(stops, std::nullopt, false), 0u);
    EXPECT_EQ(NextStop(stops, std::nullopt, true), 3u);
    const std::array<bool, 3> firstUnusable{false, true, true};
    EXPECT_EQ(NextStop(firstUnusable, std::nullopt, false), 1u);
}

TEST(FocusRing, ALoneStopKeepsTheFocusAndNoUsableStopGivesNothing) {
    const std::array<bool, 3> one{false, true, false};
    EXPECT_EQ(NextStop(one, 1, false), 1u);
    EXPECT_EQ(NextStop(one, 1, true), 1u);
    const std::array<bool, 2> none{false, false};
    EXPECT_EQ(NextStop(none, 0, false), std::nullopt);
    EXPECT_EQ(NextStop(none, std::nullopt, true), std::nullopt);
    EXPECT_EQ(NextStop(std::span<const bool>{}, std::nullopt, false), std::nullopt);
}

TEST(ListKeys, MoveByOneOrAPageAndHoldAtTheEnds) {
    // Nineteen games, four in view.
    EXPECT_EQ(ListTarget(ListKey::Down, 0, 19, 4), 1u);
    EXPECT_EQ(ListTarget(ListKey::Up, 0, 19, 4), 0u);
    EXPECT_EQ(ListTarget(ListKey::Down, 18, 19, 4), 18u);
    EXPECT_EQ(ListTarget(ListKey::PageDown, 3, 19, 4), 7u);
    EXPECT_EQ(ListTarget(ListKey::PageDown, 16, 19, 4), 18u);
    EXPECT_EQ(ListTarget(ListKey::PageUp, 7, 19, 4), 3u);
    EXPECT_EQ(ListTarget(ListKey::PageUp, 2, 19, 4), 0u);
    EXPECT_EQ(ListTarget(ListKey::Home, 11, 19, 4), 0u);
    EXPECT_EQ(ListTarget(ListKey::End, 0, 19, 4), 18u);
    // One game; a box too small for a whole button still pages by one.
    EXPECT_EQ(ListTarget(ListKey::Down, 0, 1, 4), 0u);
    EXPECT_EQ(ListTarget(ListKey::PageDown, 0, 3, 0), 1u);
    // A current entry beyond the list (the list shrank) counts from its end.
    EXPECT_EQ(ListTarget(ListKey::Up, 30, 19, 4), 17u);
}

}  // namespace
}  // namespace qv
