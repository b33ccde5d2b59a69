// A window that holds and paints windowless controls: the base of our forms
// and panels. It paints double-buffered and routes mouse buttons to the
// topmost visible control under the pointer.
#pragma once

#include <windows.h>

#include <memory>
#include <vector>

#include "ui/controls_win.h"
#include "ui/window_win.h"

namespace qv {

class Container : public Window {
public:
    // A new control of type T at the given place, in front of the others.
    template <typename T>
    T& add(int left, int top, int width, int height) {
        auto control = std::make_unique<T>(*this);
        control->setBounds(left, top, width, height);
        T& result = *control;
        controls_.push_back(std::move(control));
        return result;
    }
    Image& addImage(int left, int top, int width, int height) {
        return add<Image>(left, top, width, height);
    }
    Label& addLabel(int left, int top, int width, int height) {
        return add<Label>(left, top, width, height);
    }

    // The DPI the controls are laid out at: the window's, or before it
    // exists, the system's.
    int layoutDpi() const;
    // Lays the window's controls out again at dpi.
    void dpiChanged(int dpi) override;

    // The controls in paint order.
    const std::vector<std::unique_ptr<GraphicControl>>& controls() const { return controls_; }

    // Paint order: the first control is at the back.
    void sendToBack(GraphicControl& control);

    void setColor(COLORREF color);
    COLORREF color() const { return color_; }

    // The topmost visible control at a client point, or null.
    GraphicControl* controlAt(POINT client) const;

    // Paints the container's own surface (colour and controls) into dc.
    void paintSurface(HDC dc, const RECT& area) const;

    // Gives the keyboard focus to a picture of this container (null: to the
    // container alone). While the container has the focus the picture shows
    // lit in a focus frame, hidden or not, and Enter or Space press and
    // release it as the left mouse button does, with the same handlers.
    void focusPicture(GraphicControl* control);
    GraphicControl* focusedPicture() const { return focusedPicture_; }
    // Frames a child window of this container that has the keyboard focus
    // (null: none), so that controls with no focus mark of their own, such as
    // check boxes without a caption, show it too.
    void markFocusedChild(HWND child);

protected:
    // Creates one of our borderless forms: a clipping pop-up of the given
    // client size, owned by owner, whose controls take Tab, centred on the
    // screen. extraStyle adds what the form offers (system menu, minimise).
    bool createForm(const char* className, const char* text, DWORD extraStyle, int width,
                    int height, HWND owner);

    LRESULT handleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    void onPaint();
    void onButtonDown(LPARAM lp);
    void onButtonUp(WPARAM wp, LPARAM lp, bool leftButton);
    void onMouseMove(LPARAM lp);
    bool onPictureKey(UINT msg, WPARAM key, LPARAM lp);
    void invalidateFocusedPicture() const;
    void releaseKeyPress();

    std::vector<std::unique_ptr<GraphicControl>> controls_;
    COLORREF color_ = RGB(0, 0, 0);
    GraphicControl* pressed_ = nullptr;
    GraphicControl* focusedPicture_ = nullptr;
    HWND markedChild_ = nullptr;
    bool pressedByKey_ = false;  // Enter or Space is down on the focused picture
};

// A container that is a child window of another: the panels of the main
// window. The panels are never hidden; the one in front covers the others.
class Panel : public Container {
public:
    bool create(HWND parent, int left, int top, int width, int height);
};

}  // namespace qv
