// One vendor command as written to the mouse's command interface: report ID, command code,
// status, flags, length byte, up to 27 payload bytes and a checksum of the payload area.
// Every encoder of the protocol layer returns one of these, ready to hand to the transport.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace quorvik {

inline constexpr std::size_t kShortPacketSize = 33;
inline constexpr std::size_t kLongPacketSize = 65;
inline constexpr std::size_t kMaxPayloadSize = 27;

// Request byte positions; byte 0 is the report ID.
namespace requestByte {
inline constexpr std::size_t kReportId = 0;
inline constexpr std::size_t kCommand = 1;
inline constexpr std::size_t kStatus = 2;
inline constexpr std::size_t kFlags = 3;
inline constexpr std::size_t kLength = 4;
inline constexpr std::size_t kPayload = 5;
inline constexpr std::size_t kChecksum = 32;
static_assert(kPayload + kMaxPayloadSize == kChecksum);
}  // namespace requestByte

// Command codes: 0x02..0x0F write or act, 0x10 identify, 0x11..0x17 and 0x20 read.
enum class Command : std::uint8_t {
    ReportRate = 0x02,
    DpiStages = 0x03,
    DpiColors = 0x04,
    Lighting = 0x05,
    LiftOffSensor = 0x06,
    PowerOptions = 0x07,
    Macro = 0x08,
    KeyTable = 0x09,
    LightingReset = 0x0E,
    FactoryReset = 0x0F,
    Identify = 0x10,
    ReadBegin = 0x11,
    ReadReportRate = 0x12,
    ReadDpiStages = 0x13,
    ReadDpiColors = 0x14,
    ReadLighting = 0x15,
    ReadLiftOffSensor = 0x16,
    ReadPowerOptions = 0x17,
    ReadWirelessFirmware = 0x20,
};

// Byte 3 of a request: 0x01 for commands that write a setting, 0x00 for identify and reads.
// The macro upload reuses the byte for its chunk numbering.
inline constexpr std::uint8_t kFlagRead = 0x00;
inline constexpr std::uint8_t kFlagWrite = 0x01;

// Some commands travel in the 65-byte buffer (bytes 33..64 zero), the rest in 33 bytes.
enum class PacketSize : std::uint8_t { Short, Long };

// Sum of request bytes 5..31 modulo 256; bytes missing from a short span count as 0.
std::uint8_t packetChecksum(std::span<const std::uint8_t> requestBytes);

class CommandPacket {
public:
    CommandPacket() = default;

    // Header (report ID 0, command, status 0, flags, length byte), the payload from byte 5
    // (cut at 27 bytes so it never reaches the checksum), zeros after it, and the checksum.
    // The length byte is the command's own value, which is not always the payload size.
    static CommandPacket make(Command command, std::uint8_t flags, std::uint8_t lengthByte,
                              std::span<const std::uint8_t> payload, PacketSize size = PacketSize::Short);

    std::size_t size() const { return m_size; }
    std::span<const std::uint8_t> bytes() const { return {m_bytes.data(), m_size}; }
    std::uint8_t operator[](std::size_t index) const { return index < m_size ? m_bytes[index] : 0; }

    std::uint8_t command() const { return m_bytes[requestByte::kCommand]; }
    std::uint8_t flags() const { return m_bytes[requestByte::kFlags]; }
    std::uint8_t lengthByte() const { return m_bytes[requestByte::kLength]; }
    std::span<const std::uint8_t> payloadArea() const {
        return {m_bytes.data() + requestByte::kPayload, kMaxPayloadSize};
    }

    // Recomputes byte 32 from bytes 5..31.
    void sealChecksum();

private:
    std::array<std::uint8_t, kLongPacketSize> m_bytes{};
    std::size_t m_size = kShortPacketSize;
};

}  // namespace quorvik
