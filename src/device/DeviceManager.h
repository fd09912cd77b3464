// The single object through which the program reaches the mice: the supported
// USB identities, the opened vendor interfaces (entries), which model is
// current and which interface carries its commands, the command transaction,
// the unsolicited-report reads and the loader interface used for flashing.
// Input and output happen on the device worker; the window thread only asks
// queries. One lock guards the tables; it is never held during a read or write,
// so a query never waits for a transaction, and entries are replaced only under
// the lock, so a query never sees one being destroyed.
#pragma once

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <span>
#include <string>
#include <vector>

#include "device/DeviceEntry.h"
#include "device/HidBackend.h"
#include "device/ReadInterrupt.h"
#include "device/SupportedDevice.h"
#include "protocol/DeviceInfoBlock.h"
#include "protocol/Loader.h"

namespace quorvik {

class DeviceManager {
public:
    // Transaction timing: 50 reads of 30 ms, and the pause before the second
    // identify of an interface.
    static constexpr int kReplyAttempts = 50;
    static constexpr int kReplyTimeoutMs = 30;
    static constexpr int kIdentifyRetryDelayMs = 500;
    static constexpr int kNotificationTimeoutMs = 100;
    static constexpr int kReceiverListenTimeoutMs = 10;
    static constexpr std::size_t kNotificationSize = 65;

    // The process-wide manager, created on first use over the hidapi backend.
    static DeviceManager& Instance();

    // A manager of its own over the given backend (tests, --simulate).
    explicit DeviceManager(std::shared_ptr<HidBackend> backend);
    ~DeviceManager();
    DeviceManager(const DeviceManager&) = delete;
    DeviceManager& operator=(const DeviceManager&) = delete;

    // Replaces the backend: closes every entry and the loader interface first.
    void setBackend(std::shared_ptr<HidBackend> backend);

    // --- Registrations ----------------------------------------------------
    void AddSupportedDevice(SupportedDevice device);
    void ClearSupportedDevices();
    bool IsSupported(int vid, int pid) const;
    // Mode of the first registration with vid/pid; 0 when none.
    int ModeOf(int vid, int pid) const;
    // Model of a device reporting devId: at the first registration of vid/pid
    // in order, 101 when it has no dev_id, its type when dev_id matches
    // exactly, otherwise the next registration is tried; 0 when none matches.
    int TypeFor(int vid, int pid, const std::string& devId) const;

    // --- Refresh cycle ------------------------------------------------------
    // Opens and identifies every vendor command interface (usage page 1,
    // usage 0) of a supported vid/pid and appends it as an entry.
    void Enumerate();
    // Nothing while not ready; otherwise not ready, every entry closed and
    // removed, no current interface.
    void CloseAll();
    void SetReady();
    bool isReady() const { return m_ready.load(); }

    // --- Current model and queries ------------------------------------------
    void SetCurrentType(int type);
    int currentType() const;
    // The interface commands go to: the first wired entry of the current
    // model, else its first receiver entry when the mouse behind it is online;
    // null when none.
    std::shared_ptr<HidDevice> CurrentDevice();
    // 0 when the current model has a wired entry, 1 when it has a receiver
    // entry (online or not), -1 when neither.
    int CurrentMode() const;
    bool CurrentVidPid(int& vid, int& pid);
    // A copy of the entry owning the current interface; false when none.
    bool CurrentEntry(DeviceEntry& entry);
    bool EntriesOfCurrentType(std::vector<DeviceEntry>& list) const;
    bool OnlineEntriesOfCurrentType(std::vector<DeviceEntry>& list) const;
    bool IsTypeConnected(int type) const;
    bool ReleaseOfMode(std::uint32_t& release, int mode) const;
    // Sets state on every entry with this model and mode. When that takes the
    // current receiver offline it is no longer current.
    void SetConnectionState(int type, int mode, int state);
    std::vector<DeviceEntry> entries() const;

    // --- Transport ------------------------------------------------------------
    // One request/reply transaction on the current interface. `buffer` holds
    // the request (at least 33 bytes, at most 65; byte 32 receives the
    // checksum) and receives the reply: after a failure the last report read,
    // or the request when nothing came. `replyLength`, when given, receives
    // the number of reply bytes read (0 on failure), so a short reply is never
    // mistaken for a full one.
    bool SendCommand(std::uint8_t* buffer, std::size_t length, std::size_t* replyLength = nullptr);
    // Identifies one interface into `info`. With a null device it copies the
    // current entry's stored block instead (false when there is none).
    bool Identify(DeviceInfoBlock& info, HidDevice* device);

    // --- Unsolicited reports ----------------------------------------------------
    // The signal that cuts ReadNotification and PollDongleConnection short, so
    // that a queued task never waits for an idle read; null (the start) for
    // none. The owner of the worker wires its task queue's signal once:
    //     manager.setReadInterrupt(taskQueue.readInterrupt());
    // An interrupted read reads nothing: the notice it would have read stays
    // with the device for the next idle turn.
    void setReadInterrupt(std::shared_ptr<const ReadInterrupt> interrupt);
    // Reads one report (65-byte buffer) into `report`; `type` receives the
    // current model or, while listening to the receivers, the model of the
    // receiver that sent it. True only when the report came through the
    // current interface. A notice that arrived during a transaction on the
    // current interface is handed out first, without a read. A raised read
    // interrupt ends the read (or the walk over the receivers) with nothing
    // read: false, report untouched.
    bool ReadNotification(std::uint8_t* report, int& type);
    // Reads each receiver of the current model for a connection notice and
    // applies it (state 1 online, 2 offline). A raised read interrupt ends the
    // walk; the receivers not read yet are read at the next poll.
    void PollDongleConnection();

    // --- Loader interface -------------------------------------------------------
    // Opens the loader collection (usage page 0xFFEF, usage 0) of vid/pid and
    // keeps it as the flash interface; false when there is none.
    bool OpenFlashInterface(int vid, int pid);
    void closeFlashInterface();
    bool hasFlashInterface() const;
    // One loader exchange on the flash interface (see the .cpp for the rule).
    bool FlashTransfer(const LoaderReport& report);

private:
    struct Slot {
        DeviceEntry entry;
        std::shared_ptr<HidDevice> hid;
    };
    struct Listener {
        std::shared_ptr<HidDevice> hid;
        int deviceType = 0;
        int mode = 0;
    };

    // Helpers whose name ends in Locked run with m_lock held.
    int modeOfLocked(int vid, int pid) const;
    int typeForLocked(int vid, int pid, const std::string& devId) const;
    Slot* currentSlotLocked();
    std::shared_ptr<HidDevice> currentDeviceLocked();
    void setConnectionStateLocked(int type, int mode, int state);
    std::vector<Listener> receiversLocked(bool currentTypeOnly) const;

    // Keeps a notice read during a transaction for the next ReadNotification.
    void holdNotice(const std::uint8_t* report, int count);
    // Identify with one retry after kIdentifyRetryDelayMs.
    bool identifyWithRetry(DeviceInfoBlock& info, HidDevice& device);
    // A receiver's online notice: identify it again and refresh its model.
    void reidentifyReceiver(const std::shared_ptr<HidDevice>& hid);

    mutable std::mutex m_lock;
    std::shared_ptr<HidBackend> m_backend;
    bool m_backendReady = false;
    std::atomic<bool> m_ready{false};
    std::vector<Slot> m_slots;
    std::vector<SupportedDevice> m_supported;
    int m_currentType = 0;
    int m_currentIndex = -1;  // slot owning the current interface, -1 none
    std::shared_ptr<HidDevice> m_flashHid;
    std::shared_ptr<const ReadInterrupt> m_readInterrupt;
    // Notices that arrived on the command interface while a transaction waited
    // for its reply; ReadNotification hands them out first, oldest first.
    static constexpr std::size_t kHeldNoticeLimit = 8;
    std::vector<std::array<std::uint8_t, kNotificationSize>> m_heldNotices;
};

}  // namespace quorvik
