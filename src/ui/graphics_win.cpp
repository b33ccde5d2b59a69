// Fonts and bitmap resources shared by every window.
#include "ui/graphics_win.h"

#include <map>

namespace qv {

HFONT UiFont(int pixelHeight, FontStyle style) {
    static std::map<std::pair<int, FontStyle>, OwnedFont> fonts;
    OwnedFont& font = fonts[{pixelHeight, style}];
    if (!font) {
        LOGFONTA lf{};
        lf.lfHeight = -pixelHeight;
        lf.lfWeight = style == FontStyle::Regular ? FW_NORMAL : FW_BOLD;
        lf.lfItalic = style == FontStyle::BoldItalic;
        lf.lfCharSet = DEFAULT_CHARSET;
        lf.lfQuality = DEFAULT_QUALITY;
        lstrcpynA(lf.lfFaceName, kFontFace, LF_FACESIZE);
        font.reset(CreateFontIndirectA(&lf));
    }
    return font.get();
}

OwnedBitmap LoadBitmapResource(const std::string& name) {
    return OwnedBitmap(static_cast<HBITMAP>(
        LoadImageA(GetModuleHandleA(nullptr), name.c_str(), IMAGE_BITMAP, 0, 0, 0)));
}

SIZE BitmapSize(HBITMAP bitmap) {
    BITMAP bm{};
    if (!bitmap || !GetObjectA(bitmap, sizeof bm, &bm)) return SIZE{0, 0};
    return SIZE{bm.bmWidth, bm.bmHeight};
}

void DrawFocusFrame(HDC dc, const RECT& area) {
    OwnedBrush amber(CreateSolidBrush(RGB(255, 186, 72)));
    RECT ring = area;
    for (int width = 0; width < 2; ++width) {
        FrameRect(dc, &ring, amber.get());
        InflateRect(&ring, -1, -1);
    }
}

}  // namespace qv
