// The one pump of messages during work: it routes them as the main loop
// does, tells the innermost work, and keeps a quit request for the main loop.
#include <gtest/gtest.h>

#include <windows.h>

#include "ui/busy_win.h"

namespace qv {
namespace {

LRESULT CALLBACK CountingProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_APP) ++*reinterpret_cast<int*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    return DefWindowProcA(hwnd, msg, wp, lp);
}

TEST(BusyScope, RoutesAsTheMainLoopTellsTheInnermostWorkAndKeepsAQuit) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = CountingProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "QvBusyCounting";
    RegisterClassA(&wc);
    HWND hwnd = CreateWindowA(wc.lpszClassName, "", 0, 0, 0, 1, 1, HWND_MESSAGE, nullptr,
                              wc.hInstance, nullptr);
    ASSERT_NE(hwnd, nullptr);
    int dispatched = 0, routed = 0;
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&dispatched));
    // The route takes every other message, as the main window takes its keys.
    SetMessageRoute([&routed](MSG& msg) { return msg.message == WM_APP && ++routed % 2 == 0; });

    EXPECT_EQ(BusyWith(), Work::kNothing);
    {
        BusyScope check(Work::kCheck);
        {
            BusyScope scan(Work::kScan);  // a re-scan inside the check
            EXPECT_EQ(BusyWith(), Work::kScan);
            for (int i = 0; i < 4; ++i) PostMessageA(hwnd, WM_APP, 0, 0);
            PostQuitMessage(7);
            scan.yield();
            EXPECT_EQ(routed, 4);
            EXPECT_EQ(dispatched, 2);
        }
        EXPECT_EQ(BusyWith(), Work::kCheck);
        MSG msg;
        EXPECT_FALSE(PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE));  // held
    }
    EXPECT_EQ(BusyWith(), Work::kNothing);
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 7u);
    SetMessageRoute(nullptr);
    DestroyWindow(hwnd);
}

}  // namespace
}  // namespace qv
