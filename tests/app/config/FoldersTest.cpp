// Folder builders: the program folder (override, executable folder, installed
// data folder), the skin folder and the XDG-based user folders.
#include "TempHome.h"
#include "app/config/AppFolders.h"

#include <gtest/gtest.h>
#include <unistd.h>

namespace quorvik {
namespace {

TEST(FoldersTest, OverrideAddsTrailingSlashAndCanBeRemoved) {
    setProgramFolderOverride("/opt/somewhere");
    EXPECT_EQ(ProgramFolder(), "/opt/somewhere/");
    setProgramFolderOverride("/opt/other/");
    EXPECT_EQ(ProgramFolder(), "/opt/other/");
    setProgramFolderOverride("");
    EXPECT_NE(ProgramFolder(), "/opt/other/");
}

std::string executableFolder() {
    char buffer[4096];
    const ssize_t n = ::readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    std::string path(buffer, n > 0 ? static_cast<std::size_t>(n) : 0);
    return path.substr(0, path.rfind('/') + 1);
}

TEST(FoldersTest, ExecutableFolderIsUsedOnlyWhenItHoldsConfigXml) {
    setProgramFolderOverride("");
    const std::string exeFolder = executableFolder();
    const std::string marker = exeFolder + "config.xml";
    ASSERT_FALSE(fileExists(marker)) << "the test binary's folder must not hold a config.xml";
    const std::string installed = ProgramFolder();
    EXPECT_NE(installed, exeFolder);
    EXPECT_TRUE(installed.ends_with("/share/quorvik/")) << installed;

    ASSERT_TRUE(writeFileAtomically(marker, "<config/>"));
    EXPECT_EQ(ProgramFolder(), exeFolder);
    ::unlink(marker.c_str());
    EXPECT_EQ(ProgramFolder(), installed);
}

TEST(FoldersTest, SkinFolderFollowsTheTheme) {
    test::TempHome home;
    const std::string savedTheme = DUI::Manager::GetTheme();
    DUI::Manager::SetTheme("dark");
    EXPECT_EQ(SkinFolder(), home.programFolder() + "skins/dark/");
    DUI::Manager::SetTheme(savedTheme);
}

TEST(FoldersTest, UserFoldersFollowXdgVariablesAndDeviceName) {
    test::TempHome home;
    EXPECT_EQ(UserDataFolder(), home.root() + "/data/QuorvikTest Files/");
    EXPECT_EQ(settingsFilePath(), home.root() + "/config/QuorvikTest/settings.conf");

    // A trailing slash in the variable does not double the separator.
    ::setenv("XDG_DATA_HOME", (home.root() + "/data/").c_str(), 1);
    EXPECT_EQ(UserDataFolder(), home.root() + "/data/QuorvikTest Files/");

    // Unset or relative values fall back to the home folder.
    const char* savedHome = std::getenv("HOME");
    const std::string oldHome = savedHome != nullptr ? savedHome : "";
    ::setenv("HOME", (home.root() + "/home").c_str(), 1);
    ::unsetenv("XDG_DATA_HOME");
    ::setenv("XDG_CONFIG_HOME", "relative/path", 1);
    EXPECT_EQ(UserDataFolder(), home.root() + "/home/.local/share/QuorvikTest Files/");
    EXPECT_EQ(settingsFilePath(), home.root() + "/home/.config/QuorvikTest/settings.conf");
    if (savedHome != nullptr)
        ::setenv("HOME", oldHome.c_str(), 1);
    else
        ::unsetenv("HOME");
}

TEST(FoldersTest, DeviceNameNeverLeavesItsFolder) {
    struct Case {
        const char* name;
        const char* deviceName;
        const char* component;
    };
    const Case cases[] = {
        {"plain", "Quorvik", "Quorvik"},
        {"blank inside", "Quorvik Pro", "Quorvik Pro"},
        {"slash", "a/../b", "a_.._b"},
        {"empty", "", "_"},
        {"dot", ".", "_."},
        {"dot dot", "..", "_.."},
        {"dots inside", "..x", "..x"},
    };
    for (const Case& c : cases) EXPECT_EQ(devicePathComponent(c.deviceName), c.component) << c.name;

    test::TempHome home;
    DUI::Manager::SetDeviceName("..");
    EXPECT_EQ(settingsFilePath(), home.root() + "/config/_../settings.conf");
    EXPECT_EQ(UserDataFolder(), home.root() + "/data/_.. Files/");
}

}  // namespace
}  // namespace quorvik
