// Colour texts of the model description files.
#include "protocol/ColorText.h"

#include <gtest/gtest.h>

namespace quorvik {
namespace {

TEST(ParseColorText, Table) {
    struct Case {
        const char* text;
        int expected;
        // clang-format off
    } cases[] = {
        {"#FF8000", 0x0080FF}, {"#ff8000", 0x0080FF}, {"#123456", 0x563412}, {"#000000", 0},
        {"#FFFFFF", 0xFFFFFF}, {"#12", 0x12},         {"#123", 0x0312},     {"#1234", 0x3412},
        {"#12345", 0x053412},  {"#1234567", 0},       {"#1", 0},            {"#", 0},
        {"", 0},               {"FF8000", 0xF8},       {"x12", 0x12},        {"#G08000", 0x8000},
        {"#FG8000", 0x800F},   {"#-18000", 0x8000},  {"# 18000", 0x8000},
        {"\xC3\xA9" "FF8000", 0x0080FF},            // a two-byte first character is one character
        {"#\xC3\xA9" "1234", 0x042300},             // non-hex character ends its part
    };
    // clang-format on
    for (const auto& c : cases) EXPECT_EQ(parseColorText(c.text), c.expected) << '"' << c.text << '"';
}

}  // namespace
}  // namespace quorvik
