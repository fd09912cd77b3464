// The command transaction and identify: checksum, the wait for a status-0
// reply, what the caller's buffer holds afterwards, and misbehaving devices.
#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <thread>

#include "DeviceTestSupport.h"
#include "protocol/CommandReply.h"
#include "sim/SimFault.h"

namespace quorvik::devicetest {
namespace {

class TransportTest : public DeviceFixture {
protected:
    void SetUp() override {
        DeviceFixture::SetUp();
        m_manager.SetCurrentType(1);  // wired 1209:0001
    }
    // A read request for the report rate, 33 bytes, checksum left 0xEE so its
    // rewrite shows.
    std::array<std::uint8_t, 33> readRequest(std::uint8_t command = 0x12) {
        std::array<std::uint8_t, 33> request{};
        request[1] = command;
        request[32] = 0xEE;
        return request;
    }
};

TEST_F(TransportTest, ChecksumCoversPayloadBytesOnly) {
    // The mouse refuses a request whose checksum is wrong, and its reply
    // echoes the payload with the same sum at reply byte 31.
    struct Case {
        const char* name;
        std::vector<std::pair<std::size_t, std::uint8_t>> bytes;
        std::uint8_t checksum;
    };
    const Case cases[] = {
        {"empty payload", {}, 0x00},
        {"sum wraps at 256", {{5, 0xFF}, {6, 0x02}}, 0x01},
        {"every payload byte", {{5, 1}, {6, 2}, {7, 3}, {8, 4}}, 0x0A},
    };
    for (const Case& c : cases) {
        std::array<std::uint8_t, 65> buffer{};
        buffer[1] = 0x07;  // power options: four bytes, any values
        buffer[3] = 0x01;
        buffer[4] = 0x04;
        for (auto [at, value] : c.bytes) buffer[at] = value;
        buffer[32] = 0x5A;
        ASSERT_TRUE(m_manager.SendCommand(buffer.data(), buffer.size())) << c.name;
        EXPECT_EQ(buffer[31], c.checksum) << c.name;
    }
}

TEST_F(TransportTest, MouseThatNeverAnswersFailsAfterFiftyReadsWithTheRequestInTheBuffer) {
    std::array<std::uint8_t, 65> buffer{};
    buffer[1] = 0x07;
    buffer[3] = 0x01;
    buffer[4] = 0x04;
    buffer[5] = 0xFF;
    buffer[6] = 0x02;
    buffer[32] = 0x5A;
    std::array<std::uint8_t, 65> expected = buffer;
    expected[32] = 0x01;
    device(kM1Wired)->injectFault({FaultKind::NoReply});
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(m_manager.SendCommand(buffer.data(), buffer.size()));
    const double seconds = secondsSince(start);
    EXPECT_GE(seconds, 1.4);
    EXPECT_LT(seconds, 3.0);
    EXPECT_EQ(buffer, expected);
}

TEST_F(TransportTest, SuccessfulReplyReplacesTheRequestInTheBuffer) {
    auto buffer = readRequest();
    std::size_t replyLength = 0;
    ASSERT_TRUE(m_manager.SendCommand(buffer.data(), buffer.size(), &replyLength));
    EXPECT_EQ(replyLength, 32u);
    EXPECT_EQ(buffer[0], 0x12);  // reply byte 0 echoes the command
    EXPECT_EQ(buffer[1], 0x00);  // status
    EXPECT_EQ(buffer[4], device(kM1Wired)->settings().reportRate);
}

TEST_F(TransportTest, FirstNonZeroStatusReportIsSkipped) {
    device(kM1Wired)->injectFault({FaultKind::BusyFirst});
    auto buffer = readRequest();
    const auto start = std::chrono::steady_clock::now();
    ASSERT_TRUE(m_manager.SendCommand(buffer.data(), buffer.size()));
    EXPECT_LT(secondsSince(start), 0.5);
    EXPECT_EQ(buffer[1], 0x00);
    EXPECT_EQ(buffer[4], device(kM1Wired)->settings().reportRate);
}

TEST_F(TransportTest, DelayedReplyWithinTheAttemptsSucceeds) {
    device(kM1Wired)->injectFault({FaultKind::DelayedReply, 1, 200});
    auto buffer = readRequest();
    EXPECT_TRUE(m_manager.SendCommand(buffer.data(), buffer.size()));
}

TEST_F(TransportTest, ShortReplyIsNotTakenAsAFullOne) {
    // Status 0 arrives but the payload does not: the decoder must not read the
    // request's bytes as the mouse's value.
    setConfig("report_rate", 77);
    device(kM1Wired)->injectFault({FaultKind::ShortReply, 1, 0, 2});
    CommandExchange ex;
    ASSERT_TRUE(m_session.exchange(encodeReadRequest(Command::ReadReportRate), ex));
    EXPECT_EQ(ex.replyLength, 2u);
    EXPECT_FALSE(decodeReportRate(ex.reply()).has_value());
}

TEST_F(TransportTest, DeviceUnpluggedMidCommandFailsThatCommandQuickly) {
    device(kM1Wired)->injectFault({FaultKind::UnplugInTransaction});
    auto buffer = readRequest();
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(m_manager.SendCommand(buffer.data(), buffer.size()));
    EXPECT_LT(secondsSince(start), 0.5);
    // Later commands on the dead handle fail too; nothing crashes.
    EXPECT_FALSE(m_settings.SendReportRate());
    EXPECT_EQ(m_events.count("failure"), 1);
    // Re-enumeration moves the commands to the receiver.
    refresh(m_manager);
    EXPECT_TRUE(m_settings.SendReportRate());
}

TEST_F(TransportTest, RefusesBuffersItCannotCarryAndAManagerNotReady) {
    std::array<std::uint8_t, 80> big{};
    big[1] = 0x12;
    EXPECT_FALSE(m_manager.SendCommand(big.data(), 32)) << "too short to hold the checksum";
    EXPECT_FALSE(m_manager.SendCommand(big.data(), 80)) << "longer than one report";
    EXPECT_FALSE(m_manager.SendCommand(nullptr, 33));
    m_manager.CloseAll();
    auto buffer = readRequest();
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(m_manager.SendCommand(buffer.data(), buffer.size()));
    EXPECT_LT(secondsSince(start), 0.1);
}

TEST_F(TransportTest, OfflineNoticeDuringATransactionIsNotTakenAsItsReply) {
    // "C0 00" has status byte 0; taken as the reply it would be stored as settings.
    device(kM1Wired)->unplug();
    refresh(m_manager);
    ASSERT_EQ(m_manager.CurrentMode(), 1);
    ASSERT_NE(m_manager.CurrentDevice(), nullptr);
    device(kM1Receiver)->switchMouse(false);  // queues C0 00 00 00; the receiver stops answering
    auto buffer = readRequest();
    EXPECT_FALSE(m_manager.SendCommand(buffer.data(), buffer.size()));

    // The notice is not lost: the next idle turn takes the model offline.
    EXPECT_EQ(m_notifications.HandleNotification(), NotificationKind::Connection);
    EXPECT_EQ(m_events.count("offline 1"), 1);
    EXPECT_EQ(m_manager.CurrentDevice(), nullptr);
}

TEST_F(TransportTest, DpiNoticeArrivingBeforeAReplyIsHandledAfterTheTransaction) {
    device(kM1Wired)->pressDpiButton();  // C2 24 waits ahead of the reply
    setConfig("report_rate", 0x04);
    ASSERT_TRUE(m_settings.SendReportRate());
    EXPECT_EQ(device(kM1Wired)->settings().reportRate, 0x04);
    EXPECT_EQ(m_notifications.HandleNotification(), NotificationKind::DpiChange);
    EXPECT_EQ(config("dpi_index"), "2");
    EXPECT_EQ(m_notifications.HandleNotification(), NotificationKind::None);
}

TEST_F(TransportTest, IdentifyReadsTheIdentityBlockOfAGivenInterface) {
    auto backend = std::make_shared<SimulatedHidBackend>();
    std::string path;
    for (const HidInterfaceInfo& info : backend->enumerate())
        if (info.pid == kM2Receiver && info.usagePage == 1 && info.usage == 0) path = info.path;
    std::unique_ptr<HidDevice> hid = backend->openPath(path);
    ASSERT_NE(hid, nullptr);
    DeviceInfoBlock info;
    ASSERT_TRUE(m_manager.Identify(info, hid.get()));
    EXPECT_EQ(info.devId(), "QV02");
    EXPECT_EQ(info.sensorId(), 53);
    EXPECT_TRUE(info.mouseOnline());
    EXPECT_EQ(info.batteryLevel(), 80);
    for (std::size_t i = 32; i < 65; ++i) EXPECT_EQ(info.bytes()[i], 0) << i;

    // Without a device: the current entry's stored block.
    DeviceInfoBlock stored;
    ASSERT_TRUE(m_manager.Identify(stored, nullptr));
    EXPECT_EQ(stored.devId(), "QV01");
    m_manager.SetCurrentType(9);
    EXPECT_FALSE(m_manager.Identify(stored, nullptr));
}

TEST_F(TransportTest, IdentifyFailingTwiceKeepsTheEntryUnresolved) {
    device(kM2Wired)->injectFault({FaultKind::NoReply, -1});
    refresh(m_manager);
    bool found = false;
    for (const DeviceEntry& entry : m_manager.entries()) {
        if (entry.pid != kM2Wired) continue;
        found = true;
        EXPECT_EQ(entry.deviceType, 0);
        EXPECT_TRUE(entry.devId.empty());
    }
    EXPECT_TRUE(found);
    m_manager.SetCurrentType(2);
    int vid = 0, pid = 0;
    ASSERT_TRUE(m_manager.CurrentVidPid(vid, pid));
    EXPECT_EQ(pid, kM2Receiver) << "the unresolved cable is never used for commands";
}

}  // namespace
}  // namespace quorvik::devicetest
