// The identity block, the limits and counts derived from it, and the version texts.
#include "protocol/DeviceInfoBlock.h"
#include "protocol/FirmwareVersion.h"

#include <gtest/gtest.h>

#include "ProtocolTestHelpers.h"

namespace quorvik {
namespace {

using testing::hexBytes;

TEST(DeviceInfoBlock, ReadsEveryField) {
    // 10 00 xx xx | A B 1 2 | 34 12 | sensor 17 | cap 0x40 | charging 1 | battery 90 | online 1
    const auto reply = hexBytes("10 00 00 00 41 42 31 32 34 12 11 40 01 5A 01");
    const DeviceInfoBlock block = DeviceInfoBlock::fromReply(reply);
    EXPECT_EQ(block.devId(), "AB12");
    EXPECT_EQ(block.keptValue(), 0x1234);
    EXPECT_EQ(block.sensorId(), 17);
    EXPECT_EQ(block.reportRateCapability(), 0x40);
    EXPECT_EQ(block.chargingState(), 1);
    EXPECT_EQ(block.batteryLevel(), 90);
    EXPECT_TRUE(block.mouseOnline());
    EXPECT_EQ(block.bytes().size(), 65u);
    EXPECT_EQ(block.bytes()[40], 0);
}

TEST(DeviceInfoBlock, DevIdText) {
    struct Case {
        const char* name;
        const char* bytes4to7;
        std::string expected;
        // clang-format off
    } cases[] = {
        {"ascii", "41 42 31 32", "AB12"},
        {"NUL ends the text", "41 42 00 32", "AB"},
        {"empty", "00 41 42 43", ""},
        {"high byte sign-extended", "41 80 FF 42", "A\xEF\xBE\x80\xEF\xBF\xBF" "B"},
    };
    // clang-format on
    for (const auto& c : cases) {
        auto reply = hexBytes("10 00 00 00");
        const auto id = hexBytes(c.bytes4to7);
        reply.insert(reply.end(), id.begin(), id.end());
        EXPECT_EQ(DeviceInfoBlock::fromReply(reply).devId(), c.expected) << c.name;
    }
}

TEST(DeviceInfoBlock, ShortOrEmptyReplyLeavesZeros) {
    const DeviceInfoBlock empty = DeviceInfoBlock::fromReply({});
    EXPECT_EQ(empty.devId(), "");
    EXPECT_EQ(empty.sensorId(), 0);
    EXPECT_FALSE(empty.mouseOnline());
    const std::vector<std::uint8_t> huge(200, 0x33);
    const DeviceInfoBlock fromLong = DeviceInfoBlock::fromReply(huge);
    ASSERT_EQ(fromLong.bytes().size(), 65u);
    EXPECT_EQ(fromLong.bytes()[31], 0x33);
    for (std::size_t i = 32; i < 65; ++i) EXPECT_EQ(fromLong.bytes()[i], 0) << i;
}

TEST(DeviceInfoBlock, IdentifyRequestIsCommand10WithZeroChecksum) {
    const CommandPacket p = identifyRequest();
    EXPECT_EQ(p.size(), 33u);
    EXPECT_EQ(testing::head(p, 5), "00 10 00 00 00");
    EXPECT_EQ(p[32], 0);
}

TEST(ReportRateCount, ByCapabilityByte) {
    const std::pair<int, int> cases[] = {{0x10, 5}, {0x20, 6}, {0x40, 7}, {0x00, 4},
                                         {0x08, 4}, {0x30, 4}, {0xFF, 4}};
    for (const auto& [capability, count] : cases)
        EXPECT_EQ(reportRateCount(static_cast<std::uint8_t>(capability)), count) << capability;
}

TEST(DpiLimits, BySensorId) {
    struct Case {
        int sensor, minimum, maximum;
        // clang-format off
    } cases[] = {
        {4, 100, 8000},    {5, 50, 12000},    {16, 100, 4800}, {17, 50, 24000}, {18, 100, 4800},
        {25, 100, 30000},  {37, 100, 10000},  {38, 200, 10000}, {53, 100, 16000},
        {0, 50, 26000},    {1, 50, 26000},    {255, 50, 26000}, {-1, 50, 26000},
    };
    // clang-format on
    for (const auto& c : cases) {
        const DpiLimits l = dpiLimitsForSensor(c.sensor);
        EXPECT_EQ(l.minimum, c.minimum) << c.sensor;
        EXPECT_EQ(l.maximum, c.maximum) << c.sensor;
    }
}

TEST(FirmwareVersion, Texts) {
    EXPECT_EQ(releaseVersionText(0x0105), "105");
    EXPECT_EQ(releaseVersionText(0x0010), "10");
    EXPECT_EQ(releaseVersionText(0xABCD), "ABCD");
    EXPECT_EQ(wirelessFirmwareText(0x01, 0x05), "105");
    EXPECT_EQ(wirelessFirmwareText(0x1A, 0x0B), "1A0B");
    EXPECT_EQ(wirelessFirmwareText(0x00, 0x00), "000");

    struct Case {
        const char* text;
        VersionPrefix prefix;
        const char* expected;
        // clang-format off
    } cases[] = {
        {"105", VersionPrefix::V, "Mouse: V1.05"},
        {"10", VersionPrefix::V, "Mouse: V1.10"},
        {"0", VersionPrefix::V, "Mouse: V0.0"},
        {"1A0B", VersionPrefix::None, "Mouse: 1.0B"},
        {"", VersionPrefix::None, "Mouse: ."},
    };
    // clang-format on
    for (const auto& c : cases)
        EXPECT_EQ(versionDisplayText("Mouse", c.text, c.prefix), c.expected) << c.text;
}

}  // namespace
}  // namespace quorvik
