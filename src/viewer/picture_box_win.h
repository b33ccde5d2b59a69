// The viewer's picture area: a scroll box with the picture at its top left
// on black, scrolled both ways over ranges its owner sets.
#pragma once

#include <windows.h>

#include "ui/window_win.h"
#include "util/handles_win.h"

namespace qv {

class PictureBox : public Window {
public:
    bool create(HWND parent, int left, int top, int width, int height);

    // The picture on show (empty before the first one) and its size.
    HBITMAP picture() const { return picture_.get(); }
    OwnedBitmap& pictureSlot() { return picture_; }
    SIZE pictureSize() const;

    // Scroll ranges from the picture's size; a bar shows only while its
    // range exceeds the box.
    void setRanges(int horizontal, int vertical);
    // The whole number the picture is shown enlarged by: at a DPI of twice
    // 96 or more, the largest one up to the scale at which the picture fits
    // the box, so that its pixels stay square and sharp; else 1.
    int zoom() const;
    void dpiChanged(int dpi) override;
    POINT position() const { return position_; }

protected:
    LRESULT handleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    void onPaint();
    void onScroll(int bar, WORD request);
    void setRange(int bar, int range, int page);

    OwnedBitmap picture_;
    POINT position_{};
    SIZE ranges_{};
};

}  // namespace qv
