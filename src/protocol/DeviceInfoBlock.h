// The identity block: the 65-byte buffer of the identify command (0x10) after its reply. It names
// the model (dev_id), the sensor, the report-rate capability, the battery and whether the
// wireless mouse behind a receiver is online. Also the limits and counts derived from it.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "protocol/CommandPacket.h"
#include "protocol/SensorTable.h"

namespace quorvik {

// Byte positions in the block (reply positions: no report ID).
namespace infoByte {
inline constexpr std::size_t kSize = 65;
inline constexpr std::size_t kDevId = 4;  // four characters, 4..7
inline constexpr std::size_t kDevIdLength = 4;
inline constexpr std::size_t kKept16 = 8;  // little-endian value kept but unused, 8..9
inline constexpr std::size_t kSensorId = 10;
inline constexpr std::size_t kReportRateCapability = 11;
inline constexpr std::size_t kChargingState = 12;
inline constexpr std::size_t kBatteryLevel = 13;
inline constexpr std::size_t kMouseOnline = 14;
}  // namespace infoByte

class DeviceInfoBlock {
public:
    DeviceInfoBlock() = default;

    // The block of a reply: the reply's 32 bytes (fewer when it is shorter); the rest stays 0,
    // as it does when identify reads its reply into the zeroed block.
    static DeviceInfoBlock fromReply(std::span<const std::uint8_t> replyBytes);

    std::span<const std::uint8_t> bytes() const { return m_bytes; }

    // dev_id as text: each byte one character, bytes 0x80 and up sign-extended as a 16-bit
    // character would be (U+FF80..U+FFFF); a NUL byte ends the text.
    std::string devId() const;
    std::uint16_t keptValue() const;
    std::uint8_t sensorId() const { return m_bytes[infoByte::kSensorId]; }
    std::uint8_t reportRateCapability() const { return m_bytes[infoByte::kReportRateCapability]; }
    std::uint8_t chargingState() const { return m_bytes[infoByte::kChargingState]; }
    std::uint8_t batteryLevel() const { return m_bytes[infoByte::kBatteryLevel]; }
    bool mouseOnline() const { return m_bytes[infoByte::kMouseOnline] != 0; }

private:
    std::array<std::uint8_t, infoByte::kSize> m_bytes{};
};

// The identify request: 00 10 00 00 00, zeros, checksum 0.
CommandPacket identifyRequest();

// Report rates the program offers for the capability byte: 5 for 0x10, 6 for 0x20, 7 for 0x40,
// otherwise the four rates up to 1000 Hz.
int reportRateCount(std::uint8_t capability);

// DPI range a stage is clamped to before it is sent, by sensor id.
DpiLimits dpiLimitsForSensor(int sensorId);

}  // namespace quorvik
