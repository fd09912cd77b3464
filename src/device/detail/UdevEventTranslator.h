// Turns udev's hidraw add and remove events into hot-plug events. A removed
// node's parents are gone from sysfs, so the path text seen on its arrival (or
// when the source started) is remembered by syspath and reused for its removal.
#pragma once

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "device/HidHotPlugEvent.h"
#include "device/HotPlugPathText.h"

namespace quorvik::detail {

class UdevEventTranslator {
public:
    // Reads the USB identity of the node being added (only called for "add").
    using ReadIdentity = std::function<UsbSysfsIdentity()>;

    // Remembers a node present when the source starts, without an event.
    void remember(const std::string& syspath, std::string_view devnode, const UsbSysfsIdentity& usb);

    // "add" gives an arrival (and remembers its path), "remove" a removal with
    // the remembered path (the bare device node when the node was never seen);
    // every other action gives nothing.
    std::optional<HidHotPlugEvent> translate(std::string_view action, const std::string& syspath,
                                             std::string_view devnode, const ReadIdentity& readIdentity);

    std::size_t knownNodes() const { return m_paths.size(); }

private:
    std::map<std::string, std::string> m_paths;  // syspath -> path text
};

}  // namespace quorvik::detail
