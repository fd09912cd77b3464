// The path text of a hidraw node as hot-plug events carry it: the device node,
// then '#' and "VID_%04X&PID_%04X&MI_%02X" from the USB device's idVendor and
// idProduct and the USB interface's bInterfaceNumber, so the arrival and
// removal patterns of the supported identities match it as they stand.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace quorvik {

// The sysfs attribute texts as udev gives them (hexadecimal, "1234", "02");
// empty when the attribute or its parent device is missing.
struct UsbSysfsIdentity {
    std::string idVendor;
    std::string idProduct;
    std::string bInterfaceNumber;
};

// Reads a sysfs hexadecimal attribute of at most `maxDigits` digits (white
// space around it allowed); nothing for empty, malformed or longer text.
std::optional<unsigned> parseSysfsHex(std::string_view text, std::size_t maxDigits);

// "/dev/hidraw3#VID_1234&PID_0ABC&MI_02". Without a valid vendor and product
// the path is the device node alone (no pattern can match it); without a valid
// interface number it ends after the product.
std::string hotPlugPathText(std::string_view devnode, const UsbSysfsIdentity& usb);

}  // namespace quorvik
