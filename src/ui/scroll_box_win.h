// A scroll box: a child window whose child controls scroll vertically. The
// vertical scroll bar shows once the controls reach below the box. It hands
// owner drawing and notifications back to the controls that sent them.
#pragma once

#include <windows.h>

#include "ui/window_win.h"

namespace qv {

// A control whose parent hands WM_DRAWITEM and WM_COMMAND back to it.
class ReflectedControl {
public:
    virtual ~ReflectedControl() = default;
    virtual void draw(const DRAWITEMSTRUCT& item) = 0;
    virtual void command(WORD code) = 0;

    // Marks hwnd as the window of this control, and unmarks it.
    void attach(HWND hwnd);
    static void detach(HWND hwnd);
    static ReflectedControl* of(HWND hwnd);
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

protected:
    LRESULT handleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    void onScroll(WORD request);

    COLORREF color_ = RGB(0, 0, 255);
    int position_ = 0;
    int contentHeight_ = 0;
};

}  // namespace qv
