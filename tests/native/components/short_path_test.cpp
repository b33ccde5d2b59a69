// The shortened path of the folder dialog's status line.
#include <gtest/gtest.h>

#include "components/short_path.h"

namespace qv {
namespace {

TEST(ShortenPath, DropsPartsAfterTheDriveUntilThePathFits) {
    const std::string deep = "C:\\Games\\Arcade\\Emulators\\Capcom\\Saves\\Slot1";
    ASSERT_EQ(deep.size(), 44u);
    EXPECT_EQ(ShortenPath(deep), "C:\\...\\Emulators\\Capcom\\Saves\\Slot1");
    EXPECT_EQ(ShortenPath("C:\\Program Files\\Arcade Emulators\\Capcom Collection"),
              "C:\\...\\Capcom Collection");
}

TEST(ShortenPath, PathsThatFitOrHaveTooFewPartsStayWhole) {
    const std::string fits = "C:\\Games\\Arcade\\Emulators\\Capcom\\Sa";  // 35 characters
    ASSERT_EQ(fits.size(), 35u);
    EXPECT_EQ(ShortenPath(fits), fits);
    EXPECT_EQ(ShortenPath(""), "");
    const std::string twoParts = "C:\\A folder name much longer than thirty-five characters";
    EXPECT_EQ(ShortenPath(twoParts), twoParts);
    const std::string onePart = std::string(50, 'x');
    EXPECT_EQ(ShortenPath(onePart), onePart);
}

TEST(ShortenPath, ThreePartsKeepFirstAndLastAroundTheFiller) {
    EXPECT_EQ(ShortenPath("C:\\A rather long middle folder name\\Last"), "C:\\...\\Last");
    // Still too long with three parts left: nothing more is taken away.
    const std::string longLast = "C:\\Middle\\" + std::string(40, 'z');
    EXPECT_EQ(ShortenPath(longLast), "C:\\...\\" + std::string(40, 'z'));
}

TEST(ShortenPath, EmptyPartsCountLikeOthers) {
    // A network path starts with two empty parts; the second becomes the filler.
    EXPECT_EQ(ShortenPath("\\\\server\\share\\Arcade Emulators\\Capcom Collection"),
              "\\...\\Capcom Collection");
    // The empty last part of a trailing "\" stays the last part.
    EXPECT_EQ(ShortenPath("C:\\Program Files\\Arcade Emulators\\Capcom\\"),
              "C:\\...\\Arcade Emulators\\Capcom\\");
}

}  // namespace
}  // namespace qv
