// Windowless picture and text controls.
#include "ui/controls_win.h"

#include <algorithm>

#include "ui/container_win.h"
#include "ui/graphics_win.h"
#include "ui/hover.h"

namespace qv {

void GraphicControl::setBounds(int left, int top, int width, int height) {
    invalidate();
    bounds_ = RECT{left, top, left + width, top + height};
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
    setPicture(LoadBitmapResource(resourceName));
}

void Image::setPicture(OwnedBitmap picture) {
    picture_ = std::move(picture);
    if (autoSize_ && picture_) {
        const SIZE size = BitmapSize(picture_.get());
        setBounds(bounds().left, bounds().top, size.cx, size.cy);
    }
    invalidate();
}

void Image::paint(HDC dc) const {
    if (!picture_) return;
    // The picture sits at the control's top left, clipped to the control.
    const SIZE size = BitmapSize(picture_.get());
    OwnedDc source(CreateCompatibleDC(dc));
    SelectScope select(source.get(), picture_.get());
    BitBlt(dc, bounds().left, bounds().top, std::min<int>(size.cx, width()),
           std::min<int>(size.cy, height()), source.get(), 0, 0, SRCCOPY);
}

RECT Image::markArea() const {
    const SIZE size = BitmapSize(picture_.get());
    if (size.cx <= 0 || size.cy <= 0) return bounds();
    return RECT{bounds().left, bounds().top, bounds().left + std::min<int>(size.cx, width()),
                bounds().top + std::min<int>(size.cy, height())};
}

void Label::setCaption(std::string caption) {
    if (caption == caption_) return;
    caption_ = std::move(caption);
    fitToCaption();
    invalidate();
}

void Label::fitToCaption() {
    if (!autoSize_ || wordWrap_) return;
    ScreenDc screen;
    SelectScope select(screen.get(), font_ ? font_ : UiFont(11));
    SIZE extent{};
    GetTextExtentPoint32A(screen.get(), caption_.c_str(), static_cast<int>(caption_.size()),
                          &extent);
    setBounds(bounds().left, bounds().top, extent.cx, height());
}

void Label::paint(HDC dc) const {
    RECT r = bounds();
    if (caption_.empty()) return;
    if (filled_) {
        OwnedBrush fill(CreateSolidBrush(fill_));
        FillRect(dc, &r, fill.get());
    }
    SelectScope select(dc, font_ ? font_ : UiFont(11));
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
