// The seam between the device layer and the system's HID access. The real
// program uses HidapiBackend (hidraw); tests and --simulate runs use the
// simulated mice of src/sim behind the same interface.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "device/HidDevice.h"
#include "device/HidInterfaceInfo.h"

namespace quorvik {

class HidBackend {
public:
    virtual ~HidBackend() = default;

    // Prepares the backend; false when the system HID access is unavailable
    // (the caller tries again at the next enumeration).
    virtual bool init() = 0;

    // Every HID top-level collection present now, in the system's order.
    virtual std::vector<HidInterfaceInfo> enumerate() = 0;

    // Opens one collection by its enumeration path; null when it cannot be
    // opened (gone, no permission, unknown path).
    virtual std::unique_ptr<HidDevice> openPath(const std::string& path) = 0;
};

}  // namespace quorvik
