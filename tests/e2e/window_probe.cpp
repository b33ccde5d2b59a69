// Looks at the windows of a running Quarvel from outside, as a user would see
// them, for the end-to-end tests; and does to them what a task bar or a
// window manager would.
//   window_probe state         prints the copies, the foreground window, and
//                              whether the main window is shown and minimised
//   window_probe minimise      minimises the main window
//   window_probe minimise-app  minimises the application window, as its task bar button does
//   window_probe front SECONDS shows a window of its own in front for SECONDS
//   window_probe clipboard     prints the clipboard's text
//   window_probe list TITLE    prints the items of the list box of the window
//                              titled TITLE, one a line
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

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
    GetClassNameA(front, name, sizeof name);
    GetWindowTextA(front, text, sizeof text);
    HWND main = MainWindow();
    std::printf("copies=%d\nforeground=%s|%s\nmain=%s %s\n", copies, name, text,
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
    for (LRESULT i = 0; i < count; ++i) {
        char item[MAX_PATH] = "";
        if (SendMessageA(list, LB_GETTEXTLEN, i, 0) < MAX_PATH)
            SendMessageA(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(item));
        std::printf("%s\n", item);
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
    if (argc == 3 && std::strcmp(argv[1], "front") == 0) return Front(std::atoi(argv[2]));
    if (argc == 2 && std::strcmp(argv[1], "clipboard") == 0) return Clipboard();
    if (argc == 3 && std::strcmp(argv[1], "list") == 0) return List(argv[2]);
    return 2;
}
