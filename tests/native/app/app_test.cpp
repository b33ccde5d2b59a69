// The portable rules of the application shell.
#include <gtest/gtest.h>

#include "launch/temp_names.h"
#include "ui/hover.h"

namespace qv {
namespace {

TEST(Hover, FirstRowAndColumnAndTheFarEdgesDoNotCount) {
    EXPECT_TRUE(IsStrictlyInside(1, 1, 46, 40));
    EXPECT_TRUE(IsStrictlyInside(45, 39, 46, 40));
    EXPECT_FALSE(IsStrictlyInside(0, 20, 46, 40));
    EXPECT_FALSE(IsStrictlyInside(20, 0, 46, 40));
    EXPECT_FALSE(IsStrictlyInside(46, 20, 46, 40));
    EXPECT_FALSE(IsStrictlyInside(20, 40, 46, 40));
    EXPECT_FALSE(IsStrictlyInside(-5, -5, 46, 40));
}

TEST(TempNames, LiveInTheWindowsTempDirectory) {
    const TempNames names = MakeTempNames("C:\\WINDOWS\\TEMP\\");
    EXPECT_EQ(names.optionsFile, "C:\\WINDOWS\\TEMP\\Quarvel.InI");
    EXPECT_EQ(names.tempFolder, "C:\\WINDOWS\\TEMP\\QV95-TMP");
    EXPECT_EQ(names.renameJournal, "C:\\WINDOWS\\TEMP\\Quarvel.jnl");
}

}  // namespace
}  // namespace qv
