// Tests of the settings model: defaults, store tables, stored-number limits,
// and the input device list the players' selections count in.
#include "settings/settings.h"

#include <gtest/gtest.h>

#include <string>

#include "settings/device_list.h"

namespace qv {
namespace {

TEST(SettingsModel, FirstStartDefaults) {
    const Settings s = DefaultSettings("C:\\Emu\\", false);
    EXPECT_EQ(s.L_CAL, "C:\\Emu\\");
    EXPECT_EQ(s.L_SF, "\\Saves");
    EXPECT_EQ(s.L_PF, "\\Pcx");
    EXPECT_STREQ(kResolutionItems.at(static_cast<std::size_t>(s.CB_RES)), "384x224");
    EXPECT_STREQ(kFrameSkipItems.at(static_cast<std::size_t>(s.CB_FS)), "AUTO");
    EXPECT_TRUE(s.CB_vsync);
    EXPECT_FALSE(s.CB_novesa || s.CB_linear || s.CB_banked || s.CB_exclusive || s.CB_altkey ||
                 s.CB_MMXcopy);
    EXPECT_FALSE(s.CB_FPUcopy);
    EXPECT_TRUE(DefaultSettings("", true).CB_FPUcopy);
    EXPECT_FALSE(s.CB_intensity);
    EXPECT_EQ(s.SE_AJR, 1024);
    EXPECT_EQ(s.JoyC1, "0 0 0 0");
    EXPECT_EQ(s.JoyC2, "0 0 0 0");
    EXPECT_EQ(DeviceCodeAt(s.CB_P1D), "KEY1");
    EXPECT_EQ(DeviceCodeAt(s.cb_p2d), "KEY2");
    EXPECT_EQ(DeviceCodeAt(s.cb_p3d), "NONE");
    EXPECT_EQ(s.RB_4But, "0 2 3 1 255 255 2 3");
    EXPECT_EQ(s.RB_Swin, "3 4 5 0 1 2 8 9");
    EXPECT_EQ(s.Ks_Key2, "19 20 21 33 35 47 48 49 30 31 32 44 45 46 60 62");
}

TEST(SettingsModel, StoreTablesListTheValuesInOrder) {
    const char* global[] = {"L_CAL",      "L_SF",         "L_PF",      "CB_RES",
                            "CB_FS",      "CB_vsync",     "CB_novesa", "CB_linear",
                            "CB_banked",  "CB_exclusive", "CB_altkey", "CB_FPUcopy",
                            "CB_MMXcopy", "SE_AJR",       "JoyC1",     "JoyC2"};
    const char* game[] = {"CB_P1D",  "cb_p2d",  "cb_p3d",  "RB_JOY1", "RB_JOY2", "RB_4But",
                          "RB_6But", "RB_Grp1", "RB_Grp2", "RB_Swin", "Ks_Key1", "Ks_Key2"};
    ASSERT_EQ(GlobalStoredSettings().size(), std::size(global));
    ASSERT_EQ(GameStoredSettings().size(), std::size(game));
    for (std::size_t i = 0; i < std::size(global); ++i)
        EXPECT_STREQ(GlobalStoredSettings()[i].name, global[i]);
    for (std::size_t i = 0; i < std::size(game); ++i)
        EXPECT_STREQ(GameStoredSettings()[i].name, game[i]);
}

TEST(SettingsModel, StoredNumbersAsTheirControlsTakeThem) {
    const StoredSetting& resolution = GlobalStoredSettings()[3];
    const StoredSetting& joystickResolution = GlobalStoredSettings()[13];
    const StoredSetting& player3 = GameStoredSettings()[2];
    EXPECT_EQ(AcceptStored(resolution, 12), 12);
    EXPECT_EQ(AcceptStored(resolution, 13), kNoSelection);
    EXPECT_EQ(AcceptStored(player3, 11), 11);
    EXPECT_EQ(AcceptStored(player3, 12), kNoSelection);
    EXPECT_EQ(AcceptStored(player3, -7), kNoSelection);
    EXPECT_EQ(AcceptStored(joystickResolution, 65535), 65535);
    EXPECT_EQ(AcceptStored(joystickResolution, 70000), 65535);
    EXPECT_EQ(AcceptStored(joystickResolution, -3), 0);
}

TEST(DeviceList, ItemTextsPadTheCodeAndKeepItFirst) {
    EXPECT_EQ(InputDeviceItem(0), "NONE       | No Input Device for this Player");
    EXPECT_EQ(InputDeviceItem(1), "KEY1        | Keyboard layout 1");
    EXPECT_EQ(InputDeviceItem(7),
              "SIDEWINDER  | Microsoft Sidewinder Gamepad in digital mode (10 button)");
    EXPECT_EQ(InputDeviceItem(11), "SNESPAD2    | SNES Pad 2 connected via LPT1 (8 button)");
    for (int i = 0; i < kInputDeviceCount; ++i) {
        const std::string item = InputDeviceItem(i);
        EXPECT_EQ(item.find('|'), i == 0 ? 11u : 12u) << item;
        EXPECT_EQ(DeviceCodeAt(i), InputDeviceList[static_cast<std::size_t>(i)].code);
    }
    // The panels push the description away with blanks; the code stays first.
    EXPECT_EQ(DeviceCodeOf("  6BUTTON" + std::string(100, ' ') + " 6 button"), "6BUTTON");
    EXPECT_EQ(DeviceCodeAt(kNoSelection), "");
    EXPECT_EQ(DeviceCodeAt(kInputDeviceCount), "");
}

}  // namespace
}  // namespace qv
