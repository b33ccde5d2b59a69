// The base of every window of ours: binds the C++ object to its HWND.
#include "ui/window_win.h"

#include <unordered_map>

#include "ui/dpi_win.h"

namespace qv {
namespace {

std::unordered_map<HWND, Window*>& OurWindows() {
    static std::unordered_map<HWND, Window*> windows;
    return windows;
}

}  // namespace

Window* Window::FromHandle(HWND hwnd) {
    const auto it = OurWindows().find(hwnd);
    return it == OurWindows().end() ? nullptr : it->second;
}

Window::~Window() {
    if (hwnd_) {
        HWND hwnd = hwnd_;
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
        OurWindows().erase(hwnd);
        hwnd_ = nullptr;
        DestroyWindow(hwnd);
    }
}

bool Window::createWindow(const CreateArgs& args) {
    HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSEXA existing{};
    existing.cbSize = sizeof existing;
    if (!GetClassInfoExA(instance, args.className, &existing)) {
        WNDCLASSEXA wc{};
        wc.cbSize = sizeof wc;
        wc.style = CS_DBLCLKS;
        wc.lpfnWndProc = &Window::windowProc;
        wc.hInstance = instance;
        wc.hCursor = args.cursor ? args.cursor : LoadCursorA(nullptr, IDC_ARROW);
        wc.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(1));
        wc.lpszClassName = args.className;
        if (!RegisterClassExA(&wc)) return false;
    }
    // A top-level window starts at the DPI of its owner (the system's when it
    // has none) and moves on to its monitor's, if that differs, once made.
    const bool child = (args.style & WS_CHILD) != 0;
    dpi_ = DpiOf(args.parent);
    RECT place{args.left, args.top, args.left + args.width, args.top + args.height};
    if (args.design) {
        place = ScaledRect(args.left, args.top, args.width, args.height, dpi_);
        // A top-level window is placed by its own code (centred); only its size scales.
        if (!child) OffsetRect(&place, args.left - place.left, args.top - place.top);
    }
    CreateWindowExA(args.exStyle, args.className, args.text, args.style, place.left, place.top,
                    place.right - place.left, place.bottom - place.top, args.parent, nullptr,
                    instance, this);
    if (!hwnd_) return false;
    if (child && args.design) {
        PlaceChild(hwnd_, RECT{args.left, args.top, args.left + args.width, args.top + args.height},
                   0);
    }
    return true;
}

LRESULT Window::handleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    return DefWindowProcA(hwnd_, msg, wp, lp);
}

LRESULT CALLBACK Window::windowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    Window* self;
    if (msg == WM_NCCREATE) {
        self = static_cast<Window*>(reinterpret_cast<CREATESTRUCTA*>(lp)->lpCreateParams);
        self->hwnd_ = hwnd;
        OurWindows()[hwnd] = self;
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    } else {
        self = reinterpret_cast<Window*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    }
    if (!self) return DefWindowProcA(hwnd, msg, wp, lp);
    if (msg == WM_NCDESTROY) {
        LRESULT result = self->handleMessage(msg, wp, lp);
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
        OurWindows().erase(hwnd);
        self->hwnd_ = nullptr;
        return result;
    }
    return self->handleMessage(msg, wp, lp);
}

RECT ChildRect(HWND child) {
    RECT r{};
    GetWindowRect(child, &r);
    MapWindowPoints(HWND_DESKTOP, GetParent(child), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

void CentreOnScreen(HWND hwnd) {
    RECT r{};
    GetWindowRect(hwnd, &r);
    const int w = r.right - r.left, h = r.bottom - r.top;
    SetWindowPos(hwnd, nullptr, (GetSystemMetrics(SM_CXSCREEN) - w) / 2,
                 (GetSystemMetrics(SM_CYSCREEN) - h) / 2, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace qv
