// Which drawing of the art a picture is shown from at a display's scale, and
// how that drawing is brought to the picture's size there. Portable: no
// window and no Windows call.
#pragma once

namespace qv {

// The art is drawn at its 96-DPI size and, for most pictures, again at twice
// that size, in the bitmap resource named as the first with this suffix.
inline constexpr char kTwiceArtSuffix[] = "_2X";

struct PictureSteps {
    int drawing = 1;      // 1: the 96-DPI drawing; 2: the one at twice the size
    int zoom = 1;         // first enlarged by this whole number, nearest neighbour
    bool filter = false;  // then brought down to the size by averaging
    friend constexpr bool operator==(const PictureSteps&, const PictureSteps&) = default;
};

// How a picture drawn at designWidth x designHeight is shown at width x
// height pixels: up to its design size from the 96-DPI drawing, beyond it
// from the drawing at twice the size where there is one. The drawing is
// enlarged by the smallest whole number that reaches the size and then, unless
// that is the size exactly, averaged down to it: at 100 %, 200 % and 400 %
// every pixel is a drawn one, and otherwise nothing blurs by more than a pixel.
constexpr PictureSteps PlanPicture(int designWidth, int designHeight, int width, int height,
                                   bool hasTwice) {
    PictureSteps steps;
    if (designWidth <= 0 || designHeight <= 0) return steps;
    if (hasTwice && (width > designWidth || height > designHeight)) steps.drawing = 2;
    const int drawnWidth = designWidth * steps.drawing, drawnHeight = designHeight * steps.drawing;
    const int byWidth = (width + drawnWidth - 1) / drawnWidth;
    const int byHeight = (height + drawnHeight - 1) / drawnHeight;
    steps.zoom = byWidth > byHeight ? byWidth : byHeight;
    if (steps.zoom < 1) steps.zoom = 1;
    steps.filter = width != drawnWidth * steps.zoom || height != drawnHeight * steps.zoom;
    return steps;
}

}  // namespace qv
