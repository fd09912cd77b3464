// Shared state of the device routines and the two helpers every command uses:
// the store's decimal values and one transaction from a built packet.
#include "device/DeviceSession.h"

#include "base/Text.h"

namespace quorvik {

DeviceSession::DeviceSession(DeviceManager& manager, SettingsStore& store, DeviceEvents& events)
    : m_manager(manager), m_store(store), m_events(events) {}

int DeviceSession::lightMode() {
    const int mode = m_lightMode.load();
    return mode >= 0 ? mode : m_store.getActiveLightMode(m_profile);
}

bool DeviceSession::markModelRead(int deviceType) {
    std::lock_guard lock(m_readLock);
    return m_readModels.insert(deviceType).second;
}

void DeviceSession::forgetReadModels() {
    std::lock_guard lock(m_readLock);
    m_readModels.clear();
}

int DeviceSession::configInt(const std::string& key) {
    std::string text;
    m_store.getConfigValue(m_profile, key, text);
    return wtoi(text);
}

void DeviceSession::setConfigInt(const std::string& key, int value) {
    m_store.setConfigValue(m_profile, key, format("%d", value));
}

bool DeviceSession::exchange(const CommandPacket& packet, CommandExchange& out) {
    const auto bytes = packet.bytes();
    out.bytes.fill(0);
    std::copy(bytes.begin(), bytes.end(), out.bytes.begin());
    out.length = bytes.size();
    return m_manager.SendCommand(out.bytes.data(), out.length, &out.replyLength);
}

bool DeviceSession::sendSetting(const CommandPacket& packet) {
    CommandExchange exchanged;
    if (exchange(packet, exchanged)) return true;
    m_events.OnCommandFailure();
    return false;
}

int DeviceSession::currentSensorId() {
    DeviceInfoBlock info;
    return m_manager.Identify(info, nullptr) ? info.sensorId() : 0;
}

}  // namespace quorvik
