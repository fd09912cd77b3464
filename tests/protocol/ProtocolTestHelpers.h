// Helpers for the protocol tables: byte strings written as hex text, and the reply a mouse gives
// for a request that it echoes (reply byte k = request byte k+1, status 0).
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "base/Text.h"
#include "protocol/CommandPacket.h"

namespace quorvik::testing {

// "00 09 0F" -> {0x00, 0x09, 0x0F}; spaces are ignored.
inline std::vector<std::uint8_t> hexBytes(std::string_view text) {
    std::vector<std::uint8_t> out;
    std::string digits;
    for (char c : text)
        if (c != ' ') digits += c;
    for (std::size_t i = 0; i + 1 < digits.size(); i += 2)
        out.push_back(static_cast<std::uint8_t>(hexToLong(digits.substr(i, 2))));
    return out;
}

inline std::string hexText(std::span<const std::uint8_t> bytes) {
    std::string out;
    for (std::size_t i = 0; i < bytes.size(); ++i) out += (i ? " " : "") + format("%02X", bytes[i]);
    return out;
}

// The first `count` request bytes as hex text (the part a table names).
inline std::string head(const CommandPacket& packet, std::size_t count) {
    return hexText(packet.bytes().first(std::min(count, packet.size())));
}

// A 32-byte reply built from a request: the request without its report ID, status 0.
inline std::vector<std::uint8_t> echoReply(const CommandPacket& packet) {
    std::vector<std::uint8_t> reply(packet.bytes().begin() + 1, packet.bytes().begin() + kShortPacketSize);
    reply[1] = 0;
    return reply;
}

// A 32-byte reply with status 0 for `command` carrying `payload` from reply byte 4.
inline std::vector<std::uint8_t> replyWithPayload(std::uint8_t command,
                                                  std::span<const std::uint8_t> payload) {
    std::vector<std::uint8_t> reply(32, 0);
    reply[0] = command;
    for (std::size_t i = 0; i < payload.size() && 4 + i < reply.size(); ++i) reply[4 + i] = payload[i];
    return reply;
}

}  // namespace quorvik::testing
