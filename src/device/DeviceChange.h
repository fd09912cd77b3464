// What a device arrival or removal means for the worker: an arrival of a
// supported identity's vendor collection queues task 2, a removal of a supported
// identity's interface 2 while a device is present queues task 3. Runs on the
// window thread; it only appends task codes.
//
// A hot-plug path is the collection's open path (HidBackend::openPath), on
// hidraw followed by '#' and "VID_%04X&PID_%04X&MI_%02X" (see HotPlugPathText).
#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>

#include "device/HidBackend.h"
#include "device/HidHotPlugEvent.h"
#include "device/SupportedDevice.h"

namespace quorvik {

// The event codes of a device change: arrival and removal complete.
inline constexpr std::uint32_t kDeviceArrival = 0x8000;
inline constexpr std::uint32_t kDeviceRemoveComplete = 0x8004;

std::uint32_t deviceChangeCode(HidHotPlugEvent::Kind kind);

// "VID_1234&PID_0ABC" and "VID_1234&PID_0ABC&MI_02".
std::string arrivalPattern(int vid, int pid);
std::string removalPattern(int vid, int pid);

// The part of a hot-plug path that opens the collection: the text before the
// first '#', or the whole path when it has none.
std::string_view hidOpenPathOf(std::string_view hotPlugPath);

struct DeviceChangeContext {
    // The mode list in config.xml order (one entry per supported identity).
    std::span<const SupportedDevice> modes;
    // The window's device-present flag.
    bool devicePresent = false;
    // Whether the path (as the event gave it) is the vendor command collection.
    std::function<bool(const std::string& path)> isVendorCollection;
    std::function<void(std::int32_t code)> enqueueTask;
};

// Handles one device change. `path` null means the event carried no interface
// broadcast: nothing happens. Matching uses the upper-cased path; the vendor
// check gets the path as the event gave it, since hidraw paths are case
// sensitive. Returns the task code queued, 0 when none.
std::int32_t OnDeviceChange(std::uint32_t event, const std::string* path, const DeviceChangeContext& context);

// True when the collection behind a hot-plug path opens and its top-level
// collection has usage page 1 and usage 0. A hidraw node carrying several
// top-level collections counts when any of them is that one.
bool IsVendorCollection(HidBackend& backend, const std::string& path);

}  // namespace quorvik
