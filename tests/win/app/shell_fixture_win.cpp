// A running application shell for tests.
#include "shell_fixture_win.h"

#include <shlwapi.h>

#include "launch/temp_names.h"
#include "util/system_win.h"
#include "../pump_win.h"

namespace qv {

void ShellTest::SetUp() {
    ASSERT_TRUE(app.create("Quarvel"));
    ASSERT_TRUE(wait.create());
}

void ShellTest::TearDown() {
    main.reset();
    SHDeleteKeyA(HKEY_CURRENT_USER, settingsKey().c_str());
}

std::string ShellTest::settingsKey() {
    return "Software\\Ostrel\\QuarvelTest" + std::to_string(GetCurrentProcessId());
}

void ShellTest::createMain() {
    main = std::make_unique<TF_Main>(app.hwnd(), wait, MakeTempNames(WindowsTempDir()));
    main->settingsKey = settingsKey();
    main->seams.endProcess = [this](int code) { exitCodes.push_back(code); };
    main->seams.showMessage = [this](const std::string& text) { messages.push_back(text); };
    ASSERT_TRUE(main->create());
}

void ShellTest::show() {
    ShowWindow(main->hwnd(), SW_SHOW);
    UpdateWindow(main->hwnd());
    settle();
}

void ShellTest::settle() {
    ProcessMessages();
    Sleep(30);
    ProcessMessages();
}

bool ShellTest::RunUntil(const std::function<bool()>& done) {
    for (int i = 0; i < 1000 && !done(); ++i) {
        ProcessMessages();
        Sleep(10);
    }
    return done();
}

POINT ScreenPointOf(const GraphicControl& control, int x, int y) {
    POINT p{control.bounds().left + x, control.bounds().top + y};
    ClientToScreen(control.owner().hwnd(), &p);
    return p;
}

void PointAt(TF_Main& main, const GraphicControl& control, int x, int y) {
    const POINT p = ScreenPointOf(control, x, y);
    SetCursorPos(p.x, p.y);
    main.TimeProc();
}

COLORREF PixelOf(HWND hwnd, int x, int y) {
    HDC dc = GetDC(hwnd);
    const COLORREF color = GetPixel(dc, x, y);
    ReleaseDC(hwnd, dc);
    return color;
}

std::string ClipboardText() {
    std::string text;
    if (!OpenClipboard(nullptr)) return text;
    if (HANDLE data = GetClipboardData(CF_TEXT)) {
        if (const char* bytes = static_cast<const char*>(GlobalLock(data))) {
            text = bytes;
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    return text;
}

std::vector<std::string> ListBoxItems(HWND list) {
    std::vector<std::string> items;
    const int count = static_cast<int>(SendMessageA(list, LB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        char text[MAX_PATH] = "";
        SendMessageA(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text));
        items.push_back(text);
    }
    return items;
}

}  // namespace qv
