// Uploading a macro into a button's slot with command 0x08: the data is the button's key_code
// byte followed by the events, sent in one request when it fits in 25 bytes, otherwise in chunks
// of 27 bytes numbered in byte 3 as (chunk << 4) | chunk count.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "protocol/CommandPacket.h"
#include "protocol/MacroEvents.h"

namespace quorvik {

inline constexpr std::size_t kSingleMacroPacketLimit = 25;  // data up to this goes in one request
inline constexpr std::size_t kMacroChunkSize = 27;
// Chunk number and count share byte 3, four bits each, so at most 15 chunks: 405 bytes, which
// is the key_code byte and 101 events.
inline constexpr std::size_t kMaxMacroChunks = 15;
inline constexpr std::size_t kMaxUploadEvents = (kMaxMacroChunks * kMacroChunkSize - 1) / kMacroEventSize;

// key_code (low byte), then 4 bytes per event; events past what the upload can carry are left out.
std::vector<std::uint8_t> macroUploadData(int keyCode, std::span<const MacroEvent> events);

// The requests that carry the data, in order. Data longer than 15 chunks is cut to 15.
std::vector<CommandPacket> macroUploadPackets(std::span<const std::uint8_t> data);

}  // namespace quorvik
