// The labels the input panels draw over their pictures.
#pragma once

#include <windows.h>

#include "ui/container_win.h"

namespace qv {

// A bold label in the panels' text size, placed where the panel layout puts
// the control name.
Label& AddPanelLabel(Container& panel, const char* name, COLORREF colour);

}  // namespace qv
