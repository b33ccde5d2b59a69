// Tests of the text routines: fields, replacement, paths, number texts.
#include "util/text.h"

#include <gtest/gtest.h>

#include <climits>

namespace qv {
namespace {

TEST(Fields, CountTreatsRunsAndEndsOfSeparatorsAsOne) {
    EXPECT_EQ(WordCount("a;b", ';'), 2);
    EXPECT_EQ(WordCount("a;;b", ';'), 2);
    EXPECT_EQ(WordCount(";a", ';'), 1);
    EXPECT_EQ(WordCount("a;", ';'), 1);
    EXPECT_EQ(WordCount(";;;", ';'), 0);
    EXPECT_EQ(WordCount("", ';'), 0);
    EXPECT_EQ(WordCount("abc", ';'), 1);
}

TEST(Fields, WordAtPicksFieldsFromOne) {
    EXPECT_EQ(WordAt("sf2.*;sf2ce.*", ';', 1), "sf2.*");
    EXPECT_EQ(WordAt("sf2.*;sf2ce.*", ';', 2), "sf2ce.*");
    EXPECT_EQ(WordAt("KEY1        Keyboard layout 1", ' ', 1), "KEY1");
    EXPECT_EQ(WordAt("KEY1        Keyboard layout 1", ' ', 2), "Keyboard");
    EXPECT_EQ(WordAt("  KEY2  x", ' ', 1), "KEY2");
    EXPECT_EQ(WordAt("  KEY2  x", ' ', 2), "x");
}

TEST(Fields, MissingFieldIsEmpty) {
    EXPECT_EQ(WordAt("a;b", ';', 3), "");
    EXPECT_EQ(WordAt("a;b;", ';', 3), "");
    EXPECT_EQ(WordAt("a;b", ';', 0), "");
    EXPECT_EQ(WordAt("", ';', 1), "");
}

TEST(Fields, EveryCountedFieldIsNonEmptyAndNoMore) {
    for (const char* text : {"a;;b;c", ";x;;yy;", "one", ";;", "p;q;r;s;t"}) {
        const int n = WordCount(text, ';');
        for (int i = 1; i <= n; ++i)
            EXPECT_FALSE(WordAt(text, ';', i).empty()) << text << " #" << i;
        EXPECT_TRUE(WordAt(text, ';', n + 1).empty()) << text;
    }
}

TEST(Replace, FirstOccurrenceOnly) {
    EXPECT_EQ(ReplaceFirst("ab", "X", "cabab"), "cXab");
    EXPECT_EQ(ReplaceFirst("zz", "X", "cabab"), "cabab");
    EXPECT_EQ(ReplaceFirst("", "X", "abc"), "abc");
    EXPECT_EQ(ReplaceFirst("abc", "", "abc"), "");
    EXPECT_EQ(ReplaceText("ab", "X", "abab", false), "Xab");
}

TEST(Replace, AllRepeatsUntilNoOccurrenceRemains) {
    EXPECT_EQ(ReplaceText("ab", "X", "abab", true), "XX");
    // Repetition from the start sees occurrences that the replacements create.
    EXPECT_EQ(ReplaceText("ab", "b", "aaab", true), "b");
    EXPECT_EQ(ReplaceText("q", "r", "none here", true), "none here");
}

TEST(Replace, AllWithSelfContainingReplacementStopsAfterOne) {
    EXPECT_EQ(ReplaceText("a", "aa", "xax", true), "xaax");
    EXPECT_EQ(ReplaceText("\\", "\\\\", "a\\b\\c", true), "a\\\\b\\c");
    EXPECT_EQ(ReplaceText("", "x", "abc", true), "abc");
}

TEST(Paths, JoinCollapsesDoubledBackslashes) {
    EXPECT_EQ(JoinPath("C:\\EMU", "sf2t", false), "C:\\EMU\\sf2t");
    EXPECT_EQ(JoinPath("C:\\EMU\\", "sf2t", false), "C:\\EMU\\sf2t");
    EXPECT_EQ(ReplaceText("\\\\", "\\", "C:\\EMU\\\\sf2t", false), "C:\\EMU\\sf2t");
    // Once collapses one pair only; all collapses runs of any length.
    EXPECT_EQ(JoinPath("C:\\EMU\\\\", "x", false), "C:\\EMU\\\\x");
    EXPECT_EQ(JoinPath("C:\\EMU\\\\", "x", true), "C:\\EMU\\x");
    EXPECT_EQ(ReplaceText("\\\\", "\\", "a\\\\\\b\\\\c", true), "a\\b\\c");
}

TEST(RightCharsTest, CountAtOrAboveLengthGivesEmpty) {
    EXPECT_EQ(RightChars("abc", 1), "c");
    EXPECT_EQ(RightChars("abc", 2), "bc");
    EXPECT_EQ(RightChars("abc", 3), "");
    EXPECT_EQ(RightChars("abc", 9), "");
    EXPECT_EQ(RightChars("abc", 0), "");
    EXPECT_EQ(RightChars("abc", -1), "");
    EXPECT_EQ(RightChars("\\", 1), "");
}

// The two final-backslash rules agree but for a doubled backslash before the
// end, which only the joined folder collapses.
TEST(CharTexts, FinalBackslashRules) {
    for (auto* withOne : {&EndWithBackslash, &JoinedFolder}) {
        EXPECT_EQ(withOne("C:\\EMU"), "C:\\EMU\\");
        EXPECT_EQ(withOne("C:\\EMU\\"), "C:\\EMU\\");
        EXPECT_EQ(withOne("C:\\"), "C:\\");
        EXPECT_EQ(withOne("\\"), "\\");
        EXPECT_EQ(withOne(""), "\\");
        EXPECT_EQ(withOne("C:\\EMU\\\\"), "C:\\EMU\\\\");
    }
    EXPECT_EQ(EndWithBackslash("\\\\srv\\Pcx"), "\\\\srv\\Pcx\\");
    EXPECT_EQ(JoinedFolder("\\\\srv\\Pcx"), "\\srv\\Pcx\\");
}

TEST(CharTexts, UpperTextTouchesOnlyAsciiLetters) {
    EXPECT_EQ(UpperText("aZ09_-hsrad"), "AZ09_-HSRAD");
    EXPECT_EQ(UpperText("\xE9\xFF{`"), "\xE9\xFF{`");
}

TEST(Numbers, IntTextIsPlainDecimal) {
    EXPECT_EQ(IntText(0), "0");
    EXPECT_EQ(IntText(255), "255");
    EXPECT_EQ(IntText(-42), "-42");
    EXPECT_EQ(IntText(INT32_MIN), "-2147483648");
    for (std::int32_t v : {0, 7, -7, 123456, INT32_MAX, INT32_MIN})
        EXPECT_EQ(TextInt(IntText(v)), v);
}

TEST(Numbers, TextIntReadsSignsBlanksAndHex) {
    EXPECT_EQ(TextInt(""), 0);
    EXPECT_EQ(TextInt("   42"), 42);
    EXPECT_EQ(TextInt("+17"), 17);
    EXPECT_EQ(TextInt("-5"), -5);
    EXPECT_EQ(TextInt("$1F"), 31);
    EXPECT_EQ(TextInt("$ff"), 255);
    EXPECT_EQ(TextInt("-$10"), -16);
}

TEST(Numbers, TextIntStopsAtBadCharacterAndDropsSign) {
    EXPECT_EQ(TextInt("12a"), 12);
    EXPECT_EQ(TextInt("-5x"), 5);
    EXPECT_EQ(TextInt("12 "), 12);
    EXPECT_EQ(TextInt("$1G"), 1);
    EXPECT_EQ(TextInt("1F"), 1);
    EXPECT_EQ(TextInt("x"), 0);
    EXPECT_EQ(TextInt("-"), 0);
    EXPECT_EQ(TextInt("$"), 0);
    EXPECT_EQ(TextInt("   "), 0);
}

TEST(Numbers, TextIntWrapsLikeA32BitRegister) {
    EXPECT_EQ(TextInt("4294967295"), -1);
    EXPECT_EQ(TextInt("4294967296"), 0);
    EXPECT_EQ(TextInt("$FFFFFFFF"), -1);
    EXPECT_EQ(TextInt("-2147483648"), INT32_MIN);
    EXPECT_EQ(TextInt("99999999999999999999999"),
              static_cast<std::int32_t>(0xF67FFFFFu));  // 10^23 - 1 mod 2^32
}

}  // namespace
}  // namespace qv
