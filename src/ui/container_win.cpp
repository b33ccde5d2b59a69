// A window that holds and paints windowless controls.
#include "ui/container_win.h"

#include <windowsx.h>

#include <algorithm>

namespace qv {

void Container::sendToBack(GraphicControl& control) {
    auto it = std::find_if(controls_.begin(), controls_.end(),
                           [&](const auto& c) { return c.get() == &control; });
    if (it != controls_.end()) std::rotate(controls_.begin(), it, it + 1);
    control.invalidate();
}

bool Container::createForm(const char* className, const char* text, DWORD extraStyle, int width,
                           int height, HWND owner) {
    if (!createWindow({.className = className,
                       .text = text,
                       .style = WS_POPUP | WS_CLIPCHILDREN | extraStyle,
                       .exStyle = WS_EX_CONTROLPARENT,
                       .width = width,
                       .height = height,
                       .parent = owner})) {
        return false;
    }
    CentreOnScreen(hwnd());
    return true;
}

void Container::setColor(COLORREF color) {
    color_ = color;
    if (hwnd()) InvalidateRect(hwnd(), nullptr, FALSE);
}

GraphicControl* Container::controlAt(POINT client) const {
    for (auto it = controls_.rbegin(); it != controls_.rend(); ++it) {
        if ((*it)->visible() && PtInRect(&(*it)->bounds(), client)) return it->get();
    }
    return nullptr;
}

void Container::paintSurface(HDC dc, const RECT& area) const {
    OwnedBrush brush(CreateSolidBrush(color_));
    FillRect(dc, &area, brush.get());
    for (const auto& control : controls_) {
        RECT overlap;
        if (control->visible() && IntersectRect(&overlap, &control->bounds(), &area)) {
            control->paint(dc);
        }
    }
}

void Container::onPaint() {
    PaintScope paint(hwnd());
    const RECT& area = paint.area();
    const int w = area.right - area.left, h = area.bottom - area.top;
    if (w <= 0 || h <= 0) return;
    // Paint into a buffer first so that nothing flickers.
    OwnedDc buffer(CreateCompatibleDC(paint.dc()));
    OwnedBitmap pixels(CreateCompatibleBitmap(paint.dc(), w, h));
    SelectScope select(buffer.get(), pixels.get());
    SetViewportOrgEx(buffer.get(), -area.left, -area.top, nullptr);
    paintSurface(buffer.get(), area);
    SetViewportOrgEx(buffer.get(), 0, 0, nullptr);
    BitBlt(paint.dc(), area.left, area.top, w, h, buffer.get(), 0, 0, SRCCOPY);
}

namespace {
POINT LocalPoint(const GraphicControl& control, LPARAM lp) {
    return POINT{GET_X_LPARAM(lp) - control.bounds().left, GET_Y_LPARAM(lp) - control.bounds().top};
}
}  // namespace

void Container::onButtonDown(LPARAM lp) {
    GraphicControl* control = controlAt(POINT{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)});
    if (!control) return;
    pressed_ = control;
    SetCapture(hwnd());
    control->mousePressed(LocalPoint(*control, lp));
    if (control->onMouseDown) control->onMouseDown(*control);
}

void Container::onMouseMove(LPARAM lp) {
    if (pressed_) pressed_->mouseMoved(LocalPoint(*pressed_, lp));
}

void Container::onButtonUp(WPARAM wp, LPARAM lp, bool leftButton) {
    GraphicControl* control = pressed_;
    if (!control) return;
    // Keep the capture while another button is still held on the control.
    if (!(wp & (MK_LBUTTON | MK_RBUTTON | MK_MBUTTON))) {
        pressed_ = nullptr;
        ReleaseCapture();
    }
    const POINT at{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
    const bool inside = control->visible() && PtInRect(&control->bounds(), at);
    control->mouseReleased();
    if (control->onMouseUp) control->onMouseUp(*control);
    if (leftButton && inside && control->onClick) control->onClick(*control);
}

LRESULT Container::handleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_ERASEBKGND:
        return 1;  // WM_PAINT covers every pixel
    case WM_PAINT:
        onPaint();
        return 0;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    // The second press of a double click comes as a message of its own.
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDBLCLK:
        onButtonDown(lp);
        return 0;
    case WM_LBUTTONUP:
        onButtonUp(wp, lp, true);
        return 0;
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
        onButtonUp(wp, lp, false);
        return 0;
    case WM_MOUSEMOVE:
        onMouseMove(lp);
        return 0;
    case WM_SETCURSOR:
        if (LOWORD(lp) == HTCLIENT && reinterpret_cast<HWND>(wp) == hwnd()) {
            POINT at{};
            GetCursorPos(&at);
            ScreenToClient(hwnd(), &at);
            if (GraphicControl* control = controlAt(at); control && control->cursor()) {
                SetCursor(control->cursor());
                return TRUE;
            }
        }
        break;
    case WM_CAPTURECHANGED:
        if (reinterpret_cast<HWND>(lp) != hwnd()) pressed_ = nullptr;
        return 0;
    }
    return Window::handleMessage(msg, wp, lp);
}

bool Panel::create(HWND parent, int left, int top, int width, int height) {
    return createWindow({.className = "QuarvelPanel",
                         .style = WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS,
                         .exStyle = WS_EX_CONTROLPARENT,
                         .left = left,
                         .top = top,
                         .width = width,
                         .height = height,
                         .parent = parent});
}

}  // namespace qv
