// Fonts and bitmap resources shared by every window.
#include "ui/graphics_win.h"

#include <initializer_list>
#include <map>
#include <optional>
#include <tuple>

#include "ui/art_scale.h"

namespace qv {

namespace {

struct FontKey {
    int pixelHeight;
    FontStyle style;
};

std::map<HFONT, FontKey>& DesignFonts() {
    static std::map<HFONT, FontKey> fonts;
    return fonts;
}

HFONT MakeFont(const char* face, int pixelHeight, FontStyle style) {
    LOGFONTA lf{};
    lf.lfHeight = -pixelHeight;
    lf.lfWeight = style == FontStyle::Regular ? FW_NORMAL : FW_BOLD;
    lf.lfItalic = style == FontStyle::BoldItalic;
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfQuality = DEFAULT_QUALITY;
    lstrcpynA(lf.lfFaceName, face, LF_FACESIZE);
    return CreateFontIndirectA(&lf);
}

// MS Sans Serif is a bitmap font, drawn at a few sizes only: asked for
// another, the system gives the nearest smaller one (under Wine 20 pixels for
// anything from 16 to 39). Above 96 DPI the text is set in a scalable face:
// MS Sans Serif's own scalable twin where the system has it, else Tahoma,
// which is scalable wherever it is found (Wine ships it); else MS Sans Serif
// stays. A face counts only when the system gives that face, scalable.
const char* ScalableFace() {
    static const char* face = [] {
        for (const char* candidate : {"Microsoft Sans Serif", "Tahoma"}) {
            OwnedFont probe(MakeFont(candidate, 22, FontStyle::Regular));
            ScreenDc screen;
            SelectScope select(screen.get(), probe.get());
            char got[LF_FACESIZE] = {};
            GetTextFaceA(screen.get(), LF_FACESIZE, got);
            TEXTMETRICA metrics{};
            GetTextMetricsA(screen.get(), &metrics);
            if (lstrcmpiA(got, candidate) == 0 &&
                (metrics.tmPitchAndFamily & (TMPF_VECTOR | TMPF_TRUETYPE)))
                return candidate;
        }
        return kFontFace;
    }();
    return face;
}

}  // namespace

HFONT UiFontAt(int pixelHeight, int dpi, FontStyle style) {
    static std::map<std::tuple<int, FontStyle, int>, OwnedFont> fonts;
    OwnedFont& font = fonts[{pixelHeight, style, dpi}];
    if (!font) {
        if (dpi == kDesignDpi) {
            font.reset(MakeFont(kFontFace, pixelHeight, style));
            DesignFonts()[font.get()] = FontKey{pixelHeight, style};
        } else {
            font.reset(MakeFont(ScalableFace(), ScaleLength(pixelHeight, dpi), style));
        }
    }
    return font.get();
}

HFONT UiFont(int pixelHeight, FontStyle style) { return UiFontAt(pixelHeight, kDesignDpi, style); }

HFONT FontAt(HFONT designFont, int dpi) {
    if (dpi == kDesignDpi) return designFont;
    const auto it = DesignFonts().find(designFont);
    if (it == DesignFonts().end()) return designFont;
    return UiFontAt(it->second.pixelHeight, dpi, it->second.style);
}

OwnedBitmap ScaledPicture(HBITMAP picture, HBITMAP twice, int width, int height) {
    const SIZE design = BitmapSize(picture);
    if (design.cx <= 0 || design.cy <= 0 || width <= 0 || height <= 0) return OwnedBitmap();
    const SIZE twiceSize = BitmapSize(twice);
    const bool hasTwice = twiceSize.cx == 2 * design.cx && twiceSize.cy == 2 * design.cy;
    const PictureSteps steps = PlanPicture(design.cx, design.cy, width, height, hasTwice);
    const SIZE size = steps.drawing == 2 ? twiceSize : design;
    const int zoom = steps.zoom;
    ScreenDc screen;
    OwnedDc source(CreateCompatibleDC(screen.get()));
    SelectScope selectSource(source.get(), steps.drawing == 2 ? twice : picture);
    OwnedBitmap whole;
    HDC from = source.get();
    OwnedDc wholeDc;
    std::optional<SelectScope> selectWhole;
    if (zoom > 1) {
        whole.reset(CreateCompatibleBitmap(screen.get(), size.cx * zoom, size.cy * zoom));
        wholeDc.reset(CreateCompatibleDC(screen.get()));
        selectWhole.emplace(wholeDc.get(), whole.get());
        SetStretchBltMode(wholeDc.get(), COLORONCOLOR);
        StretchBlt(wholeDc.get(), 0, 0, size.cx * zoom, size.cy * zoom, source.get(), 0, 0,
                   size.cx, size.cy, SRCCOPY);
        from = wholeDc.get();
    }
    OwnedBitmap result(CreateCompatibleBitmap(screen.get(), width, height));
    OwnedDc target(CreateCompatibleDC(screen.get()));
    SelectScope selectTarget(target.get(), result.get());
    if (!steps.filter) {
        BitBlt(target.get(), 0, 0, width, height, from, 0, 0, SRCCOPY);
    } else {
        SetStretchBltMode(target.get(), HALFTONE);
        SetBrushOrgEx(target.get(), 0, 0, nullptr);
        StretchBlt(target.get(), 0, 0, width, height, from, 0, 0, size.cx * zoom, size.cy * zoom,
                   SRCCOPY);
    }
    return result;
}

OwnedBitmap LoadBitmapResource(const std::string& name) {
    return OwnedBitmap(static_cast<HBITMAP>(
        LoadImageA(GetModuleHandleA(nullptr), name.c_str(), IMAGE_BITMAP, 0, 0, 0)));
}

OwnedBitmap LoadTwiceBitmapResource(const std::string& name) {
    return LoadBitmapResource(name + kTwiceArtSuffix);
}

SIZE BitmapSize(HBITMAP bitmap) {
    BITMAP bm{};
    if (!bitmap || !GetObjectA(bitmap, sizeof bm, &bm)) return SIZE{0, 0};
    return SIZE{bm.bmWidth, bm.bmHeight};
}

void DrawFocusFrame(HDC dc, const RECT& area, int dpi) {
    OwnedBrush amber(CreateSolidBrush(RGB(255, 186, 72)));
    RECT ring = area;
    for (int width = 0; width < ScaleLength(2, dpi); ++width) {
        FrameRect(dc, &ring, amber.get());
        InflateRect(&ring, -1, -1);
    }
}

}  // namespace qv
