// Tests of reading numbers from stored texts.
#include "settings/stored_text.h"

#include <gtest/gtest.h>

namespace qv {
namespace {

TEST(StoredText, DecimalWithOptionalSign) {
  EXPECT_EQ(StoredInt("0"), 0);
  EXPECT_EQ(StoredInt("16"), 16);
  EXPECT_EQ(StoredInt("-5"), -5);
  EXPECT_EQ(StoredInt("+7"), 7);
  EXPECT_EQ(StoredInt("007"), 7);
  EXPECT_EQ(StoredInt("2147483647"), 2147483647);
  EXPECT_EQ(StoredInt("-2147483648"), INT32_MIN);
}

TEST(StoredText, HexOnlyAfterZeroXWithDigits) {
  EXPECT_EQ(StoredInt("0x10"), 16);
  EXPECT_EQ(StoredInt("0X1f"), 31);
  EXPECT_EQ(StoredInt("0xAbC"), 0xABC);
  EXPECT_EQ(StoredInt("0x7FFFFFFF"), 0x7FFFFFFF);
  EXPECT_EQ(StoredInt("0x000000000010"), 16);  // leading zeros are no overflow
  EXPECT_EQ(StoredInt("0x"), std::nullopt);    // two characters: read as decimal
  EXPECT_EQ(StoredInt("0X"), std::nullopt);
  EXPECT_EQ(StoredInt("0xg"), std::nullopt);
  EXPECT_EQ(StoredInt("0x-5"), std::nullopt);
  EXPECT_EQ(StoredInt("-0x5"), std::nullopt);
  EXPECT_EQ(StoredInt("$10"), std::nullopt);
}

TEST(StoredText, AnythingElseIsNoNumber) {
  for (const char* text : {"", "abc", "-", "+", " 5", "5 ", "1.5", "12a", "--1", "1e3"})
    EXPECT_EQ(StoredInt(text), std::nullopt) << '"' << text << '"';
  EXPECT_EQ(StoredInt(std::string_view("1\0" "2", 3)), std::nullopt);
}

TEST(StoredText, OutOfRangeIsNoNumberNotAWrap) {
  EXPECT_EQ(StoredInt("2147483648"), std::nullopt);
  EXPECT_EQ(StoredInt("-2147483649"), std::nullopt);
  EXPECT_EQ(StoredInt("4294967312"), std::nullopt);  // 2^32 + 16 must not read as 16
  EXPECT_EQ(StoredInt("99999999999999999999999999"), std::nullopt);
  EXPECT_EQ(StoredInt("0x80000000"), std::nullopt);
  EXPECT_EQ(StoredInt("0xFFFFFFFF"), std::nullopt);
  EXPECT_EQ(StoredInt("0x100000010"), std::nullopt);
}

TEST(StoredText, DefaultStandsInForNoNumber) {
  EXPECT_EQ(StoredIntOr("abc", 1024), 1024);
  EXPECT_EQ(StoredIntOr("", -1), -1);
  EXPECT_EQ(StoredIntOr("0x10", 1024), 16);
}

}  // namespace
}  // namespace qv
