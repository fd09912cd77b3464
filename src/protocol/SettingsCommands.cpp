// Encoders and decoders of the performance settings commands.
#include "protocol/SettingsCommands.h"

#include <algorithm>

#include "protocol/DeviceInfoBlock.h"
#include "protocol/DpiScale.h"
#include "protocol/FirmwareVersion.h"

namespace quorvik {
namespace {

using Payload = std::array<std::uint8_t, kMaxPayloadSize>;

std::uint8_t lowByte(int v) {
    return static_cast<std::uint8_t>(v & 0xFF);
}

void putColor(Payload& p, std::size_t at, int color) {
    p[at] = lowByte(color);
    p[at + 1] = lowByte(color >> 8);
    p[at + 2] = lowByte(color >> 16);
}

std::optional<CommandReply> usable(CommandReply reply, std::size_t payloadBytes) {
    if (!reply.isSuccess() || !reply.hasPayload(payloadBytes)) return std::nullopt;
    return reply;
}

}  // namespace

int reportRateHz(int code) {
    for (const auto& r : kReportRates)
        if (r.code == code) return r.hz;
    return 0;
}

int reportRateCode(int hz) {
    for (const auto& r : kReportRates)
        if (r.hz == hz) return r.code;
    return 0;
}

CommandPacket encodeReportRate(int code) {
    const std::array<std::uint8_t, 1> payload = {lowByte(code)};
    return CommandPacket::make(Command::ReportRate, kFlagWrite, kReportRateLength, payload, PacketSize::Long);
}

CommandPacket encodeDpiStages(const DpiStageSettings& stages, int sensorId) {
    const DpiLimits limits = dpiLimitsForSensor(sensorId);
    Payload p{};
    p[kStageNibblesOffset] =
        static_cast<std::uint8_t>(((stages.currentStage & 0x0F) << 4) | (stages.stageCount & 0x0F));
    for (std::size_t n = 0; n < kDpiStageCount; ++n) {
        const int dpi = std::clamp(stages.dpi[n], limits.minimum, limits.maximum);
        const int code = dpiToDeviceCode(sensorId, dpi);
        const std::size_t at = kStagesOffset + kStageSize * n;
        p[at] = lowByte(code);
        p[at + 1] = lowByte(code >> 8);
        p[at + 2] = lowByte(code);
        p[at + 3] = lowByte(code >> 8);
    }
    return CommandPacket::make(Command::DpiStages, kFlagWrite, kDpiStagesLength, p);
}

CommandPacket encodeDpiColors(const std::array<int, kDpiStageCount>& colors) {
    Payload p{};
    for (std::size_t n = 0; n < kDpiStageCount; ++n) putColor(p, kColorSize * n, colors[n]);
    return CommandPacket::make(Command::DpiColors, kFlagWrite, kDpiColorsLength,
                               std::span(p).first(kColorSize * kDpiStageCount), PacketSize::Long);
}

CommandPacket encodeLiftOffSensor(const LiftOffSensor& settings) {
    const std::array<std::uint8_t, 5> payload = {
        lowByte(settings.liftOff), static_cast<std::uint8_t>((settings.sensorFlags & kSensorFlag08) ? 1 : 0),
        static_cast<std::uint8_t>((settings.sensorFlags & kSensorFlag04) ? 1 : 0), 0, 0};
    return CommandPacket::make(Command::LiftOffSensor, kFlagWrite, kLiftOffSensorLength, payload,
                               PacketSize::Long);
}

CommandPacket encodePowerOptions(const PowerOptions& options) {
    const std::array<std::uint8_t, 4> payload = {lowByte(options.sleepLight), lowByte(options.moveWakeup),
                                                 lowByte(options.moveCloseLight),
                                                 lowByte(options.buttonResponseTime)};
    return CommandPacket::make(Command::PowerOptions, kFlagWrite, kPowerOptionsLength, payload,
                               PacketSize::Long);
}

CommandPacket encodeFactoryReset() {
    const std::array<std::uint8_t, 1> payload = {kFactoryResetValue};
    return CommandPacket::make(Command::FactoryReset, kFlagWrite, kFactoryResetLength, payload);
}

CommandPacket encodeReadRequest(Command command) {
    return CommandPacket::make(command, kFlagRead, 0, {});
}

std::optional<int> decodeReportRate(CommandReply reply) {
    if (!usable(reply, 1)) return std::nullopt;
    return reply.payload(0);
}

std::optional<DpiStagesRead> decodeDpiStages(CommandReply reply, int sensorId) {
    if (!usable(reply, kStagesOffset + kStageSize * kDpiStageCount)) return std::nullopt;
    DpiStagesRead read;
    read.stageCount = reply.payload(kStageNibblesOffset) & 0x0F;
    read.currentStage = reply.payload(kStageNibblesOffset) >> 4;
    for (std::size_t n = 0; n < kDpiStageCount; ++n) {
        const std::size_t at = kStagesOffset + kStageSize * n;
        const int code = reply.payload(at) | (reply.payload(at + 1) << 8);
        const int dpi = deviceCodeToDpi(sensorId, code);
        if (dpi >= 50) read.dpi[n] = dpi;
    }
    return read;
}

std::optional<std::array<int, kDpiStageCount>> decodeDpiColors(CommandReply reply) {
    if (!usable(reply, kColorSize * kDpiStageCount)) return std::nullopt;
    std::array<int, kDpiStageCount> colors{};
    for (std::size_t n = 0; n < kDpiStageCount; ++n) {
        const std::size_t at = kColorSize * n;
        colors[n] = (reply.payload(at + 2) << 16) | (reply.payload(at + 1) << 8) | reply.payload(at);
    }
    return colors;
}

std::optional<LiftOffSensor> decodeLiftOffSensor(CommandReply reply) {
    if (!usable(reply, 3)) return std::nullopt;
    LiftOffSensor s;
    s.liftOff = reply.payload(0);
    s.sensorFlags = (reply.payload(2) == 1 ? kSensorFlag04 : 0) | (reply.payload(1) == 1 ? kSensorFlag08 : 0);
    return s;
}

std::optional<PowerOptions> decodePowerOptions(CommandReply reply) {
    if (!usable(reply, 4)) return std::nullopt;
    return PowerOptions{reply.payload(0), reply.payload(1), reply.payload(2), reply.payload(3)};
}

std::optional<std::string> decodeWirelessFirmware(CommandReply reply) {
    if (!usable(reply, 2)) return std::nullopt;
    return wirelessFirmwareText(reply.payload(0), reply.payload(1));
}

}  // namespace quorvik
