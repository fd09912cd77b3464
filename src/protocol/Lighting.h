// Lighting on the wire: command 0x05 with a payload that depends on the light mode, the reset
// 0x0E, and the read 0x15 whose reply gives the mode and brightness/speed nibbles.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>

#include "protocol/CommandPacket.h"
#include "protocol/CommandReply.h"

namespace quorvik {

inline constexpr std::size_t kLightColorCount = 7;

// The light record fields the command uses (mode, brightness, speed, color_value1..7).
struct LightSettings {
    int mode = 0;
    int brightness = 0;
    int speed = 0;
    std::array<int, kLightColorCount> colors{};
};

// What the 0x15 reply says.
struct LightState {
    int mode = 0;
    int brightness = 0;
    int speed = 0;
};

// 0x05 by mode: 0, 4, 5 -> mode, level byte; 1 -> 1, level, 0; 2 -> 2, level, 7, seven colours;
// 3 -> 3, level, first colour; any other mode -> header with length 0. The level byte is
// (brightness << 4) | speed, each kept to its four bits.
CommandPacket encodeLighting(const LightSettings& light);
CommandPacket encodeLightingReset();
CommandPacket encodeLightingRead();
std::optional<LightState> decodeLightingRead(CommandReply reply);

}  // namespace quorvik
