// The options panel: its lists, its switches and its folder labels, bound to
// the settings model.
#include "../app/shell_fixture_win.h"
#include "product/panel_layout.h"
#include "ui/standard_controls_win.h"
#include "ui/window_win.h"
#include "util/system_win.h"

namespace qv {
namespace {

std::string ItemText(HWND list, int index) {
    char text[64] = {};
    SendMessageA(list, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(text));
    return text;
}

void Choose(HWND list, int index) {
    SendMessageA(list, CB_SETCURSEL, index, 0);
    SendMessageA(GetParent(list), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(list), CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(list));
}

TEST_F(ShellTest, OptionsPanelShowsTheFirstStartDefaultsWhereTheLayoutPutsThem) {
    createMain();
    OptionsPanel& pa = ui().PA;
    EXPECT_EQ(SendMessageA(pa.CB_RES, CB_GETCOUNT, 0, 0), 13);
    EXPECT_EQ(ItemText(pa.CB_RES, 12), "1024x768");
    EXPECT_EQ(ListIndex(pa.CB_RES), 2);
    EXPECT_EQ(SendMessageA(pa.CB_FS, CB_GETCOUNT, 0, 0), 9);
    EXPECT_EQ(ItemText(pa.CB_FS, ListIndex(pa.CB_FS)), "AUTO");
    EXPECT_TRUE(IsChecked(pa.CB_vsync));
    EXPECT_FALSE(IsChecked(pa.CB_intensity));
    EXPECT_EQ(IsChecked(pa.CB_FPUcopy), IsPentium());
    EXPECT_EQ(pa.L_SF->caption(), "\\Saves");
    EXPECT_EQ(pa.L_PF->caption(), "\\Pcx");
    const ControlPlace vsync = PlaceOf("CB_vsync");
    const RECT box = ChildRect(pa.CB_vsync);
    EXPECT_EQ(box.left, vsync.left);
    EXPECT_EQ(box.top, vsync.top);
    EXPECT_EQ(box.right - box.left, 15);
    EXPECT_EQ(pa.L_SFF->bounds().left, PlaceOf("L_SFF").left);
}

TEST_F(ShellTest, OptionsPanelChangesReachTheSettingsAndLinearExcludesBanked) {
    createMain();
    OptionsPanel& pa = ui().PA;
    Choose(pa.CB_RES, 12);
    Choose(pa.CB_FS, 3);
    EXPECT_EQ(main->settings.CB_RES, 12);
    EXPECT_EQ(main->settings.CB_FS, 3);

    SendMessageA(pa.CB_linear, BM_CLICK, 0, 0);
    EXPECT_TRUE(main->settings.CB_linear);
    SendMessageA(pa.CB_banked, BM_CLICK, 0, 0);  // checking banked unchecks linear
    EXPECT_TRUE(main->settings.CB_banked);
    EXPECT_FALSE(main->settings.CB_linear);
    EXPECT_FALSE(IsChecked(pa.CB_linear));
    SendMessageA(pa.CB_banked, BM_CLICK, 0, 0);  // unchecking leaves both off
    EXPECT_FALSE(main->settings.CB_banked);
    EXPECT_FALSE(main->settings.CB_linear);
    SendMessageA(pa.CB_intensity, BM_CLICK, 0, 0);
    EXPECT_TRUE(main->settings.CB_intensity);
}

TEST_F(ShellTest, FolderLabelsLightUpUnderThePointerEdgesIncluded) {
    createMain();
    show();
    TOstrelActiveLabel& label = *ui().PA.L_SF;
    const COLORREF idle = label.NotActiveColor();
    ASSERT_NE(idle, label.ActiveColor());
    const struct {
        int x, y;
        bool lit;
    } cases[] = {{5, 5, true},
                 {0, 0, true},
                 {label.width(), label.height(), true},
                 {label.width() + 1, 5, false},
                 {-1, 5, false}};
    for (const auto& c : cases) {
        const POINT p = ScreenPointOf(label, c.x, c.y);
        SetCursorPos(p.x, p.y);
        label.checkHover();
        EXPECT_EQ(label.color(), c.lit ? label.ActiveColor() : idle) << c.x << "," << c.y;
    }
}

}  // namespace
}  // namespace qv
