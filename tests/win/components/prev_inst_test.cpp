// TPrevInst within one process: a second top-level window of the same class
// and text stands in for a running copy, so every step can be looked at.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "components/prev_inst_win.h"
#include "util/system_win.h"
#include "../pump_win.h"

namespace qv {
namespace {

constexpr char kClass[] = "QvPrevInstTest";
constexpr char kTitle[] = "Guarded v1.01";

HWND MakeTopLevel(const char* className, const char* text, HWND owner = nullptr) {
    static const bool registered = [] {
        WNDCLASSA wc{};
        wc.lpfnWndProc = DefWindowProcA;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = kClass;
        return RegisterClassA(&wc) != 0;
    }();
    EXPECT_TRUE(registered);
    return CreateWindowExA(0, className, text, WS_POPUP | WS_VISIBLE | WS_MINIMIZEBOX, 10, 10, 80,
                           60, owner, nullptr, GetModuleHandleA(nullptr), nullptr);
}

std::string TextOf(HWND hwnd) {
    char text[256] = "";
    GetWindowTextA(hwnd, text, sizeof text);
    return text;
}

class PrevInstTest : public testing::Test {
protected:
    void SetUp() override {
        own = MakeTopLevel(kClass, "Guarded");  // as at start-up, before the final title
        ASSERT_NE(own, nullptr);
    }
    void TearDown() override {
        for (HWND hwnd : windows)
            DestroyWindow(hwnd);
        DestroyWindow(own);
        takeQuit();
    }
    HWND window(const char* className, const char* text, HWND owner = nullptr) {
        HWND hwnd = MakeTopLevel(className, text, owner);
        windows.push_back(hwnd);
        return hwnd;
    }
    // Creates the guard as the main window does; notes the process ends it asks for.
    void guard() {
        TPrevInst guard(own, kTitle, [this](int code) { exitCodes.push_back(code); });
        EXPECT_EQ(guard.AllowedInst(), 1);
        ProcessMessagesUntilQuit();
    }
    // Handles what is pending; notes whether this application was asked to end.
    void ProcessMessagesUntilQuit() {
        quitAsked = takeQuit();
        ProcessMessages();
    }
    static bool takeQuit() {
        MSG msg;
        return PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) != 0;
    }

    HWND own = nullptr;
    std::vector<HWND> windows;
    std::vector<int> exitCodes;
    bool quitAsked = false;
};

TEST_F(PrevInstTest, AloneTheStartGoesOnUnderTheFinalTitle) {
    // Near misses: another class with our text, our class with other texts.
    window("STATIC", kTitle);
    window(kClass, "guarded v1.01");
    window(kClass, "Guarded v1.01 ");
    window(kClass, "Guarded");  // a copy still starting has not taken the final title

    guard();

    EXPECT_EQ(TextOf(own), kTitle);
    EXPECT_TRUE(exitCodes.empty());
    EXPECT_FALSE(quitAsked);
}

TEST_F(PrevInstTest, AnotherCopyIsBroughtForwardAndThisOneEnds) {
    HWND running = window(kClass, kTitle);
    HWND elsewhere = window("STATIC", "some other program");
    SetForegroundWindow(elsewhere);
    ASSERT_EQ(GetForegroundWindow(), elsewhere);

    guard();

    EXPECT_EQ(exitCodes, std::vector<int>{1});
    EXPECT_TRUE(quitAsked);
    EXPECT_EQ(GetForegroundWindow(), running);
}

TEST_F(PrevInstTest, AllowedInstanceCountIsTheLimit) {
    window(kClass, kTitle);
    window(kClass, kTitle);
    TPrevInst guard(own, kTitle, [this](int code) { exitCodes.push_back(code); });
    takeQuit();
    EXPECT_EQ(exitCodes, std::vector<int>{1});  // the limit at creation is 1
    guard.SetAllowedInst(3);
    EXPECT_FALSE(guard.FindPrevInstance());  // three matches, ours included
    guard.SetAllowedInst(2);
    EXPECT_TRUE(guard.FindPrevInstance());
    EXPECT_TRUE(takeQuit());
}

TEST_F(PrevInstTest, AMinimisedCopyIsRestored) {
    HWND running = window(kClass, kTitle);
    ShowWindow(running, SW_MINIMIZE);
    ASSERT_TRUE(IsIconic(running));

    guard();

    EXPECT_EQ(exitCodes, std::vector<int>{1});
    EXPECT_FALSE(IsIconic(running));
    EXPECT_TRUE(IsWindowVisible(running));
    EXPECT_EQ(GetForegroundWindow(), running);
}

TEST_F(PrevInstTest, TheBoxTheOtherCopyShowsComesForward) {
    HWND running = window(kClass, kTitle);
    HWND mainWindow = window("STATIC", "main", running);
    HWND box = window("STATIC", "box", mainWindow);
    SetActiveWindow(box);
    HWND elsewhere = window("STATIC", "some other program");
    SetForegroundWindow(elsewhere);
    ASSERT_EQ(GetLastActivePopup(running), box);

    guard();

    EXPECT_EQ(exitCodes, std::vector<int>{1});
    EXPECT_EQ(GetForegroundWindow(), box);
}

TEST_F(PrevInstTest, ACopyMinimisedFromTheTaskBarIsRestoredWithItsWindows) {
    HWND running = window(kClass, kTitle);
    HWND mainWindow = window("STATIC", "main", running);
    SetActiveWindow(mainWindow);
    // What the task bar button does: the owner goes down, its windows out of sight.
    SendMessageA(running, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    ASSERT_TRUE(IsIconic(running));
    ASSERT_FALSE(IsWindowVisible(mainWindow));

    guard();

    EXPECT_EQ(exitCodes, std::vector<int>{1});
    EXPECT_FALSE(IsIconic(running));
    EXPECT_TRUE(IsWindowVisible(mainWindow));
}

TEST_F(PrevInstTest, AMinimisedMainWindowUnderItsBoxIsRestored) {
    HWND running = window(kClass, kTitle);
    HWND mainWindow = window("STATIC", "main", running);
    HWND box = window("STATIC", "box", mainWindow);
    SetActiveWindow(box);
    ShowWindow(mainWindow, SW_MINIMIZE);
    HWND elsewhere = window("STATIC", "some other program");
    SetForegroundWindow(elsewhere);

    guard();

    EXPECT_EQ(exitCodes, std::vector<int>{1});
    EXPECT_FALSE(IsIconic(mainWindow));
    EXPECT_EQ(GetForegroundWindow(), box);
}

}  // namespace
}  // namespace qv
