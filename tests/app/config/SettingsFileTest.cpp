// The settings file's line format: reading by name and editing one line while
// every other byte of the file stays as it was.
#include "app/config/SettingsFile.h"

#include <gtest/gtest.h>

namespace quorvik {
namespace {

constexpr char kGarbage[] = "\x01\xFF\0junk\nLCID=9\n\xC3";

TEST(SettingsFileTest, ValueLookup) {
    struct Case {
        const char* name;
        std::string text;
        const char* key;
        std::optional<std::string> expected;
    };
    const Case cases[] = {
        {"simple", "LCID=2052\n", "LCID", "2052"},
        {"second line", "LCID=2052\nexit_mode=1\n", "exit_mode", "1"},
        {"no final newline", "exit_mode=1", "exit_mode", "1"},
        {"CRLF", "exit_mode=1\r\nLCID=7\r\n", "exit_mode", "1"},
        {"name case ignored", "Exit_Mode=1\n", "exit_mode", "1"},
        {"blanks around name", "  exit_mode\t=1abc\n", "exit_mode", "1abc"},
        {"first line wins", "LCID=1\nLCID=2\n", "LCID", "1"},
        {"empty value", "LCID=\n", "LCID", ""},
        {"value holds =", "LCID=1=2\n", "LCID", "1=2"},
        {"missing", "exit_mode=1\n", "LCID", std::nullopt},
        {"prefix is not the name", "LCIDX=5\n", "LCID", std::nullopt},
        {"line without =", "LCID\nLCID=3\n", "LCID", "3"},
        {"garbage around", std::string(kGarbage, sizeof kGarbage - 1), "LCID", "9"},
        {"empty file", "", "LCID", std::nullopt},
    };
    for (const Case& c : cases) {
        const SettingsFile file = SettingsFile::fromText(c.text);
        EXPECT_EQ(file.value(c.key), c.expected) << c.name;
    }
}

TEST(SettingsFileTest, SetValueTouchesOnlyItsLine) {
    struct Case {
        const char* name;
        std::string before;
        const char* key;
        const char* value;
        std::string after;
    };
    const Case cases[] = {
        {"append to empty", "", "LCID", "1033", "LCID=1033\n"},
        {"replace", "LCID=2052\nexit_mode=1\n", "LCID", "1033", "LCID=1033\nexit_mode=1\n"},
        {"replace keeps CRLF", "LCID=2052\r\nx=1\r\n", "LCID", "1033", "LCID=1033\r\nx=1\r\n"},
        {"append after missing newline", "x=1", "LCID", "7", "x=1\nLCID=7\n"},
        {"replace first of duplicates", "LCID=1\nLCID=2\n", "LCID", "3", "LCID=3\nLCID=2\n"},
        {"unknown lines kept", "# note\n\xFF\xFEgarbage\nLCID=1\n", "exit_mode", "0",
         "# note\n\xFF\xFEgarbage\nLCID=1\nexit_mode=0\n"},
        {"replace keeps spacing of name", " LCID = 5\n", "LCID", "6", " LCID =6\n"},
    };
    for (const Case& c : cases) {
        SettingsFile file = SettingsFile::fromText(c.before);
        EXPECT_TRUE(file.setValue(c.key, c.value)) << c.name;
        EXPECT_EQ(file.text(), c.after) << c.name;
        EXPECT_EQ(file.value(c.key), c.value) << c.name;
    }
}

TEST(SettingsFileTest, SetValueRefusesTextThatWouldBreakTheFile) {
    const std::string before = "LCID=1\n";
    const std::pair<const char*, const char*> refused[] = {
        {"", "1"}, {"a=b", "1"}, {"a\nb", "1"}, {" LCID", "1"}, {"LCID", "1\nexit_mode=1"}, {"LCID", "1\r"},
    };
    for (const auto& [name, value] : refused) {
        SettingsFile file = SettingsFile::fromText(before);
        EXPECT_FALSE(file.setValue(name, value)) << name << " / " << value;
        EXPECT_EQ(file.text(), before);
    }
}

}  // namespace
}  // namespace quorvik
