// Unsolicited reports: connection notices and DPI changes.
#include "protocol/Notification.h"

#include <gtest/gtest.h>

#include "ProtocolTestHelpers.h"

namespace quorvik {
namespace {

using testing::hexBytes;

TEST(Notification, DecodeTable) {
    struct Case {
        const char* name;
        const char* bytes;
        NotificationKind kind;
        bool online;
        int battery, charging, stage, count;
        // clang-format off
    } cases[] = {
        {"online with battery 90", "C0 01 5A 00", NotificationKind::Connection, true, 90, 0, 0, 0},
        {"offline", "C0 00 00 00", NotificationKind::Connection, false, 0, 0, 0, 0},
        {"only 1 means online", "C0 02 10 01", NotificationKind::Connection, false, 16, 1, 0, 0},
        {"charging", "C0 01 64 01", NotificationKind::Connection, true, 100, 1, 0, 0},
        {"DPI stage 2 of 4", "C2 24", NotificationKind::DpiChange, false, 0, 0, 2, 4},
        {"DPI stage 15 of 15", "C2 FF 00 00", NotificationKind::DpiChange, false, 0, 0, 15, 15},
        {"nothing read", "00 24 00", NotificationKind::None, false, 0, 0, 0, 0},
        {"empty", "", NotificationKind::None, false, 0, 0, 0, 0},
        {"other report", "C1 01 02 03", NotificationKind::Other, false, 0, 0, 0, 0},
        {"a command reply is no notice", "12 00 00 01", NotificationKind::Other, false, 0, 0, 0, 0},
        {"short connection notice", "C0 01", NotificationKind::Connection, true, 0, 0, 0, 0},
        {"short DPI notice", "C2", NotificationKind::DpiChange, false, 0, 0, 0, 0},
    };
    // clang-format on
    for (const auto& c : cases) {
        const auto bytes = hexBytes(c.bytes);
        const Notification n = decodeNotification(bytes);
        EXPECT_EQ(n.kind, c.kind) << c.name;
        EXPECT_EQ(n.online, c.online) << c.name;
        EXPECT_EQ(n.batteryLevel, c.battery) << c.name;
        EXPECT_EQ(n.chargingState, c.charging) << c.name;
        EXPECT_EQ(n.currentStage, c.stage) << c.name;
        EXPECT_EQ(n.stageCount, c.count) << c.name;
    }
}

}  // namespace
}  // namespace quorvik
