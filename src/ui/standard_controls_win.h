// The system's own controls (push buttons and the like), made in our font.
#pragma once

#include <windows.h>

#include <span>
#include <string>

namespace qv {

// A push button child of parent; its clicks reach the parent as WM_COMMAND
// with the given id.
HWND CreatePushButton(HWND parent, const char* caption, int left, int top, int width, int height,
                      int id);

// A check box whose caption is its name (too narrow to show at 15 pixels:
// the panel's picture names it).
HWND CreateCheckBox(HWND parent, const char* name, int left, int top, int width, int height);

// A fixed drop-down list holding the items, with no selection.
HWND CreateDropDownList(HWND parent, int left, int top, int width, int height,
                        const char* const* items, int count);

// A fixed drop-down list whose items its parent paints (fixed height, items
// kept as texts): the parent answers WM_DRAWITEM with DrawListItem.
HWND CreateOwnerDrawList(HWND parent, int left, int top, int width, int height);
// Replaces a list's items; it is left with no selection.
void SetListItems(HWND list, std::span<const std::string> items);
// Paints one item of an owner-drawn list: its text, clipped to the item.
void DrawListItem(const DRAWITEMSTRUCT& item);

// A number field with up and down arrows: at most digits digits, 0 to
// highest. Returns the field; its arrows sit inside its right end.
HWND CreateSpinField(HWND parent, int left, int top, int width, int height, int highest,
                     int digits);

// The text of a window.
std::string WindowText(HWND window);

// Selected index of a list, or -1; and setting it (-1 or an index outside
// the list leaves it with no selection).
int ListIndex(HWND list);
void SetListIndex(HWND list, int index);

bool IsChecked(HWND checkBox);
void SetChecked(HWND checkBox, bool checked);

}  // namespace qv
