// A scroll box: a child window whose child controls scroll vertically. The
// vertical scroll bar shows once the controls reach below the box. It hands
// owner drawing and notifications back to the controls that sent them.
#pragma once

#include <windows.h>

#include <functional>

#include "ui/window_win.h"

namespace qv {

// A control whose parent hands WM_DRAWITEM and WM_COMMAND back to it. Its
// window is a standard one, subclassed so that it names the control.
class ReflectedControl {
public:
    virtual ~ReflectedControl() = default;
    virtual void draw(const DRAWITEMSTRUCT& item) = 0;
    virtual void command(WORD code) = 0;

    // Makes hwnd the window of this control, until the window is destroyed.
    void attach(HWND hwnd);
    // The control whose window hwnd is; nullptr for any other window.
    static ReflectedControl* of(HWND hwnd);

protected:
    // A message to the window before its class handles it; true when taken,
    // with its result.
    virtual bool takeMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
        (void)msg, (void)wp, (void)lp, (void)result;
        return false;
    }
    // The window is being destroyed: the control is no longer attached.
    virtual void windowGone() {}

private:
    static LRESULT CALLBACK subclassProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp,
                                         UINT_PTR id, DWORD_PTR self);
};

class ScrollBox : public Window {
public:
    bool create(HWND parent, int left, int top, int width, int height, COLORREF color);

    // Scroll range from the content height (the lowest bottom of the
    // controls); call after adding or removing controls.
    void setContentHeight(int height);
    void scrollTo(int position);
    int position() const { return position_; }
    bool scrollBarShown() const;
    // Told after the box has taken a new DPI (its own place is done).
    std::function<void(int dpi)> onDpiChanged;
    void dpiChanged(int dpi) override;

protected:
    LRESULT handleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    void onScroll(WORD request);

    COLORREF color_ = RGB(0, 0, 255);
    int position_ = 0;
    int contentHeight_ = 0;
};

}  // namespace qv
