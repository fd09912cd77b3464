// Number reading, formatting and UTF conversions.
#include "base/Text.h"

#include <climits>
#include <gtest/gtest.h>

namespace quorvik {
namespace {

TEST(Wtoi, FollowsLeadingDigitsRule) {
    struct Case {
        const char* text;
        int expected;
    } cases[] = {
        {"", 0},          {"abc", 0},       {"1abc", 1},        {"  42", 42},
        {"\t-7x", -7},    {"+15", 15},      {"- 5", 0},         {"007", 7},
        {"99999999999", INT_MAX},           {"-99999999999", INT_MIN},
        {"2147483647", INT_MAX},            {"-2147483648", INT_MIN},
        {"12 34", 12},    {"0x10", 0},
    };
    for (const auto& c : cases) EXPECT_EQ(wtoi(c.text), c.expected) << '"' << c.text << '"';
}

TEST(HexToLong, AcceptsOptionalPrefixAndEitherCase) {
    struct Case {
        const char* text;
        long expected;
    } cases[] = {
        {"1209", 0x1209}, {"0x1209", 0x1209}, {"0X1209", 0x1209}, {"abCD", 0xABCD},
        {" 0xff", 255},   {"-0x10", -16},     {"0x", 0},          {"0xg", 0},
        {"", 0},          {"zz", 0},          {"12zz", 0x12},
    };
    for (const auto& c : cases) EXPECT_EQ(hexToLong(c.text), c.expected) << '"' << c.text << '"';
}

TEST(Format, PrintfStyle) {
    EXPECT_EQ(format("%d", -12), "-12");
    EXPECT_EQ(format("%X", 0xab), "AB");
    EXPECT_EQ(format("%02X", 5), "05");
    EXPECT_EQ(format("%s: v%s", "Version", "1.0.0"), "Version: v1.0.0");
    EXPECT_EQ(format("%s", ""), "");
    const std::string longText(5000, 'x');
    EXPECT_EQ(format("%s!", longText.c_str()).size(), 5001u);
}

TEST(CodePoints, CountAndCutNeverSplitASequence) {
    const std::string mixed = "a\xC3\xA9\xE4\xB8\xAD\xF0\x9F\x98\x80z";  // a é 中 😀 z
    EXPECT_EQ(codePointCount(mixed), 5u);
    EXPECT_EQ(cutCodePoints(mixed, 0), "");
    EXPECT_EQ(cutCodePoints(mixed, 2), "a\xC3\xA9");
    EXPECT_EQ(cutCodePoints(mixed, 4), "a\xC3\xA9\xE4\xB8\xAD\xF0\x9F\x98\x80");
    EXPECT_EQ(cutCodePoints(mixed, 99), mixed);
}

TEST(Utf8Validity, RejectsMalformedSequences) {
    struct Case {
        std::string bytes;
        bool valid;
    } cases[] = {
        {"plain", true},
        {"\xC3\xA9", true},
        {"\xEF\xBF\xBD", true},             // a real U+FFFD
        {"\xC3", false},                    // truncated
        {"\x80", false},                    // lone continuation
        {"\xC0\xAF", false},                // overlong
        {"\xED\xA0\x80", false},            // surrogate
        {"\xF4\x90\x80\x80", false},        // above U+10FFFF
        {"\xF0\x9F\x98\x80", true},
    };
    for (const auto& c : cases) EXPECT_EQ(isValidUtf8(c.bytes), c.valid) << testing::PrintToString(c.bytes);
}

TEST(Utf16, RoundTripsAllPlanes) {
    const std::string text = "Quorvik \xC3\xA9\xE4\xB8\xAD\xF0\x9F\x98\x80";
    const std::u16string wide = utf8ToUtf16(text);
    EXPECT_EQ(wide.size(), 8u + 1 + 1 + 2);
    EXPECT_EQ(utf16ToUtf8(wide), text);
    EXPECT_EQ(utf16ToUtf8(std::u16string(1, char16_t(0xD800))), "\xEF\xBF\xBD");
}

TEST(AsciiCase, LeavesNonAsciiAlone) {
    EXPECT_EQ(asciiLower("UTF-8 \xC3\x89"), "utf-8 \xC3\x89");
    EXPECT_TRUE(equalsIgnoreAsciiCase("Shift_JIS", "shift_jis"));
    EXPECT_FALSE(equalsIgnoreAsciiCase("abc", "abcd"));
}

}  // namespace
}  // namespace quorvik
