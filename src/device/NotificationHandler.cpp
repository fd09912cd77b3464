// Applies the unsolicited reports: 0xC2 (DPI button) updates the stored stage
// count and stage, 0xC0 (receiver) switches the model online or offline and
// shows the battery it carries.
#include "device/NotificationHandler.h"

#include <array>

#include "base/Text.h"
#include "base/Trace.h"

namespace quorvik {

NotificationHandler::NotificationHandler(DeviceSession& session, DeviceSettingsCommands& settings)
    : m_session(session), m_settings(settings) {}

NotificationKind NotificationHandler::HandleNotification() {
    std::array<std::uint8_t, DeviceManager::kNotificationSize> report{};
    int type = 0;
    m_session.manager().ReadNotification(report.data(), type);
    if (report[0] != 0)
        trace(format("mouse notify data: %02X %02X %02X %02X %02X %02X", report[0], report[1], report[2],
                     report[3], report[4], report[5]));

    const Notification notice = decodeNotification(report);
    if (notice.kind == NotificationKind::DpiChange) handleDpiChange(notice);
    if (notice.kind == NotificationKind::Connection) handleConnection(notice, type);
    return notice.kind;
}

void NotificationHandler::handleDpiChange(const Notification& notice) {
    DeviceEvents& events = m_session.events();
    if (notice.stageCount != m_lastDpiCount) {
        m_lastDpiCount = notice.stageCount;
        m_session.setConfigInt("dpi_count", notice.stageCount);
        events.dpiStageCountChanged(notice.stageCount);
    }
    if (notice.currentStage != m_lastDpiStage) {
        m_lastDpiStage = notice.currentStage;
        m_session.setConfigInt("dpi_index", notice.currentStage);
        const int dpi = m_session.configInt(format("dpi_group%d_value", notice.currentStage));
        events.dpiStageChanged(notice.currentStage, dpi);
    }
}

void NotificationHandler::handleConnection(const Notification& notice, int type) {
    DeviceManager& manager = m_session.manager();
    DeviceEvents& events = m_session.events();
    events.closeHelperWindows();
    if (notice.online) {
        const bool receiver = manager.CurrentMode() == kModeReceiver;
        const int mode = receiver ? kModeReceiver : kModeWired;
        events.showMouseOnline(type, mode,
                               receiver ? DeviceText::ConnectedReceiver : DeviceText::ConnectedWired);
        manager.SetConnectionState(type, mode, kEntryOnline);
        events.refreshPages();
        if (m_settings.ReadDeviceConfigAfterReconnect()) events.refreshPages();
    } else {
        manager.SetConnectionState(type, kModeReceiver, kEntryOfflineByNotice);
        manager.PollDongleConnection();
        events.showMouseOffline(type);
    }
    if (notice.batteryLevel != 0) events.showBattery(notice.batteryLevel, notice.chargingState);
}

}  // namespace quorvik
