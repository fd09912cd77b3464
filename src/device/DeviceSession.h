// What the device routines share: the manager, the store and the window's event
// sink, plus the few values the window hands the worker (current profile, light
// mode, pending macro key) and the models already read in this run. The window
// thread sets these while the worker runs, so each is atomic or locked.
#pragma once

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <set>
#include <string>

#include "device/DeviceEvents.h"
#include "device/DeviceManager.h"
#include "protocol/CommandPacket.h"
#include "protocol/CommandReply.h"
#include "store/SettingsStore.h"

namespace quorvik {

// One transaction's buffer after SendCommand: the reply covers only the bytes read.
struct CommandExchange {
    std::array<std::uint8_t, kLongPacketSize> bytes{};
    std::size_t length = 0;
    std::size_t replyLength = 0;
    CommandReply reply() const { return CommandReply({bytes.data(), replyLength}); }
};

class DeviceSession {
public:
    DeviceSession(DeviceManager& manager, SettingsStore& store, DeviceEvents& events);

    DeviceManager& manager() { return m_manager; }
    SettingsStore& store() { return m_store; }
    DeviceEvents& events() { return m_events; }

    void setCurrentProfile(int profile) { m_profile = profile; }
    int currentProfile() const { return m_profile; }

    // The window's current light mode; -1 (the start) means the store's
    // active mode of the profile.
    void setLightMode(int mode) { m_lightMode = mode; }
    int lightMode();

    // The key page's pending macro upload: the button whose macro goes with
    // the next key table; take returns it (or -1) and clears it.
    void setPendingMacroKey(int keyCode) { m_pendingMacroKey = keyCode; }
    int takePendingMacroKey() { return m_pendingMacroKey.exchange(-1); }

    // Models whose configuration was read from the device in this run. mark
    // returns false when the model was already read.
    bool markModelRead(int deviceType);
    // A factory reset request: every model is read again.
    void forgetReadModels();

    // Configuration values of the current profile: leading-digits rule on
    // reading (0 for missing or non-numeric), "%d" on writing.
    int configInt(const std::string& key);
    void setConfigInt(const std::string& key, int value);

    // One transaction with the packet's bytes; false when it failed.
    bool exchange(const CommandPacket& packet, CommandExchange& out);
    // The same for a setting write: a failure runs OnCommandFailure.
    bool sendSetting(const CommandPacket& packet);
    // The sensor id of the current interface's identity block (0 when none).
    int currentSensorId();

private:
    DeviceManager& m_manager;
    SettingsStore& m_store;
    DeviceEvents& m_events;
    std::atomic<int> m_profile{1};
    std::atomic<int> m_lightMode{-1};
    std::atomic<int> m_pendingMacroKey{-1};
    std::mutex m_readLock;
    std::set<int> m_readModels;
};

}  // namespace quorvik
