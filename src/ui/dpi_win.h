// The DPI of our windows, and the 96-DPI design scaled to it (ui/dpi_scale.h
// has the rule). The functions that later Windows added for per-monitor DPI
// are looked up at run time; where a system lacks them, every window takes
// the system DPI.
#pragma once

#include <windows.h>

#include <functional>

#include "ui/dpi_scale.h"

namespace qv {

// The system DPI: the screen's LOGPIXELSY (96 at 100 %).
int SystemDpi();
// The DPI of a window: GetDpiForWindow where the system has it, else the
// system DPI. Our own windows answer the DPI they are laid out at (which a
// WM_DPICHANGED has just changed, before the system may say so).
int DpiOf(HWND window);

// The DPI the system gives the window now (GetDpiForWindow, else the
// system DPI), whatever it is laid out at.
int MonitorDpiOf(HWND window);

// A 96-DPI rectangle at dpi, as a RECT.
RECT ScaledRect(int left, int top, int width, int height, int dpi);
// The same rectangle given as a RECT (left, top, right, bottom).
RECT ScaledRect(const RECT& design, int dpi);

// A child window placed by the design: remembers its 96-DPI rectangle and
// the pixel height of its font (0: none of ours), so that a change of DPI
// places it again and gives it the font made for the new DPI.
// again is the child's own work after each such move (item heights, buddies).
void PlaceChild(HWND child, const RECT& design, int fontHeight,
                std::function<void(HWND)> again = nullptr);
// Moves a remembered child and its font to dpi; false when it is not one.
bool ReplaceChild(HWND child, int dpi);
// The 96-DPI rectangle a child was placed at (empty when it was not).
RECT DesignRectOf(HWND child);

// Places the children of window (all its descendants) again at dpi: the
// remembered standard controls and our own windows (Window::dpiChanged).
void RelayoutChildren(HWND window, int dpi);

// A system metric at dpi: GetSystemMetricsForDpi where the system has it,
// else the system's value scaled from the system DPI.
int SystemMetricAt(int index, int dpi);

}  // namespace qv
