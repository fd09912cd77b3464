// The worker's idle turn: reads one report the mouse or a receiver sent by
// itself and applies it to the entries, the store and the window (DPI button
// changes, the wireless mouse coming online or going offline, its battery).
#pragma once

#include "device/DeviceSession.h"
#include "device/DeviceSettingsCommands.h"
#include "protocol/Notification.h"

namespace quorvik {

class NotificationHandler {
public:
    NotificationHandler(DeviceSession& session, DeviceSettingsCommands& settings);

    // One read and its handling; returns the report's kind (None when nothing
    // was read).
    NotificationKind HandleNotification();

    // The stage count and stage of the last DPI notice; -1 before the first.
    int lastDpiCount() const { return m_lastDpiCount; }
    int lastDpiStage() const { return m_lastDpiStage; }

private:
    void handleDpiChange(const Notification& notice);
    void handleConnection(const Notification& notice, int type);

    DeviceSession& m_session;
    DeviceSettingsCommands& m_settings;
    int m_lastDpiCount = -1;
    int m_lastDpiStage = -1;
};

}  // namespace quorvik
