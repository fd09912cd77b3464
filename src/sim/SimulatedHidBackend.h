// The HID seam over the simulated devices: enumeration lists every plugged device's
// collections, openPath opens one, and plugging or unplugging raises the arrival and removal
// events a hot-plug source passes on. The device set is the configuration list it is built from.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

#include "device/HidBackend.h"
#include "device/HidHotPlugEvent.h"
#include "sim/VirtualDevice.h"
#include "sim/VirtualMouseConfig.h"

namespace quorvik {

class SimulatedHidBackend : public HidBackend {
public:
    using HotPlugCallback = std::function<void(const HidHotPlugEvent&)>;

    explicit SimulatedHidBackend(
        const std::vector<VirtualMouseConfig>& configs = defaultVirtualMouseConfigs());
    ~SimulatedHidBackend() override;
    SimulatedHidBackend(const SimulatedHidBackend&) = delete;
    SimulatedHidBackend& operator=(const SimulatedHidBackend&) = delete;

    bool init() override { return true; }
    std::vector<HidInterfaceInfo> enumerate() override;
    // Paths compare without regard to ASCII case (the hot-plug matching
    // works on upper-cased paths).
    std::unique_ptr<HidDevice> openPath(const std::string& path) override;

    std::size_t deviceCount() const { return m_devices.size(); }
    // The device at its position in the configuration list; null past the end.
    std::shared_ptr<VirtualDevice> device(std::size_t index) const;
    // The first device with this vid and pid; null when none.
    std::shared_ptr<VirtualDevice> findDevice(std::uint16_t vid, std::uint16_t pid) const;

    // Receives one event per collection whenever a device is plugged or
    // unplugged; called on the thread that plugged or unplugged it.
    void setHotPlugCallback(HotPlugCallback callback);

private:
    struct CallbackSlot {
        std::mutex mutex;
        HotPlugCallback callback;
    };

    std::vector<std::shared_ptr<VirtualDevice>> m_devices;  // fixed after construction
    std::shared_ptr<CallbackSlot> m_slot = std::make_shared<CallbackSlot>();
};

}  // namespace quorvik
