// Tests of the clash rule of the keyboard layouts and the button maps.
#include <gtest/gtest.h>

#include <array>

#include "input/input_clash.h"

namespace qv {
namespace {

const KeyFields kKey1 = LayoutFields("71 72 73 75 77 79 80 81 25 26 27 39 40 43 59 61");
const KeyFields kKey2 = LayoutFields("19 20 21 33 35 47 48 49 30 31 32 44 45 46 60 62");

TEST(KeyClashes, TheDefaultLayoutsHaveNone) {
    const auto inputs = LayoutInputs(kKey1, kKey2);
    ASSERT_EQ(inputs.size(), 32u);
    for (const auto& clash : FindClashes(inputs, true))
        EXPECT_FALSE(clash);
}

TEST(KeyClashes, BothFieldsOfALayoutAreMarkedAndEachNamesTheOther) {
    KeyFields key1 = kKey1;
    key1[8] = "72";  // button A on Up's key
    const auto inputs = LayoutInputs(key1, kKey2);
    const auto clashes = FindClashes(inputs, false);
    ASSERT_TRUE(clashes[1] && clashes[8]);
    EXPECT_EQ(*clashes[8], 1u);
    EXPECT_EQ(*clashes[1], 8u);
    EXPECT_EQ(KeyClashLine(72, inputs[*clashes[8]]), "72 is also Up of KEY1");
    EXPECT_EQ(KeyClashLine(72, inputs[*clashes[1]]), "72 is also Button A of KEY1");
    int marked = 0;
    for (const auto& clash : clashes)
        marked += clash.has_value();
    EXPECT_EQ(marked, 2);
    // Three fields on one key: each names the first other one in slot order.
    key1[15] = "72";
    const auto three = FindClashes(LayoutInputs(key1, kKey2), false);
    EXPECT_EQ(*three[1], 8u);
    EXPECT_EQ(*three[8], 1u);
    EXPECT_EQ(*three[15], 1u);
}

TEST(KeyClashes, TheOtherLayoutCountsOnlyWhenBothAreInUse) {
    KeyFields key1 = kKey1;
    key1[4] = "20";  // KEY1's Right on KEY2's Up
    const auto inputs = LayoutInputs(key1, kKey2);
    EXPECT_FALSE(FindClashes(inputs, false)[4]);
    const auto clashes = FindClashes(inputs, true);
    ASSERT_TRUE(clashes[4] && clashes[16 + 1]);
    EXPECT_EQ(KeyClashLine(20, inputs[*clashes[4]]), "20 is also Up of KEY2");
    EXPECT_EQ(KeyClashLine(20, inputs[*clashes[17]]), "20 is also Right of KEY1");
    // A clash in its own layout is named before one in the other.
    key1[0] = "20";
    EXPECT_EQ(*FindClashes(LayoutInputs(key1, kKey2), true)[4], 0u);

    const std::array<int, 3> defaults{1, 2, 0}, allKey1{1, 1, 1}, keyAndStick{2, 3, 1};
    EXPECT_TRUE(BothLayoutsInUse(defaults));
    EXPECT_FALSE(BothLayoutsInUse(allKey1));  // as after start-up
    EXPECT_TRUE(BothLayoutsInUse(keyAndStick));
    EXPECT_FALSE(BothLayoutsInUse(std::array<int, 3>{-1, 2, 0}));
}

TEST(KeyClashes, EmptyFieldsHoldNoKey) {
    const KeyFields key1 = LayoutFields("1 2 3");  // thirteen empty fields
    for (const auto& clash : FindClashes(LayoutInputs(key1, KeyFields{}), true))
        EXPECT_FALSE(clash);
}

TEST(ButtonClashes, OneButtonOnTwoInputsOfAMap) {
    // The 4BUTTON default gives button 2 to B and Start, and 3 to C and Coins.
    const auto inputs = MapInputs({0, 2, 3, 1, 255, 255, 2, 3}, 4);
    const auto clashes = FindClashes(inputs, false);
    EXPECT_EQ(*clashes[1], 6u);
    EXPECT_EQ(*clashes[6], 1u);
    EXPECT_EQ(*clashes[2], 7u);
    EXPECT_FALSE(clashes[0]);
    EXPECT_FALSE(clashes[4]);  // two inputs without a button do not clash
    EXPECT_EQ(ButtonClashLine(2, inputs[*clashes[1]]), "2 is also Start");
    EXPECT_EQ(ButtonClashLine(2, inputs[*clashes[6]]), "2 is also Button B");
    // A button the device lacks becomes no button when its field is left.
    const auto joy1 = FindClashes(MapInputs({0, 1, 5, 5, 255, 255, 255, 255}, 2), false);
    EXPECT_FALSE(joy1[2]);
    EXPECT_FALSE(joy1[3]);
}

}  // namespace
}  // namespace qv
