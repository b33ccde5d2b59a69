// The system's own controls (push buttons and the like), made in our font.
#pragma once

#include <windows.h>

namespace qv {

// A push button child of parent; its clicks reach the parent as WM_COMMAND
// with the given id.
HWND CreatePushButton(HWND parent, const char* caption, int left, int top, int width, int height,
                      int id);

}  // namespace qv
