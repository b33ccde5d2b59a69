// The hover rule of image buttons: lit only while the pointer is strictly inside.
#pragma once

namespace qv {

// True when a point in a control's own coordinates lies strictly inside it:
// the control's first row and column do not count, nor anything past its size.
constexpr bool IsStrictlyInside(int x, int y, int width, int height) {
    return 0 < x && x < width && 0 < y && y < height;
}

}  // namespace qv
