// Tests of the system places and the processor check under this system.
#include "util/system_win.h"

#include <gtest/gtest.h>

#include "util/files_win.h"
#include "util/text.h"

namespace qv {
namespace {

TEST(SystemPlaces, WindowsDirAndItsTemp) {
    EXPECT_EQ(UpperText(WindowsDir()), "C:\\WINDOWS\\");
    EXPECT_EQ(UpperText(WindowsTempDir()), "C:\\WINDOWS\\TEMP\\");
    EXPECT_EQ(WindowsTempDir().substr(WindowsDir().size()), "TEMP\\");
    EXPECT_TRUE(FolderExists(WindowsTempDir()));
}

TEST(SystemPlaces, ProgramDirHoldsTheRunningProgram) {
    const std::string dir = ProgramDir();
    ASSERT_FALSE(dir.empty());
    EXPECT_EQ(dir.back(), '\\');
    EXPECT_TRUE(FolderExists(dir));
    EXPECT_TRUE(FileExists(dir + "win_tests.exe"));
}

TEST(Processor, Only386And486AreOlderThanAPentium) {
    EXPECT_FALSE(IsPentiumClass(386));
    EXPECT_FALSE(IsPentiumClass(486));
    // 586 (Pentium), 2200 (IA-64), 8664 (x64), and a type the rule does not know.
    for (unsigned long type : {586ul, 2200ul, 8664ul, 0ul, 387ul})
        EXPECT_TRUE(IsPentiumClass(type)) << type;
}

}  // namespace
}  // namespace qv
