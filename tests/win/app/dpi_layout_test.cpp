// Every window of the shell at 100, 150 and 200 % display scaling: each one
// and each of its controls stands where the 96-DPI layout puts it, times the
// scale, within a pixel (exactly, at 96 DPI).
//
// Wine reads the DPI (HKCU\Control Panel\Desktop, LogPixels) when a process
// starts, so the test runs this program again once per DPI, each run writing
// down the places it laid out, and compares the runs with the 96-DPI one.
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>
#include <string>

#include "shell_fixture_win.h"
#include "ui/dpi_win.h"
#include "util/files_win.h"
#include "util/system_win.h"

namespace qv {
namespace {

constexpr const char* kDumpVariable = "QV_LAYOUT_DUMP";
constexpr const char* kDesktopKey = "Control Panel\\Desktop";

struct Place {
    RECT r{};
    // A windowless control's 96-DPI width as the run laid it out: a label
    // that fits its width to its caption measures it in the font of its DPI.
    int designWidth = 0;
};

using Layout = std::map<std::string, Place>;

std::string Key(const std::string& owner, const char* kind, std::size_t index) {
    char key[160];
    std::snprintf(key, sizeof key, "%s/%s%02u", owner.c_str(), kind, static_cast<unsigned>(index));
    return key;
}

// The windowless controls of one of our containers, in top's client coordinates.
void AddControls(HWND top, HWND window, const std::string& owner, Layout& layout) {
    const auto* container = dynamic_cast<const Container*>(Window::FromHandle(window));
    if (!container) return;
    std::size_t index = 0;
    for (const auto& control : container->controls()) {
        RECT r = control->bounds();
        MapWindowPoints(window, top, reinterpret_cast<POINT*>(&r), 2);
        layout[Key(owner, "control", index++)] = Place{r, control->designWidth()};
    }
}

struct Walker {
    HWND top;
    std::string name;
    Layout* layout;
    std::size_t index = 0;
};

BOOL CALLBACK WalkChild(HWND child, LPARAM lp) {
    Walker& w = *reinterpret_cast<Walker*>(lp);
    RECT r{};
    GetWindowRect(child, &r);
    MapWindowPoints(HWND_DESKTOP, w.top, reinterpret_cast<POINT*>(&r), 2);
    char cls[64] = {};
    GetClassNameA(child, cls, sizeof cls);
    const std::string key = Key(w.name, cls, w.index++);
    (*w.layout)[key] = Place{r, -1};
    // The text's height (its em) as the bottom of a place of its own, so that
    // it is checked as the places are: a face that has no such size (a
    // bitmap font) falls back to a smaller one.
    if (const auto font = reinterpret_cast<HFONT>(SendMessageA(child, WM_GETFONT, 0, 0))) {
        ScreenDc screen;
        SelectScope select(screen.get(), font);
        TEXTMETRICA metrics{};
        GetTextMetricsA(screen.get(), &metrics);
        (*w.layout)[key + "/text"] =
            Place{RECT{0, 0, 0, metrics.tmHeight - metrics.tmInternalLeading}, -1};
    }
    AddControls(w.top, child, key, *w.layout);
    return TRUE;
}

// A top-level window's client size, and the places of all its descendants
// and of the windowless controls of each, in its client coordinates.
void Walk(HWND top, const std::string& name, Layout& layout) {
    RECT client{};
    GetClientRect(top, &client);
    layout[name] = Place{client, -1};
    AddControls(top, top, name, layout);
    Walker walker{top, name, &layout};
    EnumChildWindows(top, &WalkChild, reinterpret_cast<LPARAM>(&walker));
}

void Write(const Layout& layout, const std::string& file) {
    std::ofstream out(file);
    for (const auto& [key, place] : layout)
        out << key << ' ' << place.r.left << ' ' << place.r.top << ' ' << place.r.right << ' '
            << place.r.bottom << ' ' << place.designWidth << '\n';
}

Layout Read(const std::string& file) {
    Layout layout;
    std::ifstream in(file);
    std::string key;
    Place p;
    while (in >> key >> p.r.left >> p.r.top >> p.r.right >> p.r.bottom >> p.designWidth)
        layout[key] = p;
    return layout;
}

// The layout check of one run at the system DPI: the shell's windows and
// their controls, written down for DpiLayout below. Skipped in a plain run.
TEST_F(ShellTest, WritesItsLayoutForTheDpiCheck) {
    const char* file = std::getenv(kDumpVariable);
    if (!file) GTEST_SKIP() << "run by DpiLayout at each DPI";
    createMain();
    show();
    MadeWhole{*main};
    ASSERT_EQ(MonitorDpiOf(main->hwnd()), SystemDpi());
    Layout layout;
    Walk(main->hwnd(), "main", layout);
    Walk(ui().F_PcxView.hwnd(), "viewer", layout);
    Walk(ui().F_Report.hwnd(), "games", layout);
    Walk(wait.hwnd(), "wait", layout);
    layout["dpi"] = Place{RECT{SystemDpi(), 0, 0, 0}, -1};
    Write(layout, file);
}

// Runs this program at dpi (LogPixels set for its start, then put back) and
// reads the layout it wrote.
Layout LayoutAt(int dpi) {
    HKEY key{};
    EXPECT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, kDesktopKey, 0, nullptr, 0, KEY_ALL_ACCESS,
                              nullptr, &key, nullptr),
              ERROR_SUCCESS);
    DWORD old = 0, size = sizeof old, type = 0;
    const bool hadOld = RegQueryValueExA(key, "LogPixels", nullptr, &type,
                                         reinterpret_cast<BYTE*>(&old), &size) == ERROR_SUCCESS;
    const DWORD value = static_cast<DWORD>(dpi);
    RegSetValueExA(key, "LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                   sizeof value);

    const std::string file = WindowsTempDir() + "\\qv-layout-" +
                             std::to_string(GetCurrentProcessId()) + "-" + std::to_string(dpi) +
                             ".txt";
    DeleteFileA(file.c_str());
    char self[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    std::string command =
        std::string("\"") + self + "\" --gtest_filter=ShellTest.WritesItsLayoutForTheDpiCheck";
    SetEnvironmentVariableA(kDumpVariable, file.c_str());
    STARTUPINFOA start{};
    start.cb = sizeof start;
    PROCESS_INFORMATION process{};
    const bool started = CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0,
                                        nullptr, nullptr, &start, &process) != FALSE;
    SetEnvironmentVariableA(kDumpVariable, nullptr);
    DWORD exitCode = 1;
    if (started) {
        WaitForSingleObject(process.hProcess, 120000);
        GetExitCodeProcess(process.hProcess, &exitCode);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
    if (hadOld && type == REG_DWORD) {
        RegSetValueExA(key, "LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&old),
                       sizeof old);
    } else {
        RegDeleteValueA(key, "LogPixels");
    }
    RegCloseKey(key);
    EXPECT_TRUE(started);
    EXPECT_EQ(exitCode, 0u) << "the run at " << dpi << " DPI failed";
    Layout layout = Read(file);
    DeleteFileA(file.c_str());
    return layout;
}

TEST(DpiLayout, EveryWindowAndControlIsTheDesignTimesTheScale) {
    const Layout design = LayoutAt(96);
    ASSERT_GT(design.size(), 100u);
    EXPECT_EQ(design.at("dpi").r.left, 96);
    // Today's places at 96 DPI, as the console picture draws them.
    EXPECT_EQ(design.at("main").r.right, 400);
    EXPECT_EQ(design.at("main").r.bottom, 395);
    for (const int dpi : {144, 192}) {
        const Layout scaled = LayoutAt(dpi);
        ASSERT_EQ(scaled.size(), design.size()) << dpi;
        EXPECT_EQ(scaled.at("dpi").r.left, dpi) << "Wine did not take the DPI";
        const double s = dpi / 96.0;
        int checked = 0;
        for (const auto& [key, place] : design) {
            if (key == "dpi") continue;
            const auto it = scaled.find(key);
            ASSERT_NE(it, scaled.end()) << key << " at " << dpi;
            const RECT& d = place.r;
            const RECT& r = it->second.r;
            // A caption measured in the font of the DPI: its right edge follows the text.
            const bool fits = it->second.designWidth != place.designWidth;
            EXPECT_NEAR(r.left, d.left * s, 1.0) << key << " at " << dpi;
            EXPECT_NEAR(r.top, d.top * s, 1.0) << key << " at " << dpi;
            EXPECT_NEAR(r.bottom, d.bottom * s, 1.0) << key << " at " << dpi;
            if (!fits) {
                EXPECT_NEAR(r.right, d.right * s, 1.0) << key << " at " << dpi;
            }
            ++checked;
        }
        EXPECT_GT(checked, 100);
    }
}

// A move to a monitor of twice the scale (WM_DPICHANGED): the main window
// takes the rectangle the system suggests and lays everything out again,
// the panel made before the move as the ones made after it.
TEST_F(ShellTest, ADpiChangeLaysTheMainWindowOutAgainInTheSuggestedRectangle) {
    // Hidden, so that nothing is made later by the window's own timer.
    createMain();
    MadeWhole{*main};
    Layout before;
    Walk(main->hwnd(), "main", before);
    main.reset();

    createMain();
    MadeWhole::makeNext(*main);
    const RECT suggested{20, 10, 20 + 800, 10 + 790};
    SendMessageA(main->hwnd(), 0x02E0 /* WM_DPICHANGED */, MAKEWPARAM(192, 192),
                 reinterpret_cast<LPARAM>(&suggested));
    MadeWhole{*main};
    settle();
    RECT window{};
    GetWindowRect(main->hwnd(), &window);
    EXPECT_EQ(window.left, 20);
    EXPECT_EQ(window.top, 10);
    EXPECT_EQ(window.right - window.left, 800);
    EXPECT_EQ(window.bottom - window.top, 790);
    EXPECT_EQ(main->dpi(), 192);
    Layout after;
    Walk(main->hwnd(), "main", after);
    ASSERT_EQ(after.size(), before.size());
    for (const auto& [key, place] : before) {
        const RECT& d = place.r;
        const RECT& r = after.at(key).r;
        EXPECT_NEAR(r.left, d.left * 2, 1) << key;
        EXPECT_NEAR(r.top, d.top * 2, 1) << key;
        EXPECT_NEAR(r.bottom, d.bottom * 2, 1) << key;
        if (after.at(key).designWidth == place.designWidth) {
            EXPECT_NEAR(r.right, d.right * 2, 1) << key;
        }
    }
    // The game cursors grow with the rest.
    ICONINFO cursor{};
    ASSERT_TRUE(GetIconInfo(ui().games.selectCursor(), &cursor));
    BITMAP mask{};
    GetObjectA(cursor.hbmMask, sizeof mask, &mask);
    DeleteObject(cursor.hbmMask);
    if (cursor.hbmColor) DeleteObject(cursor.hbmColor);
    EXPECT_EQ(mask.bmWidth, 64);
}

}  // namespace
}  // namespace qv
