// Colour-keyed copy between device contexts.
#include "util/picture_win.h"

#include "util/handles_win.h"

namespace qv {

void BlitTransparent(HDC src, HDC dst, RECT srcInclusive, COLORREF key, int dstTop, int dstLeft) {
    const RECT& r = srcInclusive;
    if (r.right < r.left || r.bottom < r.top || r.right < 0 || r.bottom < 0) return;
    const int width = r.right - r.left + 1;
    const int height = r.bottom - r.top + 1;

    // Save the destination pixels the rectangle covers, then walk the source.
    OwnedDc saved(CreateCompatibleDC(dst));
    OwnedBitmap savedBitmap(CreateCompatibleBitmap(dst, r.right + 1, r.bottom + 1));
    if (!saved || !savedBitmap) return;
    SelectScope savedSelection(saved.get(), savedBitmap.get());
    BitBlt(saved.get(), 0, 0, width, height, dst, dstLeft, dstTop, SRCCOPY);

    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const COLORREF colour = GetPixel(src, r.left + x, r.top + y);
            SetPixel(dst, dstLeft + x, dstTop + y,
                     colour == key ? GetPixel(saved.get(), x, y) : colour);
        }
    }
}

}  // namespace qv
