// Configuration read and performance write commands. Values travel as the
// store's decimal text of the current profile; a failed read keeps the stored
// value, a failed write leaves the store as the page wrote it.
#include "device/DeviceSettingsCommands.h"

#include "base/Text.h"
#include "protocol/SettingsCommands.h"

namespace quorvik {

namespace {

std::string stageKey(const char* pattern, std::size_t stage) {
    return format(pattern, static_cast<int>(stage));
}

}  // namespace

DeviceSettingsCommands::DeviceSettingsCommands(DeviceSession& session)
    : m_session(session), m_bindings(session) {}

bool DeviceSettingsCommands::ReadDeviceConfig() {
    return readConfig(ReadKind::Load);
}

bool DeviceSettingsCommands::ReadDeviceConfigAfterReconnect() {
    return readConfig(ReadKind::AfterReconnect);
}

bool DeviceSettingsCommands::readConfig(ReadKind kind) {
    DeviceManager& manager = m_session.manager();
    DeviceEvents& events = m_session.events();
    const int type = manager.currentType();
    if (kind == ReadKind::Load) events.resetBatteryDisplay(type);

    DeviceInfoBlock info;
    const bool haveEntry = manager.Identify(info, nullptr);
    if (haveEntry) {
        events.showDeviceIdentity(info);
        events.showBattery(info.batteryLevel(), info.chargingState());
        events.showDeviceListBattery(type, info.chargingState(), info.batteryLevel());
    }
    if (!haveEntry || !info.mouseOnline()) {
        events.OnCommandFailure();
        return false;
    }
    if (!m_session.markModelRead(type)) return true;

    readSettings(info.sensorId());

    if (kind == ReadKind::Load && manager.CurrentMode() == kModeReceiver) {
        CommandExchange exchanged;
        if (m_session.exchange(encodeReadRequest(Command::ReadWirelessFirmware), exchanged)) {
            if (auto version = decodeWirelessFirmware(exchanged.reply()))
                events.showWirelessFirmware(*version);
        }
    }
    return true;
}

void DeviceSettingsCommands::readSettings(int sensorId) {
    CommandExchange ex;
    m_session.exchange(encodeReadRequest(Command::ReadBegin), ex);  // opens the read; its answer is not used

    if (m_session.exchange(encodeReadRequest(Command::ReadReportRate), ex)) {
        if (auto code = decodeReportRate(ex.reply())) {
            m_session.setConfigInt("report_rate", *code);
            m_session.setConfigInt("report_rate_wireless", *code);
        }
    }
    if (m_session.exchange(encodeReadRequest(Command::ReadDpiStages), ex)) {
        if (auto stages = decodeDpiStages(ex.reply(), sensorId)) {
            m_session.setConfigInt("dpi_flag", stages->stageCount);
            m_session.setConfigInt("dpi_count", stages->stageCount);
            m_session.setConfigInt("dpi_index", stages->currentStage);
            for (std::size_t n = 0; n < kDpiStageCount; ++n)
                if (stages->dpi[n]) m_session.setConfigInt(stageKey("dpi_group%d_value", n), *stages->dpi[n]);
        }
    }
    if (m_session.exchange(encodeReadRequest(Command::ReadDpiColors), ex)) {
        if (auto colors = decodeDpiColors(ex.reply())) {
            for (std::size_t n = 0; n < kDpiStageCount; ++n)
                m_session.setConfigInt(stageKey("dpi_group%d_rgb", n), (*colors)[n]);
        }
    }
    m_bindings.ReadLighting();
    if (m_session.exchange(encodeReadRequest(Command::ReadLiftOffSensor), ex)) {
        if (auto lift = decodeLiftOffSensor(ex.reply())) {
            m_session.setConfigInt("liftoff_height", lift->liftOff);
            m_session.setConfigInt("sensor_flag", lift->sensorFlags);
        }
    }
    if (m_session.exchange(encodeReadRequest(Command::ReadPowerOptions), ex)) {
        if (auto power = decodePowerOptions(ex.reply())) {
            m_session.setConfigInt("sleep_light", power->sleepLight);
            m_session.setConfigInt("move_wakeup", power->moveWakeup);
            m_session.setConfigInt("move_closelight", power->moveCloseLight);
            m_session.setConfigInt("button_respondtime", power->buttonResponseTime);
        }
    }
}

bool DeviceSettingsCommands::SendReportRate() {
    return m_session.sendSetting(encodeReportRate(m_session.configInt("report_rate")));
}

bool DeviceSettingsCommands::SendDpiStages() {
    DpiStageSettings stages;
    stages.currentStage = m_session.configInt("dpi_index");
    stages.stageCount = m_session.configInt("dpi_count");
    for (std::size_t n = 0; n < kDpiStageCount; ++n)
        stages.dpi[n] = m_session.configInt(stageKey("dpi_group%d_value", n));
    return m_session.sendSetting(encodeDpiStages(stages, m_session.currentSensorId()));
}

bool DeviceSettingsCommands::SendDpiColors() {
    std::array<int, kDpiStageCount> colors{};
    for (std::size_t n = 0; n < kDpiStageCount; ++n)
        colors[n] = m_session.configInt(stageKey("dpi_group%d_rgb", n));
    return m_session.sendSetting(encodeDpiColors(colors));
}

bool DeviceSettingsCommands::SendLiftOffAndSensor() {
    LiftOffSensor settings;
    settings.liftOff = m_session.configInt("liftoff_height");
    settings.sensorFlags = m_session.configInt("sensor_flag");
    return m_session.sendSetting(encodeLiftOffSensor(settings));
}

bool DeviceSettingsCommands::SendPowerOptions() {
    PowerOptions options;
    options.sleepLight = m_session.configInt("sleep_light");
    options.moveWakeup = m_session.configInt("move_wakeup");
    options.moveCloseLight = m_session.configInt("move_closelight");
    options.buttonResponseTime = m_session.configInt("button_respondtime");
    return m_session.sendSetting(encodePowerOptions(options));
}

bool DeviceSettingsCommands::SendFactoryReset() {
    CommandExchange ex;
    return m_session.exchange(encodeFactoryReset(), ex);
}

}  // namespace quorvik
