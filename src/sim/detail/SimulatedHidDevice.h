// One open handle on a simulated device's collection, behind the HidDevice
// interface. Only SimulatedHidBackend creates these.
#pragma once

#include <memory>

#include "device/HidDevice.h"
#include "sim/VirtualDevice.h"

namespace quorvik::detail {

class SimulatedHidDevice : public HidDevice {
public:
    SimulatedHidDevice(std::shared_ptr<VirtualDevice> device, int handle);
    ~SimulatedHidDevice() override;
    SimulatedHidDevice(const SimulatedHidDevice&) = delete;
    SimulatedHidDevice& operator=(const SimulatedHidDevice&) = delete;

    int write(const std::uint8_t* data, std::size_t length) override;
    int readTimeout(std::uint8_t* data, std::size_t length, int timeoutMs) override;
    // Waits on the device's condition, which a raised interrupt also signals.
    int readInterruptible(std::uint8_t* data, std::size_t length, int timeoutMs,
                          const ReadInterrupt* interrupt) override;
    std::string productString() override;
    void close() override;

private:
    std::shared_ptr<VirtualDevice> m_device;
    int m_handle = 0;
};

}  // namespace quorvik::detail
