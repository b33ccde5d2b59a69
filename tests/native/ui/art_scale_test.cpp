// Tests of the choice of drawing a picture is shown from at each scale.
#include <gtest/gtest.h>

#include "ui/art_scale.h"
#include "ui/dpi_scale.h"

namespace qv {
namespace {

PictureSteps At(int dpi, bool hasTwice) {
    // A game button's cap, 46 x 40 at 96 DPI, at the size the windows give it.
    return PlanPicture(46, 40, ScaleLength(46, dpi), ScaleLength(40, dpi), hasTwice);
}

TEST(PlanPicture, TheTwiceDrawingAboveTheDesignSizeAndWholeZoomsThatStaySharp) {
    // drawing, zoom, filter
    EXPECT_EQ(At(96, true), (PictureSteps{1, 1, false}));
    EXPECT_EQ(At(72, true), (PictureSteps{1, 1, true}));
    EXPECT_EQ(At(120, true), (PictureSteps{2, 1, true}));
    EXPECT_EQ(At(144, true), (PictureSteps{2, 1, true}));
    EXPECT_EQ(At(192, true), (PictureSteps{2, 1, false}));
    EXPECT_EQ(At(240, true), (PictureSteps{2, 2, true}));
    EXPECT_EQ(At(288, true), (PictureSteps{2, 2, true}));
    EXPECT_EQ(At(384, true), (PictureSteps{2, 2, false}));
    // Pictures drawn only once are enlarged from the 96-DPI drawing.
    EXPECT_EQ(At(144, false), (PictureSteps{1, 2, true}));
    EXPECT_EQ(At(192, false), (PictureSteps{1, 2, false}));
    EXPECT_EQ(At(288, false), (PictureSteps{1, 3, false}));
    // One side larger is enough to take the larger drawing; the zoom reaches both sides.
    EXPECT_EQ(PlanPicture(46, 40, 46, 41, true), (PictureSteps{2, 1, true}));
    EXPECT_EQ(PlanPicture(46, 40, 92, 81, true), (PictureSteps{2, 2, true}));
}

}  // namespace
}  // namespace qv
