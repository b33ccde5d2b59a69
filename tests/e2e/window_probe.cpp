// Looks at the windows of a running Quarvel from outside, as a user would see
// them, for the end-to-end tests; and does to them what a task bar or a
// window manager would.
//   window_probe state         prints the copies, the foreground window and whose it is, and
//                              whether the main window is shown and minimised
//   window_probe minimise      minimises the main window
//   window_probe minimise-app  minimises the application window, as its task bar button does
//   window_probe front SECONDS shows a window of its own in front for SECONDS
//   window_probe clipboard     prints the clipboard's text
//   window_probe list TITLE    prints the items of the list box of the window
//                              titled TITLE, one a line
//   window_probe focus         prints what has the keyboard focus in the main window
//   window_probe watch-focus   prints what has the keyboard focus in the main
//                              window each time it changes, until the window goes
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

HWND MainWindow() { return FindWindowA("QuarvelMain", "Ravlen Front/End"); }

BOOL CALLBACK CountMain(HWND hwnd, LPARAM count) {
    char name[64] = "";
    GetClassNameA(hwnd, name, sizeof name);
    if (std::strcmp(name, "QuarvelMain") == 0) ++*reinterpret_cast<int*>(count);
    return TRUE;
}

int State() {
    int copies = 0;
    EnumWindows(CountMain, reinterpret_cast<LPARAM>(&copies));
    char name[64] = "";
    char text[128] = "";
    HWND front = GetForegroundWindow();
    DWORD owner = 0;
    if (front && IsWindow(front)) {
        GetClassNameA(front, name, sizeof name);
        GetWindowTextA(front, text, sizeof text);
        GetWindowThreadProcessId(front, &owner);
    }
    HWND main = MainWindow();
    DWORD quarvel = 0;
    if (main) GetWindowThreadProcessId(main, &quarvel);
    std::printf("copies=%d\nforeground=%s|%s\nforeground-of=%s\nmain=%s %s\n", copies, name, text,
                !front ? "none" : owner == 0 ? "gone" : owner == quarvel ? "Quarvel" : "another",
                main && IsWindowVisible(main) ? "shown" : "hidden",
                main && IsIconic(main) ? "minimised" : "normal");
    return 0;
}

int Front(int seconds) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH));
    wc.lpszClassName = "QvWindowProbe";
    RegisterClassA(&wc);
    HWND own = CreateWindowExA(0, wc.lpszClassName, "probe in front", WS_POPUP | WS_VISIBLE, 0, 0,
                               60, 60, nullptr, nullptr, wc.hInstance, nullptr);
    SetForegroundWindow(own);
    const DWORD end = GetTickCount() + seconds * 1000;
    MSG msg;
    while (GetTickCount() < end) {
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageA(&msg);
        Sleep(20);
    }
    return 0;
}

int Clipboard() {
    if (!OpenClipboard(nullptr)) return 1;
    if (HANDLE data = GetClipboardData(CF_TEXT)) {
        if (const char* text = static_cast<const char*>(GlobalLock(data))) {
            std::fputs(text, stdout);
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    return 0;
}

int List(const char* title) {
    HWND window = FindWindowA(nullptr, title);
    HWND list = window ? FindWindowExA(window, nullptr, "LISTBOX", nullptr) : nullptr;
    if (!list) return 1;
    const LRESULT count = SendMessageA(list, LB_GETCOUNT, 0, 0);
    // Asked in UTF-16: across processes Wine hands an ANSI caller the item
    // in UTF-16 too, which would read as its first letter.
    for (LRESULT i = 0; i < count; ++i) {
        wchar_t wide[MAX_PATH] = L"";
        if (SendMessageW(list, LB_GETTEXTLEN, i, 0) < MAX_PATH)
            SendMessageW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(wide));
        char item[MAX_PATH * 3] = "";
        WideCharToMultiByte(CP_ACP, 0, wide, -1, item, sizeof item, nullptr, nullptr);
        std::printf("%s\n", item);
    }
    return 0;
}

// The window that has the keyboard focus in the main window, as
// class|text|left,top in the main window's client pixels; when the main
// window holds it for one of its pictures, the picture whose focus frame
// shows on screen is added as |frame@left,top.
std::string FocusText(HWND main) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(main, nullptr), &info)) return "?";
    HWND focus = info.hwndFocus;
    if (!focus) return "none";
    char name[64] = "";
    char text[128] = "";
    GetClassNameA(focus, name, sizeof name);
    // Asked of the control itself: an edit field's text is not its window title.
    SendMessageTimeoutA(focus, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text),
                        SMTO_ABORTIFHUNG, 500, nullptr);
    RECT r{};
    GetWindowRect(focus, &r);
    POINT at{r.left, r.top};
    ScreenToClient(main, &at);
    char line[256];
    std::snprintf(line, sizeof line, "%s|%s|%ld,%ld", name, text, at.x, at.y);
    std::string result = line;
    if (focus != main) return result;
    const POINT pictures[] = {{354, 52}, {153, 80}, {201, 80}, {249, 80}, {297, 80}, {345, 80}};
    HDC screen = GetDC(nullptr);
    for (POINT p : pictures) {
        POINT s = p;
        ClientToScreen(main, &s);
        if (GetPixel(screen, s.x, s.y) == RGB(255, 186, 72)) {
            std::snprintf(line, sizeof line, "|frame@%ld,%ld", p.x, p.y);
            result += line;
            break;
        }
    }
    ReleaseDC(nullptr, screen);
    return result;
}

// Prints the focus each time it changes, until the main window is gone.
int WatchFocus() {
    std::string last;
    for (HWND main = MainWindow(); main && IsWindow(main); Sleep(50)) {
        const std::string now = FocusText(main);
        if (now == last) continue;
        last = now;
        std::printf("%s\n", now.c_str());
        std::fflush(stdout);
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 2 && std::strcmp(argv[1], "state") == 0) return State();
    if (argc == 2 && std::strcmp(argv[1], "minimise") == 0) {
        return ShowWindow(MainWindow(), SW_MINIMIZE), 0;
    }
    if (argc == 2 && std::strcmp(argv[1], "minimise-app") == 0) {
        HWND app = GetWindow(MainWindow(), GW_OWNER);
        return SendMessageA(app, WM_SYSCOMMAND, SC_MINIMIZE, 0), 0;
    }
    if (argc == 2 && std::strcmp(argv[1], "watch-focus") == 0) return WatchFocus();
    if (argc == 2 && std::strcmp(argv[1], "focus") == 0) {
        HWND main = MainWindow();
        return main ? (std::printf("%s\n", FocusText(main).c_str()), 0) : 1;
    }
    if (argc == 3 && std::strcmp(argv[1], "front") == 0) return Front(std::atoi(argv[2]));
    if (argc == 2 && std::strcmp(argv[1], "clipboard") == 0) return Clipboard();
    if (argc == 3 && std::strcmp(argv[1], "list") == 0) return List(argv[2]);
    return 2;
}
