// The performance page and the profiles end to end: the user's action on the
// page or in the profile pop-up, the store, the worker and the simulated
// mouse's own memory; and the mouse's DPI button coming back to the page.
#include "MainWindowFixture.h"

#include "protocol/DpiScale.h"
#include "ui/pages/DPIMsgDlg.h"
#include "ui/pages/PerformancePage.h"
#include "ui/toolkit/DPIControl.h"
#include "ui/toolkit/DListBox.h"

#include <atomic>
#include <mutex>

namespace quorvik::test {
namespace {

using namespace mainwnd;

constexpr int kModelM2 = 2;  // wired, sensor 53, factory stages 400/800/1600/3200, 4 stages

class PerformanceFlowTest : public MainWindowFixture {
protected:
    // Starts with the second model alone (wired) and opens it.
    void startWired() {
        std::vector<VirtualMouseConfig> mice = simulatedMice();
        mice.erase(mice.begin());
        start(mice);
        ASSERT_TRUE(waitForDiscovery());
        ASSERT_TRUE(list().userOpen(rowOf(kModelM2)));
        ASSERT_TRUE(waitForWorker());
        mouse = sim->device(0);
        mouse->setCommandListener([this](std::uint8_t command) {
            std::lock_guard lock(m_commandsMutex);
            m_commands.push_back(command);
        });
    }

    std::string value(int profile, const std::string& key) {
        std::string text;
        SettingsStore::instance().getConfigValue(profile, key, text);
        return text;
    }
    std::vector<int> commands() {
        std::lock_guard lock(m_commandsMutex);
        return m_commands;
    }
    void forgetCommands() {
        std::lock_guard lock(m_commandsMutex);
        m_commands.clear();
    }

    std::shared_ptr<VirtualDevice> mouse;
    std::mutex m_commandsMutex;
    std::vector<int> m_commands;
};

TEST_F(PerformanceFlowTest, NewModelGetsFourProfilesWithTheFactoryValues) {
    startWired();
    std::vector<ProfileRecord> profiles;
    ASSERT_EQ(SettingsStore::instance().listProfiles(profiles), 4);
    for (int n = 0; n < 4; ++n) EXPECT_EQ(profiles[static_cast<std::size_t>(n)].name, "Profile " + std::to_string(n + 1));
    EXPECT_EQ(SettingsStore::instance().getActiveProfile(), 1);
    EXPECT_EQ(window->currentProfile(), 1);
    EXPECT_EQ(title(kProfileButton), "Profile 1");
    // The profiles the mouse was not read into keep the description's values.
    for (int profile : {2, 3, 4}) {
        EXPECT_EQ(value(profile, "dpi_count"), "4") << profile;
        EXPECT_EQ(value(profile, "dpi_group0_value"), "400") << profile;
        EXPECT_EQ(value(profile, "dpi_group3_value"), "3200") << profile;
        EXPECT_EQ(value(profile, "sleep_light"), "6") << profile;
        EXPECT_EQ(value(profile, "move_wakeup"), "1") << profile;
    }
}

TEST_F(PerformanceFlowTest, ChoosingAProfileInThePopUpWritesItToTheMouse) {
    startWired();
    // Profile 3 differs from what the mouse holds.
    SettingsStore& store = SettingsStore::instance();
    ASSERT_TRUE(store.setConfigValue(3, "dpi_count", "3"));
    ASSERT_TRUE(store.setConfigValue(3, "dpi_index", "2"));
    ASSERT_TRUE(store.setConfigValue(3, "dpi_group2_value", "2500"));
    ASSERT_TRUE(store.setConfigValue(3, "report_rate", "2"));
    ASSERT_TRUE(store.setConfigValue(3, "button_respondtime", "12"));

    backend.answerModal("ProfileDlg", [&](DUI::MWindow& popup) {
        user.choose(dynamic_cast<DUI::MDialog&>(popup), 31, 2);
    });
    ASSERT_TRUE(user.click(*window, kProfileButton));
    backend.processEvents();
    ASSERT_TRUE(waitForWorker());

    EXPECT_EQ(window->currentProfile(), 3);
    EXPECT_EQ(store.getActiveProfile(), 3);
    EXPECT_EQ(title(kProfileButton), "Profile 3");
    const MouseSettings memory = mouse->settings();
    EXPECT_EQ(memory.stageCount, 3);
    EXPECT_EQ(memory.currentStage, 2);
    EXPECT_EQ(memory.stages[2].x, dpiToDeviceCode(53, 2500));
    EXPECT_EQ(memory.reportRate, 2);
    EXPECT_EQ(memory.buttonResponse, 12);
    // Every command of a full write, keys first.
    const std::vector<int> sent = commands();
    EXPECT_EQ(sent, (std::vector<int>{0x09, 0x03, 0x04, 0x02, 0x06, 0x07}));
    // The page shows the profile chosen.
    auto& page = window->performancePage();
    EXPECT_EQ(page.stageCount(), 3);
}

TEST_F(PerformanceFlowTest, SliderDragFollowsInTheStoreAndSendsOnceOnRelease) {
    startWired();
    ASSERT_TRUE(user.choose(*window, kTabs, 2));
    forgetCommands();
    const int profile = window->currentProfile();
    const int stage = window->performancePage().currentStage();
    const std::string key = "dpi_group" + std::to_string(stage) + "_value";

    for (int position : {10, 40, 70}) {
        ASSERT_TRUE(user.drag(*window, PerformancePage::kSliderId, position));
        EXPECT_EQ(value(profile, key), std::to_string(sliderPositionToDpi(53, position))) << position;
    }
    ASSERT_TRUE(user.release(*window, PerformancePage::kSliderId));
    ASSERT_TRUE(waitForWorker());
    EXPECT_EQ(commands(), std::vector<int>{0x03});
    EXPECT_EQ(mouse->settings().stages[static_cast<std::size_t>(stage)].x,
              dpiToDeviceCode(53, sliderPositionToDpi(53, 70)));
}

TEST_F(PerformanceFlowTest, MouseDpiButtonMovesThePageAndShowsThePopUp) {
    startWired();
    const int before = window->performancePage().currentStage();
    mouse->pressDpiButton();
    ASSERT_TRUE(waitFor([&] { return window->performancePage().currentStage() != before; }));
    const int stage = window->performancePage().currentStage();
    EXPECT_EQ(stage, mouse->settings().currentStage);
    EXPECT_EQ(value(window->currentProfile(), "dpi_index"), std::to_string(stage));
    // The model asks for the DPI pop-up: it shows the new stage's DPI.
    ASSERT_NE(window->dpiPopup(), nullptr);
    ASSERT_TRUE(waitFor([&] { return window->dpiPopup()->IsWindowVisible(); }));
    EXPECT_EQ(window->dpiPopup()->currentDpi(),
              std::stoi(value(window->currentProfile(), "dpi_group" + std::to_string(stage) + "_value")));
}

TEST_F(PerformanceFlowTest, StageCountFromTheMouseRebuildsTheList) {
    startWired();
    // The page shows six stages; the mouse holds four.
    const int profile = window->currentProfile();
    ASSERT_TRUE(SettingsStore::instance().setConfigValue(profile, "dpi_count", "6"));
    window->performancePage().fillPerformancePage();
    ASSERT_EQ(window->performancePage().stageCount(), 6);

    mouse->pressDpiButton();
    ASSERT_TRUE(waitFor([&] { return window->performancePage().stageCount() == 4; }));
    EXPECT_EQ(value(profile, "dpi_count"), "4");
    auto* stages = window->GetControlAs<DUI::DPIControl>(PerformancePage::kStageListId);
    ASSERT_NE(stages, nullptr);
    EXPECT_EQ(stages->GetStages().size(), 4u);
}

TEST_F(PerformanceFlowTest, RestoreDefaultsAsksThenResetsTheMouseAndTheProfile) {
    startWired();
    const int profile = window->currentProfile();
    ASSERT_TRUE(SettingsStore::instance().setConfigValue(profile, "dpi_group0_value", "2500"));
    ASSERT_TRUE(SettingsStore::instance().setConfigValue(profile, "sleep_light", "180"));

    // Answered with the second button: nothing happens.
    backend.answerModal("MessageBox", 2);
    ASSERT_TRUE(user.click(*window, kRestoreDefaults));
    ASSERT_TRUE(waitForWorker());
    EXPECT_TRUE(commands().empty());
    EXPECT_EQ(value(profile, "dpi_group0_value"), "2500");

    backend.answerModal("MessageBox", 1);
    ASSERT_TRUE(user.click(*window, kRestoreDefaults));
    ASSERT_TRUE(waitForWorker());
    const std::vector<int> sent = commands();
    ASSERT_FALSE(sent.empty());
    EXPECT_EQ(sent.front(), 0x0F);
    // The description's factory values, the power options included.
    EXPECT_EQ(value(profile, "dpi_group0_value"), "400");
    EXPECT_EQ(value(profile, "sleep_light"), "6");
    EXPECT_EQ(window->performancePage().stageCount(), 4);
}

TEST_F(PerformanceFlowTest, ProfilePopUpWithoutADeviceShowsOnlyTheNotice) {
    start({});
    ASSERT_TRUE(waitForWorker());
    backend.answerModal("MessageBox", 1);
    window->OnMessage(kProfileButton, DUI::kNotifyClick, 0);
    const auto log = backend.modalLog();
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log[0].title, "MessageBox");
    // The restore-defaults button says the same and queues nothing.
    backend.answerModal("MessageBox", 1);
    window->OnMessage(kRestoreDefaults, DUI::kNotifyClick, 0);
    EXPECT_EQ(backend.modalLog().size(), 2u);
    EXPECT_TRUE(window->taskQueue().empty());
}

}  // namespace
}  // namespace quorvik::test
