// The clash warnings of the keyboard and joystick panels in the running main
// window: both fields marked on screen, the line naming the other field, and
// the recording never refused.
#include "../app/shell_fixture_win.h"
#include "input/panel_label_win.h"
#include "ui/standard_controls_win.h"

namespace qv {
namespace {

void Choose(HWND list, int index) {
    SendMessageA(list, CB_SETCURSEL, index, 0);
    SendMessageA(GetParent(list), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(list), CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(list));
}

void PressIn(HWND field, int scanCode) { SendMessageA(field, WM_KEYDOWN, 'X', 1 | (scanCode << 16)); }

// The colour inside a field, clear of its border and text.
COLORREF Inside(HWND field) {
    UpdateWindow(field);
    return PixelOf(field, 2, 2);
}

class ClashTest : public ShellTest {
protected:
    void SetUp() override {
        ShellTest::SetUp();
        createMain();
        show();
    }
};

TEST_F(ClashTest, AKeyRecordedTwiceMarksBothFieldsAndTheLineNamesTheOther) {
    KeyboardPanel& pk = ui().PK;
    main->ShowPanel(*ui().Img_PK);
    EXPECT_EQ(pk.L_KW->caption(), "");
    SetFocus(pk.keyFields[8]);
    PressIn(pk.keyFields[8], 72);  // button A on keypad 8, Up's key
    EXPECT_EQ(pk.L_KW->caption(), "72 is also Up of KEY1");
    EXPECT_TRUE(pk.clashMarked(2));
    EXPECT_TRUE(pk.clashMarked(9));
    EXPECT_FALSE(pk.clashMarked(1));
    EXPECT_EQ(Inside(pk.keyFields[1]), kClashColour);
    EXPECT_EQ(Inside(pk.keyFields[8]), kClashColour);
    EXPECT_EQ(Inside(pk.keyFields[0]), GetSysColor(COLOR_WINDOW));
    // A warning, not a block: the key is recorded and the focus moves on.
    EXPECT_EQ(main->settings.Ks_Key1, "71 72 73 75 77 79 80 81 72 26 27 39 40 43 59 61");
    EXPECT_EQ(GetFocus(), pk.keyFields[9]);

    // Another key in the field ends the clash and its marks.
    SetFocus(pk.keyFields[8]);
    PressIn(pk.keyFields[8], 25);
    EXPECT_EQ(pk.L_KW->caption(), "");
    EXPECT_FALSE(pk.clashMarked(2));
    EXPECT_EQ(Inside(pk.keyFields[1]), GetSysColor(COLOR_WINDOW));
}

TEST_F(ClashTest, TheOtherLayoutClashesOnlyWhilePlayersUseBoth) {
    KeyboardPanel& pk = ui().PK;
    main->settings.Ks_Key2 = "19 72 21 33 35 47 48 49 30 31 32 44 45 46 60 62";  // KEY2's Up on 72
    main->ShowPanel(*ui().Img_PK);
    // After start-up all three players use KEY1: no clash.
    EXPECT_EQ(pk.L_KW->caption(), "");
    EXPECT_FALSE(pk.clashMarked(2));

    Choose(ui().PP.cb_p2d, 2);  // player 2 on KEY2, as a game's defaults have it
    main->ShowPanel(*ui().Img_PK);
    EXPECT_EQ(pk.L_KW->caption(), "72 is also Up of KEY2");
    EXPECT_TRUE(pk.clashMarked(2));
    Choose(pk.CB_KEYS, 1);  // loading the other layout shows its side of the clash
    EXPECT_EQ(pk.L_KW->caption(), "72 is also Up of KEY1");
    EXPECT_TRUE(pk.clashMarked(2));
    EXPECT_FALSE(pk.clashMarked(1));
}

TEST_F(ClashTest, TwoInputsOnOneButtonOfAMapAreMarked) {
    JoystickPanel& pj = ui().PJ;
    main->ShowPanel(*ui().Img_PJ);
    EXPECT_EQ(pj.L_JW->caption(), "");
    // 4BUTTON's own default has button 2 on B and Start, 3 on C and Coins.
    SendMessageA(pj.CB_JOYS, CB_SETCURSEL, 2, 0);
    SendMessageA(pj.hwnd(), WM_COMMAND, MAKEWPARAM(0, CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(pj.CB_JOYS));
    EXPECT_EQ(pj.L_JW->caption(), "2 is also Start");
    for (int slot = 1; slot <= kMapSlots; ++slot)
        EXPECT_EQ(pj.clashMarked(slot), slot == 2 || slot == 3 || slot == 7 || slot == 8) << slot;
    EXPECT_EQ(Inside(pj.mapFields[6]), kClashColour);
    EXPECT_NE(Inside(pj.mapFields[0]), kClashColour);

    // Typing a button another input has: both marked, the line names the other.
    SetFocus(pj.mapFields[0]);
    SetWindowTextA(pj.mapFields[0], "1");
    EXPECT_EQ(pj.L_JW->caption(), "1 is also Button D");
    EXPECT_TRUE(pj.clashMarked(1));
    EXPECT_TRUE(pj.clashMarked(4));
    SetFocus(pj.SE_AJR);
    EXPECT_EQ(main->settings.RB_4But, "1 2 3 1 255 255 2 3");  // kept as typed
}

}  // namespace
}  // namespace qv
