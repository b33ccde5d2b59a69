// The DPI of our windows, with the later functions looked up at run time.
#include "ui/dpi_win.h"

#include <unordered_map>

#include "ui/graphics_win.h"
#include "ui/window_win.h"
#include "util/on_demand_win.h"

namespace qv {
namespace {

struct DpiFunctions {
    using GetDpiForWindowFn = UINT WINAPI(HWND);
    using GetSystemMetricsForDpiFn = int WINAPI(int, UINT);
    GetDpiForWindowFn* getDpiForWindow =
        FunctionIn<GetDpiForWindowFn>(GetModuleHandleA("user32.dll"), "GetDpiForWindow");
    GetSystemMetricsForDpiFn* getSystemMetricsForDpi = FunctionIn<GetSystemMetricsForDpiFn>(
        GetModuleHandleA("user32.dll"), "GetSystemMetricsForDpi");
};

const DpiFunctions& Functions() {
    static const DpiFunctions functions;
    return functions;
}

struct ChildPlace {
    RECT design;
    int fontHeight;
    std::function<void(HWND)> again;
};

std::unordered_map<HWND, ChildPlace>& Places() {
    static std::unordered_map<HWND, ChildPlace> places;
    return places;
}

BOOL CALLBACK RelayoutOne(HWND child, LPARAM dpi) {
    const int at = static_cast<int>(dpi);
    ReplaceChild(child, at);
    if (Window* window = Window::FromHandle(child)) window->dpiChanged(at);
    return TRUE;
}

}  // namespace

int SystemDpi() {
    static const int dpi = [] {
        HDC screen = GetDC(nullptr);
        const int logPixels = screen ? GetDeviceCaps(screen, LOGPIXELSY) : kDesignDpi;
        if (screen) ReleaseDC(nullptr, screen);
        return logPixels > 0 ? logPixels : kDesignDpi;
    }();
    return dpi;
}

int DpiOf(HWND window) {
    if (!window || window == HWND_MESSAGE) return SystemDpi();
    if (const Window* ours = Window::FromHandle(window); ours && ours->dpi() > 0)
        return ours->dpi();
    return MonitorDpiOf(window);
}

int MonitorDpiOf(HWND window) {
    if (!window || window == HWND_MESSAGE) return SystemDpi();
    if (const auto get = Functions().getDpiForWindow) {
        const UINT dpi = get(window);
        if (dpi > 0) return static_cast<int>(dpi);
    }
    return SystemDpi();
}

RECT ScaledRect(int left, int top, int width, int height, int dpi) {
    const Edges e = ScaleRect(left, top, width, height, dpi);
    return RECT{e.left, e.top, e.right, e.bottom};
}

RECT ScaledRect(const RECT& design, int dpi) {
    return ScaledRect(design.left, design.top, design.right - design.left,
                      design.bottom - design.top, dpi);
}

void PlaceChild(HWND child, const RECT& design, int fontHeight, std::function<void(HWND)> again) {
    if (child) Places()[child] = ChildPlace{design, fontHeight, std::move(again)};
}

RECT DesignRectOf(HWND child) {
    const auto it = Places().find(child);
    return it == Places().end() ? RECT{} : it->second.design;
}

bool ReplaceChild(HWND child, int dpi) {
    const auto it = Places().find(child);
    if (it == Places().end()) return false;
    if (!IsWindow(child)) {
        Places().erase(it);  // a handle of a window gone, perhaps reused later
        return false;
    }
    const RECT r = ScaledRect(it->second.design, dpi);
    SetWindowPos(child, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    if (it->second.fontHeight > 0) {
        SendMessageA(child, WM_SETFONT,
                     reinterpret_cast<WPARAM>(UiFontAt(it->second.fontHeight, dpi)), TRUE);
    }
    if (it->second.again) it->second.again(child);
    return true;
}

void RelayoutChildren(HWND window, int dpi) {
    EnumChildWindows(window, &RelayoutOne, static_cast<LPARAM>(dpi));
}

int SystemMetricAt(int index, int dpi) {
    if (const auto get = Functions().getSystemMetricsForDpi)
        return get(index, static_cast<UINT>(dpi));
    const int system = GetSystemMetrics(index);
    return dpi == SystemDpi() ? system : MulDiv(system, dpi, SystemDpi());
}

}  // namespace qv
