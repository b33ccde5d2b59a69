// A running application shell for tests: application window, wait window and
// main window, made as at start-up, with the process end caught.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/application_win.h"
#include "app/main_window_win.h"
#include "app/wait_window_win.h"
#include "main_window_inside.h"

namespace qv {

class ShellTest : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Builds the main window (hidden until show() is called).
    void createMain();
    void show();
    // Handles what is pending, waits 30 ms for what that sets off (repaints,
    // posted messages) and handles that too; the main window's timer is not
    // waited for (PointAt drives it).
    static void settle();
    // Lets the windows run until done holds, at most ten seconds.
    static bool RunUntil(const std::function<bool()>& done);
    // A registry key of this test process's own for the settings.
    static std::string settingsKey();

    AppWindow app;
    TF_Wait wait;
    std::unique_ptr<TF_Main> main;
    // The main window's controls.
    MainWindowInside ui() const { return MainWindowInside(*main); }
    std::vector<int> exitCodes;         // process ends that the main window asked for
    std::vector<std::string> messages;  // message boxes the main window showed
};

// Screen point of a control's own coordinates (x, y).
POINT ScreenPointOf(const GraphicControl& control, int x, int y);

// Puts the pointer at (x, y) of a control and lets the hover timer tick once.
void PointAt(TF_Main& main, const GraphicControl& control, int x, int y);

// Colour of a pixel of a window as it is shown on screen.
COLORREF PixelOf(HWND hwnd, int x, int y);

// The clipboard's text (empty when it holds none).
std::string ClipboardText();

// The items of a list box, in order.
std::vector<std::string> ListBoxItems(HWND list);

}  // namespace qv
