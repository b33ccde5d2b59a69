// Portable pictures to DIB sections and back.
#include "util/pixmap_win.h"

#include <cstring>

namespace qv {
namespace {

BITMAPINFO TopDown32(int width, int height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // negative: rows top first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    return info;
}

}  // namespace

OwnedBitmap BitmapFromPixmap(const Pixmap& picture) {
    if (!picture.valid()) return {};
    const BITMAPINFO info = TopDown32(picture.width, picture.height);
    void* bits = nullptr;
    OwnedBitmap bitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!bitmap || !bits) return {};
    std::memcpy(bits, picture.pixels.data(), picture.pixels.size() * sizeof(Pixel));
    return bitmap;
}

void DrawPixmap(HDC dc, const RECT& to, const Pixmap& picture, DWORD rop) {
    const BITMAPINFO info = TopDown32(picture.width, picture.height);
    StretchDIBits(dc, to.left, to.top, to.right - to.left, to.bottom - to.top, 0, 0, picture.width,
                  picture.height, picture.pixels.data(), &info, DIB_RGB_COLORS, rop);
}

std::optional<Pixmap> PixmapFromBitmap(HBITMAP bitmap) {
    BITMAP about{};
    if (!bitmap || !GetObjectA(bitmap, sizeof about, &about) || about.bmWidth <= 0 ||
        about.bmHeight <= 0) {
        return std::nullopt;
    }
    Pixmap picture(about.bmWidth, about.bmHeight);
    BITMAPINFO info = TopDown32(picture.width, picture.height);
    ScreenDc screen;
    if (GetDIBits(screen.get(), bitmap, 0, picture.height, picture.pixels.data(), &info,
                  DIB_RGB_COLORS) != picture.height) {
        return std::nullopt;
    }
    return picture;
}

}  // namespace qv
