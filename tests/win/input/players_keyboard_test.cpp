// The players and keyboard panels in the running main window: selectors,
// descriptions, layouts and the focus walk of key recording.
#include "../app/shell_fixture_win.h"
#include "input/key_layout.h"
#include "ui/standard_controls_win.h"

namespace qv {
namespace {

std::string ItemText(HWND list, int index) {
    std::string text(static_cast<std::size_t>(SendMessageA(list, CB_GETLBTEXTLEN, index, 0)), ' ');
    SendMessageA(list, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(text.data()));
    return text;
}

void Choose(HWND list, int index) {
    SendMessageA(list, CB_SETCURSEL, index, 0);
    SendMessageA(GetParent(list), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(list), CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(list));
}

// A key-down as the system sends it: the make code in bits 16 to 23.
void PressIn(HWND field, int scanCode, bool extended = false) {
    const LPARAM lp = 1 | (scanCode << 16) | (extended ? 1 << 24 : 0);
    SendMessageA(field, WM_KEYDOWN, 'X', lp);
}

TEST_F(ShellTest, PlayerSelectorsStartAtKey1AndDescribeTheChosenDevice) {
    createMain();
    PlayersPanel& pp = ui().PP;
    const std::pair<HWND, Label*> players[] = {
        {pp.CB_P1D, pp.L_P1D}, {pp.cb_p2d, pp.L_P2d}, {pp.cb_p3d, pp.L_p3d}};
    for (auto [selector, description] : players) {
        EXPECT_EQ(SendMessageA(selector, CB_GETCOUNT, 0, 0), 12);
        EXPECT_EQ(ListIndex(selector), 1);
        EXPECT_EQ(description->caption(), " Keyboard layout 1");
        EXPECT_TRUE(GetWindowLongA(selector, GWL_STYLE) & CBS_OWNERDRAWFIXED);
        const std::string item = ItemText(selector, 11);
        EXPECT_EQ(item.find('|'), std::string::npos);
        EXPECT_EQ(item.substr(0, 12), "SNESPAD2    ");
    }
    EXPECT_EQ(main->settings.cb_p2d, 1);

    Choose(pp.CB_P1D, 0);
    EXPECT_EQ(pp.L_P1D->caption(), " No Input Device for this Player");
    Choose(pp.cb_p3d, 7);
    EXPECT_EQ(pp.L_p3d->caption(), " Microsoft Sidewinder Gamepad in digital mode (10 button)");
    EXPECT_EQ(main->settings.CB_P1D, 0);
    EXPECT_EQ(main->settings.cb_p3d, 7);
    EXPECT_EQ(pp.L_P2d->caption(), " Keyboard layout 1");
}

TEST_F(ShellTest, KeyboardPanelShowsTheChosenLayoutInSlotAndTabOrder) {
    createMain();
    KeyboardPanel& pk = ui().PK;
    EXPECT_EQ(ListIndex(pk.CB_KEYS), 0);
    EXPECT_EQ(WindowText(pk.keyFields[0]), "71");
    Choose(pk.CB_KEYS, 1);
    EXPECT_EQ(WindowText(pk.keyFields[0]), "19");   // S_KUL
    EXPECT_EQ(WindowText(pk.keyFields[15]), "62");  // E_Km

    // Tab order: the selector, then slots 1 to 16; S_KD alone is no tab stop.
    HWND next = GetWindow(pk.CB_KEYS, GW_HWNDNEXT);
    for (int slot = 1; slot <= kKeySlots; ++slot, next = GetWindow(next, GW_HWNDNEXT)) {
        ASSERT_EQ(next, pk.keyFields[slot - 1]) << slot;
        EXPECT_EQ((GetWindowLongA(next, GWL_STYLE) & WS_TABSTOP) != 0, slot != 7) << slot;
        EXPECT_TRUE(GetWindowLongA(next, GWL_STYLE) & ES_READONLY);
    }
    // A short stored layout leaves the later fields empty.
    main->settings.Ks_Key1 = "1 2 3";
    Choose(pk.CB_KEYS, 0);
    EXPECT_EQ(WindowText(pk.keyFields[2]), "3");
    EXPECT_EQ(WindowText(pk.keyFields[3]), "");
}

TEST_F(ShellTest, RecordingAKeyStoresItsCodeAndWalksTheFocusOn) {
    createMain();
    show();
    KeyboardPanel& pk = ui().PK;
    main->ShowPanel(*ui().Img_PK);
    HWND kul = pk.keyFields[0], ku = pk.keyFields[1], kur = pk.keyFields[2];
    HWND kdl = pk.keyFields[5], kd = pk.keyFields[6], km = pk.keyFields[15];

    SetFocus(ku);
    PressIn(ku, 72);  // keypad 8 where 72 already stood: the text stays
    EXPECT_EQ(WindowText(ku), "72");
    EXPECT_EQ(GetFocus(), kur);
    EXPECT_EQ(main->settings.Ks_Key1, "71 72 73 75 77 79 80 81 25 26 27 39 40 43 59 61");

    PressIn(kur, 72, true);  // the up arrow gives keypad 8's code
    EXPECT_EQ(WindowText(kur), "72");
    SetFocus(kdl);
    PressIn(kdl, 1);            // Esc is a key like any other
    EXPECT_EQ(GetFocus(), kd);  // no tab stop, yet the walk goes there
    PressIn(kd, 1);
    SetFocus(km);
    PressIn(km, 30);
    PressIn(km, 31);
    EXPECT_EQ(GetFocus(), km);
    EXPECT_EQ(main->settings.Ks_Key1, "71 72 72 75 77 1 1 81 25 26 27 39 40 43 59 31");

    // A held key repeats: each repeat lands in the field the focus moved to.
    SetFocus(pk.keyFields[8]);
    for (int repeat = 0; repeat < 3; ++repeat) {
        SendMessageA(GetFocus(), WM_KEYDOWN, 'Q', 1 | (16 << 16) | (repeat ? 1 << 30 : 0));
    }
    EXPECT_EQ(GetFocus(), pk.keyFields[11]);
    EXPECT_EQ(main->settings.Ks_Key1, "71 72 72 75 77 1 1 81 16 16 16 39 40 43 59 31");

    // The second layout is recorded into its own text.
    Choose(pk.CB_KEYS, 1);
    SetFocus(kul);
    PressIn(kul, 16);
    EXPECT_EQ(main->settings.Ks_Key2, "16 20 21 33 35 47 48 49 30 31 32 44 45 46 60 62");
    EXPECT_EQ(main->settings.Ks_Key1, "71 72 72 75 77 1 1 81 16 16 16 39 40 43 59 31");
}

}  // namespace
}  // namespace qv
