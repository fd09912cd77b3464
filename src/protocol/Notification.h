// Reports the mouse and the receiver send unasked: 0xC0, the wireless mouse came online or went
// offline (with the battery), and 0xC2, the user changed the DPI stage with the mouse's button.
#pragma once

#include <cstdint>
#include <span>

namespace quorvik {

inline constexpr std::uint8_t kNotifyConnection = 0xC0;
inline constexpr std::uint8_t kNotifyDpiChange = 0xC2;

enum class NotificationKind : std::uint8_t {
    None,        // nothing was read (empty report or byte 0 is 0)
    Connection,  // 0xC0
    DpiChange,   // 0xC2
    Other,       // any other report, ignored by the program
};

struct Notification {
    NotificationKind kind = NotificationKind::None;
    // Connection: byte 1 == 1 means online; battery 0 means "not reported".
    bool online = false;
    int batteryLevel = 0;
    int chargingState = 0;
    // DpiChange: byte 1, high nibble the current stage (0-based), low nibble the stage count.
    int currentStage = 0;
    int stageCount = 0;
};

// Decodes a report as read (no report ID). Bytes missing from a short report read as 0, as they
// do in the zeroed buffer the report is read into.
Notification decodeNotification(std::span<const std::uint8_t> report);

}  // namespace quorvik
