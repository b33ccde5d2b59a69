// A window that holds and paints windowless controls.
#include "ui/container_win.h"

#include <windowsx.h>

#include <algorithm>

#include "ui/dpi_win.h"
#include "ui/graphics_win.h"

#ifndef WM_DPICHANGED
#define WM_DPICHANGED 0x02E0
#endif

namespace qv {

int Container::layoutDpi() const { return dpi() > 0 ? dpi() : SystemDpi(); }

void Container::dpiChanged(int dpi) {
    Window::dpiChanged(dpi);
    for (const auto& control : controls_)
        control->rescale();
    if (hwnd()) InvalidateRect(hwnd(), nullptr, FALSE);
}

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
    // Made at its owner's DPI, the form may stand on a monitor of another.
    if (const int monitorDpi = MonitorDpiOf(hwnd()); monitorDpi != dpi()) {
        dpiChanged(monitorDpi);
        RelayoutChildren(hwnd(), monitorDpi);
        const RECT r = ScaledRect(0, 0, width, height, monitorDpi);
        SetWindowPos(hwnd(), nullptr, 0, 0, r.right, r.bottom,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    CentreOnScreen(hwnd());
    return true;
}

void Container::setColor(COLORREF color) {
    color_ = color;
    if (hwnd() && IsWindowVisible(hwnd())) InvalidateRect(hwnd(), nullptr, FALSE);
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
    if (markedChild_ && IsWindow(markedChild_) && IsWindowVisible(markedChild_)) {
        RECT frame = ChildRect(markedChild_);
        InflateRect(&frame, ScaleLength(2, layoutDpi()), ScaleLength(2, layoutDpi()));
        DrawFocusFrame(dc, frame, layoutDpi());
    }
    if (focusedPicture_ && GetFocus() == hwnd()) {
        focusedPicture_->paint(dc);
        DrawFocusFrame(dc, focusedPicture_->markArea(), layoutDpi());
    }
}

void Container::focusPicture(GraphicControl* control) {
    invalidateFocusedPicture();
    releaseKeyPress();
    focusedPicture_ = control;
    SetFocus(hwnd());
    invalidateFocusedPicture();
}

void Container::markFocusedChild(HWND child) {
    if (child == markedChild_) return;
    for (HWND changed : {markedChild_, child}) {
        if (!changed || !IsWindow(changed)) continue;
        RECT frame = ChildRect(changed);
        InflateRect(&frame, ScaleLength(2, layoutDpi()), ScaleLength(2, layoutDpi()));
        InvalidateRect(hwnd(), &frame, FALSE);
    }
    markedChild_ = child;
}

void Container::invalidateFocusedPicture() const {
    if (!focusedPicture_ || !hwnd()) return;
    const RECT area = focusedPicture_->markArea();
    InvalidateRect(hwnd(), &area, FALSE);
}

void Container::releaseKeyPress() {
    if (!pressedByKey_) return;
    pressedByKey_ = false;
    if (focusedPicture_ && focusedPicture_->onMouseUp) focusedPicture_->onMouseUp(*focusedPicture_);
}

// Enter and Space on the focused picture: down presses, up releases and clicks.
bool Container::onPictureKey(UINT msg, WPARAM key, LPARAM lp) {
    GraphicControl* control = focusedPicture_;
    if (!control || (key != VK_RETURN && key != VK_SPACE)) return false;
    if (msg == WM_KEYDOWN) {
        const bool repeat = (lp & (1 << 30)) != 0;
        if (repeat || pressedByKey_) return true;
        pressedByKey_ = true;
        if (control->onMouseDown) control->onMouseDown(*control);
    } else if (pressedByKey_) {
        pressedByKey_ = false;
        if (control->onMouseUp) control->onMouseUp(*control);
        if (control->onClick) control->onClick(*control);
    }
    return true;
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
    case WM_GETDLGCODE:
        // The focused picture takes Enter and Space; the dialog keys the rest.
        if (focusedPicture_ && lp) {
            const MSG& key = *reinterpret_cast<const MSG*>(lp);
            if (key.wParam == VK_RETURN || key.wParam == VK_SPACE) return DLGC_WANTMESSAGE;
        }
        break;
    case WM_KEYDOWN:
    case WM_KEYUP:
        if (onPictureKey(msg, wp, lp)) return 0;
        break;
    case WM_SETFOCUS:
        invalidateFocusedPicture();
        break;
    case WM_KILLFOCUS:
        invalidateFocusedPicture();
        releaseKeyPress();  // the focus went elsewhere with the key down: no click
        break;
    case WM_DPICHANGED: {
        // A move to a monitor of another scale: everything again at its DPI,
        // in the rectangle the system suggests.
        const int newDpi = LOWORD(wp);
        if (newDpi <= 0) return 0;
        dpiChanged(newDpi);
        RelayoutChildren(hwnd(), newDpi);
        const RECT& suggested = *reinterpret_cast<const RECT*>(lp);
        SetWindowPos(hwnd(), nullptr, suggested.left, suggested.top,
                     suggested.right - suggested.left, suggested.bottom - suggested.top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        InvalidateRect(hwnd(), nullptr, TRUE);
        return 0;
    }
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
