// Tests of the colour-keyed copy on memory canvases.
#include "util/picture_win.h"

#include <gtest/gtest.h>

namespace qv {
namespace {

constexpr COLORREF kGreen = RGB(0, 255, 0);

// A 24-bit canvas of its own (a compatible bitmap of a memory DC would be monochrome).
class Canvas {
public:
    Canvas(int width, int height) : dc_(CreateCompatibleDC(nullptr)) {
        BITMAPINFO bi{};
        bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
        bi.bmiHeader.biWidth = width;
        bi.bmiHeader.biHeight = -height;
        bi.bmiHeader.biPlanes = 1;
        bi.bmiHeader.biBitCount = 24;
        void* bits = nullptr;
        bitmap_ = CreateDIBSection(dc_, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
        old_ = SelectObject(dc_, bitmap_);
    }
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;
    ~Canvas() {
        SelectObject(dc_, old_);
        DeleteObject(bitmap_);
        DeleteDC(dc_);
    }
    HDC dc() const { return dc_; }
    bool valid() const { return bitmap_ != nullptr; }

private:
    HDC dc_;
    HBITMAP bitmap_;
    HGDIOBJ old_;
};

// Every destination pixel distinct, so a pixel put back from the wrong place shows.
COLORREF Backdrop(int x, int y) { return RGB(10 + x * 20, 10 + y * 20, 77); }

TEST(BlitTransparentTest, KeyColourKeepsDestinationOtherPixelsAreCopied) {
    Canvas src(6, 5), dst(10, 10);
    ASSERT_TRUE(src.valid() && dst.valid());
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 10; ++x)
            SetPixel(dst.dc(), x, y, Backdrop(x, y));
    // Source: green everywhere except a diagonal of red and a blue corner.
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 6; ++x)
            SetPixel(src.dc(), x, y, x == y ? RGB(255, 0, 0) : kGreen);
    SetPixel(src.dc(), 4, 1, RGB(0, 0, 255));

    // Source columns 1..4, rows 1..3 (inclusive) to top 2, left 3.
    BlitTransparent(src.dc(), dst.dc(), RECT{1, 1, 4, 3}, kGreen, 2, 3);

    for (int y = 0; y < 10; ++y) {
        for (int x = 0; x < 10; ++x) {
            COLORREF expected = Backdrop(x, y);
            const int sx = x - 3 + 1, sy = y - 2 + 1;
            if (sx >= 1 && sx <= 4 && sy >= 1 && sy <= 3) {
                if (sx == sy) expected = RGB(255, 0, 0);
                if (sx == 4 && sy == 1) expected = RGB(0, 0, 255);
            }
            EXPECT_EQ(GetPixel(dst.dc(), x, y), expected) << "at " << x << "," << y;
        }
    }
}

TEST(BlitTransparentTest, EmptyRectangleDrawsNothing) {
    Canvas src(4, 4), dst(4, 4);
    ASSERT_TRUE(src.valid() && dst.valid());
    SetPixel(dst.dc(), 1, 1, RGB(1, 2, 3));
    BlitTransparent(src.dc(), dst.dc(), RECT{2, 2, 1, 1}, kGreen, 0, 0);
    EXPECT_EQ(GetPixel(dst.dc(), 1, 1), RGB(1, 2, 3));
}

}  // namespace
}  // namespace qv
