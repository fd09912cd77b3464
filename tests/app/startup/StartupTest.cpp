// The start-up sequence with a stand-in main window: what the first start
// prepares, and that a later launch only asks the running copy to show itself.
#include "app/config/AppFolders.h"
#include "app/config/LanguageTexts.h"
#include "app/startup/Startup.h"
#include "base/FileIo.h"
#include "ui/toolkit/Manager.h"
#include "ui/toolkit/headless/HeadlessBackend.h"

#include <gtest/gtest.h>
#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace quorvik {
namespace {

// A program folder, config and data homes and a lock folder in a fresh
// temporary folder; the environment and toolkit state are put back after.
class StartupTest : public testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/quorvik-startup-XXXXXX";
        ASSERT_NE(::mkdtemp(pattern), nullptr);
        m_root = std::string(pattern) + "/";
        for (const char* name : {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "LANG", "LC_ALL", "LC_MESSAGES"})
            m_savedEnv.emplace_back(
                name, std::getenv(name) ? std::optional<std::string>(std::getenv(name)) : std::nullopt);
        ::setenv("XDG_CONFIG_HOME", (m_root + "config").c_str(), 1);
        ::setenv("XDG_DATA_HOME", (m_root + "data").c_str(), 1);
        ::unsetenv("LC_ALL");
        ::unsetenv("LC_MESSAGES");
        ::setenv("LANG", "zh_CN.UTF-8", 1);
        m_savedName = DUI::Manager::GetDeviceName();
        m_savedLanguage = CurrentLanguageId();
        ASSERT_TRUE(createFolderPath(m_root + "program"));
        ASSERT_TRUE(createFolderPath(lockFolder()));
        setProgramFolderOverride(m_root + "program/");
    }

    void TearDown() override {
        setProgramFolderOverride("");
        for (const auto& [name, value] : m_savedEnv)
            value ? ::setenv(name.c_str(), value->c_str(), 1) : ::unsetenv(name.c_str());
        DUI::Manager::SetDeviceName(m_savedName);
        setCurrentLanguageId(m_savedLanguage);
        std::system(("rm -rf '" + m_root + "'").c_str());
    }

    void writeConfig(const std::string& caption) {
        ASSERT_TRUE(writeFileAtomically(m_root + "program/config.xml",
                                        "<?xml version=\"1.0\"?><config><language.info default_lan=\"1033\">"
                                        "<lan value=\"1033\"/><lan value=\"2052\"/></language.info>"
                                        "<software caption=\"" +
                                            caption + "\" version=\"1.0\"/></config>"));
    }

    std::string lockFolder() const { return m_root + "run/"; }

    DUI::HeadlessBackend backend;
    std::string m_root;
    std::vector<std::pair<std::string, std::optional<std::string>>> m_savedEnv;
    std::string m_savedName;
    int m_savedLanguage = 1033;
};

TEST_F(StartupTest, FirstStartPreparesEverythingBeforeTheMainWindow) {
    writeConfig("StartTest");
    backend.setScreen({0, 0, 1366, 768}, 96);
    const char* argv[] = {"quorvik", "-autorun", "-hide"};
    int runs = 0;
    const int result = runStartup(
        3, argv,
        [&](const StartupOptions& options, SingleInstance& instance) {
            ++runs;
            EXPECT_TRUE(options.startHidden);
            EXPECT_TRUE(options.dpiAware);
            EXPECT_EQ(instance.lockPath(), lockFolder() + "StartTest.lock")
                << "named by config.xml's device name";
            EXPECT_EQ(SingleInstance("StartTest", lockFolder()).claim(),
                      SingleInstance::Claim::AnotherRunning);
            EXPECT_EQ(CurrentLanguageId(), 2052) << "the desktop's language, listed in config.xml";
            EXPECT_TRUE(folderExists(m_root + "data/StartTest Files/db"));
            const std::optional<std::string> settings =
                readWholeFile(m_root + "config/StartTest/settings.conf");
            ASSERT_TRUE(settings.has_value());
            EXPECT_NE(settings->find("LCID=2052"), std::string::npos) << *settings;
        },
        lockFolder());
    EXPECT_EQ(result, 1);
    EXPECT_EQ(runs, 1);
    // The claim ends with the start-up.
    EXPECT_EQ(SingleInstance("StartTest", lockFolder()).claim(), SingleInstance::Claim::Only);
}

TEST_F(StartupTest, LaterLaunchOnlyAsksTheRunningCopyToShowItself) {
    writeConfig("StartTest");
    const char* argv[] = {"quorvik"};
    std::mutex mutex;
    std::condition_variable changed;
    std::vector<InstanceRequest> received;
    int laterResult = -1;
    bool laterRanWindow = false;
    const int result = runStartup(
        1, argv,
        [&](const StartupOptions& options, SingleInstance& instance) {
            EXPECT_FALSE(options.startHidden);
            ASSERT_TRUE(instance.listen([&](InstanceRequest request) {
                std::lock_guard lock(mutex);
                received.push_back(request);
                changed.notify_all();
            }));
            // A second launch while this one runs, with a language of its own.
            ::setenv("LANG", "ja_JP.UTF-8", 1);
            const char* laterArgv[] = {"quorvik", "-hide"};
            laterResult = runStartup(
                2, laterArgv, [&](const StartupOptions&, SingleInstance&) { laterRanWindow = true; },
                lockFolder());
            std::unique_lock lock(mutex);
            changed.wait_for(lock, std::chrono::seconds(5), [&] { return !received.empty(); });
        },
        lockFolder());
    EXPECT_EQ(result, 1);
    EXPECT_EQ(laterResult, 0);
    EXPECT_FALSE(laterRanWindow);
    EXPECT_EQ(received, std::vector<InstanceRequest>{InstanceRequest::Show});
    const std::optional<std::string> settings = readWholeFile(m_root + "config/StartTest/settings.conf");
    ASSERT_TRUE(settings.has_value());
    EXPECT_NE(settings->find("LCID=2052"), std::string::npos) << "the later launch wrote nothing";
}

TEST_F(StartupTest, MissingConfigurationStillStarts) {
    DUI::Manager::SetDeviceName("Fallback");
    const char* argv[] = {"quorvik"};
    int runs = 0;
    const int result = runStartup(
        1, argv,
        [&](const StartupOptions&, SingleInstance& instance) {
            ++runs;
            EXPECT_EQ(instance.lockPath(), lockFolder() + "Fallback.lock");
            EXPECT_EQ(CurrentLanguageId(), 1033) << "no languages listed: English";
        },
        lockFolder());
    EXPECT_EQ(result, 1);
    EXPECT_EQ(runs, 1);
}

TEST_F(StartupTest, NoUsableLockFolderRunsAsTheOnlyCopy) {
    writeConfig("StartTest");
    const char* argv[] = {"quorvik"};
    int runs = 0;
    EXPECT_EQ(
        runStartup(
            1, argv, [&](const StartupOptions&, SingleInstance&) { ++runs; }, m_root + "missing/parent/run/"),
        1);
    EXPECT_EQ(runs, 1);
}

}  // namespace
}  // namespace quorvik
