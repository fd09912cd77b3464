// Decoding the unsolicited reports.
#include "protocol/Notification.h"

namespace quorvik {
namespace {

std::uint8_t at(std::span<const std::uint8_t> r, std::size_t i) {
    return i < r.size() ? r[i] : 0;
}

}  // namespace

Notification decodeNotification(std::span<const std::uint8_t> report) {
    Notification n;
    switch (at(report, 0)) {
        case 0:
            n.kind = NotificationKind::None;
            break;
        case kNotifyConnection:
            n.kind = NotificationKind::Connection;
            n.online = at(report, 1) == 1;
            n.batteryLevel = at(report, 2);
            n.chargingState = at(report, 3);
            break;
        case kNotifyDpiChange:
            n.kind = NotificationKind::DpiChange;
            n.currentStage = at(report, 1) >> 4;
            n.stageCount = at(report, 1) & 0x0F;
            break;
        default:
            n.kind = NotificationKind::Other;
            break;
    }
    return n;
}

}  // namespace quorvik
