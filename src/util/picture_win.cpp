// Colour-keyed copy between device contexts.
#include "util/picture_win.h"

namespace qv {

namespace {

class ScratchCanvas {
public:
    ScratchCanvas(HDC like, int width, int height)
        : dc_(CreateCompatibleDC(like)), bitmap_(CreateCompatibleBitmap(like, width, height)) {
        if (dc_ && bitmap_) old_ = SelectObject(dc_, bitmap_);
    }
    ScratchCanvas(const ScratchCanvas&) = delete;
    ScratchCanvas& operator=(const ScratchCanvas&) = delete;
    ~ScratchCanvas() {
        if (old_) SelectObject(dc_, old_);
        if (bitmap_) DeleteObject(bitmap_);
        if (dc_) DeleteDC(dc_);
    }
    bool valid() const { return old_ != nullptr; }
    HDC dc() const { return dc_; }

private:
    HDC dc_;
    HBITMAP bitmap_;
    HGDIOBJ old_ = nullptr;
};

}  // namespace

void BlitTransparent(HDC src, HDC dst, RECT srcInclusive, COLORREF key, int dstTop, int dstLeft) {
    const RECT& r = srcInclusive;
    if (r.right < r.left || r.bottom < r.top || r.right < 0 || r.bottom < 0) return;
    const int width = r.right - r.left + 1;
    const int height = r.bottom - r.top + 1;

    // Save the destination pixels the rectangle covers, then walk the source.
    ScratchCanvas saved(dst, r.right + 1, r.bottom + 1);
    if (!saved.valid()) return;
    BitBlt(saved.dc(), 0, 0, width, height, dst, dstLeft, dstTop, SRCCOPY);

    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const COLORREF colour = GetPixel(src, r.left + x, r.top + y);
            SetPixel(dst, dstLeft + x, dstTop + y,
                     colour == key ? GetPixel(saved.dc(), x, y) : colour);
        }
    }
}

}  // namespace qv
