// Shared fixture of the device tests: the simulated device set behind a
// manager of its own, the registrations of data/config.xml (model 1 "QV01" on
// 1209:0001 wired and 1209:0002 receiver, model 2 "QV02" on 0003/0004), a real
// settings store in a temporary folder, and a recorder of window events.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "base/Text.h"
#include "device/BindingTransfer.h"
#include "device/DeviceEvents.h"
#include "device/DeviceManager.h"
#include "device/DeviceSession.h"
#include "device/DeviceSettingsCommands.h"
#include "device/NotificationHandler.h"
#include "protocol/SettingsCommands.h"
#include "sim/SimulatedHidBackend.h"
#include "store/SettingsStore.h"

namespace quorvik::devicetest {

inline constexpr std::uint16_t kVid = 0x1209;
inline constexpr std::uint16_t kM1Wired = 0x0001;
inline constexpr std::uint16_t kM1Receiver = 0x0002;
inline constexpr std::uint16_t kM2Wired = 0x0003;
inline constexpr std::uint16_t kM2Receiver = 0x0004;

// Every call the device layer makes on the window, as text lines in order.
class RecordingEvents : public DeviceEvents {
public:
    void OnCommandFailure() override { add("failure"); }
    void resetBatteryDisplay(int type) override { add(format("resetBattery %d", type)); }
    void showBattery(int level, int charging) override { add(format("battery %d %d", level, charging)); }
    void showDeviceListBattery(int type, int charging, int level) override {
        add(format("listBattery %d %d %d", type, charging, level));
    }
    void showDeviceIdentity(const DeviceInfoBlock& info) override {
        add(format("identity %d", info.sensorId()));
    }
    void showWirelessFirmware(const std::string& version) override { add("firmware " + version); }
    void closeHelperWindows() override { add("closeHelpers"); }
    void showMouseOnline(int type, int mode, DeviceText status) override {
        add(format("online %d %d %d", type, mode, static_cast<int>(status)));
    }
    void showMouseOffline(int type) override { add(format("offline %d", type)); }
    void refreshPages() override { add("refreshPages"); }
    void refreshLightingPage() override { add("refreshLighting"); }
    void setCurrentLightMode(int mode) override { add(format("lightMode %d", mode)); }
    void dpiStageCountChanged(int count) override { add(format("dpiCount %d", count)); }
    void dpiStageChanged(int stage, int dpi) override { add(format("dpiStage %d %d", stage, dpi)); }
    void showFlashProgress(int percent) override {
        std::lock_guard lock(m_lock);
        m_progress.push_back(percent);
    }

    std::vector<std::string> calls() const {
        std::lock_guard lock(m_lock);
        return m_calls;
    }
    std::vector<int> progress() const {
        std::lock_guard lock(m_lock);
        return m_progress;
    }
    int count(const std::string& line) const {
        int n = 0;
        for (const std::string& call : calls()) n += call == line;
        return n;
    }
    void clear() {
        std::lock_guard lock(m_lock);
        m_calls.clear();
        m_progress.clear();
    }

private:
    void add(std::string line) {
        std::lock_guard lock(m_lock);
        m_calls.push_back(std::move(line));
    }
    mutable std::mutex m_lock;
    std::vector<std::string> m_calls;
    std::vector<int> m_progress;
};

inline void registerDefaultModels(DeviceManager& manager) {
    manager.ClearSupportedDevices();
    manager.AddSupportedDevice({kVid, kM1Wired, "", 1, 0, "QV01"});
    manager.AddSupportedDevice({kVid, kM1Receiver, "", 1, 1, "QV01"});
    manager.AddSupportedDevice({kVid, kM2Wired, "", 2, 0, "QV02"});
    manager.AddSupportedDevice({kVid, kM2Receiver, "", 2, 1, "QV02"});
}

inline void refresh(DeviceManager& manager) {
    manager.CloseAll();
    manager.Enumerate();
    manager.SetReady();
}

// The default simulated set with only the listed pids plugged at the start.
inline std::vector<VirtualMouseConfig> configsWith(std::vector<std::uint16_t> pluggedPids) {
    std::vector<VirtualMouseConfig> configs = defaultVirtualMouseConfigs();
    for (VirtualMouseConfig& c : configs) {
        c.plugged = false;
        for (std::uint16_t pid : pluggedPids) c.plugged = c.plugged || c.pid == pid;
    }
    return configs;
}

// A temporary folder removed with the object.
class TempFolder {
public:
    TempFolder() {
        std::string pattern = (std::filesystem::temp_directory_path() / "quorvik-device-XXXXXX").string();
        if (mkdtemp(pattern.data())) m_path = pattern;
    }
    ~TempFolder() {
        std::error_code ignored;
        if (!m_path.empty()) std::filesystem::remove_all(m_path, ignored);
    }
    const std::string& path() const { return m_path; }

private:
    std::string m_path;
};

// Simulator, manager, store (profile 1 with its default values), session and
// the command objects; the current model is chosen by the test.
class DeviceFixture : public ::testing::Test {
protected:
    explicit DeviceFixture(std::vector<VirtualMouseConfig> configs = defaultVirtualMouseConfigs())
        : m_backend(std::make_shared<SimulatedHidBackend>(configs)), m_manager(m_backend) {}

    void SetUp() override {
        ASSERT_FALSE(m_folder.path().empty());
        SettingsStore& store = SettingsStore::instance();
        ASSERT_TRUE(store.openDatabaseFile(m_folder.path() + "/test_data1.db"));
        ProfileRecord profile;
        profile.name = "Profile 1";
        ASSERT_EQ(store.addProfile(profile), 1);
        registerDefaultModels(m_manager);
        refresh(m_manager);
    }
    void TearDown() override { SettingsStore::instance().close(); }

    std::shared_ptr<VirtualDevice> device(std::uint16_t pid) { return m_backend->findDevice(kVid, pid); }
    SettingsStore& store() { return SettingsStore::instance(); }
    std::string config(const std::string& key) {
        std::string value;
        store().getConfigValue(1, key, value);
        return value;
    }
    void setConfig(const std::string& key, int value) { store().setConfigValue(1, key, format("%d", value)); }

    TempFolder m_folder;
    std::shared_ptr<SimulatedHidBackend> m_backend;
    DeviceManager m_manager;
    RecordingEvents m_events;
    DeviceSession m_session{m_manager, SettingsStore::instance(), m_events};
    DeviceSettingsCommands m_settings{m_session};
    BindingTransfer m_bindings{m_session};
    NotificationHandler m_notifications{m_session, m_settings};
};

inline double secondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace quorvik::devicetest
