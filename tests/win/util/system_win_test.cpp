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

TEST(Processor, ThisMachineIsNoOlderThanAPentium) { EXPECT_TRUE(IsPentium()); }

}  // namespace
}  // namespace qv
