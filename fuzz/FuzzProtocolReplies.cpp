// Fuzzes the command reply decoders: the first input byte picks the sensor id, the rest is the
// reply as read. Checks what the decoders promise: no stage below 50 DPI, nibbles within 0..15,
// colours within 24 bits, and that decoded stages sent again read back the same.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <vector>

#include "protocol/CommandReply.h"
#include "protocol/DeviceInfoBlock.h"
#include "protocol/Lighting.h"
#include "protocol/SettingsCommands.h"

using namespace quorvik;

namespace {

void check(bool ok) {
    if (!ok) std::abort();
}

std::vector<std::uint8_t> echo(const CommandPacket& p) {
    std::vector<std::uint8_t> answer(p.bytes().begin() + 1, p.bytes().begin() + kShortPacketSize);
    answer[1] = 0;
    return answer;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const int sensor = data[0];
    const std::span<const std::uint8_t> bytes(data + 1, size - 1);
    const CommandReply asRead(bytes);

    const DeviceInfoBlock block = DeviceInfoBlock::fromReply(bytes);
    check(block.devId().size() <= 4 * 3);
    const int rates = reportRateCount(block.reportRateCapability());
    check(rates >= 4 && rates <= 7);
    const DpiLimits limits = dpiLimitsForSensor(block.sensorId());
    check(limits.minimum <= limits.maximum);

    if (auto rate = decodeReportRate(asRead)) check(*rate >= 0 && *rate <= 0xFF);
    if (auto stages = decodeDpiStages(asRead, sensor)) {
        check(stages->stageCount <= 15 && stages->currentStage <= 15);
        DpiStageSettings again;
        again.stageCount = stages->stageCount;
        again.currentStage = stages->currentStage;
        const DpiLimits sensorLimits = dpiLimitsForSensor(sensor);
        for (std::size_t n = 0; n < kDpiStageCount; ++n) {
            if (stages->dpi[n]) check(*stages->dpi[n] >= 50);
            again.dpi[n] = stages->dpi[n].value_or(sensorLimits.minimum);
        }
        const auto back = decodeDpiStages(CommandReply(echo(encodeDpiStages(again, sensor))), sensor);
        check(back.has_value());
        for (std::size_t n = 0; n < kDpiStageCount; ++n) {
            const int sent = std::clamp(again.dpi[n], sensorLimits.minimum, sensorLimits.maximum);
            if (stages->dpi[n] && *stages->dpi[n] == sent) check(back->dpi[n] == sent);
        }
    }
    if (auto colors = decodeDpiColors(asRead))
        for (int c : *colors) check(c >= 0 && c <= 0xFFFFFF);
    if (auto lift = decodeLiftOffSensor(asRead)) check((lift->sensorFlags & ~0x0C) == 0);
    if (auto power = decodePowerOptions(asRead)) check(power->buttonResponseTime <= 0xFF);
    if (auto firmware = decodeWirelessFirmware(asRead)) check(firmware->size() >= 3 && firmware->size() <= 4);
    if (auto light = decodeLightingRead(asRead)) check(light->brightness <= 15 && light->speed <= 15);
    return 0;
}
