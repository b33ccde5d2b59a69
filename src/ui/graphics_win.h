// Fonts and bitmap resources shared by every window.
#pragma once

#include <windows.h>

#include <string>

#include "util/handles_win.h"

namespace qv {

// The face of every window of the program.
inline constexpr const char* kFontFace = "MS Sans Serif";

enum class FontStyle { Regular, Bold, BoldItalic };

// The font of the given pixel height and style; fonts live as long as the
// process, so callers never free them.
HFONT UiFont(int pixelHeight, FontStyle style = FontStyle::Regular);

// Loads a bitmap resource by name (names match without regard to case);
// empty when there is none.
OwnedBitmap LoadBitmapResource(const std::string& name);

SIZE BitmapSize(HBITMAP bitmap);

// The mark of the control that has the keyboard focus: a two-pixel amber
// frame, the colour of the console's lit parts, just inside area.
void DrawFocusFrame(HDC dc, const RECT& area);

}  // namespace qv
