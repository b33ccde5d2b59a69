// Tests of the analog joystick calibration, fed readings as a stick would give them.
#include <gtest/gtest.h>

#include <vector>

#include "input/joystick.h"

namespace qv {
namespace {

using Phase = Calibration::Phase;

StickReading At(std::uint16_t x, std::uint16_t y, std::uint32_t buttons = 0) {
    return {x, y, buttons};
}

TEST(Calibration, StopsMovedATenthOfTheTravelInwards) {
    Calibration c(1024);
    c.take(At(30000, 30000), false);  // the phase's first reading
    c.take(At(0, 0), false);
    EXPECT_EQ(c.position(), "0,0");
    c.take(At(0, 0, 1), false);  // button 0 alone ends the first phase
    ASSERT_EQ(c.phase(), Phase::BottomRight);
    c.take(At(30000, 30000), false);
    c.take(At(65535, 65535), false);
    EXPECT_EQ(c.position(), "1024,1024");
    c.take(At(40000, 40000, 2), false);  // button 1 alone ends the second
    ASSERT_EQ(c.phase(), Phase::Calibrated);
    EXPECT_EQ(c.thresholds(), "102 922 102 922");
    EXPECT_EQ(c.position(), "625,625");  // the last live position stays
}

TEST(Calibration, OnlyTheRightButtonAloneEndsAPhase) {
    Calibration c(1024);
    c.take(At(0, 0), false);
    for (std::uint32_t buttons : {3u, 2u, 5u, 0x10001u}) {
        c.take(At(0, 0, buttons), false);
        EXPECT_EQ(c.phase(), Phase::TopLeft) << buttons;
    }
    c.take(At(0, 0, 1), false);
    c.take(At(0, 0), false);
    for (std::uint32_t buttons : {1u, 3u, 6u}) {
        c.take(At(0, 0, buttons), false);
        EXPECT_EQ(c.phase(), Phase::BottomRight) << buttons;
    }
}

TEST(Calibration, EscEndsAPhaseButStoresNothingWhenItEndsTheSecond) {
    Calibration c(1024);
    c.take(At(0, 0), false);
    c.take(At(0, 0), true);  // Esc in the first phase only ends that phase
    ASSERT_EQ(c.phase(), Phase::BottomRight);
    c.take(At(0, 0), true);     // the second phase's first reading sets its start
    c.take(At(9, 9, 2), true);  // Esc still held: not calibrated, button or not
    EXPECT_EQ(c.phase(), Phase::NotCalibrated);
    EXPECT_FALSE(c.running());
}

TEST(Calibration, ExtremesAreTheFurthestReachedAndScalingDoesNotOverflow) {
    Calibration c(65535);
    c.take(At(50000, 60000), false);
    c.take(At(40000, 65000), false);
    c.take(At(45000, 30000, 1), false);
    c.take(At(50000, 50000), false);
    c.take(At(65535, 10000), false);
    c.take(At(60000, 55000, 2), false);
    ASSERT_EQ(c.phase(), Phase::Calibrated);
    // x from 40000 to 65535 (dx 2553), y from 30000 to 55000 (dy 2500).
    EXPECT_EQ(c.thresholds(), "42553 62982 32500 52500");
    EXPECT_EQ(ScaleAxis(65535, 65535), 65535);
    EXPECT_EQ(ScaleAxis(65535, 40000), 40000);
    EXPECT_EQ(ScaleAxis(32768, 1024), 512);
    EXPECT_EQ(ScaleAxis(100, 0), 0);
}

}  // namespace
}  // namespace qv
