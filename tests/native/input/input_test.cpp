// Tests of the player selectors' texts, the keyboard layouts and the button maps.
#include <gtest/gtest.h>

#include <string>

#include "input/joystick.h"
#include "input/key_layout.h"
#include "settings/device_list.h"

namespace qv {
namespace {

TEST(PlayerSelectors, ShowTheCodeAloneAndDescribeTheDeviceUnderIt) {
    const std::string key1 = SelectorItem(1);
    EXPECT_EQ(key1, "KEY1        " + std::string(100, ' ') + " Keyboard layout 1");
    EXPECT_EQ(key1.find('|'), std::string::npos);
    EXPECT_EQ(DeviceCodeOf(key1), "KEY1");
    EXPECT_EQ(DeviceDescription(key1), " Keyboard layout 1");
    EXPECT_EQ(DeviceDescription(SelectorItem(0)), " No Input Device for this Player");
    // Only the first bar goes; the description keeps its own words and brackets.
    EXPECT_EQ(DeviceDescription(SelectorItem(7)),
              " Microsoft Sidewinder Gamepad in digital mode (10 button)");
    EXPECT_EQ(DeviceDescription("KEY1"), "");
    EXPECT_EQ(DeviceDescription(""), "");
}

TEST(KeyLayouts, SplitIntoSixteenFieldsAndJoinAgain) {
    const std::string key1 = "71 72 73 75 77 79 80 81 25 26 27 39 40 43 59 61";
    KeyFields fields = LayoutFields(key1);
    EXPECT_EQ(fields[0], "71");
    EXPECT_EQ(fields[15], "61");
    EXPECT_EQ(LayoutText(fields), key1);

    // A short text leaves the later fields empty; an empty field joins as a
    // doubled blank, which the next split reads as one separator.
    fields = LayoutFields("1  2 3");
    EXPECT_EQ(fields[1], "2");
    EXPECT_EQ(fields[3], "");
    fields[0] = "";
    EXPECT_EQ(LayoutText(fields), " 2 3" + std::string(13, ' '));
    EXPECT_EQ(LayoutFields(LayoutText(fields))[0], "2");
    // Words beyond the sixteenth are dropped.
    EXPECT_EQ(LayoutText(LayoutFields(key1 + " 99")), key1);
}

TEST(KeyLayouts, ScanCodeIsTheMakeCodeOfTheKeyMessage) {
    EXPECT_EQ(ScanCodeOf(0x00480001), 72);  // keypad 8
    EXPECT_EQ(ScanCodeOf(0x01480001), 72);  // up arrow: extended, same final byte
    EXPECT_EQ(ScanCodeOf(0x40010001), 1);   // Esc, auto-repeated
}

TEST(ButtonMaps, FieldsValuesAndTheLimitOfEachDevice) {
    EXPECT_EQ(MapFields("0 2 3 1 255 255 2 3"), (MapValues{0, 2, 3, 1, 255, 255, 2, 3}));
    EXPECT_EQ(MapFields("7"), (MapValues{7, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(MapText({0, 1, 255, 255, 255, 255, 255, 255}), "0 1 255 255 255 255 255 255");
    EXPECT_EQ(AcceptButton(1, 2), 1);
    EXPECT_EQ(AcceptButton(2, 2), kNoButton);
    EXPECT_EQ(AcceptButton(9, 10), 9);
    EXPECT_EQ(AcceptButton(255, 10), kNoButton);

    // The selector's devices, in order, with the maps the settings default to.
    const Settings defaults;
    const char* items[] = {"JOY1", "JOY2", "4BUTTON", "6BUTTON", "SIDEWINDER", "GRIP1", "GRIP2"};
    const int limits[] = {2, 2, 4, 6, 10, 8, 8};
    const int sticks[] = {1, 2, 1, 1, 0, 0, 0};
    std::string Settings::*const c1 = &Settings::JoyC1;
    std::string Settings::*const calibrations[] = {c1,      &Settings::JoyC2, c1,     c1,
                                                   nullptr, nullptr,          nullptr};
    for (int i = 0; i < kJoystickDeviceCount; ++i) {
        const JoystickDevice& device = JoystickDevices[static_cast<std::size_t>(i)];
        EXPECT_STREQ(device.item, items[i]);
        EXPECT_EQ(device.buttonLimit, limits[i]) << items[i];
        EXPECT_EQ(device.joystick, sticks[i]) << items[i];
        EXPECT_EQ(device.calibration, calibrations[i]) << items[i];
    }
    EXPECT_EQ(defaults.*JoystickDevices[4].buttonMap, "3 4 5 0 1 2 8 9");
    EXPECT_EQ(defaults.*JoystickDevices[5].buttonMap, "2 3 4 5 6 7 0 1");
}

// A player's device finds its entry by its code: JOY1, 4BUTTON and 6BUTTON
// read joystick 1, JOY2 joystick 2; NONE, the layouts and the pads have none.
TEST(ButtonMaps, APlayersDeviceFindsItsEntry) {
    const int sticks[kInputDeviceCount] = {0, 0, 0, 1, 2, 1, 1, 0, 0, 0, 0, 0};
    for (int index = 0; index < kInputDeviceCount; ++index) {
        const JoystickDevice* device = JoystickDeviceOf(index);
        EXPECT_EQ(device != nullptr, index >= 3 && index <= 9) << index;
        if (device)
            EXPECT_STREQ(device->item, InputDeviceList[static_cast<std::size_t>(index)].code);
        EXPECT_EQ(device ? device->joystick : 0, sticks[index]) << index;
    }
    EXPECT_EQ(JoystickDeviceOf(-1), nullptr);  // no selection
    EXPECT_EQ(JoystickDeviceOf(kInputDeviceCount), nullptr);
}

TEST(ButtonCapture, TakesTheLowestButtonOfTheLowestSixteen) {
    EXPECT_EQ(CapturedButton(0b101), 0);  // buttons 0 and 2 held together
    EXPECT_EQ(CapturedButton(0b1000), 3);
    EXPECT_EQ(CapturedButton(1u << 15), 15);
    EXPECT_EQ(CapturedButton(1u << 16), std::nullopt);
    EXPECT_EQ(CapturedButton(0), std::nullopt);
}

}  // namespace
}  // namespace qv
