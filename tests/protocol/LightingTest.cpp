// Lighting payloads by mode and the lighting read reply.
#include "protocol/Lighting.h"

#include <gtest/gtest.h>

#include "ProtocolTestHelpers.h"

namespace quorvik {
namespace {

using testing::head;
using testing::hexBytes;
using testing::hexText;

LightSettings light(int mode, int brightness, int speed) {
    LightSettings l;
    l.mode = mode;
    l.brightness = brightness;
    l.speed = speed;
    l.colors = {0x0000FF, 0x00FF00, 0xFF0000, 0x123456, 0x000001, 0x010000, 0xFFFFFF};
    return l;
}

TEST(Lighting, PayloadByMode) {
    struct Case {
        const char* name = "";
        LightSettings light;
        const char* bytes = "";
        // clang-format off
    } cases[] = {
        {"mode 0", light(0, 3, 2), "00 05 00 01 02 00 32"},
        {"mode 1", light(1, 15, 15), "00 05 00 01 03 01 FF 00"},
        {"mode 2 sends 24 payload bytes", light(2, 1, 4),
         "00 05 00 01 18 02 14 07 FF 00 00 00 FF 00 00 00 FF 56 34 12 01 00 00 00 00 01 FF FF FF"},
        {"mode 3 sends the first colour", light(3, 5, 0), "00 05 00 01 05 03 50 FF 00 00"},
        {"mode 4", light(4, 0, 9), "00 05 00 01 02 04 09"},
        {"mode 5", light(5, 2, 2), "00 05 00 01 02 05 22"},
        {"mode 6: header only", light(6, 2, 2), "00 05 00 01 00"},
        {"mode 7: header only", light(7, 2, 2), "00 05 00 01 00"},
        {"negative mode: header only", light(-1, 2, 2), "00 05 00 01 00"},
        {"brightness and speed keep to their nibbles", light(0, 0x13, 0x1F), "00 05 00 01 02 00 3F"},
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const CommandPacket p = encodeLighting(c.light);
        const auto expected = hexBytes(c.bytes);
        EXPECT_EQ(p.size(), 65u);
        EXPECT_EQ(head(p, expected.size()), hexText(expected));
        for (std::size_t i = expected.size(); i < 32; ++i) EXPECT_EQ(p[i], 0) << i;
        EXPECT_EQ(p[32], packetChecksum(p.bytes()));
    }
}

TEST(Lighting, ResetAndReadRequests) {
    EXPECT_EQ(head(encodeLightingReset(), 6), "00 0E 00 01 01 01");
    EXPECT_EQ(encodeLightingReset().size(), 33u);
    EXPECT_EQ(encodeLightingReset()[32], 0x01);
    EXPECT_EQ(head(encodeLightingRead(), 5), "00 15 00 00 00");
    EXPECT_EQ(encodeLightingRead().size(), 33u);
}

TEST(Lighting, ReadReply) {
    const auto reply = testing::replyWithPayload(0x15, hexBytes("02 A3"));
    const auto state = decodeLightingRead(CommandReply(reply));
    ASSERT_TRUE(state);
    EXPECT_EQ(state->mode, 2);
    EXPECT_EQ(state->brightness, 10);
    EXPECT_EQ(state->speed, 3);

    auto busy = reply;
    busy[1] = 2;
    EXPECT_FALSE(decodeLightingRead(CommandReply(busy)));
    const auto cut = hexBytes("15 00 00 00 02");
    EXPECT_FALSE(decodeLightingRead(CommandReply(cut)));
}

TEST(Lighting, LevelRoundTrip) {
    for (int brightness = 0; brightness < 16; ++brightness)
        for (int speed = 0; speed < 16; ++speed)
            for (int mode : {0, 1, 2, 3, 4, 5}) {
                const auto state = decodeLightingRead(
                    CommandReply(testing::echoReply(encodeLighting(light(mode, brightness, speed)))));
                ASSERT_TRUE(state);
                ASSERT_EQ(state->mode, mode);
                ASSERT_EQ(state->brightness, brightness);
                ASSERT_EQ(state->speed, speed);
            }
}

}  // namespace
}  // namespace quorvik
