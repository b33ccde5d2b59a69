// Windowless picture and text controls.
#include "ui/controls_win.h"

#include <algorithm>

#include "ui/container_win.h"
#include "ui/dpi_win.h"
#include "ui/graphics_win.h"
#include "ui/hover.h"

namespace qv {

void GraphicControl::setBounds(int left, int top, int width, int height) {
    invalidate();
    design_ = RECT{left, top, left + width, top + height};
    bounds_ = ScaledRect(design_, dpi());
    invalidate();
}

void GraphicControl::setPixelBounds(int left, int top, int width, int height) {
    invalidate();
    bounds_ = RECT{left, top, left + width, top + height};
    const int at = dpi();
    design_ = RECT{UnscaleCoord(left, at), UnscaleCoord(top, at), UnscaleCoord(left + width, at),
                   UnscaleCoord(top + height, at)};
    invalidate();
}

int GraphicControl::dpi() const { return owner_.layoutDpi(); }

void GraphicControl::rescale() {
    bounds_ = ScaledRect(design_, dpi());
    invalidate();
}

void GraphicControl::setVisible(bool visible) {
    if (visible_ == visible) return;
    visible_ = visible;
    invalidate();
}

void GraphicControl::invalidate() const {
    // A window not on show is painted whole once it shows; under Wine each
    // invalidation is a round trip to the server, and a start sets up
    // hundreds of controls.
    if (owner_.hwnd() && IsWindowVisible(owner_.hwnd()))
        InvalidateRect(owner_.hwnd(), &bounds_, FALSE);
}

void Image::loadPicture(const std::string& resourceName) {
    if (!visible() && !autoSize_) {
        setPicture(OwnedBitmap());
        pictureToLoad_ = resourceName;
        return;
    }
    setPicture(LoadBitmapResource(resourceName),
               [resourceName] { return LoadTwiceBitmapResource(resourceName); });
}

HBITMAP Image::picture() const {
    if (!pictureToLoad_.empty()) {
        picture_ = LoadBitmapResource(pictureToLoad_);
        makeTwice_ = [name = pictureToLoad_] { return LoadTwiceBitmapResource(name); };
        pictureToLoad_.clear();
    }
    return picture_.get();
}

void Image::setPicture(OwnedBitmap picture, TwiceMaker makeTwice) {
    pictureToLoad_.clear();
    picture_ = std::move(picture);
    makeTwice_ = std::move(makeTwice);
    scaled_.reset();
    if (autoSize_ && picture_) {
        const SIZE size = BitmapSize(picture_.get());
        setBounds(design().left, design().top, size.cx, size.cy);
    }
    invalidate();
}

RECT Image::picturePlace() const {
    const SIZE size = BitmapSize(picture());
    return ScaledRect(design().left, design().top, size.cx, size.cy, dpi());
}

void Image::rescale() {
    scaled_.reset();
    GraphicControl::rescale();
}

void Image::paint(HDC dc) const {
    HBITMAP shown = picture();
    if (!shown) return;
    // The picture sits at the control's top left, clipped to the control.
    if (dpi() != kDesignDpi) {
        const RECT place = picturePlace();
        if (!scaled_) {
            const OwnedBitmap twice = makeTwice_ ? makeTwice_() : OwnedBitmap();
            scaled_ = ScaledPicture(picture_.get(), twice.get(), place.right - place.left,
                                    place.bottom - place.top);
        }
        shown = scaled_.get();
    }
    const SIZE size = BitmapSize(shown);
    OwnedDc source(CreateCompatibleDC(dc));
    SelectScope select(source.get(), shown);
    BitBlt(dc, bounds().left, bounds().top, std::min<int>(size.cx, width()),
           std::min<int>(size.cy, height()), source.get(), 0, 0, SRCCOPY);
}

RECT Image::markArea() const {
    const SIZE size = BitmapSize(picture());
    if (size.cx <= 0 || size.cy <= 0) return bounds();
    const RECT place = picturePlace();
    return RECT{bounds().left, bounds().top, std::min(place.right, bounds().right),
                std::min(place.bottom, bounds().bottom)};
}

void Label::setCaption(std::string caption) {
    if (caption == caption_) return;
    caption_ = std::move(caption);
    fitToCaption();
    invalidate();
}

void Label::fitToCaption() {
    if (!autoSize_ || wordWrap_) return;
    const int at = dpi();
    ScreenDc screen;
    SelectScope select(screen.get(), FontAt(font_ ? font_ : UiFont(11), at));
    SIZE extent{};
    GetTextExtentPoint32A(screen.get(), caption_.c_str(), static_cast<int>(caption_.size()),
                          &extent);
    // The design width whose scaled width holds the caption's at this DPI.
    const int width = at == kDesignDpi ? extent.cx : (extent.cx * kDesignDpi + at - 1) / at + 1;
    setBounds(design().left, design().top, width, designHeight());
}

void Label::rescale() {
    GraphicControl::rescale();
    fitToCaption();
}

void Label::paint(HDC dc) const {
    RECT r = bounds();
    if (caption_.empty()) return;
    if (filled_) {
        OwnedBrush fill(CreateSolidBrush(fill_));
        FillRect(dc, &r, fill.get());
    }
    SelectScope select(dc, FontAt(font_ ? font_ : UiFont(11), dpi()));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, color_);
    UINT format = DT_NOPREFIX | (centred_ ? DT_CENTER : DT_LEFT);
    format |= wordWrap_ ? DT_WORDBREAK : DT_SINGLELINE;
    if (pathEllipsis_) format |= DT_PATH_ELLIPSIS;
    DrawTextA(dc, caption_.c_str(), static_cast<int>(caption_.size()), &r, format);
}

bool PointerStrictlyInside(const GraphicControl& control) {
    POINT at{};
    if (!GetCursorPos(&at)) return false;
    ScreenToClient(control.owner().hwnd(), &at);
    return IsStrictlyInside(at.x - control.bounds().left, at.y - control.bounds().top,
                            control.width(), control.height());
}

}  // namespace qv
