// Device manager: the command transaction, identify, the unsolicited-report
// reads and the loader exchange. Reads and writes run without the manager's
// lock; each handle is held by a shared pointer for the duration, so a refresh
// on another thread can drop the entry without closing a handle in use.
#include <algorithm>
#include <chrono>
#include <cstring>
#include <thread>

#include "base/Text.h"
#include "device/DeviceManager.h"
#include "protocol/CommandPacket.h"
#include "protocol/CommandReply.h"
#include "protocol/Notification.h"

namespace quorvik {

namespace {

constexpr std::uint16_t kLoaderUsagePage = 0xFFEF;
constexpr std::uint16_t kLoaderUsage = 0x0000;
constexpr int kFlashRetryDelayMs = 3;
constexpr int kFlashReadDelayMs = 5;
constexpr int kFlashReadTimeoutMs = 1000;

void sleepMs(int ms) {
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

bool isNotice(const std::uint8_t* report, int count) {
    return count > 0 && (report[0] == kNotifyConnection || report[0] == kNotifyDpiChange);
}

// A report that ends a wait for a reply: status 0, and not one of the notices
// the mouse sends by itself (an offline notice "C0 00" would otherwise pass
// for a successful reply and its bytes be stored as settings).
bool isReply(const std::uint8_t* report, int count) {
    if (count <= static_cast<int>(replyByte::kStatus) || isNotice(report, count)) return false;
    return report[replyByte::kStatus] == 0;
}

}  // namespace

bool DeviceManager::SendCommand(std::uint8_t* buffer, std::size_t length, std::size_t* replyLength) {
    if (replyLength) *replyLength = 0;
    if (buffer == nullptr || length < kShortPacketSize || length > kLongPacketSize) return false;
    if (!m_ready) return false;
    std::shared_ptr<HidDevice> hid = CurrentDevice();
    if (!hid) return false;

    buffer[requestByte::kChecksum] = packetChecksum({buffer, length});
    std::array<std::uint8_t, kLongPacketSize> work{};
    std::memcpy(work.data(), buffer, length);
    if (hid->write(work.data(), length) <= 0) return false;

    std::memcpy(work.data(), buffer, length);
    bool success = false;
    for (int attempt = 0; attempt < kReplyAttempts; ++attempt) {
        const int count = hid->readTimeout(work.data(), length, kReplyTimeoutMs);
        if (count < 0) break;  // the device is gone: no reply will come
        if (isNotice(work.data(), count)) holdNotice(work.data(), count);
        if (isReply(work.data(), count)) {
            success = true;
            if (replyLength) *replyLength = static_cast<std::size_t>(count);
            break;
        }
    }
    std::memcpy(buffer, work.data(), length);
    return success;
}

void DeviceManager::holdNotice(const std::uint8_t* report, int count) {
    std::array<std::uint8_t, kNotificationSize> notice{};
    std::memcpy(notice.data(), report, std::min<std::size_t>(static_cast<std::size_t>(count), notice.size()));
    std::lock_guard lock(m_lock);
    if (m_heldNotices.size() >= kHeldNoticeLimit) m_heldNotices.erase(m_heldNotices.begin());
    m_heldNotices.push_back(notice);
}

bool DeviceManager::Identify(DeviceInfoBlock& info, HidDevice* device) {
    if (device == nullptr) {
        DeviceEntry entry;
        if (!CurrentEntry(entry)) return false;
        info = entry.info;
        return true;
    }
    const CommandPacket request = identifyRequest();
    if (device->write(request.bytes().data(), request.size()) <= 0) return false;
    std::array<std::uint8_t, kShortPacketSize> reply{};
    for (int attempt = 0; attempt < kReplyAttempts; ++attempt) {
        reply.fill(0);
        const int count = device->readTimeout(reply.data(), reply.size(), kReplyTimeoutMs);
        if (count < 0) return false;
        if (isReply(reply.data(), count)) {
            info = DeviceInfoBlock::fromReply({reply.data(), static_cast<std::size_t>(count)});
            return true;
        }
    }
    return false;
}

bool DeviceManager::identifyWithRetry(DeviceInfoBlock& info, HidDevice& device) {
    if (Identify(info, &device)) return true;
    sleepMs(kIdentifyRetryDelayMs);
    return Identify(info, &device);
}

std::vector<DeviceManager::Listener> DeviceManager::receiversLocked(bool currentTypeOnly) const {
    std::vector<Listener> list;
    for (const Slot& slot : m_slots) {
        if (slot.entry.mode != kModeReceiver || !slot.hid) continue;
        if (currentTypeOnly && slot.entry.deviceType != m_currentType) continue;
        list.push_back({slot.hid, slot.entry.deviceType, slot.entry.mode});
    }
    return list;
}

void DeviceManager::reidentifyReceiver(const std::shared_ptr<HidDevice>& hid) {
    DeviceInfoBlock block;
    if (!identifyWithRetry(block, *hid)) return;  // keeps its previous dev_id and model
    std::lock_guard lock(m_lock);
    for (Slot& slot : m_slots) {
        if (slot.hid != hid) continue;  // the entry may have gone in a refresh meanwhile
        slot.entry.info = block;
        slot.entry.devId = block.devId();
        slot.entry.deviceType = typeForLocked(slot.entry.vid, slot.entry.pid, slot.entry.devId);
    }
}

void DeviceManager::setReadInterrupt(std::shared_ptr<const ReadInterrupt> interrupt) {
    std::lock_guard lock(m_lock);
    m_readInterrupt = std::move(interrupt);
}

bool DeviceManager::ReadNotification(std::uint8_t* report, int& type) {
    if (report == nullptr || !m_ready) return false;
    std::shared_ptr<HidDevice> current;
    std::vector<Listener> receivers;
    std::shared_ptr<const ReadInterrupt> interrupt;
    {
        std::lock_guard lock(m_lock);
        type = m_currentType;
        if (!m_heldNotices.empty()) {
            std::memcpy(report, m_heldNotices.front().data(), kNotificationSize);
            m_heldNotices.erase(m_heldNotices.begin());
            return true;
        }
        current = currentDeviceLocked();
        if (!current) receivers = receiversLocked(false);
        interrupt = m_readInterrupt;
    }
    if (current)
        return current->readInterruptible(report, kNotificationSize, kNotificationTimeoutMs,
                                          interrupt.get()) > 0;

    // No command interface: listen to every receiver for its connection notice.
    for (const Listener& receiver : receivers) {
        std::array<std::uint8_t, kNotificationSize> buffer{};
        if (receiver.hid->readInterruptible(buffer.data(), kShortPacketSize, kReceiverListenTimeoutMs,
                                            interrupt.get()) <= 0) {
            if (interrupt && interrupt->isRaised()) return false;  // a task is waiting
            continue;
        }
        type = receiver.deviceType;
        if (buffer[0] == kNotifyConnection) {
            const bool online = buffer[1] == 1;
            int state = online ? kEntryOnline : kEntryOfflineByNotice;
            if (online) reidentifyReceiver(receiver.hid);
            std::lock_guard lock(m_lock);
            // The notice's receiver first, then every receiver of its model.
            int modelType = receiver.deviceType;
            for (Slot& slot : m_slots) {
                if (slot.hid != receiver.hid) continue;
                slot.entry.state = state;
                modelType = slot.entry.deviceType;
            }
            setConnectionStateLocked(modelType, kModeReceiver, state);
            type = modelType;
        }
        std::memcpy(report, buffer.data(), buffer.size());
        return false;
    }
    return false;
}

void DeviceManager::PollDongleConnection() {
    std::vector<Listener> receivers;
    std::shared_ptr<const ReadInterrupt> interrupt;
    {
        std::lock_guard lock(m_lock);
        receivers = receiversLocked(true);
        interrupt = m_readInterrupt;
    }
    for (const Listener& receiver : receivers) {
        std::array<std::uint8_t, kNotificationSize> buffer{};
        if (receiver.hid->readInterruptible(buffer.data(), kShortPacketSize, kReceiverListenTimeoutMs,
                                            interrupt.get()) <= 0) {
            if (interrupt && interrupt->isRaised()) return;  // a task is waiting
            continue;
        }
        if (buffer[0] != kNotifyConnection) continue;
        SetConnectionState(receiver.deviceType, receiver.mode,
                           buffer[1] == 1 ? kEntryOnline : kEntryOfflineByPoll);
    }
}

bool DeviceManager::OpenFlashInterface(int vid, int pid) {
    std::shared_ptr<HidBackend> backend;
    {
        std::lock_guard lock(m_lock);
        if (m_backend && !m_backendReady) m_backendReady = m_backend->init();
        if (!m_backendReady) return false;
        backend = m_backend;
    }
    std::shared_ptr<HidDevice> opened;
    for (const HidInterfaceInfo& info : backend->enumerate()) {
        if (info.vid != vid || info.pid != pid) continue;
        if (info.usagePage != kLoaderUsagePage || info.usage != kLoaderUsage) continue;
        opened = backend->openPath(info.path);
        if (opened) break;
    }
    std::lock_guard lock(m_lock);
    m_flashHid = opened;
    return m_flashHid != nullptr;
}

void DeviceManager::closeFlashInterface() {
    std::shared_ptr<HidDevice> closing;
    std::lock_guard lock(m_lock);
    closing.swap(m_flashHid);
}

bool DeviceManager::hasFlashInterface() const {
    std::lock_guard lock(m_lock);
    return m_flashHid != nullptr;
}

// The report is written and not answered. When the write fails it is written
// once more after 3 ms and, 5 ms later, an answer is awaited for up to 1 s. The
// exchange counts only when that second write went through and the loader
// answered: an answer left over from an earlier report must not turn a report
// that never arrived into a success.
bool DeviceManager::FlashTransfer(const LoaderReport& report) {
    std::shared_ptr<HidDevice> hid;
    {
        std::lock_guard lock(m_lock);
        hid = m_flashHid;
    }
    if (!hid) return false;
    if (hid->write(report.data(), report.size()) > 0) return true;
    sleepMs(kFlashRetryDelayMs);
    if (hid->write(report.data(), report.size()) <= 0) return false;
    sleepMs(kFlashReadDelayMs);
    std::array<std::uint8_t, kLoaderReportSize> answer{};
    return hid->readTimeout(answer.data(), answer.size(), kFlashReadTimeoutMs) > 0;
}

}  // namespace quorvik
