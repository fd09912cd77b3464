// Forwards reads and writes of one open handle to its virtual device.
#include "sim/detail/SimulatedHidDevice.h"

namespace quorvik::detail {

SimulatedHidDevice::SimulatedHidDevice(std::shared_ptr<VirtualDevice> device, int handle)
    : m_device(std::move(device)), m_handle(handle) {}

SimulatedHidDevice::~SimulatedHidDevice() { close(); }

int SimulatedHidDevice::write(const std::uint8_t* data, std::size_t length) {
    if (m_handle == 0) return -1;
    return m_device->write(m_handle, data, length);
}

int SimulatedHidDevice::readTimeout(std::uint8_t* data, std::size_t length, int timeoutMs) {
    if (m_handle == 0) return -1;
    return m_device->read(m_handle, data, length, timeoutMs);
}

int SimulatedHidDevice::readInterruptible(std::uint8_t* data, std::size_t length, int timeoutMs,
                                          const ReadInterrupt* interrupt) {
    if (m_handle == 0) return -1;
    return m_device->read(m_handle, data, length, timeoutMs, interrupt);
}

std::string SimulatedHidDevice::productString() {
    if (m_handle == 0 || !m_device->isPlugged()) return {};
    return m_device->config().product;
}

void SimulatedHidDevice::close() {
    if (m_handle == 0) return;
    m_device->closeHandle(m_handle);
    m_handle = 0;
}

}  // namespace quorvik::detail
