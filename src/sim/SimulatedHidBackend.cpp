// Enumeration, opening and hot-plug events of the simulated device set.
#include "sim/SimulatedHidBackend.h"

#include "base/Text.h"
#include "sim/detail/SimulatedHidDevice.h"

namespace quorvik {

SimulatedHidBackend::SimulatedHidBackend(const std::vector<VirtualMouseConfig>& configs) {
    for (const VirtualMouseConfig& config : configs) {
        int instance = 0;
        for (const auto& earlier : m_devices)
            if (earlier->config().vid == config.vid && earlier->config().pid == config.pid)
                ++instance;
        auto device = std::make_shared<VirtualDevice>(config, instance);
        // The slot outlives the backend when a test keeps a device: a late
        // plug then finds no callback instead of a dangling backend.
        std::weak_ptr<CallbackSlot> slot = m_slot;
        device->setPlugListener([slot](const VirtualDevice& d, bool plugged) {
            auto live = slot.lock();
            if (!live) return;
            HotPlugCallback callback;
            {
                std::lock_guard lock(live->mutex);
                callback = live->callback;
            }
            if (!callback) return;
            for (std::size_t c = 0; c < d.config().collections.size(); ++c)
                callback({plugged ? HidHotPlugEvent::Kind::Arrival : HidHotPlugEvent::Kind::Removal,
                          d.collectionPath(c)});
        });
        m_devices.push_back(std::move(device));
    }
}

SimulatedHidBackend::~SimulatedHidBackend() {
    for (auto& device : m_devices) device->setPlugListener(nullptr);
}

std::vector<HidInterfaceInfo> SimulatedHidBackend::enumerate() {
    std::vector<HidInterfaceInfo> result;
    for (const auto& device : m_devices) {
        if (!device->isPlugged()) continue;
        const VirtualMouseConfig& config = device->config();
        for (std::size_t c = 0; c < config.collections.size(); ++c) {
            HidInterfaceInfo info;
            info.path = device->collectionPath(c);
            info.vid = config.vid;
            info.pid = config.pid;
            info.release = config.release;
            info.usagePage = config.collections[c].usagePage;
            info.usage = config.collections[c].usage;
            info.interfaceNumber = config.collections[c].interfaceNumber;
            info.product = config.product;
            result.push_back(std::move(info));
        }
    }
    return result;
}

std::unique_ptr<HidDevice> SimulatedHidBackend::openPath(const std::string& path) {
    for (const auto& device : m_devices) {
        for (std::size_t c = 0; c < device->config().collections.size(); ++c) {
            if (!equalsIgnoreAsciiCase(device->collectionPath(c), path)) continue;
            const int handle = device->openHandle(c);
            if (handle == 0) return nullptr;
            return std::make_unique<detail::SimulatedHidDevice>(device, handle);
        }
    }
    return nullptr;
}

std::shared_ptr<VirtualDevice> SimulatedHidBackend::device(std::size_t index) const {
    return index < m_devices.size() ? m_devices[index] : nullptr;
}

std::shared_ptr<VirtualDevice> SimulatedHidBackend::findDevice(std::uint16_t vid,
                                                               std::uint16_t pid) const {
    for (const auto& device : m_devices)
        if (device->config().vid == vid && device->config().pid == pid) return device;
    return nullptr;
}

void SimulatedHidBackend::setHotPlugCallback(HotPlugCallback callback) {
    std::lock_guard lock(m_slot->mutex);
    m_slot->callback = std::move(callback);
}

}  // namespace quorvik
