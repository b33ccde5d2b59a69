// The joystick panel with a scripted stick: device selection, button maps,
// button capture and calibration.
#include <algorithm>
#include <functional>

#include "../app/shell_fixture_win.h"
#include "scripted_stick_win.h"

#include <commctrl.h>

#include "settings/registry_win.h"
#include "ui/standard_controls_win.h"
#include "util/system_win.h"
#include "../pump_win.h"

namespace qv {
namespace {

using test::ScriptedStick;

class JoystickPanelTest : public ShellTest {
protected:
    void SetUp() override {
        ShellTest::SetUp();
        createMain();
        show();
        main->ShowPanel(*ui().Img_PJ);
        auto scripted = std::make_unique<ScriptedStick>();
        stick = scripted.get();
        ui().PJ.stick = std::move(scripted);
    }

    // Lets the window run until done holds (at most five seconds).
    static bool RunUntil(const std::function<bool()>& done) {
        for (int i = 0; i < 500 && !done(); ++i) {
            ProcessMessages();
            Sleep(10);
        }
        return done();
    }

    JoystickPanel& pj() { return ui().PJ; }
    std::string field(int slot) { return WindowText(pj().mapFields[slot - 1]); }
    std::string fields() {
        std::string text;
        for (int slot = 1; slot <= kMapSlots; ++slot)
            text += (slot > 1 ? " " : "") + field(slot);
        return text;
    }
    void choose(int index) {
        SendMessageA(pj().CB_JOYS, CB_SETCURSEL, index, 0);
        SendMessageA(pj().hwnd(), WM_COMMAND, MAKEWPARAM(0, CBN_SELCHANGE),
                     reinterpret_cast<LPARAM>(pj().CB_JOYS));
    }
    void calibrate() {
        pj().CalibProc();
        ASSERT_TRUE(RunUntil([this] { return !pj().calibrating(); }));
    }

    ScriptedStick* stick = nullptr;
};

TEST_F(JoystickPanelTest, EachDeviceShowsItsMapJoystickAndCalibration) {
    EXPECT_EQ(SendMessageA(pj().CB_JOYS, CB_GETCOUNT, 0, 0), 7);
    EXPECT_EQ(ListIndex(pj().CB_JOYS), 0);
    EXPECT_EQ(fields(), "0 1 255 255 255 255 255 255");
    EXPECT_EQ(pj().activeJoystick(), 1);
    EXPECT_EQ(WindowText(pj().SE_AJR), "1024");
    EXPECT_EQ(WindowText(pj().B_CALIB), "&CALIBRATE");
    // Every number field has its arrows, which keep to the field's range.
    for (HWND field : pj().mapFields) {
        HWND arrows = GetWindow(field, GW_HWNDNEXT);
        ASSERT_NE(arrows, nullptr);
        EXPECT_EQ(reinterpret_cast<HWND>(SendMessageA(arrows, UDM_GETBUDDY, 0, 0)), field);
        int low = -1, high = -1;
        SendMessageA(arrows, UDM_GETRANGE32, reinterpret_cast<WPARAM>(&low),
                     reinterpret_cast<LPARAM>(&high));
        EXPECT_EQ(low, 0);
        EXPECT_EQ(high, 255);
        EXPECT_TRUE(IsWindowVisible(arrows));
        EXPECT_GT(ChildRect(arrows).right - ChildRect(arrows).left, 8);
    }

    main->settings.JoyC2 = "1 2 3 4";
    choose(1);
    EXPECT_EQ(pj().L_JV->caption(), "1 2 3 4");
    EXPECT_EQ(pj().activeJoystick(), 2);
    choose(3);
    EXPECT_EQ(pj().L_JV->caption(), "0 0 0 0");
    EXPECT_EQ(pj().activeJoystick(), 1);
    choose(4);
    EXPECT_EQ(fields(), "3 4 5 0 1 2 8 9");
    EXPECT_EQ(pj().L_JV->caption(), "");
    EXPECT_EQ(pj().activeJoystick(), 0);
    choose(5);
    EXPECT_EQ(fields(), "2 3 4 5 6 7 0 1");
}

TEST_F(JoystickPanelTest, LeavingAFieldDropsButtonsTheDeviceLacksAndStoresTheMap) {
    HWND c = pj().mapFields[2];
    SetFocus(c);
    SetWindowTextA(c, "2");
    SetFocus(pj().SE_AJR);
    EXPECT_EQ(field(3), "255");
    SetFocus(c);
    SetWindowTextA(c, "1");
    SetFocus(pj().SE_AJR);
    EXPECT_EQ(field(3), "1");
    EXPECT_EQ(main->settings.RB_JOY1, "0 1 1 255 255 255 255 255");

    choose(4);  // SIDEWINDER: buttons 0 to 9
    SetFocus(pj().mapFields[7]);
    SetWindowTextA(pj().mapFields[7], "9");
    SetFocus(pj().mapFields[6]);
    SetWindowTextA(pj().mapFields[6], "10");
    SetFocus(pj().SE_AJR);
    EXPECT_EQ(main->settings.RB_Swin, "3 4 5 0 1 2 255 9");
    EXPECT_EQ(main->settings.RB_JOY1, "0 1 1 255 255 255 255 255");
}

TEST_F(JoystickPanelTest, ResolutionKeepsToItsRangeAndScalesTheCalibration) {
    SetFocus(pj().SE_AJR);
    SetWindowTextA(pj().SE_AJR, "99999");
    EXPECT_EQ(main->settings.SE_AJR, 65535);
    SetFocus(pj().B_CALIB);
    EXPECT_EQ(WindowText(pj().SE_AJR), "65535");
    // Above 32768 the scaling must not overflow.
    stick->script = {{0, 0, 0}, {0, 0, 1}, {65535, 65535, 0}, {65535, 65535, 2}};
    calibrate();
    EXPECT_EQ(main->settings.JoyC1, "6553 58982 6553 58982");
}

TEST_F(JoystickPanelTest, AFocusedFieldTakesTheLowestButtonHeld) {
    stick->script = {{100, 100, 0}, {100, 100, 0b110}};
    SetFocus(pj().mapFields[0]);
    ASSERT_TRUE(RunUntil([this] { return field(1) == "1"; }));
    stick->script = {{100, 100, 0b101}};  // buttons 0 and 2 together
    stick->next = 0;
    SetFocus(pj().mapFields[5]);
    EXPECT_TRUE(RunUntil([this] { return field(6) == "0"; }));

    // SIDEWINDER has no analog joystick: capture reads none and fills nothing.
    choose(4);
    stick->asked.clear();
    SetFocus(pj().mapFields[0]);
    RunUntil([this] { return stick->asked.size() >= 5; });
    EXPECT_EQ(field(1), "3");
    EXPECT_GE(stick->asked.size(), 5u);
    EXPECT_TRUE(
        std::all_of(stick->asked.begin(), stick->asked.end(), [](int n) { return n == 0; }));

    // Leaving the map ends the capture.
    SetFocus(pj().SE_AJR);
    ProcessMessages();
    stick->asked.clear();
    Sleep(60);
    ProcessMessages();
    EXPECT_TRUE(stick->asked.empty());
}

TEST_F(JoystickPanelTest, CalibrationOfTheWorkedExample) {
    stick->script = {{32768, 32768, 0}, {0, 0, 0},         {0, 0, 0},        {0, 0, 1},
                     {32768, 32768, 0}, {65535, 65535, 0}, {65535, 65535, 2}};
    pj().CalibProc();
    EXPECT_EQ(pj().L_CA->caption(), "Top-Left Joystick\r\nPress Button 1 when done");
    ASSERT_TRUE(RunUntil([this] { return !pj().calibrating(); }));
    EXPECT_EQ(main->settings.JoyC1, "102 922 102 922");
    EXPECT_EQ(main->settings.JoyC2, "0 0 0 0");
    EXPECT_EQ(pj().L_CA->caption(), "JoyStick Calibred");
    EXPECT_EQ(pj().L_JV->caption(), "1024,1024");  // the live position stays
    choose(0);
    EXPECT_EQ(pj().L_JV->caption(), "102 922 102 922");
}

TEST_F(JoystickPanelTest, OnlyButtonZeroAloneEndsTheFirstPhase) {
    stick->script = {{0, 0, 0}, {0, 0, 3}, {0, 0, 3}, {0, 0, 3}};
    pj().CalibProc();
    RunUntil([this] { return stick->next >= 10; });
    EXPECT_TRUE(pj().calibrating());
    EXPECT_EQ(pj().L_CA->caption(), "Top-Left Joystick\r\nPress Button 1 when done");
    stick->script = {{0, 0, 1}, {65535, 65535, 0}};
    stick->next = 0;
    EXPECT_TRUE(RunUntil([this] {
        return pj().L_CA->caption() == "Right-Bottom Joystick\r\nPress Button 2 when done";
    }));
    stick->escapeFrom = stick->next;
    EXPECT_TRUE(RunUntil([this] { return !pj().calibrating(); }));
}

TEST_F(JoystickPanelTest, Joy2CalibratesJoystickTwoAndEscInThePhaseTwoStoresNothing) {
    choose(1);
    stick->script = {{0, 0, 0}, {1000, 2000, 1}, {60000, 50000, 0}, {60000, 50000, 2}};
    calibrate();
    EXPECT_EQ(main->settings.JoyC2, "93 844 78 703");
    EXPECT_EQ(main->settings.JoyC1, "0 0 0 0");
    EXPECT_TRUE(
        std::all_of(stick->asked.begin(), stick->asked.end(), [](int n) { return n == 2; }));

    stick->script = {{0, 0, 0}, {0, 0, 1}, {65535, 65535, 0}, {65535, 65535, 0}};
    stick->next = 0;
    stick->escapeFrom = 3;  // Esc pressed during the second phase
    calibrate();
    EXPECT_EQ(pj().L_CA->caption(), "JoyStick NOT Calibred");
    EXPECT_EQ(main->settings.JoyC2, "93 844 78 703");
}

TEST_F(JoystickPanelTest, DevicesWithoutAnAnalogStickNeverCalibrate) {
    choose(6);  // GRIP2
    stick->script = {{0, 0, 1}, {65535, 65535, 2}};
    stick->escape = true;  // only Esc ends its phases
    calibrate();
    EXPECT_EQ(pj().L_CA->caption(), "JoyStick NOT Calibred");
    EXPECT_EQ(main->settings.JoyC1, "0 0 0 0");
    EXPECT_EQ(main->settings.JoyC2, "0 0 0 0");
}

TEST_F(JoystickPanelTest, ClosingTheWindowDuringACalibrationEndsIt) {
    stick->script = {{100, 200, 0}};
    pj().CalibProc();
    ASSERT_TRUE(RunUntil([this] { return stick->next >= 3; }));
    const HWND panel = pj().hwnd();
    DestroyWindow(main->hwnd());  // the objects stay, the windows go
    EXPECT_FALSE(IsWindow(panel));
    EXPECT_FALSE(pj().calibrating());
    const std::size_t reads = stick->next;
    for (int i = 0; i < 10; ++i) {
        ProcessMessages();
        Sleep(10);
    }
    EXPECT_EQ(stick->next, reads);  // nothing reads the stick any more
    EXPECT_EQ(main->settings.JoyC1, "0 0 0 0");
    EXPECT_EQ(main->settings.JoyC2, "0 0 0 0");
    // The exit saved the settings, the calibrations as they were.
    EXPECT_EQ(exitCodes, std::vector<int>{0});
    EXPECT_EQ(ReadRegStr(HKEY_CURRENT_USER, settingsKey(), "JoyC1", ""), "0 0 0 0");
}

}  // namespace
}  // namespace qv
