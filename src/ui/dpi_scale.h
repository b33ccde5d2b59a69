// Scaling of the 96-DPI design to a display's DPI: the one rule every window
// lays itself out by. Portable: no window and no Windows call.
#pragma once

namespace qv {

// The DPI every coordinate in the code and in panel_layout.def is given at.
inline constexpr int kDesignDpi = 96;

// A coordinate at 96 DPI scaled to dpi, rounded to the nearest pixel (halves
// away from minus infinity, so that the rule is the same on both sides of 0).
constexpr int ScaleCoord(int value, int dpi) {
    const long long scaled = static_cast<long long>(value) * dpi * 2 + kDesignDpi;
    const long long twice = 2LL * kDesignDpi;
    return static_cast<int>(scaled >= 0 ? scaled / twice : -((-scaled + twice - 1) / twice));
}

// A length at 96 DPI scaled to dpi: what a pen width or a margin becomes.
// Never less than 1 for a positive length.
constexpr int ScaleLength(int value, int dpi) {
    const int scaled = ScaleCoord(value, dpi);
    return value > 0 && scaled < 1 ? 1 : scaled;
}

struct Edges {
    int left = 0, top = 0, right = 0, bottom = 0;
    constexpr int width() const { return right - left; }
    constexpr int height() const { return bottom - top; }
    friend constexpr bool operator==(const Edges&, const Edges&) = default;
};

// A 96-DPI rectangle (left, top, width, height) at dpi. Its four edges are
// scaled each on its own and rounded, not its size: two controls that touch
// at 96 DPI touch at every DPI, and ones that do not touch never overlap.
// At 96 DPI the rectangle is unchanged.
constexpr Edges ScaleRect(int left, int top, int width, int height, int dpi) {
    return Edges{ScaleCoord(left, dpi), ScaleCoord(top, dpi), ScaleCoord(left + width, dpi),
                 ScaleCoord(top + height, dpi)};
}

// A point in the window at dpi back to the 96-DPI design, rounded down: the
// design pixel that holds it.
constexpr int UnscaleCoord(int value, int dpi) {
    const long long scaled = static_cast<long long>(value) * kDesignDpi;
    return static_cast<int>(scaled >= 0 ? scaled / dpi : -((-scaled + dpi - 1) / dpi));
}

// The whole-number zoom of a picture of width x height that fits in a box
// of boxWidth x boxHeight at most, at least 1.
constexpr int WholeZoom(int width, int height, int boxWidth, int boxHeight) {
    if (width <= 0 || height <= 0) return 1;
    const int byWidth = boxWidth / width, byHeight = boxHeight / height;
    const int zoom = byWidth < byHeight ? byWidth : byHeight;
    return zoom < 1 ? 1 : zoom;
}

// The whole-number zoom a picture of width x height is shown at in a box of
// boxWidth x boxHeight at dpi: up to the scale (none below twice 96 DPI),
// and only as far as it fits, so that its pixels stay square.
constexpr int PictureZoom(int dpi, int width, int height, int boxWidth, int boxHeight) {
    const int most = dpi / kDesignDpi;
    if (most <= 1) return 1;
    const int fits = WholeZoom(width, height, boxWidth, boxHeight);
    return fits < most ? fits : most;
}

}  // namespace qv
