// The main window from the keyboard: the Tab ring in the controls' tab order,
// the list keys, Enter and Space on game buttons and pictures, the focus
// marks, and the keys the fields keep for themselves.
#include <string>
#include <vector>

#include "games_fixture_win.h"
#include "ui/standard_controls_win.h"
#include "util/files_win.h"
#include "util/system_win.h"
#include "../pump_win.h"

namespace qv {
namespace {

constexpr COLORREF kFocusAmber = RGB(255, 186, 72);

MSG KeyMsg(HWND hwnd, UINT message, WPARAM key, LPARAM lp) {
    MSG msg{};
    msg.hwnd = hwnd;
    msg.message = message;
    msg.wParam = key;
    msg.lParam = lp;
    return msg;
}

class KeyboardTest : public GamesTest {
protected:
    // A key pressed and released as the message loop hands it on: to the
    // main window's keys first, then to the dialog keys, then to the control.
    void key(WORD vk, bool shift = false) {
        BYTE state[256] = {};
        GetKeyboardState(state);
        state[VK_SHIFT] = shift ? 0x80 : 0;
        SetKeyboardState(state);
        const LPARAM scan = static_cast<LPARAM>(MapVirtualKeyA(vk, MAPVK_VK_TO_VSC)) << 16;
        for (UINT message : {WM_KEYDOWN, WM_KEYUP}) {
            MSG msg = KeyMsg(GetFocus(), message, vk, scan | 1 | (message == WM_KEYUP ? 0xC0000000 : 0));
            if (!main->KeyMessage(msg) && !IsDialogMessageA(main->hwnd(), &msg)) {
                TranslateMessage(&msg);
                DispatchMessageA(&msg);
            }
        }
        state[VK_SHIFT] = 0;
        SetKeyboardState(state);
        ProcessMessages();
    }

    // What has the focus, by its product name (a game button by its title).
    std::string focusName() const {
        HWND focus = GetFocus();
        const MainWindowInside m(*main);
        const Container* window = main.get();
        const std::pair<HWND, const char*> named[] = {
            {m.B_1, "B_1"},         {m.B_R, "B_R"},         {m.PA.B_2, "B_2"},
            {m.PA.B_3, "B_3"},      {m.PA.CB_RES, "CB_RES"}, {m.PA.CB_FS, "CB_FS"},
            {m.PK.CB_KEYS, "CB_KEYS"}, {m.PJ.CB_JOYS, "CB_JOYS"}, {m.PJ.SE_AJR, "SE_AJR"},
            {m.PJ.B_CALIB, "B_CALIB"}, {m.PP.CB_P1D, "CB_P1D"}, {m.PP.cb_p2d, "cb_p2d"},
            {m.PP.cb_p3d, "cb_p3d"}};
        for (auto [window, name] : named) {
            if (focus == window) return name;
        }
        for (std::size_t i = 0; i < m.PK.keyFields.size(); ++i) {
            if (focus == m.PK.keyFields[i]) return "key" + std::to_string(i + 1);
        }
        for (std::size_t i = 0; i < m.PJ.mapFields.size(); ++i) {
            if (focus == m.PJ.mapFields[i]) return "map" + std::to_string(i + 1);
        }
        if (GameButton* game = m.games.focusedButton()) return game->caption();
        const std::pair<const Container*, const GraphicControl*> pictures[] = {
            {window, m.Img_Exit},     {window, m.Img_PA},    {window, m.Img_PP},
            {window, m.Img_PK},       {window, m.Img_PJ},    {window, m.Img_PI},
            {&m.PI, m.PI.Img_Ostrel}, {&m.PI, m.PI.Img_Tev}, {&m.PI, m.PI.Img_Int}};
        for (auto [surface, picture] : pictures) {
            if (focus == surface->hwnd() && surface->focusedPicture() == picture) {
                return "picture" + picture->hint().substr(0, picture->hint().find(':'));
            }
        }
        if (focus == window->hwnd()) return "main";
        return "other";
    }

    // The focus names met on count presses of Tab (or Shift+Tab).
    std::vector<std::string> walk(int count, bool shift = false) {
        std::vector<std::string> names;
        for (int i = 0; i < count; ++i) {
            key(VK_TAB, shift);
            names.push_back(focusName());
        }
        return names;
    }
};

using Names = std::vector<std::string>;

TEST_F(KeyboardTest, TabWalksTheConsoleThePanelInFrontAndTheListInTabOrder) {
    EXPECT_EQ(focusName(), "main");  // at start nothing has the focus
    const Names head{"B_1",         "picture_Exit", "picture_PA", "picture_Pp",
                     "picture_Pk",  "picture_Pj",   "picture_Pi"};
    Names names = walk(7);
    EXPECT_EQ(names, head);
    // The options panel's controls, then Re-Scan and the list, then round again.
    names = walk(16);
    EXPECT_EQ(names.front(), "B_2");
    EXPECT_EQ(names[1], "B_3");
    EXPECT_EQ(names[2], "CB_RES");
    EXPECT_EQ(names[names.size() - 3], "B_R");
    EXPECT_EQ(names[names.size() - 2], "Three Wonders");
    EXPECT_EQ(names.back(), "B_1");
    // Shift+Tab goes back the same way.
    EXPECT_EQ(walk(3, true), (Names{"Three Wonders", "B_R", names[names.size() - 4]}));

    // The keyboard panel in front: its selector and fields by slot, S_KD passed over.
    main->ShowPanel(*ui().Img_PK);
    SetFocus(ui().B_1);
    names = walk(24);
    Names expected(head.begin() + 1, head.end());
    expected.push_back("CB_KEYS");
    for (int slot = 1; slot <= 16; ++slot) {
        if (slot != 7) expected.push_back("key" + std::to_string(slot));
    }
    expected.insert(expected.end(), {"B_R", "Three Wonders"});
    EXPECT_EQ(names, expected);

    main->ShowPanel(*ui().Img_PJ);
    SetFocus(ui().B_R);
    names = walk(13, true);
    EXPECT_EQ(names, (Names{"B_CALIB", "SE_AJR", "map8", "map7", "map6", "map5", "map4", "map3",
                            "map2", "map1", "CB_JOYS", "picture_Pi", "picture_Pj"}));

    // The information panel's stops are its three links.
    main->ShowPanel(*ui().Img_PI);
    SetFocus(ui().B_R);
    names = walk(4, true);
    EXPECT_EQ(names[0],
              "picture" + ui().PI.Img_Int->hint().substr(0, ui().PI.Img_Int->hint().find(':')));
    EXPECT_EQ(names[3], "picture_Pi");
}

TEST_F(KeyboardTest, ListKeysMoveAmongTheGamesAndScrollTheFocusedOneIntoView) {
    key(VK_TAB, true);  // from nowhere, Shift+Tab lands on the list
    const auto& buttons = ui().games.buttons();
    EXPECT_EQ(GetFocus(), buttons[0]->hwnd());
    key(VK_UP);
    EXPECT_EQ(GetFocus(), buttons[0]->hwnd());
    key(VK_DOWN);
    EXPECT_EQ(GetFocus(), buttons[1]->hwnd());

    auto wholly_in_view = [this](const GameButton& button) {
        RECT box{}, r = ChildRect(button.hwnd());
        GetClientRect(ui().games.sb.hwnd(), &box);
        return r.top >= 0 && r.bottom <= box.bottom;
    };
    const std::size_t last = buttons.size() - 1;
    key(VK_END);
    EXPECT_EQ(GetFocus(), buttons[last]->hwnd());
    EXPECT_GT(ui().games.sb.position(), 0);
    EXPECT_TRUE(wholly_in_view(*buttons[last]));
    key(VK_PRIOR);  // four games fill the box: a page is four
    EXPECT_EQ(GetFocus(), buttons[last - 4]->hwnd());
    EXPECT_TRUE(wholly_in_view(*buttons[last - 4]));
    key(VK_HOME);
    EXPECT_EQ(GetFocus(), buttons[0]->hwnd());
    EXPECT_EQ(ui().games.sb.position(), 0);
    key(VK_NEXT);
    EXPECT_EQ(GetFocus(), buttons[4]->hwnd());
    EXPECT_TRUE(wholly_in_view(*buttons[4]));

    // Tab leaves the list and comes back to the game it left.
    key(VK_TAB);
    EXPECT_EQ(GetFocus(), ui().B_1);
    key(VK_TAB, true);
    EXPECT_EQ(GetFocus(), buttons[4]->hwnd());
    // Its focus frame: the amber of the console's lit parts, inside its edge.
    UpdateWindow(buttons[4]->hwnd());
    EXPECT_EQ(PixelOf(buttons[4]->hwnd(), 3, 3), kFocusAmber);
    EXPECT_NE(PixelOf(buttons[3]->hwnd(), 3, 3), kFocusAmber);
}

TEST_F(KeyboardTest, SpaceOrEnterOnAGameSelectsItAndASecondEnterLaunchesIt) {
    key(VK_TAB, true);
    key(VK_DOWN);
    key(VK_SPACE);  // the first press selects Final Fight: its players come forward
    EXPECT_EQ(main->session.run.selectedGameId, "FFIGHT");
    EXPECT_EQ(&main->frontPanel(), &ui().PP);
    EXPECT_FALSE(FileExists(emu + "\\Saves\\ravlen-witness.txt"));
    EXPECT_EQ(GetFocus(), ui().games.buttons()[1]->hwnd());

    // A held Enter repeats: the repeats launch nothing.
    const MSG repeat = KeyMsg(GetFocus(), WM_KEYDOWN, VK_RETURN, 1 | (1 << 30));
    EXPECT_TRUE(main->KeyMessage(repeat));
    EXPECT_FALSE(FileExists(emu + "\\Saves\\ravlen-witness.txt"));

    key(VK_RETURN);  // the second launches it
    EXPECT_NE(witness().find("game id: FFIGHT"), std::string::npos) << witness();
    // Once the window is active again after the run, the focus is on the game.
    EXPECT_TRUE(focusComesBackTo(ui().games.buttons()[1]->hwnd())) << GetFocus();
    EXPECT_TRUE(messages.empty());
}

TEST_F(KeyboardTest, PicturesTakeTheFocusShowLitInAFrameAndEnterOrSpacePressesThem) {
    walk(5);  // B_1, the exit, then the panel pictures up to the keyboard's
    ASSERT_EQ(focusName(), "picture_Pk");
    Image& pk = *ui().Img_PK;
    EXPECT_FALSE(pk.visible());  // the hover rule is untouched
    UpdateWindow(main->hwnd());
    const RECT mark = pk.markArea();
    EXPECT_EQ(PixelOf(main->hwnd(), mark.left, mark.top), kFocusAmber);
    EXPECT_EQ(PixelOf(main->hwnd(), mark.right - 1, mark.bottom - 1), kFocusAmber);

    // Down shows the pressed picture, up the lit one again and switches.
    const HBITMAP lit = pk.picture();
    const MSG down = KeyMsg(main->hwnd(), WM_KEYDOWN, VK_RETURN, 1);
    SendMessageA(main->hwnd(), WM_KEYDOWN, VK_RETURN, 1);
    EXPECT_NE(pk.picture(), lit);
    EXPECT_EQ(&main->frontPanel(), &ui().PA);
    EXPECT_EQ(SendMessageA(main->hwnd(), WM_GETDLGCODE, VK_RETURN, reinterpret_cast<LPARAM>(&down)),
              DLGC_WANTMESSAGE);
    SendMessageA(main->hwnd(), WM_KEYUP, VK_RETURN, 0xC0000001);
    EXPECT_EQ(&main->frontPanel(), &ui().PK);
    EXPECT_FALSE(IsWindowEnabled(ui().PA.hwnd()));

    key(VK_TAB);
    key(VK_SPACE);
    EXPECT_EQ(&main->frontPanel(), &ui().PJ);
    EXPECT_TRUE(exitCodes.empty());
    walk(4, true);  // back to the exit picture
    ASSERT_EQ(focusName(), "picture_Exit");
    key(VK_RETURN);
    EXPECT_EQ(exitCodes, std::vector<int>{0});
}

TEST_F(KeyboardTest, FieldsKeepTheirKeysAndKeyFieldsRecordAllButTab) {
    main->ShowPanel(*ui().Img_PK);
    HWND kul = ui().PK.keyFields[0];
    SetFocus(kul);
    key(VK_RETURN);  // Enter is a key like any other here
    EXPECT_EQ(WindowText(kul), std::to_string(MapVirtualKeyA(VK_RETURN, MAPVK_VK_TO_VSC)));
    EXPECT_EQ(GetFocus(), ui().PK.keyFields[1]);
    key(VK_DOWN);
    key(VK_END);
    EXPECT_EQ(GetFocus(), ui().PK.keyFields[3]);
    const std::string layout = main->settings.Ks_Key1;
    key(VK_TAB);  // Tab alone moves on unrecorded
    EXPECT_EQ(GetFocus(), ui().PK.keyFields[4]);
    EXPECT_EQ(main->settings.Ks_Key1, layout);

    // Lists and number fields keep their arrows.
    SetFocus(ui().PK.CB_KEYS);
    key(VK_DOWN);
    EXPECT_EQ(ListIndex(ui().PK.CB_KEYS), 1);
    EXPECT_EQ(GetFocus(), ui().PK.CB_KEYS);
    main->ShowPanel(*ui().Img_PJ);
    SetFocus(ui().PJ.SE_AJR);
    key(VK_UP);
    EXPECT_EQ(WindowText(ui().PJ.SE_AJR), "1025");
    EXPECT_EQ(GetFocus(), ui().PJ.SE_AJR);
}

TEST_F(KeyboardTest, TheFocusComesBackWhenTheWindowIsActiveAgain) {
    key(VK_TAB, true);
    key(VK_DOWN);
    HWND game = GetFocus();
    ASSERT_EQ(game, ui().games.buttons()[1]->hwnd());
    ShowWindow(ui().F_PcxView.hwnd(), SW_SHOW);
    SetForegroundWindow(ui().F_PcxView.hwnd());
    settle();
    ASSERT_NE(GetFocus(), game);
    ShowWindow(ui().F_PcxView.hwnd(), SW_HIDE);
    EXPECT_TRUE(focusComesBackTo(game)) << GetFocus();

    // A re-scan destroys the buttons: the list keeps the focus on the new first one.
    main->GamesCheck();
    EXPECT_EQ(GetFocus(), ui().games.buttons()[0]->hwnd());
}

}  // namespace
}  // namespace qv
