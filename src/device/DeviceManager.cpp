// Device manager: registrations, enumeration, the current interface and the
// queries the window thread asks. The transport and report reads are in
// DeviceManagerTransport.cpp.
#include "device/DeviceManager.h"

#include <utility>

#include "base/Text.h"
#include "base/Trace.h"
#include "device/HidapiBackend.h"

namespace quorvik {

namespace {

constexpr std::uint16_t kCommandUsagePage = 0x0001;
constexpr std::uint16_t kCommandUsage = 0x0000;
constexpr std::size_t kDevIdLength = 4;

}  // namespace

DeviceManager& DeviceManager::Instance() {
    static DeviceManager manager(std::make_shared<HidapiBackend>());
    return manager;
}

DeviceManager::DeviceManager(std::shared_ptr<HidBackend> backend) : m_backend(std::move(backend)) {
    if (m_backend) m_backendReady = m_backend->init();
}

DeviceManager::~DeviceManager() {
    std::lock_guard lock(m_lock);
    m_slots.clear();
    m_flashHid.reset();
    m_supported.clear();
}

void DeviceManager::setBackend(std::shared_ptr<HidBackend> backend) {
    std::vector<Slot> closing;
    std::shared_ptr<HidDevice> flash;
    {
        std::lock_guard lock(m_lock);
        m_ready = false;
        closing.swap(m_slots);
        flash.swap(m_flashHid);
        m_currentIndex = -1;
        m_heldNotices.clear();
        m_backend = std::move(backend);
        m_backendReady = m_backend && m_backend->init();
    }
    // Handles close here, outside the lock.
}

// --- Registrations ---------------------------------------------------------------

void DeviceManager::AddSupportedDevice(SupportedDevice device) {
    std::lock_guard lock(m_lock);
    m_supported.push_back(std::move(device));
}

void DeviceManager::ClearSupportedDevices() {
    std::lock_guard lock(m_lock);
    m_supported.clear();
}

bool DeviceManager::IsSupported(int vid, int pid) const {
    std::lock_guard lock(m_lock);
    for (const SupportedDevice& s : m_supported)
        if (s.vid == vid && s.pid == pid) return true;
    return false;
}

int DeviceManager::ModeOf(int vid, int pid) const {
    std::lock_guard lock(m_lock);
    return modeOfLocked(vid, pid);
}

int DeviceManager::modeOfLocked(int vid, int pid) const {
    for (const SupportedDevice& s : m_supported)
        if (s.vid == vid && s.pid == pid) return s.mode;
    return 0;
}

int DeviceManager::TypeFor(int vid, int pid, const std::string& devId) const {
    std::lock_guard lock(m_lock);
    return typeForLocked(vid, pid, devId);
}

int DeviceManager::typeForLocked(int vid, int pid, const std::string& devId) const {
    for (const SupportedDevice& s : m_supported) {
        if (s.vid != vid || s.pid != pid) continue;
        if (codePointCount(s.devId) < kDevIdLength) return kAnyModelType;
        if (s.devId == devId) return s.deviceType;
    }
    return 0;
}

// --- Refresh cycle -----------------------------------------------------------------

void DeviceManager::Enumerate() {
    trace("EnumerateDevice!");
    std::shared_ptr<HidBackend> backend;
    {
        std::lock_guard lock(m_lock);
        if (m_backend && !m_backendReady) m_backendReady = m_backend->init();
        if (!m_backendReady) return;  // tried again at the next enumeration
        backend = m_backend;
    }
    for (const HidInterfaceInfo& info : backend->enumerate()) {
        if (!IsSupported(info.vid, info.pid)) continue;
        std::unique_ptr<HidDevice> opened = backend->openPath(info.path);
        if (!opened) continue;
        trace(format("EnumerateDevice UsagePage: %X, Usage: %X", info.usagePage, info.usage));
        if (info.usagePage != kCommandUsagePage || info.usage != kCommandUsage) continue;  // closes it
        trace("Open hid Device Suc!");

        Slot slot;
        slot.hid = std::move(opened);
        DeviceEntry& entry = slot.entry;
        entry.product = slot.hid->productString();
        entry.vid = info.vid;
        entry.pid = info.pid;
        entry.release = info.release;
        entry.mode = ModeOf(info.vid, info.pid);
        entry.state = kEntryOnline;
        entry.path = info.path;

        // Identification happens before the entry is visible, so no query waits for it.
        DeviceInfoBlock block;
        if (identifyWithRetry(block, *slot.hid)) {
            entry.info = block;
            entry.devId = block.devId();
            entry.deviceType = TypeFor(info.vid, info.pid, entry.devId);
            // A receiver whose mouse is switched off offers no command
            // interface until its online notice arrives.
            if (entry.mode == kModeReceiver && !block.mouseOnline()) entry.state = kEntryOfflineByPoll;
            trace(format("EnumerateDevice!, GetDeviceId: %s, GetDeviceType: %d", entry.devId.c_str(),
                         entry.deviceType));
        }
        trace(format("EnumerateDevice vendor_id: %X, product_id: %X, dev_type: %x, dev_mode: %x", info.vid,
                     info.pid, static_cast<unsigned>(entry.deviceType), static_cast<unsigned>(entry.mode)));

        std::lock_guard lock(m_lock);
        entry.index = static_cast<int>(m_slots.size());
        m_slots.push_back(std::move(slot));
    }
}

void DeviceManager::CloseAll() {
    std::vector<Slot> closing;
    {
        std::lock_guard lock(m_lock);
        if (!m_ready) return;
        m_ready = false;
        closing.swap(m_slots);
        m_currentIndex = -1;
        m_heldNotices.clear();  // they belong to interfaces now closed
    }
    // Each handle closes when its last holder lets go: here, or at the end of
    // a read the worker is still doing on it.
}

void DeviceManager::SetReady() {
    m_ready = true;
}

// --- Current model and queries -----------------------------------------------------------

void DeviceManager::SetCurrentType(int type) {
    std::lock_guard lock(m_lock);
    m_currentType = type;
    m_currentIndex = -1;
    m_heldNotices.clear();  // they came from the previous model's interface
}

int DeviceManager::currentType() const {
    std::lock_guard lock(m_lock);
    return m_currentType;
}

DeviceManager::Slot* DeviceManager::currentSlotLocked() {
    if (m_currentIndex < 0 || m_currentIndex >= static_cast<int>(m_slots.size())) return nullptr;
    return &m_slots[static_cast<std::size_t>(m_currentIndex)];
}

std::shared_ptr<HidDevice> DeviceManager::currentDeviceLocked() {
    if (Slot* slot = currentSlotLocked()) return slot->hid;
    for (std::size_t i = 0; i < m_slots.size(); ++i) {
        const DeviceEntry& e = m_slots[i].entry;
        if (e.deviceType == m_currentType && e.mode == kModeWired) {
            m_currentIndex = static_cast<int>(i);
            return m_slots[i].hid;
        }
    }
    for (std::size_t i = 0; i < m_slots.size(); ++i) {
        const DeviceEntry& e = m_slots[i].entry;
        if (e.deviceType == m_currentType && e.mode == kModeReceiver) {
            if (e.state != kEntryOnline) return nullptr;  // later receivers are not tried
            m_currentIndex = static_cast<int>(i);
            return m_slots[i].hid;
        }
    }
    return nullptr;
}

std::shared_ptr<HidDevice> DeviceManager::CurrentDevice() {
    std::lock_guard lock(m_lock);
    return currentDeviceLocked();
}

int DeviceManager::CurrentMode() const {
    std::lock_guard lock(m_lock);
    bool receiver = false;
    for (const Slot& slot : m_slots) {
        if (slot.entry.deviceType != m_currentType) continue;
        if (slot.entry.mode == kModeWired) return kModeWired;
        if (slot.entry.mode == kModeReceiver) receiver = true;
    }
    return receiver ? kModeReceiver : -1;
}

bool DeviceManager::CurrentVidPid(int& vid, int& pid) {
    std::lock_guard lock(m_lock);
    if (!currentSlotLocked()) currentDeviceLocked();
    const Slot* slot = currentSlotLocked();
    if (!slot) return false;
    vid = slot->entry.vid;
    pid = slot->entry.pid;
    return true;
}

bool DeviceManager::CurrentEntry(DeviceEntry& entry) {
    std::lock_guard lock(m_lock);
    if (!currentSlotLocked()) currentDeviceLocked();
    const Slot* slot = currentSlotLocked();
    if (!slot) return false;
    entry = slot->entry;
    return true;
}

bool DeviceManager::EntriesOfCurrentType(std::vector<DeviceEntry>& list) const {
    std::lock_guard lock(m_lock);
    list.clear();
    if (m_slots.empty()) return false;
    for (const Slot& slot : m_slots)
        if (m_currentType == 0 || slot.entry.deviceType == m_currentType) list.push_back(slot.entry);
    return true;
}

bool DeviceManager::OnlineEntriesOfCurrentType(std::vector<DeviceEntry>& list) const {
    std::lock_guard lock(m_lock);
    list.clear();
    if (m_slots.empty()) return false;
    for (const Slot& slot : m_slots) {
        if (m_currentType == 0 ||
            (slot.entry.deviceType == m_currentType && slot.entry.state == kEntryOnline))
            list.push_back(slot.entry);
    }
    return true;
}

bool DeviceManager::IsTypeConnected(int type) const {
    std::lock_guard lock(m_lock);
    for (const Slot& slot : m_slots)
        if (slot.entry.deviceType == type && !slot.entry.devId.empty() && slot.entry.state > 0) return true;
    return false;
}

bool DeviceManager::ReleaseOfMode(std::uint32_t& release, int mode) const {
    std::lock_guard lock(m_lock);
    if (!m_ready) return false;
    for (const Slot& slot : m_slots) {
        if (slot.entry.mode == mode) {
            release = slot.entry.release;
            return true;
        }
    }
    return false;
}

void DeviceManager::SetConnectionState(int type, int mode, int state) {
    std::lock_guard lock(m_lock);
    setConnectionStateLocked(type, mode, state);
}

void DeviceManager::setConnectionStateLocked(int type, int mode, int state) {
    for (Slot& slot : m_slots)
        if (slot.entry.deviceType == type && slot.entry.mode == mode) slot.entry.state = state;
    // A receiver whose mouse went away carries no commands: choose again at the next use.
    if (const Slot* current = currentSlotLocked();
        current && current->entry.mode == kModeReceiver && current->entry.state != kEntryOnline)
        m_currentIndex = -1;
}

std::vector<DeviceEntry> DeviceManager::entries() const {
    std::lock_guard lock(m_lock);
    std::vector<DeviceEntry> list;
    list.reserve(m_slots.size());
    for (const Slot& slot : m_slots) list.push_back(slot.entry);
    return list;
}

}  // namespace quorvik
