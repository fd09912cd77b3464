// Forwarding of the simulated backend's plug events to the owner's callback.
#include "device/SimulatedHotPlugSource.h"

namespace quorvik {

SimulatedHotPlugSource::SimulatedHotPlugSource(Subscribe subscribe) : m_subscribe(std::move(subscribe)) {}

SimulatedHotPlugSource::~SimulatedHotPlugSource() {
    stop();
}

bool SimulatedHotPlugSource::start(Callback callback) {
    if (m_running || !m_subscribe || !callback) return false;
    {
        std::lock_guard lock(m_slot->mutex);
        m_slot->callback = std::move(callback);
    }
    std::weak_ptr<Slot> weak = m_slot;
    m_subscribe([weak](const HidHotPlugEvent& event) {
        const auto slot = weak.lock();
        if (!slot) return;
        std::lock_guard lock(slot->mutex);
        if (slot->callback) slot->callback(event);
    });
    m_running = true;
    return true;
}

void SimulatedHotPlugSource::stop() {
    if (!m_running) return;
    m_subscribe(nullptr);
    std::lock_guard lock(m_slot->mutex);
    m_slot->callback = nullptr;
    m_running = false;
}

bool SimulatedHotPlugSource::isRunning() const {
    return m_running;
}

}  // namespace quorvik
