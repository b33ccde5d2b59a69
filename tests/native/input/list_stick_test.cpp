// Tests of the stick in the game list: pushes and repeats, and who
// reads the stick when.
#include <gtest/gtest.h>

#include <vector>

#include "input/list_stick.h"
#include "input/stick_use.h"

namespace qv {
namespace {

TEST(ListStick, UncalibratedAPushCountsPastAThirdOfTheRangeFromTheCentre) {
    for (const char* none : {"0 0 0 0", "", "junk"}) {
        EXPECT_EQ(PushOf(10922, none, 1024), StickPush::Up);
        EXPECT_EQ(PushOf(10923, none, 1024), StickPush::None);
        EXPECT_EQ(PushOf(32768, none, 1024), StickPush::None);
        EXPECT_EQ(PushOf(54612, none, 1024), StickPush::None);
        EXPECT_EQ(PushOf(54613, none, 1024), StickPush::Down);
        EXPECT_EQ(PushOf(0, none, 1024), StickPush::Up);
        EXPECT_EQ(PushOf(65535, none, 1024), StickPush::Down);
    }
}

TEST(ListStick, CalibratedAPushCountsPastTheStoredLimitsInTheResolutionsUnits) {
    // The worked example's calibration: 102 922 102 922 at resolution 1024.
    const char* calibration = "102 922 102 922";
    EXPECT_EQ(PushOf(6527, calibration, 1024), StickPush::Up);     // scales to 101
    EXPECT_EQ(PushOf(6528, calibration, 1024), StickPush::None);   // 102: on the limit
    EXPECT_EQ(PushOf(20000, calibration, 1024), StickPush::None);  // pushed by the thirds rule only
    EXPECT_EQ(PushOf(59008, calibration, 1024), StickPush::None);  // 922
    EXPECT_EQ(PushOf(59072, calibration, 1024), StickPush::Down);  // 923
    // Limits that hold nothing (top not below bottom), or no resolution: the thirds rule.
    EXPECT_EQ(PushOf(20000, "0 0 600 600", 1024), StickPush::None);
    EXPECT_EQ(PushOf(5000, "0 0 600 500", 1024), StickPush::Up);
    EXPECT_EQ(PushOf(5000, "102 922 102 922", 0), StickPush::Up);
    // A resolution above 32768 scales without overflow.
    EXPECT_EQ(PushOf(65535, "0 0 6553 58982", 65535), StickPush::Down);
}

std::vector<int> Moves(ListStick& stick, const std::vector<StickPush>& pushes) {
    std::vector<int> moves;
    for (StickPush push : pushes)
        moves.push_back(stick.take(push, false).move);
    return moves;
}

TEST(ListStick, APushMovesAtOnceAndHeldOnRepeats) {
    using P = StickPush;
    ListStick stick;
    EXPECT_EQ(Moves(stick, {P::None, P::Down, P::Down, P::Down, P::Down, P::None, P::Up, P::None}),
              (std::vector<int>{0, 1, 0, 1, 1, 0, -1, 0}));
    // Turning straight round is a new push.
    EXPECT_EQ(Moves(stick, {P::Up, P::Up, P::Down, P::Down}), (std::vector<int>{-1, 0, 1, 0}));
}

TEST(ListStick, ButtonOnePressesOncePerPressAndNotWhenHeldFromTheStart) {
    ListStick stick;
    EXPECT_FALSE(stick.take(StickPush::None, true).press);  // held before reading began
    EXPECT_FALSE(stick.take(StickPush::None, true).press);
    EXPECT_FALSE(stick.take(StickPush::None, false).press);
    EXPECT_TRUE(stick.take(StickPush::None, true).press);
    EXPECT_FALSE(stick.take(StickPush::None, true).press);
    EXPECT_FALSE(stick.take(StickPush::Down, false).press);
    const ListStick::Step both = stick.take(StickPush::Down, true);
    EXPECT_TRUE(both.press);
    EXPECT_EQ(both.move, 0);  // the push is held: its repeat is not due yet
    stick.reset();
    EXPECT_FALSE(stick.take(StickPush::None, true).press);
    EXPECT_EQ(stick.take(StickPush::Down, true).move, 1);
}

TEST(StickUse, NobodyReadsWhileTheWindowIsInactiveOrBusyAndTheLiveViewComesFirst) {
    StickUse use;
    use.windowActive = true;
    use.listWanted = true;
    use.listJoystick = 1;
    EXPECT_EQ(StickReaderOf(use), StickReader::kList);
    use.panelInFront = true;
    EXPECT_EQ(StickReaderOf(use), StickReader::kList);  // a device without a stick: no view
    use.panelJoystick = 2;
    EXPECT_EQ(StickReaderOf(use), StickReader::kLiveView);

    for (bool StickUse::*off : {&StickUse::busy, &StickUse::calibrating, &StickUse::capturing}) {
        StickUse taken = use;
        taken.*off = true;
        EXPECT_EQ(StickReaderOf(taken), StickReader::kNone);
        taken.panelInFront = false;  // the list keeps still as well
        EXPECT_EQ(StickReaderOf(taken), StickReader::kNone);
    }
    use.windowActive = false;  // inactive or minimised
    EXPECT_EQ(StickReaderOf(use), StickReader::kNone);
    use.panelInFront = false;
    EXPECT_EQ(StickReaderOf(use), StickReader::kNone);
    use.windowActive = true;
    use.listWanted = false;
    EXPECT_EQ(StickReaderOf(use), StickReader::kNone);
}

}  // namespace
}  // namespace qv
