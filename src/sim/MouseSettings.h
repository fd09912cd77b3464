// What a simulated mouse keeps in its own memory: the values its firmware
// stores from the vendor commands and reports back on the read commands. DPI
// stages are kept as the sensor's device codes, as real firmware keeps them.
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <vector>

namespace quorvik {

struct DpiStageCode {
    std::uint16_t x = 0;
    std::uint16_t y = 0;
    bool operator==(const DpiStageCode&) const = default;
};

struct LightingState {
    std::uint8_t mode = 0;
    std::uint8_t brightness = 0;   // 0..15, the high nibble on the wire
    std::uint8_t speed = 0;        // 0..15, the low nibble on the wire
    std::uint8_t colorCount = 0;   // colours the mode carries (mode 2: 7, mode 3: 1)
    std::array<std::uint32_t, 7> colors{};  // 24-bit, red in the low byte
    bool operator==(const LightingState&) const = default;
};

struct MouseSettings {
    static constexpr int kStageCount = 6;
    static constexpr int kKeyTableSize = 64;

    std::uint8_t reportRate = 1;  // 8 = 125 Hz, 4, 2, 1 = 1000 Hz, 0x10, 0x20, 0x40 = 8000 Hz
    std::uint8_t stageCount = 4;  // 1..6
    std::uint8_t currentStage = 0;
    std::array<DpiStageCode, kStageCount> stages{};
    std::array<std::uint32_t, kStageCount> stageColors{};
    std::uint8_t liftOff = 1;
    std::uint8_t sensorOption08 = 0;  // the sensor flag 0x08 as the wire carries it (0 or 1)
    std::uint8_t sensorOption04 = 0;  // the sensor flag 0x04
    std::uint8_t sleepLight = 0;
    std::uint8_t moveWakeup = 0;
    std::uint8_t moveCloseLight = 0;
    std::uint8_t buttonResponse = 0;
    std::array<std::uint8_t, kKeyTableSize> keyTable{};
    std::map<std::uint8_t, std::vector<std::uint8_t>> macros;  // key_code -> 4-byte events
    LightingState lighting;

    bool operator==(const MouseSettings&) const = default;
};

}  // namespace quorvik
