// The one place where portable pictures and GDI bitmaps meet.
#pragma once

#include <windows.h>

#include <optional>

#include "util/handles_win.h"
#include "util/pixmap.h"

namespace qv {

// A 32-bit top-down DIB section holding the picture's pixels; empty when the
// system refuses it.
OwnedBitmap BitmapFromPixmap(const Pixmap& picture);

// Draws the picture stretched over the rectangle with the raster operation
// (SRCCOPY, SRCAND, SRCPAINT ...).
void DrawPixmap(HDC dc, const RECT& to, const Pixmap& picture, DWORD rop);

// The pixels of any bitmap as 32 bits per pixel, top row first; nothing when
// they cannot be read (no bitmap, or one without pixels).
std::optional<Pixmap> PixmapFromBitmap(HBITMAP bitmap);

}  // namespace qv
