// Lookup rules of the language file reader and the encodings it accepts.
#include "app/config/IniFile.h"

#include "base/Text.h"

#include <gtest/gtest.h>

namespace quorvik {
namespace {

TEST(IniFileTest, LookupRules) {
    struct Case {
        const char* name;
        std::string text;
        const char* section;
        const char* key;
        std::optional<std::string> expected;
    };
    const Case cases[] = {
        {"plain", "[LAN]\n17=Version\n", "LAN", "17", "Version"},
        {"section case ignored", "[lan]\n17=Version\n", "LAN", "17", "Version"},
        {"key case ignored", "[LAN]\nName=x\n", "LAN", "NAME", "x"},
        {"blanks around section name", "[ LAN ]\n17=Version\n", "LAN", "17", "Version"},
        {"blanks around key and text", "[LAN]\n  17 \t=  Version 2 \t\n", "LAN", "17", "Version 2"},
        {"double quotes removed", "[LAN]\n17=\" padded \"\n", "LAN", "17", " padded "},
        {"single quotes removed", "[LAN]\n17='x'\n", "LAN", "17", "x"},
        {"unmatched quote kept", "[LAN]\n17=\"x\n", "LAN", "17", "\"x"},
        {"lone quote kept", "[LAN]\n17=\"\n", "LAN", "17", "\""},
        {"mixed quotes kept", "[LAN]\n17=\"x'\n", "LAN", "17", "\"x'"},
        {"inner quotes kept", "[LAN]\n17=say \"hi\"\n", "LAN", "17", "say \"hi\""},
        {"empty text", "[LAN]\n17=\n", "LAN", "17", ""},
        {"text holds =", "[LAN]\n17=a=b\n", "LAN", "17", "a=b"},
        {"first key wins", "[LAN]\n17=one\n17=two\n", "LAN", "17", "one"},
        {"first section wins", "[LAN]\n1=a\n[LAN]\n17=late\n", "LAN", "17", std::nullopt},
        {"key of another section", "[OTHER]\n17=x\n[LAN]\n1=a\n", "LAN", "17", std::nullopt},
        {"key before any section", "17=x\n[LAN]\n1=a\n", "LAN", "17", std::nullopt},
        {"missing section", "[LAN]\n17=x\n", "OTHER", "17", std::nullopt},
        {"missing key", "[LAN]\n17=x\n", "LAN", "18", std::nullopt},
        {"key is not a prefix", "[LAN]\n170=x\n", "LAN", "17", std::nullopt},
        {"comment line", "[LAN]\n;17=x\n17=y\n", "LAN", "17", "y"},
        {"line without =", "[LAN]\n17\n17=y\n", "LAN", "17", "y"},
        {"CRLF", "[LAN]\r\n17=Version\r\n18=x\r\n", "LAN", "17", "Version"},
        {"CR only", "[LAN]\r17=Version\r18=x\r", "LAN", "17", "Version"},
        {"no final newline", "[LAN]\n17=Version", "LAN", "17", "Version"},
        {"section without ]", "[LAN\n17=Version\n", "LAN", "17", "Version"},
        {"text ends at NUL", std::string("[LAN]\n17=ab\0cd\n", 15), "LAN", "17", "ab"},
        {"empty file", "", "LAN", "17", std::nullopt},
    };
    for (const Case& c : cases) {
        const IniFile file = IniFile::parse(c.text);
        EXPECT_EQ(file.value(c.section, c.key), c.expected) << c.name;
    }
}

std::string utf16Bytes(const std::string& utf8, bool bigEndian) {
    std::string bytes = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
    for (char16_t unit : utf8ToUtf16(utf8)) {
        const char high = static_cast<char>(unit >> 8);
        const char low = static_cast<char>(unit & 0xFF);
        bytes += bigEndian ? high : low;
        bytes += bigEndian ? low : high;
    }
    return bytes;
}

TEST(IniFileTest, EncodingsGiveTheSameTexts) {
    const std::string text = "[LAN]\r\n17=软件版本\r\n61=Profile \xF0\x9F\x96\xB1\r\n";
    struct Case {
        const char* name;
        std::string bytes;
    };
    const Case cases[] = {
        {"UTF-8", text},
        {"UTF-8 with BOM", "\xEF\xBB\xBF" + text},
        {"UTF-16LE with BOM", utf16Bytes(text, false)},
        {"UTF-16BE with BOM", utf16Bytes(text, true)},
        {"UTF-16LE with odd last byte", utf16Bytes(text, false) + "\x41"},
    };
    for (const Case& c : cases) {
        const IniFile file = IniFile::parse(c.bytes);
        EXPECT_EQ(file.value("LAN", "17"), "软件版本") << c.name;
        EXPECT_EQ(file.value("LAN", "61"), "Profile \xF0\x9F\x96\xB1") << c.name;
    }
}

TEST(IniFileTest, MalformedUtf8BecomesValidText) {
    const IniFile file = IniFile::parse("[LAN]\n17=a\xFF\xC3z\n18=ok\n");
    const std::optional<std::string> text = file.value("LAN", "17");
    ASSERT_TRUE(text.has_value());
    EXPECT_TRUE(isValidUtf8(*text));
    EXPECT_TRUE(text->starts_with("a"));
    EXPECT_TRUE(text->ends_with("z"));
    EXPECT_EQ(file.value("LAN", "18"), "ok");
}

}  // namespace
}  // namespace quorvik
