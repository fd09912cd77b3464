// Fuzzes the simulated firmware with any sequence of command and loader
// reports: nothing may crash, every reply is a whole report, and the stored
// settings stay within what a mouse can hold (1..6 stages, current stage below
// the count, macros of whole events within the upload limit).
#include <cstdint>
#include <cstdlib>
#include <span>
#include <vector>

#include "sim/VirtualLoader.h"
#include "sim/VirtualMouse.h"

using namespace quorvik;

namespace {

void checkInvariants(const VirtualMouse& mouse) {
    const MouseSettings& s = mouse.settings();
    if (s.stageCount < 1 || s.stageCount > MouseSettings::kStageCount) std::abort();
    if (s.currentStage >= s.stageCount) std::abort();
    if (s.lighting.brightness > 15 || s.lighting.speed > 15) std::abort();
    for (const auto& [key, events] : s.macros)
        if (events.size() % 4 != 0 || events.size() > 15 * 27) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::vector<VirtualMouseConfig> configs = defaultVirtualMouseConfigs();
    if (size < 1) return 0;
    VirtualMouse mouse(configs[data[0] % configs.size()]);
    VirtualLoader loader;
    std::size_t at = 1;
    while (at < size) {
        // One control byte: which collection, whether to seal the checksum so
        // the handlers behind it are reached, and how long the report is.
        const std::uint8_t control = data[at++];
        const std::size_t length = std::min<std::size_t>(size - at, 1 + control % 65);
        std::vector<std::uint8_t> report(data + at, data + at + length);
        at += length;
        if ((control & 0x80) != 0) {
            std::vector<std::uint8_t> request(VirtualMouse::kOutputReportSize, 0);
            std::copy(report.begin(), report.end(), request.begin());
            request[0] = 0;
            if ((control & 0x40) != 0) {
                unsigned sum = 0;
                for (std::size_t i = 5; i <= 31; ++i) sum += request[i];
                request[32] = static_cast<std::uint8_t>(sum);
            }
            const auto reply = mouse.handleCommand(request);
            if (reply && reply->size() != VirtualMouse::kInputReportSize) std::abort();
            if ((control & 0x20) != 0) (void)mouse.pressDpiButton();
            if ((control & 0x10) != 0) (void)mouse.setMouseOnline((control & 0x08) != 0);
            checkInvariants(mouse);
        } else {
            const auto ack = loader.handleReport(report);
            if (ack.size() != VirtualLoader::kReportSize) std::abort();
            if (loader.state() == FlashState::Failed && loader.error() == FlashError::None) std::abort();
        }
    }
    return 0;
}
