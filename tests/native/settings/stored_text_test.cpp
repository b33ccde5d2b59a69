// Tests of reading numbers from stored texts (the fuzz target checks the
// same rule against the standard parser on arbitrary bytes).
#include "settings/stored_text.h"

#include <gtest/gtest.h>

namespace qv {
namespace {

TEST(StoredText, DecimalAndZeroXHex) {
    const struct {
        const char* text;
        std::int32_t value;
    } numbers[] = {{"0", 0},
                   {"-5", -5},
                   {"+7", 7},
                   {"007", 7},
                   {"2147483647", INT32_MAX},
                   {"-2147483648", INT32_MIN},
                   {"0x10", 16},
                   {"0X1f", 31},
                   {"0xAbC", 0xABC},
                   {"0x7FFFFFFF", INT32_MAX},
                   {"0x000000000010", 16}};
    for (const auto& n : numbers)
        EXPECT_EQ(StoredInt(n.text), n.value) << n.text;
}

TEST(StoredText, AnythingElseIsNoNumberAndGivesTheDefault) {
    for (const char* text : {"",
                             "abc",
                             "-",
                             "+",
                             " 5",
                             "5 ",
                             "1.5",
                             "12a",
                             "--1",
                             "0x",
                             "0X",
                             "0xg",
                             "0x-5",
                             "-0x5",
                             "$10",
                             "2147483648",
                             "-2147483649",
                             "4294967312",
                             "99999999999999999999999",
                             "0x80000000",
                             "0xFFFFFFFF",
                             "0x100000010"}) {
        EXPECT_EQ(StoredInt(text), std::nullopt) << '"' << text << '"';
        EXPECT_EQ(StoredIntOr(text, 1024), 1024) << '"' << text << '"';
    }
    EXPECT_EQ(StoredInt(std::string_view("1\0"
                                         "2",
                                         3)),
              std::nullopt);
}

}  // namespace
}  // namespace qv
