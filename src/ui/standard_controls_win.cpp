// The system's own controls, made in our font.
#include "ui/standard_controls_win.h"

#include <commctrl.h>

#include "ui/dpi_win.h"
#include "ui/graphics_win.h"
#include "util/on_demand_win.h"

namespace qv {

namespace {

const char* ItemText(const char* item) { return item; }
const char* ItemText(const std::string& item) { return item.c_str(); }

// The font every standard control of ours wears, at 96 DPI.
constexpr int kControlFontHeight = 11;

HWND CreateControl(const char* className, const char* text, DWORD style, HWND parent, int left,
                   int top, int width, int height, int id) {
    const int dpi = DpiOf(parent);
    const RECT place = ScaledRect(left, top, width, height, dpi);
    HWND control =
        CreateWindowExA(0, className, text, WS_CHILD | WS_VISIBLE | style, place.left, place.top,
                        place.right - place.left, place.bottom - place.top, parent,
                        reinterpret_cast<HMENU>(INT_PTR(id)), GetModuleHandleA(nullptr), nullptr);
    SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(UiFontAt(kControlFontHeight, dpi)),
                 FALSE);
    PlaceChild(control, RECT{left, top, left + width, top + height}, kControlFontHeight);
    return control;
}

// The item height that gives a closed drop-down list the designed height at
// its DPI: the box's frame takes 6 pixels at any DPI.
int ClosedItemHeight(HWND list, int designHeight, int inset) {
    const RECT design = DesignRectOf(list);
    const RECT place = ScaledRect(design.left, design.top, 0, designHeight, DpiOf(GetParent(list)));
    return place.bottom - place.top - inset;
}

// Adds the items to a drop-down list with its drawing held back: otherwise
// each one sets the open list's scroll bar again, and under Wine moves the
// list's own top-level window, several round trips to the server apiece.
template <typename Items>
void AddListItems(HWND list, const Items& items) {
    SendMessageA(list, WM_SETREDRAW, FALSE, 0);
    for (const auto& item : items)
        SendMessageA(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(ItemText(item)));
    SendMessageA(list, WM_SETREDRAW, TRUE, 0);
    if (IsWindowVisible(list)) InvalidateRect(list, nullptr, TRUE);
}

// Room for the open list of a drop-down below its box.
constexpr int kDropDownListHeight = 200;
// Sets a drop-down list's item heights now and again at every DPI the list
// is placed at later.
void SetItemHeights(HWND list, int left, int top, int width,
                    const std::function<void(HWND)>& heights) {
    PlaceChild(list, RECT{left, top, left + width, top + kDropDownListHeight}, kControlFontHeight,
               heights);
    heights(list);
}

// Width of a number field's arrows, taken from the field's right end.
constexpr int kSpinArrowsWidth = 14;
// Where the system puts the arrows at 96 DPI: this wide, this far inside
// the field's designed right end, reaching this far over the field's right
// border (what Wine's up-down control does, measured).
constexpr int kSpinArrowsPlacedWidth = 16;
constexpr int kSpinArrowsInset = 2;
constexpr int kSpinArrowsOverlap = 2;

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
    SetItemHeights(list, left, top, width, [height](HWND placed) {
        SendMessageA(placed, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1),
                     ClosedItemHeight(placed, height, 6));
    });
    AddListItems(list, std::span<const char* const>(items, static_cast<std::size_t>(count)));
    return list;
}

HWND CreateOwnerDrawList(HWND parent, int left, int top, int width, int height) {
    HWND list = CreateControl(
        "COMBOBOX", "",
        WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED | CBS_HASSTRINGS, parent,
        left, top, width, kDropDownListHeight, 0);
    SetItemHeights(list, left, top, width, [height](HWND placed) {
        SendMessageA(placed, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1),
                     ClosedItemHeight(placed, height, 6));
        SendMessageA(placed, CB_SETITEMHEIGHT, 0, ClosedItemHeight(placed, height, 8));
    });
    return list;
}

void SetListItems(HWND list, std::span<const std::string> items) {
    SendMessageA(list, CB_RESETCONTENT, 0, 0);
    AddListItems(list, items);
}

void DrawListItem(const DRAWITEMSTRUCT& item) {
    const bool selected = (item.itemState & ODS_SELECTED) != 0;
    FillRect(item.hDC, &item.rcItem, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
    if (item.itemID == static_cast<UINT>(-1)) return;  // no selection: an empty box
    const LRESULT length = SendMessageA(item.hwndItem, CB_GETLBTEXTLEN, item.itemID, 0);
    if (length <= 0) return;
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    SendMessageA(item.hwndItem, CB_GETLBTEXT, item.itemID, reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<std::size_t>(length));
    SetBkMode(item.hDC, TRANSPARENT);
    SetTextColor(item.hDC, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
    RECT area = item.rcItem;
    area.left += ScaleLength(2, DpiOf(item.hwndItem));
    DrawTextA(item.hDC, text.c_str(), static_cast<int>(text.size()), &area,
              DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
    if (item.itemState & ODS_FOCUS) DrawFocusRect(item.hDC, &item.rcItem);
}

HWND CreateSpinField(HWND parent, int left, int top, int width, int height, int highest,
                     int digits) {
    static const bool registered = [] {
        INITCOMMONCONTROLSEX classes{sizeof(classes), ICC_UPDOWN_CLASS};
        return on_demand::InitCommonControlsEx(&classes) != FALSE;
    }();
    (void)registered;
    HWND field = CreateControl("EDIT", "", WS_TABSTOP | WS_BORDER | ES_NUMBER | ES_AUTOHSCROLL,
                               parent, left, top, width, height, 0);
    SendMessageA(field, EM_SETLIMITTEXT, digits, 0);
    const int dpi = DpiOf(parent);
    HWND arrows = CreateWindowExA(
        0, UPDOWN_CLASSA, "",
        WS_CHILD | WS_VISIBLE | UDS_SETBUDDYINT | UDS_ALIGNRIGHT | UDS_ARROWKEYS | UDS_NOTHOUSANDS,
        0, 0, kSpinArrowsWidth, height, parent, nullptr, GetModuleHandleA(nullptr), nullptr);
    SendMessageA(arrows, UDM_SETBUDDY, reinterpret_cast<WPARAM>(field), 0);
    // The system puts the arrows inside the field at their width for 96 DPI;
    // at another DPI (and after a change of DPI) they go there scaled.
    const RECT design{left, top, left + width, top + height};
    auto placeArrows = [arrows, design](HWND placed) {
        const int at = DpiOf(GetParent(placed));
        const RECT r = ScaledRect(design, at);
        const int arrowsRight = r.right - ScaleLength(kSpinArrowsInset, at);
        const int arrowsLeft = arrowsRight - ScaleLength(kSpinArrowsPlacedWidth, at);
        SetWindowPos(placed, nullptr, r.left, r.top,
                     arrowsLeft + ScaleLength(kSpinArrowsOverlap, at) - r.left, r.bottom - r.top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        SetWindowPos(arrows, nullptr, arrowsLeft, r.top, arrowsRight - arrowsLeft, r.bottom - r.top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    };
    if (dpi != kDesignDpi) placeArrows(field);
    PlaceChild(field, design, kControlFontHeight, placeArrows);
    SendMessageA(arrows, UDM_SETRANGE32, 0, highest);
    return field;
}

std::string WindowText(HWND window) {
    std::string text(static_cast<std::size_t>(GetWindowTextLengthA(window)) + 1, '\0');
    text.resize(static_cast<std::size_t>(
        GetWindowTextA(window, text.data(), static_cast<int>(text.size()))));
    return text;
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
