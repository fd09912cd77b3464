// Building hot-plug path texts from udev's sysfs attributes.
#include "device/HotPlugPathText.h"

#include "base/Text.h"

namespace quorvik {
namespace {

bool isSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

int hexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

}  // namespace

std::optional<unsigned> parseSysfsHex(std::string_view text, std::size_t maxDigits) {
    while (!text.empty() && isSpace(text.front())) text.remove_prefix(1);
    while (!text.empty() && isSpace(text.back())) text.remove_suffix(1);
    if (text.empty() || text.size() > maxDigits) return std::nullopt;
    unsigned value = 0;
    for (char c : text) {
        const int digit = hexValue(c);
        if (digit < 0) return std::nullopt;
        value = value * 16 + static_cast<unsigned>(digit);
    }
    return value;
}

std::string hotPlugPathText(std::string_view devnode, const UsbSysfsIdentity& usb) {
    std::string path(devnode);
    const auto vid = parseSysfsHex(usb.idVendor, 4);
    const auto pid = parseSysfsHex(usb.idProduct, 4);
    if (!vid || !pid) return path;
    path += format("#VID_%04X&PID_%04X", *vid, *pid);
    if (const auto interface = parseSysfsHex(usb.bInterfaceNumber, 2)) path += format("&MI_%02X", *interface);
    return path;
}

}  // namespace quorvik
