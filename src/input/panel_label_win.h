// The labels the input panels draw over their pictures, and the clash marks.
#pragma once

#include <windows.h>

#include "ui/container_win.h"

namespace qv {

// A bold label in the panels' text size, placed where the panel layout puts
// the control name.
Label& AddPanelLabel(Container& panel, const char* name, COLORREF colour);

// The line that names the other field of a clash: amber on a dark strip that
// shows only while there is a clash to name.
Label& AddClashLine(Container& panel, const char* name);

// The background of a field that shares its key or button with another: the
// amber of the console's lit parts. The brush lives as long as the process.
inline constexpr COLORREF kClashColour = RGB(255, 186, 72);
HBRUSH ClashBrush();

}  // namespace qv
