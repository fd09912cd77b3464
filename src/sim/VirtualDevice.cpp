// Report routing, handles, faults and plugging of one simulated device. Each open handle gets
// its own copy of every input report from the moment it was opened, as every open hidraw node
// does; reports sent while no handle is open are lost.
#include "sim/VirtualDevice.h"

#include <algorithm>

#include "base/Text.h"

namespace quorvik {

VirtualDevice::VirtualDevice(VirtualMouseConfig config, int instance)
    : m_config(std::move(config)),
      m_instance(instance),
      m_plugged(m_config.plugged),
      m_mouse(m_config) {}

std::string VirtualDevice::collectionPath(std::size_t collection) const {
    if (collection >= m_config.collections.size()) return {};
    const VirtualCollection& c = m_config.collections[collection];
    const std::string root = m_instance == 0 ? "sim" : format("sim%d", m_instance + 1);
    return format("%s/VID_%04X&PID_%04X&MI_%02X/col%02d", root.c_str(), m_config.vid, m_config.pid,
                  c.interfaceNumber, c.collectionNumber);
}

bool VirtualDevice::isPlugged() const {
    std::lock_guard lock(m_mutex);
    return m_plugged;
}

void VirtualDevice::setPlugListener(PlugListener listener) {
    std::lock_guard lock(m_mutex);
    m_plugListener = std::move(listener);
}

void VirtualDevice::setCommandListener(CommandListener listener) {
    std::lock_guard lock(m_mutex);
    m_commandListener = std::move(listener);
}

void VirtualDevice::notifyPlug(bool plugged) {
    PlugListener listener;
    {
        std::lock_guard lock(m_mutex);
        listener = m_plugListener;
    }
    if (listener) listener(*this, plugged);
}

void VirtualDevice::plug() {
    {
        std::lock_guard lock(m_mutex);
        if (m_plugged) return;
        m_plugged = true;
    }
    notifyPlug(true);
}

void VirtualDevice::unplug() {
    {
        std::lock_guard lock(m_mutex);
        if (!m_plugged) return;
        unplugLocked();
    }
    notifyPlug(false);
}

void VirtualDevice::unplugLocked() {
    m_plugged = false;
    m_handles.clear();  // every open handle is dead now
    m_loader.interrupt();
    m_inputReady.notify_all();
}

void VirtualDevice::switchMouse(bool on) {
    std::lock_guard lock(m_mutex);
    if (auto notice = m_mouse.setMouseOnline(on)) queueInput(CollectionRole::Commands, *notice);
}

void VirtualDevice::setBattery(std::uint8_t level, std::uint8_t charging) {
    std::lock_guard lock(m_mutex);
    if (auto notice = m_mouse.setBattery(level, charging))
        queueInput(CollectionRole::Commands, *notice);
}

void VirtualDevice::pressDpiButton() {
    std::lock_guard lock(m_mutex);
    if (auto notice = m_mouse.pressDpiButton()) queueInput(CollectionRole::Commands, *notice);
}

void VirtualDevice::injectFault(const SimFault& fault) {
    std::lock_guard lock(m_mutex);
    if (fault.kind == FaultKind::UnplugDuringFlash) {
        m_flashFaults.push_back(fault);
        m_loaderReports = 0;
    } else if (fault.commands != 0) {
        m_commandFaults.push_back(fault);
    }
}

void VirtualDevice::clearFaults() {
    std::lock_guard lock(m_mutex);
    m_commandFaults.clear();
    m_flashFaults.clear();
}

void VirtualDevice::queueInput(CollectionRole role, std::vector<std::uint8_t> report,
                               Clock::time_point readyAt) {
    if (!m_plugged) return;
    for (auto& [id, handle] : m_handles) {
        if (m_config.collections[handle.collection].role != role) continue;
        handle.queue.push_back({readyAt, report});
        if (handle.queue.size() > kQueueLimit) handle.queue.pop_front();
    }
    m_inputReady.notify_all();
}

int VirtualDevice::openHandle(std::size_t collection) {
    std::lock_guard lock(m_mutex);
    if (!m_plugged || collection >= m_config.collections.size()) return 0;
    const int id = m_nextHandle++;
    m_handles[id].collection = collection;
    return id;
}

void VirtualDevice::closeHandle(int handle) {
    std::lock_guard lock(m_mutex);
    m_handles.erase(handle);
    m_inputReady.notify_all();  // a read blocked on this handle returns
}

std::vector<std::uint8_t> VirtualDevice::garbage() {
    std::vector<std::uint8_t> noise(VirtualMouse::kInputReportSize);
    for (auto& byte : noise) {
        m_noise ^= m_noise << 13;
        m_noise ^= m_noise >> 17;
        m_noise ^= m_noise << 5;
        byte = static_cast<std::uint8_t>(m_noise >> 24);
    }
    if (noise[1] == 0) noise[1] = 0xA5;
    return noise;
}

int VirtualDevice::writeCommand(const std::uint8_t* data, std::size_t length, bool& unpluggedNow) {
    // Report ID 0 and at most one output report; shorter writes are padded
    // with zeros, as the HID driver pads them.
    if (length < 2 || length > VirtualMouse::kOutputReportSize || data[0] != 0x00) return -1;
    std::vector<std::uint8_t> request(VirtualMouse::kOutputReportSize, 0);
    std::copy(data, data + length, request.begin());

    SimFault fault;
    bool faulty = false;
    if (!m_commandFaults.empty()) {
        fault = m_commandFaults.front();
        faulty = true;
        if (m_commandFaults.front().commands > 0 && --m_commandFaults.front().commands == 0)
            m_commandFaults.pop_front();
    }
    if (faulty && fault.kind == FaultKind::NoReply) return static_cast<int>(length);

    std::optional<VirtualMouse::Report> reply = m_mouse.handleCommand(request);
    if (!reply) return static_cast<int>(length);  // nobody there to carry it out
    ++m_commandsCarriedOut;

    Clock::time_point readyAt = Clock::now();
    if (faulty) {
        switch (fault.kind) {
            case FaultKind::BusyFirst: {
                VirtualMouse::Report busy(VirtualMouse::kInputReportSize, 0);
                busy[0] = request[1];
                busy[1] = VirtualMouse::kStatusBusy;
                queueInput(CollectionRole::Commands, busy);
                break;
            }
            case FaultKind::DelayedReply:
                readyAt += std::chrono::milliseconds(std::max(0, fault.delayMs));
                break;
            case FaultKind::GarbageReply:
                *reply = garbage();
                break;
            case FaultKind::ShortReply:
                reply->resize(std::min(reply->size(), fault.shortLength));
                break;
            case FaultKind::UnplugInTransaction:
                unplugLocked();
                unpluggedNow = true;
                return static_cast<int>(length);
            default:
                break;
        }
    }
    if (!reply->empty()) queueInput(CollectionRole::Commands, std::move(*reply), readyAt);
    return static_cast<int>(length);
}

int VirtualDevice::writeLoader(const std::uint8_t* data, std::size_t length, bool& unpluggedNow) {
    if (length > VirtualMouse::kOutputReportSize) return -1;
    if (!m_flashFaults.empty() && m_loaderReports >= m_flashFaults.front().afterReports) {
        m_flashFaults.pop_front();
        unplugLocked();
        unpluggedNow = true;
        return -1;
    }
    ++m_loaderReports;
    std::vector<std::uint8_t> report(VirtualLoader::kReportSize, 0);
    std::copy(data, data + std::min(length, report.size()), report.begin());
    if (length < VirtualLoader::kReportSize) report.resize(length);
    queueInput(CollectionRole::Loader, m_loader.handleReport(report));
    return static_cast<int>(length);
}

int VirtualDevice::write(int handle, const std::uint8_t* data, std::size_t length) {
    if (data == nullptr || length == 0) return -1;
    bool unpluggedNow = false;
    int result = -1;
    CommandListener commandListener;
    {
        std::lock_guard lock(m_mutex);
        auto it = m_handles.find(handle);
        if (it == m_handles.end()) return -1;
        switch (m_config.collections[it->second.collection].role) {
            case CollectionRole::Commands:
                result = writeCommand(data, length, unpluggedNow);
                if (result > 0) commandListener = m_commandListener;
                break;
            case CollectionRole::Loader: result = writeLoader(data, length, unpluggedNow); break;
            case CollectionRole::Inert: result = -1; break;
        }
    }
    if (commandListener) commandListener(length > 1 ? data[1] : 0);
    if (unpluggedNow) notifyPlug(false);
    return result;
}

int VirtualDevice::read(int handle, std::uint8_t* data, std::size_t length, int timeoutMs,
                        const ReadInterrupt* interrupt) {
    if (data == nullptr || length == 0) return -1;
    // The waker is registered before the interrupt is first looked at (under
    // the device lock), and it takes that lock to notify: a raise either is
    // seen by that look or wakes the wait that follows it. The subscription
    // ends after the lock is released, never while holding it.
    ReadInterrupt::Subscription subscription;
    if (interrupt != nullptr) {
        subscription = interrupt->subscribe([this] {
            std::lock_guard wakeLock(m_mutex);
            m_inputReady.notify_all();
        });
    }
    std::unique_lock lock(m_mutex);
    const bool forever = timeoutMs < 0;
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(forever ? 0 : timeoutMs);
    for (;;) {
        auto it = m_handles.find(handle);
        if (it == m_handles.end()) return -1;  // closed or unplugged
        if (interrupt != nullptr && interrupt->isRaised()) return 0;  // the report stays queued
        std::deque<Pending>& queue = it->second.queue;
        const Clock::time_point now = Clock::now();
        if (!queue.empty() && queue.front().readyAt <= now) {
            const std::vector<std::uint8_t> report = std::move(queue.front().bytes);
            queue.pop_front();
            const std::size_t count = std::min(length, report.size());
            std::copy(report.begin(), report.begin() + count, data);
            return static_cast<int>(count);
        }
        if (!forever && now >= deadline) return 0;
        Clock::time_point wake = forever ? Clock::time_point::max() : deadline;
        if (!queue.empty()) wake = std::min(wake, queue.front().readyAt);
        if (wake == Clock::time_point::max())
            m_inputReady.wait(lock);
        else
            m_inputReady.wait_until(lock, wake);
    }
}

MouseSettings VirtualDevice::settings() const {
    std::lock_guard lock(m_mutex);
    return m_mouse.settings();
}

bool VirtualDevice::mouseOnline() const {
    std::lock_guard lock(m_mutex);
    return m_mouse.mouseOnline();
}

std::uint8_t VirtualDevice::battery() const {
    std::lock_guard lock(m_mutex);
    return m_mouse.battery();
}

std::uint8_t VirtualDevice::charging() const {
    std::lock_guard lock(m_mutex);
    return m_mouse.charging();
}

int VirtualDevice::commandsCarriedOut() const {
    std::lock_guard lock(m_mutex);
    return m_commandsCarriedOut;
}

FlashState VirtualDevice::flashState() const {
    std::lock_guard lock(m_mutex);
    return m_loader.state();
}

FlashError VirtualDevice::flashError() const {
    std::lock_guard lock(m_mutex);
    return m_loader.error();
}

std::vector<std::uint8_t> VirtualDevice::flashedImage() const {
    std::lock_guard lock(m_mutex);
    return m_loader.image();
}

int VirtualDevice::completedFlashes() const {
    std::lock_guard lock(m_mutex);
    return m_loader.completedFlashes();
}

}  // namespace quorvik
