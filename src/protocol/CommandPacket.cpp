// Building request buffers and their checksum.
#include "protocol/CommandPacket.h"

#include <algorithm>

namespace quorvik {

std::uint8_t packetChecksum(std::span<const std::uint8_t> requestBytes) {
    unsigned sum = 0;
    for (std::size_t i = requestByte::kPayload; i < requestByte::kChecksum && i < requestBytes.size(); ++i)
        sum += requestBytes[i];
    return static_cast<std::uint8_t>(sum & 0xFF);
}

CommandPacket CommandPacket::make(Command command, std::uint8_t flags, std::uint8_t lengthByte,
                                  std::span<const std::uint8_t> payload, PacketSize size) {
    CommandPacket packet;
    packet.m_size = size == PacketSize::Long ? kLongPacketSize : kShortPacketSize;
    packet.m_bytes[requestByte::kReportId] = 0x00;
    packet.m_bytes[requestByte::kCommand] = static_cast<std::uint8_t>(command);
    packet.m_bytes[requestByte::kStatus] = 0x00;
    packet.m_bytes[requestByte::kFlags] = flags;
    packet.m_bytes[requestByte::kLength] = lengthByte;
    const std::size_t count = std::min(payload.size(), kMaxPayloadSize);
    std::copy_n(payload.begin(), count, packet.m_bytes.begin() + requestByte::kPayload);
    packet.sealChecksum();
    return packet;
}

void CommandPacket::sealChecksum() {
    m_bytes[requestByte::kChecksum] = packetChecksum({m_bytes.data(), kShortPacketSize});
}

}  // namespace quorvik
