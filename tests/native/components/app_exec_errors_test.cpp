// The launcher's error texts and the numbers of its window states and priorities.
#include "components/app_exec_errors.h"

#include <gtest/gtest.h>

namespace qv {
namespace {

TEST(AppExecErrors, TextsOfTheTable) {
    EXPECT_EQ(ErrorText(-1), "No execution");
    EXPECT_EQ(ErrorText(0),
              "System was out of memory, executable file was corrupt, or relocations were invalid");
    EXPECT_EQ(ErrorText(2), "File was not found");
    EXPECT_EQ(ErrorText(3), "Path was not found");
    EXPECT_EQ(
        ErrorText(11),
        "Executable file was invalid. Either it was not a Windows application or there was an "
        "error in the .EXE image");
    EXPECT_EQ(ErrorText(21), "Application requires 32-bit extensions");
}

TEST(AppExecErrors, ThirtyTwoAndAboveReadNoError) {
    for (int code : {32, 33, 259, 0x7FFFFFFF})
        EXPECT_EQ(ErrorText(code), "No error") << code;
}

TEST(AppExecErrors, GapsOfTheTableAreEmpty) {
    for (int code : {-2, -0x7FFFFFFF - 1, 1, 4, 7, 9, 17, 18, 22, 31})
        EXPECT_EQ(ErrorText(code), "") << code;
    int named = 0;
    for (int code = -1; code < 32; ++code)
        named += ErrorText(code).empty() ? 0 : 1;
    EXPECT_EQ(named, 17);  // -1, 0, 2, 3, 5, 6, 8, 10 to 16, 19 to 21
}

TEST(AppExecErrors, ShowCommandsAndPriorityFlags) {
    EXPECT_EQ(ShowCommandOf(TWindowState::Normal), 1);
    EXPECT_EQ(ShowCommandOf(TWindowState::Minimized), 2);
    EXPECT_EQ(ShowCommandOf(TWindowState::Maximized), 3);
    EXPECT_EQ(PriorityFlagOf(TPriorClass::HIGH), 0x80u);
    EXPECT_EQ(PriorityFlagOf(TPriorClass::IDLE), 0x40u);
    EXPECT_EQ(PriorityFlagOf(TPriorClass::NORMAL), 0x20u);
    EXPECT_EQ(PriorityFlagOf(TPriorClass::REALTIME), 0x100u);
}

}  // namespace
}  // namespace qv
