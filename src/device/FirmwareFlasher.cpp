// Firmware flashing over the loader collection. Progress follows the full data
// reports: 90 per report divided by the number of full reports, plus 10; the
// short last report adds none.
#include "device/FirmwareFlasher.h"

#include <chrono>
#include <thread>

#include "base/Text.h"
#include "protocol/Loader.h"

namespace quorvik {

std::string flashProgressText(std::string_view label, int percent) {
    return format("%s: %d%%", std::string(label).c_str(), percent);
}

FirmwareFlasher::FirmwareFlasher(DeviceManager& manager, DeviceEvents& events)
    : m_manager(manager), m_events(events) {}

bool FirmwareFlasher::FlashStart() {
    return m_manager.FlashTransfer(loaderStartReport());
}

bool FirmwareFlasher::FlashEnd() {
    return m_manager.FlashTransfer(loaderEndReport());
}

bool FirmwareFlasher::FlashWrite(std::span<const std::uint8_t> image) {
    const std::vector<LoaderReport> reports = loaderDataReports(image);
    if (reports.empty()) return false;
    const std::size_t fullReports = image.size() / (kLoaderRecordsPerReport * kLoaderRecordData);
    for (std::size_t i = 0; i < reports.size(); ++i) {
        if (!m_manager.FlashTransfer(reports[i])) return false;
        if (i >= fullReports) break;  // the short last report: no pause, no progress
        if (i < 2) std::this_thread::sleep_for(std::chrono::milliseconds(kEarlyReportPauseMs));
        m_events.showFlashProgress(flashProgressPercent(static_cast<int>(i + 1), image.size()));
    }
    return true;
}

FlashResult FirmwareFlasher::flashImage(int vid, int pid, std::span<const std::uint8_t> image) {
    if (image.empty() || image.size() > kMaxLoaderImageSize) return FlashResult::BadImage;
    if (!m_manager.OpenFlashInterface(vid, pid)) return FlashResult::NoLoader;
    FlashResult result = FlashResult::Done;
    if (!FlashStart()) {
        result = FlashResult::StartFailed;
    } else {
        const bool written = FlashWrite(image);
        const bool ended = FlashEnd();
        if (!written)
            result = FlashResult::WriteFailed;
        else if (!ended)
            result = FlashResult::EndFailed;
    }
    m_manager.closeFlashInterface();
    return result;
}

}  // namespace quorvik
