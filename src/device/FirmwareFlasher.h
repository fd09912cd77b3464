// Writes a firmware image into the mouse through its loader collection: the
// start report, the image in data reports of up to three CRC-protected
// records, and the end report, with progress shown on the update pop-up.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "device/DeviceEvents.h"
#include "device/DeviceManager.h"

namespace quorvik {

enum class FlashResult {
    Done,         // every report reached the loader
    BadImage,     // empty, or too large to number its records; nothing sent
    NoLoader,     // no loader collection for this vid/pid
    StartFailed,  // the start report did not get through; nothing written
    WriteFailed,  // a data report did not get through, or the image cannot be sent
    EndFailed,    // the image went through but the end report did not
};

// "<label>: <percent>%".
std::string flashProgressText(std::string_view label, int percent);

class FirmwareFlasher {
public:
    static constexpr int kEarlyReportPauseMs = 10;  // after the first two data reports

    FirmwareFlasher(DeviceManager& manager, DeviceEvents& events);

    bool FlashStart();
    // Sends the image; stops at the first failed exchange. False then, and
    // also for an empty image or one too large to number its records.
    bool FlashWrite(std::span<const std::uint8_t> image);
    bool FlashEnd();

    // The whole flash on vid/pid's loader: open it, start, write and end (the
    // end report is sent even after a failed write), close it. The result
    // names the first step that failed.
    FlashResult flashImage(int vid, int pid, std::span<const std::uint8_t> image);

private:
    DeviceManager& m_manager;
    DeviceEvents& m_events;
};

}  // namespace quorvik
