// Tests of the DPI scaling rule.
#include <gtest/gtest.h>

#include "product/panel_layout.h"
#include "ui/dpi_scale.h"

namespace qv {
namespace {

class DpiScale : public ::testing::TestWithParam<int> {};

// At every DPI: 96 DPI is the identity, every edge is the design edge times
// the scale within half a pixel, touching rectangles still touch, and ones
// apart stay apart, however the edges round.
TEST_P(DpiScale, EdgesAreScaledEachOnItsOwnSoNeighboursNeitherOverlapNorGap) {
    const int dpi = GetParam();
    const double scale = dpi / 96.0;
    for (int left = -3; left < 60; ++left) {
        for (int width = 0; width < 40; ++width) {
            const Edges a = ScaleRect(left, 7, width, 17, dpi);
            if (dpi == 96) {
                ASSERT_EQ(a, (Edges{left, 7, left + width, 24}));
            }
            EXPECT_NEAR(a.left, left * scale, 0.5);
            EXPECT_NEAR(a.right, (left + width) * scale, 0.5);
            EXPECT_NEAR(a.width(), width * scale, 1.0);
            // The neighbour that starts where this one ends, and one a pixel further.
            const Edges touching = ScaleRect(left + width, 7, 5, 17, dpi);
            const Edges apart = ScaleRect(left + width + 1, 7, 5, 17, dpi);
            ASSERT_EQ(touching.left, a.right) << left << "+" << width << " at " << dpi;
            ASSERT_GT(apart.left, a.right) << left << "+" << width << " at " << dpi;
        }
    }
    // The design pixel under a window point: the inverse of the scale, on the grid.
    for (int x = 0; x < 500; ++x) {
        const int design = UnscaleCoord(x, dpi);
        EXPECT_LE(ScaleCoord(design, dpi) - 1, x);
        EXPECT_LE(design * scale, x + 1e-9);
        EXPECT_GT((design + 1) * scale, x - 1e-9);
    }
    // Every panel control of the layout keeps its size within a pixel.
    for (const char* name : {"CB_RES", "L_SF", "S_KU", "E_JA", "Img_Int", "CB_JoyList"}) {
        const ControlPlace at = PlaceOf(name);
        const Edges e = ScaleRect(at.left, at.top, at.width, at.height, dpi);
        EXPECT_NEAR(e.width(), at.width * scale, 1.0) << name;
        EXPECT_NEAR(e.height(), at.height * scale, 1.0) << name;
    }
}

INSTANTIATE_TEST_SUITE_P(Scales, DpiScale, ::testing::Values(96, 120, 144, 168, 192, 240, 288),
                         [](const auto& info) { return std::to_string(info.param); });

TEST(WholeZoom, TheLargestWholeNumberThatFitsAndNeverLessThanOne) {
    EXPECT_EQ(WholeZoom(384, 224, 384, 224), 1);
    EXPECT_EQ(WholeZoom(384, 224, 768, 448), 2);
    EXPECT_EQ(WholeZoom(384, 224, 767, 448), 1);
    EXPECT_EQ(WholeZoom(384, 224, 1200, 700), 3);
    EXPECT_EQ(WholeZoom(384, 224, 100, 100), 1);
    EXPECT_EQ(WholeZoom(0, 0, 100, 100), 1);
    // At a display's scale: whole numbers up to the scale, as far as they fit.
    EXPECT_EQ(PictureZoom(144, 384, 224, 576, 336), 1);
    EXPECT_EQ(PictureZoom(192, 384, 224, 1000, 1000), 2);
    EXPECT_EQ(PictureZoom(288, 384, 224, 800, 1000), 2);
}

}  // namespace
}  // namespace qv
