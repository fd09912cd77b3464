// The performance settings on the wire: write commands 0x02, 0x03, 0x04, 0x06, 0x07, 0x0F
// built from setting values, and the read replies 0x12, 0x13, 0x14, 0x16, 0x17, 0x20 decoded
// back to values. Values are the store's integers; each travels as one byte unless noted.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "protocol/CommandPacket.h"
#include "protocol/CommandReply.h"

namespace quorvik {

inline constexpr std::size_t kDpiStageCount = 6;

// Length bytes (byte 4) of the write commands. 0x03 says 0x25 although its payload is 25 bytes;
// the mouse expects exactly that value.
inline constexpr std::uint8_t kReportRateLength = 0x01;
inline constexpr std::uint8_t kDpiStagesLength = 0x25;
inline constexpr std::uint8_t kDpiColorsLength = 0x12;
inline constexpr std::uint8_t kLiftOffSensorLength = 0x05;
inline constexpr std::uint8_t kPowerOptionsLength = 0x04;
inline constexpr std::uint8_t kFactoryResetLength = 0x01;
inline constexpr std::uint8_t kFactoryResetValue = 0xFF;

// Payload layout of 0x03 (request bytes from 5; the 0x13 reply carries the same from reply byte 4).
inline constexpr std::size_t kStageNibblesOffset = 0;  // (current stage << 4) | stage count
inline constexpr std::size_t kStagesOffset = 1;        // stage n at 1 + 4n: X lo, X hi, Y lo, Y hi
inline constexpr std::size_t kStageSize = 4;
// Payload layout of 0x04 / 0x14: colour n at 3n, bits 0-7, 8-15, 16-23.
inline constexpr std::size_t kColorSize = 3;
// Sensor option bits of the stored flags that the mouse knows.
inline constexpr int kSensorFlag04 = 0x04;
inline constexpr int kSensorFlag08 = 0x08;

// Report-rate codes and their rates, both ways.
struct ReportRate {
    int hz;
    std::uint8_t code;
};
inline constexpr std::array<ReportRate, 7> kReportRates = {
    {{125, 0x08}, {250, 0x04}, {500, 0x02}, {1000, 0x01}, {2000, 0x10}, {4000, 0x20}, {8000, 0x40}}};
int reportRateHz(int code);  // 0 for an unknown code
int reportRateCode(int hz);  // 0 for an unknown rate

struct DpiStageSettings {
    int currentStage = 0;
    int stageCount = 0;
    std::array<int, kDpiStageCount> dpi{};
};

struct LiftOffSensor {
    int liftOff = 0;
    int sensorFlags = 0;
};

struct PowerOptions {
    int sleepLight = 0;
    int moveWakeup = 0;
    int moveCloseLight = 0;
    int buttonResponseTime = 0;
};

// What a 0x13 reply says. A stage whose code converts to less than 50 DPI is absent, so the
// stored value is kept.
struct DpiStagesRead {
    int stageCount = 0;
    int currentStage = 0;
    std::array<std::optional<int>, kDpiStageCount> dpi{};
};

CommandPacket encodeReportRate(int code);
// Each stage DPI is clamped to the sensor's limits and sent as its device code; stage and count
// are kept to their 4-bit fields so neither spills into the other.
CommandPacket encodeDpiStages(const DpiStageSettings& stages, int sensorId);
CommandPacket encodeDpiColors(const std::array<int, kDpiStageCount>& colors);
CommandPacket encodeLiftOffSensor(const LiftOffSensor& settings);
CommandPacket encodePowerOptions(const PowerOptions& options);
CommandPacket encodeFactoryReset();
// A read request: the command, flags 0, length 0, 33 bytes.
CommandPacket encodeReadRequest(Command command);

// Decoders take the reply as read; they give nothing for a reply whose status is not 0 or that
// is too short to hold what they read.
std::optional<int> decodeReportRate(CommandReply reply);
std::optional<DpiStagesRead> decodeDpiStages(CommandReply reply, int sensorId);
std::optional<std::array<int, kDpiStageCount>> decodeDpiColors(CommandReply reply);
std::optional<LiftOffSensor> decodeLiftOffSensor(CommandReply reply);
std::optional<PowerOptions> decodePowerOptions(CommandReply reply);
// The wireless mouse's firmware version text ("%X%02X" of reply bytes 4 and 5).
std::optional<std::string> decodeWirelessFirmware(CommandReply reply);

}  // namespace quorvik
