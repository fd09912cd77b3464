// Arrival and removal matching against the mode list, and the vendor-collection
// check through the HID seam.
#include "device/DeviceChange.h"

#include "base/Text.h"
#include "base/Trace.h"
#include "device/DeviceTask.h"

namespace quorvik {

std::uint32_t deviceChangeCode(HidHotPlugEvent::Kind kind) {
    return kind == HidHotPlugEvent::Kind::Arrival ? kDeviceArrival : kDeviceRemoveComplete;
}

std::string arrivalPattern(int vid, int pid) {
    return format("VID_%04X&PID_%04X", vid, pid);
}

std::string removalPattern(int vid, int pid) {
    return arrivalPattern(vid, pid) + "&MI_02";
}

std::string_view hidOpenPathOf(std::string_view hotPlugPath) {
    const std::size_t mark = hotPlugPath.find('#');
    return mark == std::string_view::npos ? hotPlugPath : hotPlugPath.substr(0, mark);
}

std::int32_t OnDeviceChange(std::uint32_t event, const std::string* path,
                            const DeviceChangeContext& context) {
    if (path == nullptr) return 0;
    const std::string upper = asciiUpper(*path);
    trace(format("UpdateUSBDevice path: %s", upper.c_str()));

    if (event == kDeviceArrival) {
        for (const SupportedDevice& mode : context.modes) {
            if (upper.find(arrivalPattern(mode.vid, mode.pid)) == std::string::npos) continue;
            // Only the first matching identity is considered, vendor collection or not.
            if (context.isVendorCollection && context.isVendorCollection(*path)) {
                if (context.enqueueTask) context.enqueueTask(kTaskDeviceArrived);
                return kTaskDeviceArrived;
            }
            return 0;
        }
        return 0;
    }
    if (event == kDeviceRemoveComplete) {
        if (!context.devicePresent) return 0;
        for (const SupportedDevice& mode : context.modes) {
            if (upper.find(removalPattern(mode.vid, mode.pid)) == std::string::npos) continue;
            if (context.enqueueTask) context.enqueueTask(kTaskDeviceChanged);
            return kTaskDeviceChanged;
        }
    }
    return 0;
}

bool IsVendorCollection(HidBackend& backend, const std::string& path) {
    const std::string openPath(hidOpenPathOf(path));
    if (openPath.empty()) return false;
    // A collection that cannot be opened (gone, held by the system, no
    // permission) is not ours.
    std::unique_ptr<HidDevice> device = backend.openPath(openPath);
    if (!device) return false;
    bool vendor = false;
    for (const HidInterfaceInfo& info : backend.enumerate()) {
        if (!equalsIgnoreAsciiCase(info.path, openPath)) continue;
        if (info.usagePage == 1 && info.usage == 0) {
            vendor = true;
            break;
        }
    }
    device->close();
    return vendor;
}

}  // namespace quorvik
