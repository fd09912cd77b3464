// Each fault a simulated device can be told to commit does what it says, for
// exactly as many commands as it was given, and leaves the device working
// afterwards.
#include <gtest/gtest.h>

#include <chrono>

#include "SimHost.h"
#include "sim/SimulatedHidBackend.h"

namespace quorvik {
namespace {

using simtest::Bytes;
using simtest::readRequest;
using simtest::request;
using Clock = std::chrono::steady_clock;

class FaultInjectionTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_backend.setHotPlugCallback([this](const HidHotPlugEvent& e) { m_events.push_back(e); });
        m_hid = simtest::openCommands(m_backend, 0x0001);
        ASSERT_NE(m_hid, nullptr);
        m_device = m_backend.findDevice(0x1209, 0x0001);
    }
    int readInto(Bytes& buffer, int timeoutMs) {
        buffer.assign(65, 0);
        return m_hid->readTimeout(buffer.data(), buffer.size(), timeoutMs);
    }
    int writeRequest(const Bytes& req) { return m_hid->write(req.data(), req.size()); }

    const Bytes m_setRate = request(0x02, 0x01, 0x01, {0x08}, 65);
    SimulatedHidBackend m_backend;
    std::vector<HidHotPlugEvent> m_events;
    std::unique_ptr<HidDevice> m_hid;
    std::shared_ptr<VirtualDevice> m_device;
};

TEST_F(FaultInjectionTest, NoReplyIgnoresTheCommand) {
    m_device->injectFault({.kind = FaultKind::NoReply});
    EXPECT_EQ(writeRequest(m_setRate), 65);
    Bytes buffer;
    EXPECT_EQ(readInto(buffer, 60), 0);
    EXPECT_EQ(m_device->settings().reportRate, 1) << "not carried out";
    EXPECT_TRUE(simtest::transact(*m_hid, m_setRate)) << "only one command was affected";
    EXPECT_EQ(m_device->settings().reportRate, 8);
}

TEST_F(FaultInjectionTest, FaultsLastForTheirCommandCountOrUntilCleared) {
    m_device->injectFault({.kind = FaultKind::NoReply, .commands = 2});
    EXPECT_FALSE(simtest::transact(*m_hid, readRequest(0x10), 20));
    EXPECT_FALSE(simtest::transact(*m_hid, readRequest(0x10), 20));
    EXPECT_TRUE(simtest::transact(*m_hid, readRequest(0x10), 20));

    m_device->injectFault({.kind = FaultKind::NoReply, .commands = -1});
    for (int i = 0; i < 5; ++i) EXPECT_FALSE(simtest::transact(*m_hid, readRequest(0x10), 10));
    m_device->clearFaults();
    EXPECT_TRUE(simtest::transact(*m_hid, readRequest(0x10), 20));
}

TEST_F(FaultInjectionTest, FaultsApplyInTheOrderInjected) {
    m_device->injectFault({.kind = FaultKind::NoReply});
    m_device->injectFault({.kind = FaultKind::ShortReply, .shortLength = 3});
    EXPECT_FALSE(simtest::transact(*m_hid, readRequest(0x10), 20));
    auto reply = simtest::transact(*m_hid, readRequest(0x10), 20);
    ASSERT_TRUE(reply);
    EXPECT_EQ(reply->size(), 3u);
    reply = simtest::transact(*m_hid, readRequest(0x10), 20);
    ASSERT_TRUE(reply);
    EXPECT_EQ(reply->size(), VirtualMouse::kInputReportSize);
}

TEST_F(FaultInjectionTest, BusyFirstSendsANonZeroStatusBeforeTheReply) {
    m_device->injectFault({.kind = FaultKind::BusyFirst});
    ASSERT_EQ(writeRequest(readRequest(0x12)), 33);
    Bytes first, second;
    ASSERT_EQ(readInto(first, 50), 32);
    EXPECT_EQ(first[0], 0x12);
    EXPECT_EQ(first[1], VirtualMouse::kStatusBusy);
    ASSERT_EQ(readInto(second, 50), 32);
    EXPECT_EQ(second[1], 0);
    EXPECT_EQ(second[4], 1);
}

TEST_F(FaultInjectionTest, DelayedReplyArrivesAfterItsDelay) {
    m_device->injectFault({.kind = FaultKind::DelayedReply, .delayMs = 150});
    const auto start = Clock::now();
    ASSERT_EQ(writeRequest(readRequest(0x10)), 33);
    Bytes buffer;
    EXPECT_EQ(readInto(buffer, 30), 0) << "not yet";
    EXPECT_EQ(readInto(buffer, 1000), 32);
    const auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start);
    EXPECT_GE(elapsed.count(), 150);
    EXPECT_LT(elapsed.count(), 900) << "the read wakes when the reply is due, not at its timeout";
    EXPECT_EQ(buffer[1], 0);
}

TEST_F(FaultInjectionTest, GarbageReplacesTheReply) {
    m_device->injectFault({.kind = FaultKind::GarbageReply});
    ASSERT_EQ(writeRequest(m_setRate), 65);
    Bytes buffer;
    ASSERT_EQ(readInto(buffer, 50), 32);
    EXPECT_NE(buffer[1], 0);
    EXPECT_EQ(readInto(buffer, 30), 0) << "no real reply follows";
    EXPECT_EQ(m_device->settings().reportRate, 8) << "the command itself was carried out";
}

TEST_F(FaultInjectionTest, ShortReplyTruncatesTheReport) {
    m_device->injectFault({.kind = FaultKind::ShortReply, .shortLength = 2});
    ASSERT_EQ(writeRequest(readRequest(0x13)), 33);
    Bytes buffer;
    ASSERT_EQ(readInto(buffer, 50), 2);
    EXPECT_EQ(buffer[0], 0x13);
    EXPECT_EQ(buffer[1], 0);
    EXPECT_EQ(buffer[2], 0) << "nothing beyond the short report";
}

TEST_F(FaultInjectionTest, UnplugInTransactionLosesTheReplyAndTheDevice) {
    m_device->injectFault({.kind = FaultKind::UnplugInTransaction});
    EXPECT_EQ(writeRequest(m_setRate), 65);
    Bytes buffer;
    EXPECT_EQ(readInto(buffer, 50), -1);
    EXPECT_FALSE(m_device->isPlugged());
    ASSERT_FALSE(m_events.empty());
    EXPECT_EQ(m_events.back().kind, HidHotPlugEvent::Kind::Removal);
    EXPECT_EQ(m_device->settings().reportRate, 8);

    m_device->plug();
    auto again = simtest::openCommands(m_backend, 0x0001);
    ASSERT_NE(again, nullptr);
    const auto reply = simtest::transact(*again, readRequest(0x12));
    ASSERT_TRUE(reply);
    EXPECT_EQ((*reply)[4], 8) << "settings survive the unplug";
}

TEST_F(FaultInjectionTest, UnplugDuringFlashInterruptsTheTransfer) {
    auto loader = m_backend.openPath(simtest::pathOf(m_backend, 0x0001, 0xFFEF, 0));
    ASSERT_NE(loader, nullptr);
    m_device->injectFault({.kind = FaultKind::UnplugDuringFlash, .afterReports = 4});
    Bytes report(64, 0xFF);
    report[0] = 0x05;
    report[1] = 0x02;
    report[2] = 0x02;
    report[3] = 0x00;
    report[4] = 0x01;
    EXPECT_EQ(loader->write(report.data(), report.size()), 64);  // start
    for (int r = 0; r < 3; ++r) {
        Bytes data(64, 0xFF);
        data[0] = 0x05;
        data[1] = 0x02;
        data[2] = 0x14;
        data[3] = 0x00;
        data[4] = static_cast<std::uint8_t>(r);
        data[5] = 0;
        const std::uint16_t crc = VirtualLoader::crc16Modbus({data.begin() + 4, data.begin() + 22});
        data[22] = static_cast<std::uint8_t>(crc & 0xFF);
        data[23] = static_cast<std::uint8_t>(crc >> 8);
        EXPECT_EQ(loader->write(data.data(), data.size()), 64);
    }
    EXPECT_EQ(m_device->flashState(), FlashState::Receiving);
    EXPECT_EQ(loader->write(report.data(), report.size()), -1);
    EXPECT_FALSE(m_device->isPlugged());
    EXPECT_EQ(m_device->flashState(), FlashState::Failed);
    EXPECT_EQ(m_device->flashError(), FlashError::Interrupted);
    EXPECT_EQ(m_device->flashedImage().size(), 48u);
    Bytes buffer;
    EXPECT_EQ(readInto(buffer, 10), -1) << "the command handle died with the device";
}

}  // namespace
}  // namespace quorvik
