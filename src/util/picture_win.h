// Colour-keyed copy between device contexts (stamps marks on game pictures).
#pragma once

#include <windows.h>

namespace qv {

// Draws the source rectangle srcInclusive (all four edges inclusive) of src
// onto dst with its top-left corner at (dstLeft, dstTop); source pixels of the
// key colour leave the destination as it was.
void BlitTransparent(HDC src, HDC dst, RECT srcInclusive, COLORREF key, int dstTop, int dstLeft);

}  // namespace qv
