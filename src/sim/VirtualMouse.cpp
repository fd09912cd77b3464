// Command handling of the simulated firmware. request[k] is request byte k (byte 0 the report
// ID) and reply byte k answers request byte k + 1. Each command is checked as firmware checks it
// (checksum, write flag, length byte, value ranges) and refused with a non-zero status otherwise.
#include "sim/VirtualMouse.h"

#include <algorithm>

namespace quorvik {

namespace {

constexpr std::size_t kChecksumByte = 32;
constexpr std::size_t kPayloadStart = 5;
constexpr std::size_t kPayloadEnd = 31;  // inclusive
constexpr std::size_t kMaxChunkLength = 27;
constexpr std::size_t kReplyPayloadStart = 4;
constexpr std::size_t kReplyChecksumByte = 31;
// Chunk index and chunk count share request byte 3 (four bits each).
constexpr int kMaxMacroChunks = 15;

std::uint8_t requestChecksum(std::span<const std::uint8_t> request) {
    unsigned sum = 0;
    for (std::size_t i = kPayloadStart; i <= kPayloadEnd; ++i) sum += request[i];
    return static_cast<std::uint8_t>(sum & 0xFF);
}

void putColor(std::uint8_t* at, std::uint32_t color) {
    at[0] = static_cast<std::uint8_t>(color & 0xFF);
    at[1] = static_cast<std::uint8_t>((color >> 8) & 0xFF);
    at[2] = static_cast<std::uint8_t>((color >> 16) & 0xFF);
}

std::uint32_t takeColor(const std::uint8_t* at) {
    return static_cast<std::uint32_t>(at[0]) | (static_cast<std::uint32_t>(at[1]) << 8) |
           (static_cast<std::uint32_t>(at[2]) << 16);
}

}  // namespace

// clang-format off
const VirtualMouse::CommandRule VirtualMouse::kCommands[] = {
    {0x02, 0x01, 0x01, true,  &VirtualMouse::setReportRate},
    {0x03, 0x01, 0x25, true,  &VirtualMouse::setDpiStages},
    {0x04, 0x01, 0x12, true,  &VirtualMouse::setDpiColors},
    {0x05, 0x01, -1,   true,  &VirtualMouse::setLighting},
    {0x06, 0x01, 0x05, true,  &VirtualMouse::setLiftOff},
    {0x07, 0x01, 0x04, true,  &VirtualMouse::setPowerOptions},
    {0x08, 0xFF, -1,   true,  &VirtualMouse::uploadMacro},   // byte 3 is the chunk byte
    {0x09, 0x01, 0x0F, true,  &VirtualMouse::setKeyTable},
    {0x0E, 0x01, 0x01, true,  &VirtualMouse::resetLighting},
    {0x0F, 0x01, 0x01, true,  &VirtualMouse::factoryReset},
    {0x10, 0x00, 0x00, false, &VirtualMouse::identify},
    {0x11, 0x00, 0x00, false, &VirtualMouse::readStart},
    {0x12, 0x00, 0x00, false, &VirtualMouse::readReportRate},
    {0x13, 0x00, 0x00, false, &VirtualMouse::readDpiStages},
    {0x14, 0x00, 0x00, false, &VirtualMouse::readDpiColors},
    {0x15, 0x00, 0x00, false, &VirtualMouse::readLighting},
    {0x16, 0x00, 0x00, false, &VirtualMouse::readLiftOff},
    {0x17, 0x00, 0x00, false, &VirtualMouse::readPowerOptions},
    {0x20, 0x00, 0x00, false, &VirtualMouse::readMouseFirmware},
};
// clang-format on

VirtualMouse::VirtualMouse(const VirtualMouseConfig& config)
    : m_config(config),
      m_settings(config.factory),
      m_online(config.mode == ConnectionMode::Wired || config.mouseOnline),
      m_battery(config.battery),
      m_charging(config.charging) {}

std::optional<VirtualMouse::Report> VirtualMouse::handleCommand(
    std::span<const std::uint8_t> request) {
    if (request.size() <= kChecksumByte) return std::nullopt;
    const std::uint8_t code = request[1];
    // Behind a receiver whose mouse is off only the receiver itself answers,
    // and it knows identify alone.
    if (!m_online && code != 0x10) return std::nullopt;

    Reply reply{};
    reply[0] = code;
    const CommandRule* rule = nullptr;
    for (const CommandRule& r : kCommands)
        if (r.code == code) rule = &r;

    std::uint8_t status = kStatusOk;
    if (rule == nullptr) {
        status = kStatusUnknownCommand;
    } else if (requestChecksum(request) != request[kChecksumByte]) {
        status = kStatusBadChecksum;
    } else if ((rule->writeFlag != 0xFF && request[3] != rule->writeFlag) ||
               (rule->length >= 0 && request[4] != rule->length)) {
        status = kStatusBadValue;
    } else {
        if (rule->echoesRequest)
            std::copy(request.begin() + 1, request.begin() + 1 + kInputReportSize, reply.begin());
        status = (this->*(rule->handler))(request, reply);
    }
    if (status != kStatusOk && rule != nullptr && rule->echoesRequest) {
        // A refused write echoes only its header.
        std::fill(reply.begin() + kReplyPayloadStart, reply.end(), 0);
        reply[0] = code;
        reply[2] = request[3];
        reply[3] = request[4];
    }
    reply[1] = status;
    unsigned sum = 0;
    for (std::size_t i = kReplyPayloadStart; i < kReplyChecksumByte; ++i) sum += reply[i];
    reply[kReplyChecksumByte] = static_cast<std::uint8_t>(sum & 0xFF);
    return Report(reply.begin(), reply.end());
}

bool VirtualMouse::acceptsReportRate(std::uint8_t code) const {
    switch (code) {
        case 0x08: case 0x04: case 0x02: case 0x01: return true;
        case 0x10: case 0x20: case 0x40: break;
        default: return false;
    }
    const std::uint8_t highest = m_config.reportRateCapability;
    if (highest != 0x10 && highest != 0x20 && highest != 0x40) return false;
    return code <= highest;
}

std::uint8_t VirtualMouse::identify(std::span<const std::uint8_t>, Reply& reply) {
    reply[2] = 0x00;
    reply[3] = 11;
    for (std::size_t i = 0; i < 4 && i < m_config.devId.size(); ++i)
        reply[4 + i] = static_cast<std::uint8_t>(m_config.devId[i]);
    reply[8] = static_cast<std::uint8_t>(m_config.infoValue & 0xFF);
    reply[9] = static_cast<std::uint8_t>(m_config.infoValue >> 8);
    reply[10] = m_config.sensorId;
    reply[11] = m_config.reportRateCapability;
    reply[12] = m_online ? m_charging : 0;
    reply[13] = m_online ? m_battery : 0;
    reply[14] = m_online ? 1 : 0;
    return kStatusOk;
}

std::uint8_t VirtualMouse::setReportRate(std::span<const std::uint8_t> request, Reply&) {
    if (!acceptsReportRate(request[5])) return kStatusBadValue;
    m_settings.reportRate = request[5];
    return kStatusOk;
}

std::uint8_t VirtualMouse::setDpiStages(std::span<const std::uint8_t> request, Reply&) {
    const int count = request[5] & 0x0F;
    const int current = request[5] >> 4;
    if (count < 1 || count > MouseSettings::kStageCount || current >= count) return kStatusBadValue;
    m_settings.stageCount = static_cast<std::uint8_t>(count);
    m_settings.currentStage = static_cast<std::uint8_t>(current);
    for (int n = 0; n < MouseSettings::kStageCount; ++n) {
        const std::uint8_t* at = &request[6 + 4 * n];
        m_settings.stages[n].x = static_cast<std::uint16_t>(at[0] | (at[1] << 8));
        m_settings.stages[n].y = static_cast<std::uint16_t>(at[2] | (at[3] << 8));
    }
    return kStatusOk;
}

std::uint8_t VirtualMouse::setDpiColors(std::span<const std::uint8_t> request, Reply&) {
    for (int n = 0; n < MouseSettings::kStageCount; ++n)
        m_settings.stageColors[n] = takeColor(&request[5 + 3 * n]);
    return kStatusOk;
}

std::uint8_t VirtualMouse::setLighting(std::span<const std::uint8_t> request, Reply&) {
    const std::uint8_t length = request[4];
    // A header without payload changes nothing (the modes from 6 up carry none).
    if (length == 0) return kStatusOk;
    const std::uint8_t mode = request[5];
    LightingState light = m_settings.lighting;
    light.mode = mode;
    light.brightness = request[6] >> 4;
    light.speed = request[6] & 0x0F;
    switch (mode) {
        case 0: case 4: case 5:
            if (length != 2) return kStatusBadValue;
            light.colorCount = 0;
            break;
        case 1:
            if (length != 3) return kStatusBadValue;
            light.colorCount = 0;
            break;
        case 2:
            if (length != 0x18 || request[7] != 7) return kStatusBadValue;
            light.colorCount = 7;
            for (int n = 0; n < 7; ++n) light.colors[n] = takeColor(&request[8 + 3 * n]);
            break;
        case 3:
            if (length != 5) return kStatusBadValue;
            light.colorCount = 1;
            light.colors[0] = takeColor(&request[7]);
            break;
        default:
            return kStatusBadValue;
    }
    m_settings.lighting = light;
    return kStatusOk;
}

std::uint8_t VirtualMouse::setLiftOff(std::span<const std::uint8_t> request, Reply&) {
    if (request[6] > 1 || request[7] > 1) return kStatusBadValue;
    m_settings.liftOff = request[5];
    m_settings.sensorOption08 = request[6];
    m_settings.sensorOption04 = request[7];
    return kStatusOk;
}

std::uint8_t VirtualMouse::setPowerOptions(std::span<const std::uint8_t> request, Reply&) {
    m_settings.sleepLight = request[5];
    m_settings.moveWakeup = request[6];
    m_settings.moveCloseLight = request[7];
    m_settings.buttonResponse = request[8];
    return kStatusOk;
}

std::uint8_t VirtualMouse::uploadMacro(std::span<const std::uint8_t> request, Reply&) {
    const int index = request[3] >> 4;
    const int count = request[3] & 0x0F;
    const std::size_t length = request[4];
    const bool fits = count >= 1 && count <= kMaxMacroChunks && index < count && length >= 1 &&
                      length <= kMaxChunkLength;
    if (index == 0) {
        m_macroData.clear();
        m_macroChunkCount = count;
        m_macroNextChunk = 0;
    }
    if (!fits || m_macroChunkCount != count || m_macroNextChunk != index) {
        // Out of order or malformed: the upload in progress is dropped.
        m_macroData.clear();
        m_macroChunkCount = 0;
        m_macroNextChunk = 0;
        return kStatusBadValue;
    }
    m_macroData.insert(m_macroData.end(), request.begin() + 5, request.begin() + 5 + length);
    ++m_macroNextChunk;
    if (m_macroNextChunk < m_macroChunkCount) return kStatusOk;

    std::vector<std::uint8_t> data = std::move(m_macroData);
    m_macroData.clear();
    m_macroChunkCount = 0;
    m_macroNextChunk = 0;
    // Key code, then whole 4-byte events.
    if ((data.size() - 1) % 4 != 0) return kStatusBadValue;
    m_settings.macros[data[0]] = std::vector<std::uint8_t>(data.begin() + 1, data.end());
    return kStatusOk;
}

std::uint8_t VirtualMouse::setKeyTable(std::span<const std::uint8_t> request, Reply&) {
    // The packet carries the first 27 bytes of the table: buttons 0 to 8.
    std::copy(request.begin() + 5, request.begin() + 5 + 27, m_settings.keyTable.begin());
    return kStatusOk;
}

std::uint8_t VirtualMouse::resetLighting(std::span<const std::uint8_t> request, Reply&) {
    if (request[5] != 0x01) return kStatusBadValue;
    m_settings.lighting = m_config.factory.lighting;
    return kStatusOk;
}

std::uint8_t VirtualMouse::factoryReset(std::span<const std::uint8_t> request, Reply&) {
    if (request[5] != 0xFF) return kStatusBadValue;
    m_settings = m_config.factory;
    m_macroData.clear();
    m_macroChunkCount = 0;
    m_macroNextChunk = 0;
    return kStatusOk;
}

std::uint8_t VirtualMouse::readStart(std::span<const std::uint8_t>, Reply&) { return kStatusOk; }

std::uint8_t VirtualMouse::readReportRate(std::span<const std::uint8_t>, Reply& reply) {
    reply[3] = 1;
    reply[4] = m_settings.reportRate;
    return kStatusOk;
}

std::uint8_t VirtualMouse::readDpiStages(std::span<const std::uint8_t>, Reply& reply) {
    reply[3] = 0x25;
    reply[4] = static_cast<std::uint8_t>((m_settings.currentStage << 4) | m_settings.stageCount);
    for (int n = 0; n < MouseSettings::kStageCount; ++n) {
        std::uint8_t* at = &reply[5 + 4 * n];
        at[0] = static_cast<std::uint8_t>(m_settings.stages[n].x & 0xFF);
        at[1] = static_cast<std::uint8_t>(m_settings.stages[n].x >> 8);
        at[2] = static_cast<std::uint8_t>(m_settings.stages[n].y & 0xFF);
        at[3] = static_cast<std::uint8_t>(m_settings.stages[n].y >> 8);
    }
    return kStatusOk;
}

std::uint8_t VirtualMouse::readDpiColors(std::span<const std::uint8_t>, Reply& reply) {
    reply[3] = 0x12;
    for (int n = 0; n < MouseSettings::kStageCount; ++n)
        putColor(&reply[4 + 3 * n], m_settings.stageColors[n]);
    return kStatusOk;
}

std::uint8_t VirtualMouse::readLighting(std::span<const std::uint8_t>, Reply& reply) {
    const LightingState& light = m_settings.lighting;
    reply[3] = 2;
    reply[4] = light.mode;
    reply[5] = static_cast<std::uint8_t>(((light.brightness & 0x0F) << 4) | (light.speed & 0x0F));
    return kStatusOk;
}

std::uint8_t VirtualMouse::readLiftOff(std::span<const std::uint8_t>, Reply& reply) {
    reply[3] = 5;
    reply[4] = m_settings.liftOff;
    reply[5] = m_settings.sensorOption08;
    reply[6] = m_settings.sensorOption04;
    return kStatusOk;
}

std::uint8_t VirtualMouse::readPowerOptions(std::span<const std::uint8_t>, Reply& reply) {
    reply[3] = 4;
    reply[4] = m_settings.sleepLight;
    reply[5] = m_settings.moveWakeup;
    reply[6] = m_settings.moveCloseLight;
    reply[7] = m_settings.buttonResponse;
    return kStatusOk;
}

std::uint8_t VirtualMouse::readMouseFirmware(std::span<const std::uint8_t>, Reply& reply) {
    // Only a receiver has a second firmware to tell about.
    if (m_config.mode != ConnectionMode::Receiver) return kStatusUnknownCommand;
    reply[3] = 2;
    reply[4] = static_cast<std::uint8_t>(m_config.mouseFirmware >> 8);
    reply[5] = static_cast<std::uint8_t>(m_config.mouseFirmware & 0xFF);
    return kStatusOk;
}

VirtualMouse::Report VirtualMouse::connectionNotice() const {
    Report notice(kInputReportSize, 0);
    notice[0] = kConnectionNotice;
    notice[1] = m_online ? 1 : 0;
    notice[2] = m_online ? m_battery : 0;
    notice[3] = m_online ? m_charging : 0;
    return notice;
}

std::optional<VirtualMouse::Report> VirtualMouse::setMouseOnline(bool online) {
    if (m_config.mode != ConnectionMode::Receiver || online == m_online) return std::nullopt;
    m_online = online;
    if (!online) {
        m_macroData.clear();
        m_macroChunkCount = 0;
        m_macroNextChunk = 0;
    }
    return connectionNotice();
}

std::optional<VirtualMouse::Report> VirtualMouse::setBattery(std::uint8_t level,
                                                            std::uint8_t charging) {
    m_battery = level;
    m_charging = charging;
    if (!m_online) return std::nullopt;
    return connectionNotice();
}

std::optional<VirtualMouse::Report> VirtualMouse::pressDpiButton() {
    if (!m_online || m_settings.stageCount == 0) return std::nullopt;
    m_settings.currentStage =
        static_cast<std::uint8_t>((m_settings.currentStage + 1) % m_settings.stageCount);
    Report notice(kInputReportSize, 0);
    notice[0] = kDpiNotice;
    notice[1] = static_cast<std::uint8_t>((m_settings.currentStage << 4) | m_settings.stageCount);
    return notice;
}

}  // namespace quorvik
