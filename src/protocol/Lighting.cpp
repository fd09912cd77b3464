// Lighting payloads per mode, as a table of (modes, length byte, layout).
#include "protocol/Lighting.h"

#include <vector>

namespace quorvik {
namespace {

enum class LightLayout : std::uint8_t { ModeLevel, ModeLevelZero, AllColors, FirstColor };

struct LightModeRow {
    int mode;
    std::uint8_t lengthByte;
    LightLayout layout;
};
constexpr std::array<LightModeRow, 6> kLightModes = {{
    {0, 2, LightLayout::ModeLevel},
    {1, 3, LightLayout::ModeLevelZero},
    {2, 0x18, LightLayout::AllColors},
    {3, 5, LightLayout::FirstColor},
    {4, 2, LightLayout::ModeLevel},
    {5, 2, LightLayout::ModeLevel},
}};
constexpr std::uint8_t kAllColorsMarker = 7;
constexpr std::uint8_t kResetLength = 0x01;
constexpr std::uint8_t kResetValue = 0x01;

void appendColor(std::vector<std::uint8_t>& out, int color) {
    out.push_back(static_cast<std::uint8_t>(color & 0xFF));
    out.push_back(static_cast<std::uint8_t>((color >> 8) & 0xFF));
    out.push_back(static_cast<std::uint8_t>((color >> 16) & 0xFF));
}

}  // namespace

CommandPacket encodeLighting(const LightSettings& light) {
    const LightModeRow* row = nullptr;
    for (const auto& r : kLightModes)
        if (r.mode == light.mode) row = &r;
    if (!row) return CommandPacket::make(Command::Lighting, kFlagWrite, 0, {}, PacketSize::Long);

    std::vector<std::uint8_t> p;
    p.push_back(static_cast<std::uint8_t>(light.mode));
    p.push_back(static_cast<std::uint8_t>(((light.brightness & 0x0F) << 4) | (light.speed & 0x0F)));
    switch (row->layout) {
        case LightLayout::ModeLevel:
            break;
        case LightLayout::ModeLevelZero:
            p.push_back(0);
            break;
        case LightLayout::AllColors:
            p.push_back(kAllColorsMarker);
            for (int c : light.colors) appendColor(p, c);
            break;
        case LightLayout::FirstColor:
            appendColor(p, light.colors[0]);
            break;
    }
    return CommandPacket::make(Command::Lighting, kFlagWrite, row->lengthByte, p, PacketSize::Long);
}

CommandPacket encodeLightingReset() {
    const std::array<std::uint8_t, 1> payload = {kResetValue};
    return CommandPacket::make(Command::LightingReset, kFlagWrite, kResetLength, payload);
}

CommandPacket encodeLightingRead() {
    return CommandPacket::make(Command::ReadLighting, kFlagRead, 0, {});
}

std::optional<LightState> decodeLightingRead(CommandReply reply) {
    if (!reply.isSuccess() || !reply.hasPayload(2)) return std::nullopt;
    return LightState{reply.payload(0), reply.payload(1) >> 4, reply.payload(1) & 0x0F};
}

}  // namespace quorvik
