// The wait window: its shape, place, lines and look.
#include "shell_fixture_win.h"

namespace qv {
namespace {

void ExpectLine(const Label& label, int left, int top, int width, int height) {
    EXPECT_EQ(label.bounds().left, left);
    EXPECT_EQ(label.bounds().top, top);
    EXPECT_EQ(label.width(), width);
    EXPECT_EQ(label.height(), height);
}

// True when some pixel of the rectangle has exactly the colour.
bool AreaHasColour(HWND hwnd, RECT area, COLORREF colour) {
    HDC dc = GetDC(hwnd);
    bool found = false;
    for (int y = area.top; y < area.bottom && !found; ++y) {
        for (int x = area.left; x < area.right && !found; ++x)
            found = GetPixel(dc, x, y) == colour;
    }
    ReleaseDC(hwnd, dc);
    return found;
}

TEST_F(ShellTest, WaitWindowIsABorderlessTopmostBoxInTheMiddleOfTheScreen) {
    RECT client{}, window{};
    GetClientRect(wait.hwnd(), &client);
    GetWindowRect(wait.hwnd(), &window);
    EXPECT_EQ(client.right, 166);
    EXPECT_EQ(client.bottom, 101);
    EXPECT_EQ(window.right - window.left, 166);  // no border
    EXPECT_EQ(window.left, (GetSystemMetrics(SM_CXSCREEN) - 166) / 2);
    EXPECT_EQ(window.top, (GetSystemMetrics(SM_CYSCREEN) - 101) / 2);
    EXPECT_TRUE(GetWindowLongA(wait.hwnd(), GWL_EXSTYLE) & WS_EX_TOPMOST);
    char caption[16] = {};
    GetWindowTextA(wait.hwnd(), caption, sizeof caption);
    EXPECT_STREQ(caption, "Wait");

    ExpectLine(*wait.L_T, 4, 8, 158, 16);
    ExpectLine(*wait.L_I, 8, 32, 150, 33);
    ExpectLine(*wait.L_W, 4, 72, 158, 24);
    EXPECT_EQ(wait.L_T->caption(), "Quarvel");
    EXPECT_EQ(wait.background->width(), 166);
    EXPECT_EQ(wait.background->height(), 101);
}

TEST_F(ShellTest, WaitWindowShowsItsLinesInTheirColoursOnBlack) {
    wait.setInfo("Looking for Street Fighter 2 CE (J)");
    wait.setState("Working...");
    wait.showNow();
    EXPECT_TRUE(IsWindowVisible(wait.hwnd()));
    EXPECT_EQ(PixelOf(wait.hwnd(), 83, 28), RGB(0, 0, 0));  // between the lines
    EXPECT_TRUE(AreaHasColour(wait.hwnd(), RECT{4, 8, 162, 24}, RGB(0, 0, 255)));
    EXPECT_TRUE(AreaHasColour(wait.hwnd(), RECT{8, 32, 158, 48}, RGB(0, 255, 0)));
    // A long information text wraps onto the second line.
    EXPECT_TRUE(AreaHasColour(wait.hwnd(), RECT{8, 49, 158, 65}, RGB(0, 255, 0)));
    EXPECT_TRUE(AreaHasColour(wait.hwnd(), RECT{4, 72, 162, 96}, RGB(255, 255, 0)));
    wait.hide();
    EXPECT_FALSE(IsWindowVisible(wait.hwnd()));
}

}  // namespace
}  // namespace qv
