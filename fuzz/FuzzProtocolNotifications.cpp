// Fuzzes the decoder of the reports the mouse and receiver send unasked.
#include <cstdint>
#include <cstdlib>
#include <span>

#include "protocol/Notification.h"

using namespace quorvik;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const Notification n = decodeNotification(std::span<const std::uint8_t>(data, size));
    if (n.currentStage < 0 || n.currentStage > 15 || n.stageCount < 0 || n.stageCount > 15) std::abort();
    if (n.batteryLevel < 0 || n.batteryLevel > 255) std::abort();
    if (size == 0 && n.kind != NotificationKind::None) std::abort();
    return 0;
}
