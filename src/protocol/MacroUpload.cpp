// Macro upload data and its chunking.
#include "protocol/MacroUpload.h"

#include <algorithm>

namespace quorvik {

std::vector<std::uint8_t> macroUploadData(int keyCode, std::span<const MacroEvent> events) {
    const std::size_t count = std::min(events.size(), kMaxUploadEvents);
    std::vector<std::uint8_t> data;
    data.reserve(1 + kMacroEventSize * count);
    data.push_back(static_cast<std::uint8_t>(keyCode & 0xFF));
    for (std::size_t i = 0; i < count; ++i) appendEventBytes(data, events[i]);
    return data;
}

std::vector<CommandPacket> macroUploadPackets(std::span<const std::uint8_t> data) {
    std::vector<CommandPacket> packets;
    if (data.size() <= kSingleMacroPacketLimit) {
        packets.push_back(
            CommandPacket::make(Command::Macro, kFlagWrite, static_cast<std::uint8_t>(data.size()), data));
        return packets;
    }
    const std::size_t carried = std::min(data.size(), kMaxMacroChunks * kMacroChunkSize);
    const std::size_t chunks = (carried + kMacroChunkSize - 1) / kMacroChunkSize;
    for (std::size_t i = 0; i < chunks; ++i) {
        const std::size_t from = i * kMacroChunkSize;
        const std::size_t length = std::min(kMacroChunkSize, carried - from);
        const auto flags = static_cast<std::uint8_t>((i << 4) | chunks);
        packets.push_back(CommandPacket::make(Command::Macro, flags, static_cast<std::uint8_t>(length),
                                              data.subspan(from, length)));
    }
    return packets;
}

}  // namespace quorvik
