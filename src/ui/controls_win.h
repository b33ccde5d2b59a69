// Windowless controls, painted by the container that holds them: the picture
// `Image` and the text `Label`. Being windowless, a transparent label shows
// whatever lies under it, and overlapping pictures paint in z-order.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "util/handles_win.h"

namespace qv {

class Container;

class GraphicControl {
public:
    using Handler = std::function<void(GraphicControl&)>;

    explicit GraphicControl(Container& owner) : owner_(owner) {}
    virtual ~GraphicControl() = default;
    GraphicControl(const GraphicControl&) = delete;
    GraphicControl& operator=(const GraphicControl&) = delete;

    // Place in the container's client coordinates, in pixels.
    const RECT& bounds() const { return bounds_; }
    int width() const { return bounds_.right - bounds_.left; }
    int height() const { return bounds_.bottom - bounds_.top; }
    // The place as designed, at 96 DPI (ui/dpi_scale.h); bounds() is this
    // scaled to the container's DPI, edge by edge.
    const RECT& design() const { return design_; }
    int designWidth() const { return design_.right - design_.left; }
    int designHeight() const { return design_.bottom - design_.top; }
    void setBounds(int left, int top, int width, int height);
    // A place in pixels, for a control that fills what the window has.
    void setPixelBounds(int left, int top, int width, int height);
    // The DPI the control is laid out at: its container's.
    int dpi() const;
    // Lays the control out again at its container's DPI, which has changed.
    virtual void rescale();

    bool visible() const { return visible_; }
    void setVisible(bool visible);

    // A text the user never sees; image buttons keep their picture suffix or
    // link target in it.
    const std::string& hint() const { return hint_; }
    void setHint(std::string hint) { hint_ = std::move(hint); }

    // The pointer's shape over the control; null leaves the window's own.
    HCURSOR cursor() const { return cursor_; }
    void setCursor(HCURSOR cursor) { cursor_ = cursor; }

    Container& owner() const { return owner_; }
    void invalidate() const;

    virtual void paint(HDC dc) const = 0;
    // Where the focus frame goes while the control has the keyboard focus.
    virtual RECT markArea() const { return bounds_; }

    // Mouse hooks for controls with a behaviour of their own; points are in
    // the control's coordinates. The handlers below run as well.
    virtual void mousePressed(POINT) {}
    virtual void mouseMoved(POINT) {}
    virtual void mouseReleased() {}

    Handler onMouseDown;  // any button
    Handler onMouseUp;    // any button
    Handler onClick;      // left button released inside the control

private:
    Container& owner_;
    RECT bounds_{};
    RECT design_{};
    bool visible_ = true;
    std::string hint_;
    HCURSOR cursor_ = nullptr;
};

class Image : public GraphicControl {
public:
    using GraphicControl::GraphicControl;

    // Shows the bitmap resource of that name (none when there is no such
    // resource); with auto size on, the control takes the picture's size.
    // Its drawing at twice the size is loaded when a scale first needs it;
    // the picture itself, on a hidden control of fixed size, when first asked
    // for (a start reads fewer resources).
    void loadPicture(const std::string& resourceName);
    // Makes the picture's drawing at twice the size, or none.
    using TwiceMaker = std::function<OwnedBitmap()>;
    // Shows picture, drawn at 96 DPI, and at other scales the drawing at twice
    // the size that makeTwice gives, asked for only when a scale needs it.
    void setPicture(OwnedBitmap picture, TwiceMaker makeTwice = nullptr);
    HBITMAP picture() const;
    void setAutoSize(bool autoSize) { autoSize_ = autoSize; }

    void paint(HDC dc) const override;
    // The picture itself, which may be smaller than the control.
    RECT markArea() const override;
    void rescale() override;

private:
    // The picture's place in pixels, unclipped.
    RECT picturePlace() const;

    mutable OwnedBitmap picture_;  // at 96 DPI
    mutable TwiceMaker makeTwice_;
    mutable std::string pictureToLoad_;  // a resource that picture() reads first
    mutable OwnedBitmap scaled_;  // the picture at the control's DPI, made when first painted
    bool autoSize_ = false;
};

class Label : public GraphicControl {
public:
    using GraphicControl::GraphicControl;

    const std::string& caption() const { return caption_; }
    void setCaption(std::string caption);
    void setFont(HFONT font) {
        font_ = font;
        invalidate();
    }
    HFONT font() const { return font_; }
    void setColor(COLORREF color) {
        color_ = color;
        invalidate();
    }
    COLORREF color() const { return color_; }
    // A colour the label's box is filled with while it shows a caption, so
    // that a line stands out on any picture; none by default (transparent).
    void setFill(COLORREF fill) {
        fill_ = fill;
        filled_ = true;
        invalidate();
    }
    void setCentred(bool centred) { centred_ = centred; }
    void setWordWrap(bool wordWrap) { wordWrap_ = wordWrap; }
    // A one-line label that shows a folder: a caption too long for the box
    // shows its start and its last folder, with "..." between.
    void setPathEllipsis(bool pathEllipsis) { pathEllipsis_ = pathEllipsis; }
    bool wordWrap() const { return wordWrap_; }
    bool pathEllipsis() const { return pathEllipsis_; }
    // With auto size on, a one-line label takes the width of its caption.
    void setAutoSize(bool autoSize) {
        autoSize_ = autoSize;
        fitToCaption();
    }

    void paint(HDC dc) const override;
    void rescale() override;

private:
    void fitToCaption();

    std::string caption_;
    HFONT font_ = nullptr;
    COLORREF color_ = RGB(0, 0, 0);
    COLORREF fill_ = RGB(0, 0, 0);
    bool filled_ = false;
    bool centred_ = false;
    bool wordWrap_ = false;
    bool pathEllipsis_ = false;
    bool autoSize_ = false;
};

// True when the mouse pointer lies strictly inside the control (the rule of
// ui/hover.h): what the hover polls of the picture buttons ask.
bool PointerStrictlyInside(const GraphicControl& control);

}  // namespace qv
