// One HID top-level collection as enumeration reports it. The device layer
// picks the vendor command collection and the loader collection by usage page
// and usage, and the hot-plug source matches paths by vid, pid and interface.
#pragma once

#include <cstdint>
#include <string>

namespace quorvik {

struct HidInterfaceInfo {
    std::string path;              // opens this collection with HidBackend::openPath
    std::uint16_t vid = 0;
    std::uint16_t pid = 0;
    std::uint16_t release = 0;     // bcdDevice, shown as the firmware version
    std::uint16_t usagePage = 0;   // of the top-level collection
    std::uint16_t usage = 0;
    int interfaceNumber = -1;      // USB interface; -1 when the bus has none
    std::string product;           // product string, UTF-8
};

}  // namespace quorvik
