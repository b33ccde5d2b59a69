// The system's own controls, made in our font.
#include "ui/standard_controls_win.h"

#include "ui/graphics_win.h"

namespace qv {

HWND CreatePushButton(HWND parent, const char* caption, int left, int top, int width, int height,
                      int id) {
    HWND button = CreateWindowExA(0, "BUTTON", caption,
                                  WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, left, top,
                                  width, height, parent, reinterpret_cast<HMENU>(INT_PTR(id)),
                                  GetModuleHandleA(nullptr), nullptr);
    SendMessageA(button, WM_SETFONT, reinterpret_cast<WPARAM>(UiFont(11)), FALSE);
    return button;
}

}  // namespace qv
