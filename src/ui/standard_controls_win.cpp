// The system's own controls, made in our font.
#include "ui/standard_controls_win.h"

#include "ui/graphics_win.h"

namespace qv {

namespace {

HWND CreateControl(const char* className, const char* text, DWORD style, HWND parent, int left,
                   int top, int width, int height, int id) {
    HWND control = CreateWindowExA(0, className, text, WS_CHILD | WS_VISIBLE | style, left, top,
                                   width, height, parent, reinterpret_cast<HMENU>(INT_PTR(id)),
                                   GetModuleHandleA(nullptr), nullptr);
    SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(UiFont(11)), FALSE);
    return control;
}

// Room for the open list of a drop-down below its box.
constexpr int kDropDownListHeight = 200;

}  // namespace

HWND CreatePushButton(HWND parent, const char* caption, int left, int top, int width, int height,
                      int id) {
    return CreateControl("BUTTON", caption, WS_TABSTOP | BS_PUSHBUTTON, parent, left, top, width,
                         height, id);
}

HWND CreateCheckBox(HWND parent, const char* name, int left, int top, int width, int height) {
    return CreateControl("BUTTON", name, WS_TABSTOP | BS_AUTOCHECKBOX, parent, left, top, width,
                         height, 0);
}

HWND CreateDropDownList(HWND parent, int left, int top, int width, int height,
                        const char* const* items, int count) {
    HWND list = CreateControl("COMBOBOX", "", WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST, parent,
                              left, top, width, kDropDownListHeight, 0);
    // The closed box takes the designed height.
    SendMessageA(list, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), height - 6);
    for (int i = 0; i < count; ++i)
        SendMessageA(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(items[i]));
    return list;
}

int ListIndex(HWND list) {
    const LRESULT index = SendMessageA(list, CB_GETCURSEL, 0, 0);
    return index == CB_ERR ? -1 : static_cast<int>(index);
}

void SetListIndex(HWND list, int index) {
    const LRESULT count = SendMessageA(list, CB_GETCOUNT, 0, 0);
    SendMessageA(list, CB_SETCURSEL, index >= 0 && index < count ? index : -1, 0);
}

bool IsChecked(HWND checkBox) { return SendMessageA(checkBox, BM_GETCHECK, 0, 0) == BST_CHECKED; }

void SetChecked(HWND checkBox, bool checked) {
    SendMessageA(checkBox, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

}  // namespace qv
