// A scroll box.
#include "ui/scroll_box_win.h"

#include <commctrl.h>

#include <algorithm>

#include "util/handles_win.h"
#include "util/on_demand_win.h"

namespace qv {
namespace {
constexpr int kLineStep = 16;

// Asked of a window, answered with its control by the subclass of a
// reflected control only (every other window answers 0).
UINT WhichControlMessage() {
    static const UINT message = RegisterWindowMessageA("QuarvelWhichControl");
    return message;
}
}  // namespace

void ReflectedControl::attach(HWND hwnd) {
    if (hwnd)
        on_demand::SetWindowSubclass(hwnd, &subclassProc, 0, reinterpret_cast<DWORD_PTR>(this));
}

ReflectedControl* ReflectedControl::of(HWND hwnd) {
    if (!hwnd) return nullptr;
    return reinterpret_cast<ReflectedControl*>(SendMessageA(hwnd, WhichControlMessage(), 0, 0));
}

LRESULT CALLBACK ReflectedControl::subclassProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR,
                                                DWORD_PTR self) {
    auto* control = reinterpret_cast<ReflectedControl*>(self);
    if (msg == WhichControlMessage()) return static_cast<LRESULT>(self);
    if (msg == WM_NCDESTROY) {
        on_demand::RemoveWindowSubclass(hwnd, &subclassProc, 0);
        control->windowGone();
        return on_demand::DefSubclassProc(hwnd, msg, wp, lp);
    }
    LRESULT result = 0;
    if (control->takeMessage(msg, wp, lp, result)) return result;
    return on_demand::DefSubclassProc(hwnd, msg, wp, lp);
}

bool ScrollBox::create(HWND parent, int left, int top, int width, int height, COLORREF color) {
    color_ = color;
    return createWindow(
        {.className = "QuarvelScrollBox",
         .style = WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | WS_TABSTOP,
         .exStyle = WS_EX_CLIENTEDGE | WS_EX_CONTROLPARENT,
         .left = left,
         .top = top,
         .width = width,
         .height = height,
         .parent = parent});
}

void ScrollBox::dpiChanged(int dpi) {
    Window::dpiChanged(dpi);
    if (onDpiChanged) onDpiChanged(dpi);
}

void ScrollBox::setContentHeight(int height) {
    contentHeight_ = height;
    RECT client{};
    GetClientRect(hwnd(), &client);
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_RANGE | SIF_PAGE;
    info.nMin = 0;
    info.nMax = std::max(0, height - 1);
    info.nPage = static_cast<UINT>(client.bottom);
    SetScrollInfo(hwnd(), SB_VERT, &info, TRUE);
    ShowScrollBar(hwnd(), SB_VERT, height > client.bottom);
    scrollTo(position_);
}

bool ScrollBox::scrollBarShown() const {
    return (GetWindowLongA(hwnd(), GWL_STYLE) & WS_VSCROLL) != 0;
}

void ScrollBox::scrollTo(int position) {
    RECT client{};
    GetClientRect(hwnd(), &client);
    const int target = std::clamp(position, 0, std::max(0, contentHeight_ - int(client.bottom)));
    if (target != position_) {
        ScrollWindowEx(hwnd(), 0, position_ - target, nullptr, nullptr, nullptr, nullptr,
                       SW_SCROLLCHILDREN | SW_INVALIDATE | SW_ERASE);
        position_ = target;
    }
    SetScrollPos(hwnd(), SB_VERT, position_, TRUE);
}

void ScrollBox::onScroll(WORD request) {
    RECT client{};
    GetClientRect(hwnd(), &client);
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_TRACKPOS;
    GetScrollInfo(hwnd(), SB_VERT, &info);
    switch (request) {
    case SB_LINEUP:
        scrollTo(position_ - kLineStep);
        break;
    case SB_LINEDOWN:
        scrollTo(position_ + kLineStep);
        break;
    case SB_PAGEUP:
        scrollTo(position_ - client.bottom);
        break;
    case SB_PAGEDOWN:
        scrollTo(position_ + client.bottom);
        break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION:
        scrollTo(info.nTrackPos);
        break;
    case SB_TOP:
        scrollTo(0);
        break;
    case SB_BOTTOM:
        scrollTo(contentHeight_);
        break;
    }
}

LRESULT ScrollBox::handleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_ERASEBKGND: {
        RECT client{};
        GetClientRect(hwnd(), &client);
        OwnedBrush brush(CreateSolidBrush(color_));
        FillRect(reinterpret_cast<HDC>(wp), &client, brush.get());
        return 1;
    }
    case WM_VSCROLL:
        onScroll(LOWORD(wp));
        return 0;
    case WM_MOUSEWHEEL:
        scrollTo(position_ - GET_WHEEL_DELTA_WPARAM(wp) / WHEEL_DELTA * 3 * kLineStep);
        return 0;
    case WM_DRAWITEM:
        if (auto* control = ReflectedControl::of(reinterpret_cast<DRAWITEMSTRUCT*>(lp)->hwndItem)) {
            control->draw(*reinterpret_cast<DRAWITEMSTRUCT*>(lp));
            return TRUE;
        }
        break;
    case WM_COMMAND:
        if (auto* control = ReflectedControl::of(reinterpret_cast<HWND>(lp))) {
            control->command(HIWORD(wp));
            return 0;
        }
        break;
    }
    return Window::handleMessage(msg, wp, lp);
}

}  // namespace qv
