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

SIZE BitmapSize(HBITMAP bitmap);

// A picture drawn at another size for another DPI: by whole numbers with
// nearest neighbours where the size is a whole multiple of the picture's,
// else first to the next whole multiple that way and then down to the size
// with the system's averaging filter (HALFTONE), so that the art stays sharp
// and never blurs more than a pixel's width.
OwnedBitmap ScaledPicture(HBITMAP picture, int width, int height);

// The mark of the control that has the keyboard focus: a two-pixel amber
// frame (scaled with dpi), the colour of the console's lit parts, just inside area.
void DrawFocusFrame(HDC dc, const RECT& area, int dpi = 96);

}  // namespace qv
