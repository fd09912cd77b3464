// One opened vendor command interface as the device manager keeps it, without
// its handle: the window thread gets copies of these, the handle itself stays
// inside the manager so only the worker does input and output.
#pragma once

#include <cstdint>
#include <string>

#include "protocol/DeviceInfoBlock.h"

namespace quorvik {

// Connection states of an entry.
inline constexpr int kEntryOfflineByNotice = 0;  // an offline notice was read while listening
inline constexpr int kEntryOnline = 1;
inline constexpr int kEntryOfflineByPoll = 2;  // seen offline by the receiver poll or at identify

// Connection modes.
inline constexpr int kModeWired = 0;
inline constexpr int kModeReceiver = 1;

// Model number of an entry matched by a registration without dev_id.
inline constexpr int kAnyModelType = 101;

struct DeviceEntry {
    int index = 0;  // number of entries when this one was added
    std::uint16_t vid = 0;
    std::uint16_t pid = 0;
    std::string path;           // enumeration path, any length
    std::string product;        // HID product string, UTF-8
    std::uint32_t release = 0;  // bcdDevice, shown as firmware version
    int deviceType = 0;         // 0 unresolved, kAnyModelType for a registration without dev_id
    int mode = 0;
    int state = kEntryOnline;
    std::string devId;     // empty when identification failed
    DeviceInfoBlock info;  // the last identity block read
};

}  // namespace quorvik
