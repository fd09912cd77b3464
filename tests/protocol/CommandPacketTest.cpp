// Request layout, checksum and the reply view.
#include "protocol/CommandPacket.h"
#include "protocol/CommandReply.h"

#include <gtest/gtest.h>

#include "ProtocolTestHelpers.h"

namespace quorvik {
namespace {

using testing::hexBytes;
using testing::hexText;

TEST(PacketChecksum, SumsPayloadAreaOnly) {
    struct Case {
        const char* name;
        std::vector<std::uint8_t> bytes;
        std::uint8_t expected;
    };
    std::vector<std::uint8_t> zeros(33, 0);
    std::vector<std::uint8_t> ffThen02 = zeros;
    ffThen02[5] = 0xFF;
    ffThen02[6] = 0x02;
    std::vector<std::uint8_t> header = zeros;  // bytes 0..4 and 32 are not covered
    header[1] = 0x77;
    header[3] = 0x01;
    header[4] = 0x25;
    header[32] = 0x99;
    std::vector<std::uint8_t> allOnes(33, 0x01);
    std::vector<std::uint8_t> wraps = zeros;
    for (int i = 5; i < 32; ++i) wraps[i] = 0xFF;    // 27 * 255 = 6885 = 0x1AE5
    std::vector<std::uint8_t> longBuffer(65, 0x10);  // bytes past 31 never count
    const Case cases[] = {
        {"all zero payload", zeros, 0x00},
        {"FF + 02 wraps to 01", ffThen02, 0x01},
        {"header and checksum byte ignored", header, 0x00},
        {"27 ones", allOnes, 27},
        {"all FF", wraps, 0xE5},
        {"65-byte buffer", longBuffer, static_cast<std::uint8_t>(27 * 0x10)},
        {"short span reads missing bytes as 0", hexBytes("00 02 00 01 01 08"), 0x08},
        {"empty", {}, 0x00},
    };
    for (const auto& c : cases) EXPECT_EQ(packetChecksum(c.bytes), c.expected) << c.name;
}

TEST(CommandPacket, MakeLaysOutHeaderPayloadAndChecksum) {
    const auto payload = hexBytes("FF 02 03");
    const CommandPacket p =
        CommandPacket::make(Command::DpiColors, kFlagWrite, 0x12, payload, PacketSize::Long);
    ASSERT_EQ(p.size(), kLongPacketSize);
    EXPECT_EQ(testing::head(p, 8), "00 04 00 01 12 FF 02 03");
    EXPECT_EQ(p[32], 0x04);
    for (std::size_t i = 8; i < 32; ++i) EXPECT_EQ(p[i], 0) << i;
    for (std::size_t i = 33; i < kLongPacketSize; ++i) EXPECT_EQ(p[i], 0) << i;

    const CommandPacket shortOne = CommandPacket::make(Command::Identify, kFlagRead, 0, {});
    EXPECT_EQ(shortOne.size(), kShortPacketSize);
    EXPECT_EQ(hexText(shortOne.bytes()), hexText(std::vector<std::uint8_t>(33, 0)).replace(3, 2, "10"));
}

TEST(CommandPacket, PayloadNeverReachesTheChecksumByte) {
    const std::vector<std::uint8_t> tooLong(40, 0x01);
    const CommandPacket p = CommandPacket::make(Command::Macro, kFlagWrite, 27, tooLong);
    EXPECT_EQ(p[31], 0x01);
    EXPECT_EQ(p[32], 27);  // the checksum, not a payload byte
    EXPECT_EQ(p[33], 0);   // outside the 33-byte buffer
}

TEST(CommandReply, StatusAndPayloadBounds) {
    const auto ok = hexBytes("12 00 00 01 08");
    const CommandReply r(ok);
    EXPECT_TRUE(r.isSuccess());
    EXPECT_TRUE(r.hasPayload(1));
    EXPECT_FALSE(r.hasPayload(2));
    EXPECT_EQ(r.payload(0), 0x08);

    const auto busy = hexBytes("12 01 00 01 08");
    EXPECT_FALSE(CommandReply(busy).isSuccess());
    const auto oneByte = hexBytes("12");
    EXPECT_FALSE(CommandReply(oneByte).isSuccess());
    EXPECT_FALSE(CommandReply({}).hasPayload(1));
}

}  // namespace
}  // namespace quorvik
