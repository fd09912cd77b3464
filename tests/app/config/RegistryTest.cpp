// The program's stored values in the settings file: which readers create the
// file, how texts read as numbers, and that a writer never loses other values.
#include "TempHome.h"
#include "app/config/RegistryValues.h"
#include "app/config/SettingsFile.h"

#include <gtest/gtest.h>
#include <climits>
#include <thread>

namespace quorvik {
namespace {

TEST(RegistryTest, ValueTextsReadAsLeadingDigits) {
    struct Case {
        const char* name;
        std::string line;
        int expected;
    };
    const Case cases[] = {
        {"digits", "exit_mode=1", 1},
        {"digits then letters", "exit_mode=1abc", 1},
        {"letters only", "exit_mode=abc", 0},
        {"empty", "exit_mode=", 0},
        {"leading blanks", "exit_mode=  42", 42},
        {"negative", "exit_mode=-3", -3},
        {"too large", "exit_mode=99999999999", INT_MAX},
        {"126 characters fit", "exit_mode=7" + std::string(125, 'x'), 7},
        {"127 characters do not fit", "exit_mode=7" + std::string(126, 'x'), 0},
        {"missing value", "LCID=2052", 0},
    };
    for (const Case& c : cases) {
        test::TempHome home;
        ASSERT_TRUE(home.writeSettings(c.line + "\n"));
        EXPECT_EQ(readRegistryInt("exit_mode"), c.expected) << c.name;
    }
}

TEST(RegistryTest, ReadersCreateTheFileExceptForDeviceType) {
    struct Case {
        const char* name;
        bool createsFile;
    };
    const Case cases[] = {
        {"LCID", true}, {"exit_mode", true}, {"autorun_minimize", true}, {"DeviceType", false}};
    for (const Case& c : cases) {
        test::TempHome home;
        EXPECT_EQ(readRegistryInt(c.name), 0) << c.name;
        EXPECT_EQ(fileExists(home.settingsPath()), c.createsFile) << c.name;
        if (c.createsFile) {
            EXPECT_EQ(home.readSettings(), "") << c.name;
        }
    }
}

TEST(RegistryTest, KeyStates) {
    test::TempHome home;
    EXPECT_EQ(readRegistryValue("LCID", KeyOpen::OpenExisting).key, KeyState::Missing);
    EXPECT_EQ(readRegistryValue("LCID", KeyOpen::CreateIfMissing).key, KeyState::Created);
    const RegistryRead afterCreate = readRegistryValue("LCID", KeyOpen::CreateIfMissing);
    EXPECT_EQ(afterCreate.key, KeyState::Opened);
    EXPECT_FALSE(afterCreate.text.has_value());

    ASSERT_TRUE(home.writeSettings("LCID=2052\n"));
    const RegistryRead stored = readRegistryValue("LCID", KeyOpen::OpenExisting);
    EXPECT_EQ(stored.key, KeyState::Opened);
    EXPECT_EQ(stored.text, "2052");
    EXPECT_EQ(stored.value, 2052);
}

TEST(RegistryTest, FileThatCannotBeReadIsNeitherReadNorReplaced) {
    struct Case {
        const char* name;
        void (*prepare)(const test::TempHome&);
    };
    const Case cases[] = {
        {"settings path is a folder",
         [](const test::TempHome& home) { createFolderPath(home.settingsPath()); }},
        {"file larger than a settings file can be",
         [](const test::TempHome& home) {
             home.writeSettings("exit_mode=1\n" + std::string(SettingsFile::kMaxFileSize, '#'));
         }},
    };
    for (const Case& c : cases) {
        test::TempHome home;
        c.prepare(home);
        const std::optional<std::string> before = readWholeFile(home.settingsPath());
        EXPECT_EQ(readRegistryValue("exit_mode", KeyOpen::CreateIfMissing).key, KeyState::Unopenable)
            << c.name;
        EXPECT_EQ(readRegistryInt("exit_mode"), 0) << c.name;
        EXPECT_EQ(readRegistryInt("DeviceType"), 0) << c.name;
        EXPECT_FALSE(writeRegistryInt("exit_mode", 1)) << c.name;
        EXPECT_EQ(readWholeFile(home.settingsPath()), before) << c.name;
    }
}

TEST(RegistryTest, FileThatCannotBeCreated) {
    test::TempHome home;
    // The configuration folder is a plain file, so nothing can be created below it.
    ASSERT_TRUE(writeFileAtomically(home.configHome(), "not a folder"));
    EXPECT_EQ(readRegistryValue("LCID", KeyOpen::CreateIfMissing).key, KeyState::Unopenable);
    EXPECT_EQ(readRegistryInt("LCID"), 0);
    EXPECT_FALSE(writeRegistryInt("LCID", 1033));
    EXPECT_EQ(readWholeFile(home.configHome()), "not a folder");
}

TEST(RegistryTest, WriterNeedsAnExistingFile) {
    test::TempHome home;
    EXPECT_FALSE(writeRegistryInt("DeviceType", 101));
    EXPECT_FALSE(fileExists(home.settingsPath()));

    readRegistryInt("LCID");  // creates the file
    EXPECT_TRUE(writeRegistryInt("DeviceType", 101));
    EXPECT_EQ(home.readSettings(), "DeviceType=101\n");
}

TEST(RegistryTest, WriteKeepsEveryOtherLine) {
    test::TempHome home;
    const std::string before =
        "LCID=2052\n# written by hand\n\xFF\xFE damaged line\nexit_mode=0\nautorun_minimize=1";
    ASSERT_TRUE(home.writeSettings(before));
    EXPECT_TRUE(writeRegistryInt("exit_mode", 1));
    EXPECT_TRUE(writeRegistryInt("DeviceType", -5));
    EXPECT_EQ(home.readSettings(),
              "LCID=2052\n# written by hand\n\xFF\xFE damaged "
              "line\nexit_mode=1\nautorun_minimize=1\nDeviceType=-5\n");
    EXPECT_EQ(readRegistryInt("exit_mode"), 1);
    EXPECT_EQ(readRegistryInt("DeviceType"), -5);
    EXPECT_EQ(readRegistryInt("LCID"), 2052);
}

TEST(RegistryTest, WritesFromTwoThreadsAreNotLost) {
    test::TempHome home;
    readRegistryInt("LCID");
    constexpr int kRounds = 200;
    auto writer = [](const char* name) {
        for (int i = 1; i <= kRounds; ++i) writeRegistryInt(name, i);
    };
    std::thread first(writer, "DeviceType");
    std::thread second(writer, "exit_mode");
    first.join();
    second.join();
    EXPECT_EQ(readRegistryInt("DeviceType"), kRounds);
    EXPECT_EQ(readRegistryInt("exit_mode"), kRounds);
}

}  // namespace
}  // namespace quorvik
