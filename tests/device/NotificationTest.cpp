// Reports the mouse and the receivers send by themselves: the DPI button, the
// wireless mouse switched off and on, its battery; and the receiver poll.
#include <gtest/gtest.h>

#include "DeviceTestSupport.h"

namespace quorvik::devicetest {
namespace {

using NotificationTest = DeviceFixture;

DeviceEntry entryOf(const DeviceManager& manager, std::uint16_t pid) {
    for (const DeviceEntry& e : manager.entries())
        if (e.pid == pid) return e;
    return {};
}

TEST_F(NotificationTest, ReceiverWhoseMouseIsOffIsHeardWhenTheMouseComesBack) {
    device(kM1Wired)->unplug();
    device(kM1Receiver)->switchMouse(false);
    refresh(m_manager);
    m_manager.SetCurrentType(1);
    ASSERT_EQ(m_manager.CurrentMode(), 1);
    ASSERT_EQ(m_manager.CurrentDevice(), nullptr);
    EXPECT_FALSE(m_settings.SendReportRate());

    // Idle turns listen to the receivers (10 ms each) and hear nothing.
    m_events.clear();
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(m_notifications.HandleNotification(), NotificationKind::None);
    EXPECT_LT(secondsSince(start), 0.09);
    EXPECT_TRUE(m_events.calls().empty());

    device(kM1Receiver)->switchMouse(true);  // C0 01 50 00
    const int identifiesBefore = device(kM1Receiver)->commandsCarriedOut();
    EXPECT_EQ(m_notifications.HandleNotification(), NotificationKind::Connection);
    const DeviceEntry receiver = entryOf(m_manager, kM1Receiver);
    EXPECT_EQ(receiver.state, kEntryOnline);
    EXPECT_TRUE(receiver.info.mouseOnline()) << "identified again";
    EXPECT_GT(device(kM1Receiver)->commandsCarriedOut(), identifiesBefore);

    const std::vector<std::string> calls = m_events.calls();
    ASSERT_GE(calls.size(), 4u);
    EXPECT_EQ(calls[0], "closeHelpers");
    EXPECT_EQ(calls[1], "online 1 1 52");
    EXPECT_EQ(calls[2], "refreshPages");
    EXPECT_EQ(m_events.count("refreshPages"), 2) << "again after the configuration read";
    EXPECT_EQ(calls.back(), "battery 80 0");
    EXPECT_EQ(m_events.count("failure"), 0);

    // The receiver carries commands again.
    ASSERT_NE(m_manager.CurrentDevice(), nullptr);
    setConfig("report_rate", 0x08);
    EXPECT_TRUE(m_settings.SendReportRate());
    EXPECT_EQ(device(kM1Receiver)->settings().reportRate, 0x08);
}

TEST_F(NotificationTest, OfflineNoticeThroughTheCurrentReceiverTakesItOffline) {
    device(kM2Wired)->unplug();
    refresh(m_manager);
    m_manager.SetCurrentType(2);
    ASSERT_NE(m_manager.CurrentDevice(), nullptr);
    device(kM2Receiver)->switchMouse(false);  // C0 00 00 00
    EXPECT_EQ(m_notifications.HandleNotification(), NotificationKind::Connection);
    EXPECT_EQ(m_events.calls(), (std::vector<std::string>{"closeHelpers", "offline 2"}))
        << "no battery shown for a notice without one";
    EXPECT_EQ(entryOf(m_manager, kM2Receiver).state, kEntryOfflineByNotice);
    EXPECT_EQ(m_manager.CurrentDevice(), nullptr);
    EXPECT_EQ(m_manager.CurrentMode(), 1);
    EXPECT_FALSE(m_manager.IsTypeConnected(2));

    device(kM2Receiver)->switchMouse(true);
    EXPECT_EQ(m_notifications.HandleNotification(), NotificationKind::Connection);
    EXPECT_TRUE(m_manager.IsTypeConnected(2));
    EXPECT_NE(m_manager.CurrentDevice(), nullptr);
}

TEST_F(NotificationTest, BatteryNoticeOfAnOnlineMouseShowsItsLevel) {
    device(kM1Wired)->unplug();
    refresh(m_manager);
    m_manager.SetCurrentType(1);
    device(kM1Receiver)->setBattery(90, 0);  // C0 01 5A 00
    EXPECT_EQ(m_notifications.HandleNotification(), NotificationKind::Connection);
    EXPECT_EQ(m_events.count("online 1 1 52"), 1);
    EXPECT_EQ(m_events.calls().back(), "battery 90 0");
}

TEST_F(NotificationTest, DpiButtonStoresTheNewStageAndCount) {
    m_manager.SetCurrentType(1);         // wired; factory: 4 stages, stage 1
    device(kM1Wired)->pressDpiButton();  // C2 24
    EXPECT_EQ(m_notifications.HandleNotification(), NotificationKind::DpiChange);
    EXPECT_EQ(config("dpi_count"), "4");
    EXPECT_EQ(config("dpi_index"), "2");
    EXPECT_EQ(m_events.calls(), (std::vector<std::string>{"dpiCount 4", "dpiStage 2 2400"}));

    m_events.clear();
    device(kM1Wired)->pressDpiButton();  // C2 34: the count is unchanged
    EXPECT_EQ(m_notifications.HandleNotification(), NotificationKind::DpiChange);
    EXPECT_EQ(config("dpi_index"), "3");
    EXPECT_EQ(m_events.calls(), (std::vector<std::string>{"dpiStage 3 3200"}));
}

TEST_F(NotificationTest, NothingIsReadWhileTheManagerIsNotReady) {
    m_manager.SetCurrentType(1);
    device(kM1Wired)->pressDpiButton();
    m_manager.CloseAll();
    std::array<std::uint8_t, 65> report{};
    int type = -1;
    EXPECT_FALSE(m_manager.ReadNotification(report.data(), type));
    EXPECT_EQ(m_notifications.HandleNotification(), NotificationKind::None);
    EXPECT_TRUE(m_events.calls().empty());
}

TEST_F(NotificationTest, ReceiverPollMarksTheModelsReceiversOfflineOrOnline) {
    m_manager.SetCurrentType(1);  // the cable is current; the receiver is only polled
    device(kM1Receiver)->switchMouse(false);
    m_manager.PollDongleConnection();
    EXPECT_EQ(entryOf(m_manager, kM1Receiver).state, kEntryOfflineByPoll);
    EXPECT_TRUE(m_manager.IsTypeConnected(1));
    EXPECT_EQ(entryOf(m_manager, kM2Receiver).state, kEntryOnline) << "other models are not polled";

    device(kM1Receiver)->switchMouse(true);
    m_manager.PollDongleConnection();
    EXPECT_EQ(entryOf(m_manager, kM1Receiver).state, kEntryOnline);
}

}  // namespace
}  // namespace quorvik::devicetest
