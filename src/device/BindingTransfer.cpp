// Key table, macro upload and lighting commands, built from the store with the
// protocol layer's encoders.
#include "device/BindingTransfer.h"

#include <chrono>
#include <optional>
#include <thread>
#include <vector>

#include "protocol/KeyTable.h"
#include "protocol/Lighting.h"
#include "protocol/MacroEvents.h"
#include "protocol/MacroUpload.h"

namespace quorvik {

namespace {

constexpr int kLightingResetSettleMs = 100;

std::optional<MacroRecord> findMacro(const std::vector<MacroRecord>& macros, int macroId) {
    for (const MacroRecord& macro : macros)
        if (macro.macro_id == macroId) return macro;
    return std::nullopt;
}

}  // namespace

BindingTransfer::BindingTransfer(DeviceSession& session) : m_session(session) {}

bool BindingTransfer::SendKeyTable() {
    SettingsStore& store = m_session.store();
    const int profile = m_session.currentProfile();
    std::vector<KeyBinding> bindings;
    std::vector<MacroRecord> macros;

    const int pendingKey = m_session.takePendingMacroKey();
    if (pendingKey >= 0) {
        store.listKeyBindings(profile, bindings);
        store.listMacros(macros);
        for (const KeyBinding& b : bindings) {
            if (b.macro_type != static_cast<int>(BindingType::Macro) || b.key_code != pendingKey) continue;
            if (findMacro(macros, b.macro_value)) SendMacro(b.key_code, b.macro_value);
            break;
        }
    }

    store.listKeyBindings(profile, bindings);
    store.listMacros(macros);
    KeyTable table;
    for (const KeyBinding& b : bindings) {
        const ButtonBinding binding{b.key_code, b.macro_type, b.macro_value, b.macro_value2};
        std::optional<MacroPlayback> playback;
        if (b.macro_type == static_cast<int>(BindingType::Macro)) {
            if (auto macro = findMacro(macros, b.macro_value))
                playback = MacroPlayback{macro->play_type, macro->play_times};
        }
        table.apply(binding, playback ? &*playback : nullptr);
    }
    return m_session.sendSetting(table.packet());
}

bool BindingTransfer::SendMacro(int keyCode, int macroId) {
    SettingsStore& store = m_session.store();
    MacroRecord macro;
    if (!store.getMacro(macroId, macro)) return false;
    std::vector<MacroStep> steps;
    store.listMacroSteps(macroId, steps);
    std::vector<MacroEncodeStep> encodeSteps;
    encodeSteps.reserve(steps.size());
    for (const MacroStep& step : steps) encodeSteps.push_back({step.type, step.value});

    const std::vector<MacroEvent> events = encodeMacroEvents(encodeSteps);
    const std::vector<std::uint8_t> data = macroUploadData(keyCode, events);
    bool allSent = true;
    for (const CommandPacket& packet : macroUploadPackets(data)) {
        CommandExchange ex;
        if (!m_session.exchange(packet, ex)) allSent = false;  // the next chunks still go
    }
    return allSent;
}

bool BindingTransfer::SendLighting() {
    SettingsStore& store = m_session.store();
    const int profile = m_session.currentProfile();
    const int mode = m_session.lightMode();
    // Marking is a write transaction; skip it when the mode is already the active one.
    if (store.getActiveLightMode(profile) != mode) store.setActiveLight(profile, mode);
    LightRecord record;
    if (!store.getLight(profile, mode, record)) return false;

    LightSettings light;
    light.mode = record.mode;
    light.brightness = record.brightness;
    light.speed = record.speed;
    light.colors = {record.color_value1, record.color_value2, record.color_value3, record.color_value4,
                    record.color_value5, record.color_value6, record.color_value7};
    return m_session.sendSetting(encodeLighting(light));
}

bool BindingTransfer::ResetLighting() {
    CommandExchange ex;
    m_session.exchange(encodeLightingReset(), ex);
    std::this_thread::sleep_for(std::chrono::milliseconds(kLightingResetSettleMs));
    const bool read = ReadLighting();
    m_session.events().refreshLightingPage();
    return read;
}

bool BindingTransfer::ReadLighting() {
    CommandExchange ex;
    if (!m_session.exchange(encodeLightingRead(), ex)) return false;
    const std::optional<LightState> state = decodeLightingRead(ex.reply());
    if (!state) return false;

    SettingsStore& store = m_session.store();
    const int profile = m_session.currentProfile();
    m_session.setLightMode(state->mode);
    m_session.events().setCurrentLightMode(state->mode);
    store.setActiveLight(profile, state->mode);
    LightRecord record;
    if (store.getLight(profile, state->mode, record)) {
        record.brightness = state->brightness;
        record.speed = state->speed;
        store.updateLight(state->mode, record);
    }
    return true;
}

}  // namespace quorvik
