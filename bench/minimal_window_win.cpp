// The start-up benchmark's yardstick: the least a program that shows a
// 400 x 395 window does. One class, one borderless pop-up of Quarvel's main
// window size centred on the screen, painted black, shown, and a message loop
// until it is closed. Linked as Quarvel is (statically, a GUI program).
#include <windows.h>

namespace {

LRESULT CALLBACK MinimalProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wp, lp);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = MinimalProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    windowClass.lpszClassName = "QuarvelBenchMinimal";
    if (!RegisterClassA(&windowClass)) return 1;
    RECT frame{0, 0, 400, 395};
    AdjustWindowRectEx(&frame, WS_POPUP, FALSE, 0);
    const int width = frame.right - frame.left, height = frame.bottom - frame.top;
    HWND hwnd = CreateWindowExA(0, windowClass.lpszClassName, "Minimal", WS_POPUP | WS_SYSMENU,
                                (GetSystemMetrics(SM_CXSCREEN) - width) / 2,
                                (GetSystemMetrics(SM_CYSCREEN) - height) / 2, width, height,
                                nullptr, nullptr, instance, nullptr);
    if (!hwnd) return 1;
    ShowWindow(hwnd, SW_SHOW);
    UpdateWindow(hwnd);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return 0;
}
