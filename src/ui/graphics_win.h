// Fonts and bitmap resources shared by every window.
#pragma once

#include <windows.h>

#include <string>

#include "ui/dpi_scale.h"
#include "util/handles_win.h"

namespace qv {

// The face of every window of the program.
inline constexpr const char* kFontFace = "MS Sans Serif";

enum class FontStyle { Regular, Bold, BoldItalic };

// The font of the given pixel height and style; fonts live as long as the
// process, so callers never free them.
HFONT UiFont(int pixelHeight, FontStyle style = FontStyle::Regular);
// The same font made for dpi: the height scaled, and above 96 DPI a
// scalable face of the same look, so that text stays sharp at any scale.
HFONT UiFontAt(int pixelHeight, int dpi, FontStyle style = FontStyle::Regular);
// One of UiFont's fonts made for dpi (any other font is given back as it is).
HFONT FontAt(HFONT designFont, int dpi);

// Loads a bitmap resource by name (names match without regard to case);
// empty when there is none.
OwnedBitmap LoadBitmapResource(const std::string& name);
// The same picture drawn at twice the size (ui/art_scale.h); empty when the
// art has no such drawing of it.
OwnedBitmap LoadTwiceBitmapResource(const std::string& name);

SIZE BitmapSize(HBITMAP bitmap);

// A picture shown at another size for another DPI, from its 96-DPI drawing
// or from twice (its drawing at twice the size, when given) as PlanPicture
// picks: enlarged by a whole number with nearest neighbours, then where
// needed brought down to the size with the system's averaging filter (HALFTONE).
OwnedBitmap ScaledPicture(HBITMAP picture, HBITMAP twice, int width, int height);

// The mark of the control that has the keyboard focus: a two-pixel amber
// frame (scaled with dpi), the colour of the console's lit parts, just inside area.
void DrawFocusFrame(HDC dc, const RECT& area, int dpi = 96);

}  // namespace qv
