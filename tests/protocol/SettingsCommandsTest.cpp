// Settings commands as byte strings, their read replies, and every value through send and read.
#include "protocol/SettingsCommands.h"

#include <functional>
#include <random>

#include <gtest/gtest.h>

#include "ProtocolTestHelpers.h"
#include "protocol/DpiScale.h"
#include "protocol/SensorTable.h"

namespace quorvik {
namespace {

using testing::echoReply;
using testing::head;
using testing::hexBytes;
using testing::replyWithPayload;

struct EncodeCase {
    const char* name = "";
    CommandPacket packet;
    std::size_t size = 0;
    const char* bytes = "";  // request bytes from 0; everything after them up to byte 31 is 0
    std::uint8_t checksum = 0;
};

TEST(SettingsCommands, EncodeTable) {
    DpiStageSettings stages;
    stages.currentStage = 2;
    stages.stageCount = 4;
    stages.dpi = {400, 800, 1600, 3200, 6400, 26000};
    DpiStageSettings clamped;
    clamped.currentStage = 0;
    clamped.stageCount = 6;
    clamped.dpi = {30000, 20, 50, 26000, 26001, -5};
    DpiStageSettings sensor17;
    sensor17.stageCount = 1;
    sensor17.dpi = {13000, 24000, 30000, 10100, 50, 0};
    DpiStageSettings oversizedNibbles;
    oversizedNibbles.currentStage = 17;  // low nibble 1
    oversizedNibbles.stageCount = 16;    // low nibble 0, must not touch the stage nibble
    oversizedNibbles.dpi = {50, 50, 50, 50, 50, 50};

    // clang-format off
    const EncodeCase cases[] = {
        {"report rate 125 Hz", encodeReportRate(8), 65, "00 02 00 01 01 08", 0x08},
        {"report rate 8000 Hz", encodeReportRate(0x40), 65, "00 02 00 01 01 40", 0x40},
        {"dpi stages, stage 2 of 4", encodeDpiStages(stages, 0), 33,
         "00 03 00 01 25 24 07 00 07 00 0F 00 0F 00 1F 00 1F 00 3F 00 3F 00 7F 00 7F 00 07 02 07 02", 0x1C},
        {"dpi stages clamped to 50..26000", encodeDpiStages(clamped, 0), 33,
         "00 03 00 01 25 06 07 02 07 02 00 00 00 00 00 00 00 00 07 02 07 02 07 02 07 02 00 00 00 00", 0x3C},
        {"dpi stages sensor 17 device segment", encodeDpiStages(sensor17, 17), 33,
         "00 03 00 01 25 01 DD 00 DD 00 E8 00 E8 00 E8 00 E8 00 C9 00 C9 00 01 00 01 00 01 00 01 00", 0xF1},
        {"stage and count stay in their nibbles", encodeDpiStages(oversizedNibbles, 0), 33, "00 03 00 01 25 10", 0x10},
        {"dpi colours", encodeDpiColors({0x123456, 0xFFFFFF, 0, 0x0000FF, 0x7F00FF00, -1}), 65,
         "00 04 00 01 12 56 34 12 FF FF FF 00 00 00 FF 00 00 00 FF 00 FF FF FF", 0x94},
        {"lift-off 2, both sensor bits", encodeLiftOffSensor({2, 0x0C}), 65, "00 06 00 01 05 02 01 01 00 00", 0x04},
        {"lift-off 1, bit 0x08", encodeLiftOffSensor({1, 0x08}), 65, "00 06 00 01 05 01 01 00 00 00", 0x02},
        {"lift-off 1, bit 0x04", encodeLiftOffSensor({1, 0x04}), 65, "00 06 00 01 05 01 00 01 00 00", 0x02},
        {"bit 0x10 has no place", encodeLiftOffSensor({1, 0x10 | 0x40}), 65, "00 06 00 01 05 01 00 00 00 00", 0x01},
        {"power options", encodePowerOptions({6, 1, 0, 20}), 65, "00 07 00 01 04 06 01 00 14", 0x1B},
        {"power options low bytes", encodePowerOptions({0x1FF, 0x101, -1, 300}), 65, "00 07 00 01 04 FF 01 FF 2C", 0x2B},
        {"factory reset", encodeFactoryReset(), 33, "00 0F 00 01 01 FF", 0xFF},
        {"read begin", encodeReadRequest(Command::ReadBegin), 33, "00 11 00 00 00", 0},
        {"read report rate", encodeReadRequest(Command::ReadReportRate), 33, "00 12 00 00 00", 0},
        {"read wireless firmware", encodeReadRequest(Command::ReadWirelessFirmware), 33, "00 20 00 00 00", 0},
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto expected = hexBytes(c.bytes);
        EXPECT_EQ(c.packet.size(), c.size);
        EXPECT_EQ(head(c.packet, expected.size()), testing::hexText(expected));
        for (std::size_t i = expected.size(); i < 32; ++i) EXPECT_EQ(c.packet[i], 0) << "byte " << i;
        EXPECT_EQ(c.packet[32], c.checksum);
        for (std::size_t i = 33; i < c.packet.size(); ++i) EXPECT_EQ(c.packet[i], 0) << "byte " << i;
    }
}

TEST(SettingsCommands, DecodeTable) {
    const auto rate = replyWithPayload(0x12, hexBytes("10"));
    EXPECT_EQ(decodeReportRate(CommandReply(rate)), 0x10);

    // Stage 2 of 4; stage 0 code 0 (default sensor: 50 DPI), stage 1 code 0x0207 (26000).
    const auto stages = replyWithPayload(0x13, hexBytes("24 00 00 00 00 07 02 07 02"));
    const auto defaultRead = decodeDpiStages(CommandReply(stages), 0);
    ASSERT_TRUE(defaultRead);
    EXPECT_EQ(defaultRead->stageCount, 4);
    EXPECT_EQ(defaultRead->currentStage, 2);
    EXPECT_EQ(defaultRead->dpi[0], 50);
    EXPECT_EQ(defaultRead->dpi[1], 26000);
    // Sensor 4: code 0 is 0 DPI, below 50, so the stage is left out.
    const auto sensor4Read = decodeDpiStages(CommandReply(stages), 4);
    ASSERT_TRUE(sensor4Read);
    EXPECT_FALSE(sensor4Read->dpi[0].has_value());
    EXPECT_EQ(sensor4Read->dpi[2], std::nullopt);
    // Only the X code counts.
    const auto xy = replyWithPayload(0x13, hexBytes("11 03 00 09 00"));
    EXPECT_EQ(decodeDpiStages(CommandReply(xy), 4)->dpi[0], 300);

    const auto colors = replyWithPayload(0x14, hexBytes("56 34 12 FF FF FF"));
    const auto colorRead = decodeDpiColors(CommandReply(colors));
    ASSERT_TRUE(colorRead);
    EXPECT_EQ((*colorRead)[0], 1193046);
    EXPECT_EQ((*colorRead)[1], 0xFFFFFF);
    EXPECT_EQ((*colorRead)[5], 0);

    struct LiftCase {
        const char* payload;
        int liftOff, flags;
    } lifts[] = {{"02 01 01", 2, 0x0C}, {"01 01 00", 1, 0x08}, {"01 00 01", 1, 0x04}, {"01 02 FF", 1, 0}};
    for (const auto& c : lifts) {
        const auto r = replyWithPayload(0x16, hexBytes(c.payload));
        const auto read = decodeLiftOffSensor(CommandReply(r));
        ASSERT_TRUE(read) << c.payload;
        EXPECT_EQ(read->liftOff, c.liftOff) << c.payload;
        EXPECT_EQ(read->sensorFlags, c.flags) << c.payload;
    }

    const auto power = replyWithPayload(0x17, hexBytes("06 01 00 14"));
    const auto powerRead = decodePowerOptions(CommandReply(power));
    ASSERT_TRUE(powerRead);
    EXPECT_EQ(powerRead->sleepLight, 6);
    EXPECT_EQ(powerRead->moveWakeup, 1);
    EXPECT_EQ(powerRead->moveCloseLight, 0);
    EXPECT_EQ(powerRead->buttonResponseTime, 20);

    const auto firmware = replyWithPayload(0x20, hexBytes("01 05"));
    EXPECT_EQ(decodeWirelessFirmware(CommandReply(firmware)), "105");
}

TEST(SettingsCommands, DecodersRefuseBusyAndShortReplies) {
    // Payload bytes each decoder reads: a reply of 4 + n bytes is enough, one byte less is not.
    struct Case {
        const char* name;
        std::size_t payloadBytes;
        std::function<bool(CommandReply)> decodes;
        // clang-format off
    } cases[] = {
        {"0x12", 1, [](CommandReply r) { return decodeReportRate(r).has_value(); }},
        {"0x13", 25, [](CommandReply r) { return decodeDpiStages(r, 0).has_value(); }},
        {"0x14", 18, [](CommandReply r) { return decodeDpiColors(r).has_value(); }},
        {"0x16", 3, [](CommandReply r) { return decodeLiftOffSensor(r).has_value(); }},
        {"0x17", 4, [](CommandReply r) { return decodePowerOptions(r).has_value(); }},
        {"0x20", 2, [](CommandReply r) { return decodeWirelessFirmware(r).has_value(); }},
    };
    // clang-format on
    for (const auto& c : cases) {
        std::vector<std::uint8_t> reply(32, 0x01);
        reply[1] = 0;
        EXPECT_TRUE(c.decodes(CommandReply(reply))) << c.name;
        reply[1] = 0x01;
        EXPECT_FALSE(c.decodes(CommandReply(reply))) << c.name << " busy";
        reply[1] = 0;
        reply.resize(4 + c.payloadBytes);
        EXPECT_TRUE(c.decodes(CommandReply(reply))) << c.name << " exact";
        reply.pop_back();
        EXPECT_FALSE(c.decodes(CommandReply(reply))) << c.name << " one short";
        EXPECT_FALSE(c.decodes(CommandReply({}))) << c.name << " empty";
    }
}

TEST(SettingsRoundTrip, EveryStageDpiOfEverySensor) {
    for (const SensorProfile& profile : allSensorProfiles()) {
        const int sensor = profile.sensorId;
        std::size_t slot = 0;
        for (int dpi : dpiScaleValues(sensor)) {
            if (dpi < profile.limits.minimum || dpi > profile.limits.maximum) continue;
            DpiStageSettings stages;
            stages.stageCount = 6;
            stages.currentStage = static_cast<int>(slot);
            stages.dpi.fill(profile.limits.minimum);
            stages.dpi[slot] = dpi;
            const auto reply = echoReply(encodeDpiStages(stages, sensor));
            const auto read = decodeDpiStages(CommandReply(reply), sensor);
            ASSERT_TRUE(read);
            ASSERT_EQ(read->dpi[slot], dpi) << "sensor " << sensor << " stage " << slot;
            ASSERT_EQ(read->currentStage, static_cast<int>(slot));
            slot = (slot + 1) % kDpiStageCount;
        }
    }
}

TEST(SettingsRoundTrip, StageNibbles) {
    for (int stage = 0; stage < 16; ++stage)
        for (int count = 0; count < 16; ++count) {
            DpiStageSettings s;
            s.currentStage = stage;
            s.stageCount = count;
            const auto read = decodeDpiStages(CommandReply(echoReply(encodeDpiStages(s, 0))), 0);
            ASSERT_TRUE(read);
            ASSERT_EQ(read->currentStage, stage);
            ASSERT_EQ(read->stageCount, count);
        }
}

TEST(SettingsRoundTrip, ByteValuedSettings) {
    for (int v = 0; v < 256; ++v) {
        ASSERT_EQ(decodeReportRate(CommandReply(echoReply(encodeReportRate(v)))), v);
        const PowerOptions options{v, 255 - v, (v * 7) & 0xFF, v / 2};
        const auto power = decodePowerOptions(CommandReply(echoReply(encodePowerOptions(options))));
        ASSERT_TRUE(power);
        ASSERT_EQ(power->sleepLight, options.sleepLight);
        ASSERT_EQ(power->moveWakeup, options.moveWakeup);
        ASSERT_EQ(power->moveCloseLight, options.moveCloseLight);
        ASSERT_EQ(power->buttonResponseTime, options.buttonResponseTime);
        for (int flags = 0; flags < 32; ++flags) {
            const auto lift = decodeLiftOffSensor(CommandReply(echoReply(encodeLiftOffSensor({v, flags}))));
            ASSERT_TRUE(lift);
            ASSERT_EQ(lift->liftOff, v);
            ASSERT_EQ(lift->sensorFlags, flags & (kSensorFlag04 | kSensorFlag08));
        }
    }
}

TEST(SettingsRoundTrip, Colors) {
    std::mt19937 random(7);
    for (int round = 0; round < 2000; ++round) {
        std::array<int, kDpiStageCount> colors{};
        for (auto& c : colors) c = static_cast<int>(random() & 0xFFFFFF);
        if (round == 0) colors = {0, 0xFFFFFF, 0x010203, 0xFF0000, 0x00FF00, 0x0000FF};
        const auto read = decodeDpiColors(CommandReply(echoReply(encodeDpiColors(colors))));
        ASSERT_TRUE(read);
        ASSERT_EQ(*read, colors);
    }
}

TEST(ReportRates, BothWays) {
    const std::pair<int, int> rates[] = {{125, 8},   {250, 4},   {500, 2},  {1000, 1},
                                         {2000, 16}, {4000, 32}, {8000, 64}};
    for (const auto& [hz, code] : rates) {
        EXPECT_EQ(reportRateCode(hz), code);
        EXPECT_EQ(reportRateHz(code), hz);
    }
    EXPECT_EQ(reportRateHz(3), 0);
    EXPECT_EQ(reportRateCode(300), 0);
}

}  // namespace
}  // namespace quorvik
