// One simulated USB device (wired mouse or receiver): its collections, firmware, loader,
// per-handle input queues and injected faults. Thread-safe, since the worker reads and writes
// while other threads switch the mouse or press its button; reads wait on a condition variable.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "device/ReadInterrupt.h"
#include "sim/SimFault.h"
#include "sim/VirtualLoader.h"
#include "sim/VirtualMouse.h"
#include "sim/VirtualMouseConfig.h"

namespace quorvik {

class VirtualDevice {
public:
    // Called after the device was plugged (true) or unplugged (false), outside
    // the device's lock.
    using PlugListener = std::function<void(const VirtualDevice&, bool plugged)>;
    // Called for every output report the command collection receives, with
    // its command byte, after the firmware took it and before anything is
    // read back; called on the writing thread, outside the device's lock.
    using CommandListener = std::function<void(std::uint8_t command)>;

    // Reports kept per open handle before the oldest is dropped (as hidraw does).
    static constexpr std::size_t kQueueLimit = 64;

    // instance numbers devices of the same vid/pid so their paths differ.
    VirtualDevice(VirtualMouseConfig config, int instance);

    const VirtualMouseConfig& config() const { return m_config; }
    // "sim/VID_1209&PID_0001&MI_02/col01" (instance 0), "sim2/..." (instance 1).
    std::string collectionPath(std::size_t collection) const;

    bool isPlugged() const;
    void plug();
    void unplug();
    void setPlugListener(PlugListener listener);
    void setCommandListener(CommandListener listener);

    // What the user does with the mouse. Each queues the notice the firmware
    // sends, when it sends one.
    void switchMouse(bool on);
    void setBattery(std::uint8_t level, std::uint8_t charging);
    void pressDpiButton();

    void injectFault(const SimFault& fault);
    void clearFaults();

    // HID access by collection index, for the simulated backend. openHandle
    // returns 0 when the device is unplugged or the index is unknown; the
    // other calls follow HidDevice's results.
    int openHandle(std::size_t collection);
    void closeHandle(int handle);
    int write(int handle, const std::uint8_t* data, std::size_t length);
    // A raised `interrupt` (null: none) ends the read with 0 before a report
    // is taken; raising it wakes a waiting read at once.
    int read(int handle, std::uint8_t* data, std::size_t length, int timeoutMs,
             const ReadInterrupt* interrupt = nullptr);

    // Snapshots for tests and for the simulator's own views.
    MouseSettings settings() const;
    bool mouseOnline() const;
    std::uint8_t battery() const;
    std::uint8_t charging() const;
    // Commands the firmware received and answered (refused ones included).
    int commandsCarriedOut() const;
    FlashState flashState() const;
    FlashError flashError() const;
    std::vector<std::uint8_t> flashedImage() const;
    int completedFlashes() const;

private:
    using Clock = std::chrono::steady_clock;
    struct Pending {
        Clock::time_point readyAt;
        std::vector<std::uint8_t> bytes;
    };
    struct Handle {
        std::size_t collection = 0;
        std::deque<Pending> queue;
    };

    // All private helpers run with m_mutex held.
    void queueInput(CollectionRole role, std::vector<std::uint8_t> report,
                    Clock::time_point readyAt = Clock::now());
    int writeCommand(const std::uint8_t* data, std::size_t length, bool& unpluggedNow);
    int writeLoader(const std::uint8_t* data, std::size_t length, bool& unpluggedNow);
    void unplugLocked();
    std::vector<std::uint8_t> garbage();
    void notifyPlug(bool plugged);  // called without the lock

    const VirtualMouseConfig m_config;
    const int m_instance;

    mutable std::mutex m_mutex;
    std::condition_variable m_inputReady;
    bool m_plugged = true;
    VirtualMouse m_mouse;
    VirtualLoader m_loader;
    std::map<int, Handle> m_handles;
    int m_nextHandle = 1;
    std::deque<SimFault> m_commandFaults;
    std::deque<SimFault> m_flashFaults;
    int m_loaderReports = 0;  // since the last flash fault was injected
    int m_commandsCarriedOut = 0;
    std::uint32_t m_noise = 0x2545F491u;
    PlugListener m_plugListener;
    CommandListener m_commandListener;
};

}  // namespace quorvik
