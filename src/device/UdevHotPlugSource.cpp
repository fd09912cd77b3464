// The udev monitor thread. It waits in poll() on the monitor's socket and on an
// eventfd that stop() signals, so stopping never waits for a device event.
#include "device/UdevHotPlugSource.h"

#include <libudev.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>

#include "base/Text.h"
#include "base/Trace.h"
#include "device/detail/UdevEventTranslator.h"

namespace quorvik {
namespace {

std::string text(const char* value) {
    return value != nullptr ? value : "";
}

// The USB identity of a hidraw node: the interface's number and the device's
// vendor and product, read from its parents in sysfs.
UsbSysfsIdentity readUsbIdentity(udev_device* node) {
    UsbSysfsIdentity usb;
    udev_device* interface = udev_device_get_parent_with_subsystem_devtype(node, "usb", "usb_interface");
    if (interface != nullptr)
        usb.bInterfaceNumber = text(udev_device_get_sysattr_value(interface, "bInterfaceNumber"));
    udev_device* device = udev_device_get_parent_with_subsystem_devtype(node, "usb", "usb_device");
    if (device != nullptr) {
        usb.idVendor = text(udev_device_get_sysattr_value(device, "idVendor"));
        usb.idProduct = text(udev_device_get_sysattr_value(device, "idProduct"));
    }
    return usb;
}

}  // namespace

struct UdevHotPlugSource::Monitor {
    udev* context = nullptr;
    udev_monitor* monitor = nullptr;
    int wakeFd = -1;
    Callback callback;
    detail::UdevEventTranslator translator;

    ~Monitor() {
        if (wakeFd >= 0) ::close(wakeFd);
        if (monitor != nullptr) udev_monitor_unref(monitor);
        if (context != nullptr) udev_unref(context);
    }

    bool open() {
        context = udev_new();
        if (context == nullptr) return false;
        monitor = udev_monitor_new_from_netlink(context, "udev");
        if (monitor == nullptr) return false;
        if (udev_monitor_filter_add_match_subsystem_devtype(monitor, "hidraw", nullptr) < 0) return false;
        if (udev_monitor_enable_receiving(monitor) < 0) return false;
        if (udev_monitor_get_fd(monitor) < 0) return false;
        wakeFd = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
        return wakeFd >= 0;
    }

    // Remembers the nodes present now (after the monitor is receiving, so a
    // node added in between is seen at least once).
    void rememberPresentNodes() {
        udev_enumerate* list = udev_enumerate_new(context);
        if (list == nullptr) return;
        if (udev_enumerate_add_match_subsystem(list, "hidraw") >= 0 &&
            udev_enumerate_scan_devices(list) >= 0) {
            udev_list_entry* entry = nullptr;
            udev_list_entry_foreach(entry, udev_enumerate_get_list_entry(list)) {
                const char* syspath = udev_list_entry_get_name(entry);
                udev_device* node = udev_device_new_from_syspath(context, syspath);
                if (node == nullptr) continue;
                translator.remember(text(syspath), text(udev_device_get_devnode(node)),
                                    readUsbIdentity(node));
                udev_device_unref(node);
            }
        }
        udev_enumerate_unref(list);
    }

    void receiveOne() {
        udev_device* node = udev_monitor_receive_device(monitor);
        if (node == nullptr) return;
        const auto event = translator.translate(
            text(udev_device_get_action(node)), text(udev_device_get_syspath(node)),
            text(udev_device_get_devnode(node)), [node] { return readUsbIdentity(node); });
        udev_device_unref(node);
        if (event) callback(*event);
    }

    void loop() {
        pollfd fds[2] = {{udev_monitor_get_fd(monitor), POLLIN, 0}, {wakeFd, POLLIN, 0}};
        for (;;) {
            const int ready = ::poll(fds, 2, -1);
            if (ready < 0) {
                if (errno == EINTR) continue;
                trace(format("udev monitor poll failed: %d", errno));
                return;
            }
            if (fds[1].revents != 0) return;
            if ((fds[0].revents & (POLLERR | POLLHUP | POLLNVAL)) != 0) {
                trace("udev monitor closed");
                return;
            }
            if ((fds[0].revents & POLLIN) != 0) receiveOne();
        }
    }
};

UdevHotPlugSource::UdevHotPlugSource() = default;

UdevHotPlugSource::~UdevHotPlugSource() {
    stop();
}

bool UdevHotPlugSource::start(Callback callback) {
    if (m_thread.joinable() || !callback) return false;
    auto monitor = std::make_unique<Monitor>();
    if (!monitor->open()) {
        trace("udev monitor unavailable");
        return false;
    }
    monitor->callback = std::move(callback);
    monitor->rememberPresentNodes();
    m_monitor = std::move(monitor);
    m_thread = std::thread([monitor = m_monitor.get()] { monitor->loop(); });
    return true;
}

void UdevHotPlugSource::stop() {
    if (!m_thread.joinable()) return;
    const std::uint64_t one = 1;
    if (::write(m_monitor->wakeFd, &one, sizeof one) < 0) trace("udev monitor wake failed");
    m_thread.join();
    m_monitor.reset();
}

}  // namespace quorvik
