// Reading the identity block and the per-capability numbers derived from it.
#include "protocol/DeviceInfoBlock.h"

#include <algorithm>

#include "base/Text.h"
#include "protocol/CommandReply.h"

namespace quorvik {
namespace {

struct RateCapability {
    std::uint8_t capability;
    int rateCount;
};
constexpr std::array<RateCapability, 3> kRateCapabilities = {{{0x10, 5}, {0x20, 6}, {0x40, 7}}};
constexpr int kBasicRateCount = 4;

}  // namespace

DeviceInfoBlock DeviceInfoBlock::fromReply(std::span<const std::uint8_t> replyBytes) {
    DeviceInfoBlock block;
    std::copy_n(replyBytes.begin(), std::min(replyBytes.size(), replyByte::kSize), block.m_bytes.begin());
    return block;
}

std::string DeviceInfoBlock::devId() const {
    std::string text;
    for (std::size_t i = 0; i < infoByte::kDevIdLength; ++i) {
        const std::uint8_t b = m_bytes[infoByte::kDevId + i];
        if (b == 0) break;
        appendUtf8(text, b < 0x80 ? char32_t{b} : char32_t{0xFF00u | b});
    }
    return text;
}

std::uint16_t DeviceInfoBlock::keptValue() const {
    return static_cast<std::uint16_t>(m_bytes[infoByte::kKept16] | (m_bytes[infoByte::kKept16 + 1] << 8));
}

CommandPacket identifyRequest() {
    return CommandPacket::make(Command::Identify, kFlagRead, 0, {});
}

int reportRateCount(std::uint8_t capability) {
    for (const auto& r : kRateCapabilities)
        if (r.capability == capability) return r.rateCount;
    return kBasicRateCount;
}

DpiLimits dpiLimitsForSensor(int sensorId) {
    return sensorProfile(sensorId).limits;
}

}  // namespace quorvik
