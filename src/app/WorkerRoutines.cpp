// The device worker's routines: what each task code does, and the idle turn
// that reads the reports the mouse sends by itself. Everything here runs on
// the worker thread.
#include "app/DeviceMainDlg.h"

#include "app/PageHosts.h"
#include "device/DeviceTask.h"
#include "ui/pages/PerformancePage.h"
#include "ui/pages/Profiles.h"

#include <chrono>
#include <thread>

namespace quorvik {

namespace {

void sleepMs(int ms) {
    if (ms > 0) std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

constexpr int kReloadDelayMs = 500;
constexpr int kUpdateDialogWaitMs = 100;

}  // namespace

TaskRoutineTable DeviceMainDlg::buildRoutines() {
    TaskRoutineTable table;
    table.setRoutine(kTaskDiscoverAndLoad, [this] {
        discoverDevices();
        loadDevice(0);
    });
    table.setRoutine(kTaskDeviceArrived, [this] {
        discoverDevices();
        loadDevice(1);
    });
    table.setRoutine(kTaskDeviceChanged, [this] { reloadDeviceConfig(); });
    table.setRoutine(kTaskReloadPages, [this] { reloadPagesAndConfig(); });
    table.setRoutine(kTaskWriteAll, [this] { writeAll(); });
    table.setRoutine(kTaskSendKeys, [this] { m_bindings.SendKeyTable(); });
    table.setRoutine(kTaskSendLighting, [this] { m_bindings.SendLighting(); });
    table.setRoutine(kTaskSendDpiStages, [this] { m_settings.SendDpiStages(); });
    table.setRoutine(kTaskSendDpiColors, [this] { m_settings.SendDpiColors(); });
    table.setRoutine(kTaskSendReportRate, [this] { m_settings.SendReportRate(); });
    table.setRoutine(kTaskSendSensorOptions, [this] { m_settings.SendLiftOffAndSensor(); });
    table.setRoutine(kTaskSendPowerOptions, [this] { m_settings.SendPowerOptions(); });
    // The button response time travels in the power options command, so its
    // change is sent at once rather than waiting for the next full write.
    table.setRoutine(kTaskButtonResponse, [this] { m_settings.SendPowerOptions(); });
    table.setRoutine(kTaskResetLighting, [this] {
        if (m_bindings.ResetLighting()) m_bindings.ReadLighting();
        refreshLightingPage();
    });
    table.setRoutine(kTaskResetDpi, [this] { resetDpiStages(); });
    table.setRoutine(kTaskFactoryReset, [this] { factoryReset(); });
    // The firmware update itself arrives with the update flow; its closing
    // waits are kept so the order around the progress dialog stays the same.
    table.setRoutine(kTaskFirmwareUpdate, [] {
        sleepMs(kUpdateDialogWaitMs);
        sleepMs(kUpdateDialogWaitMs);
    });
    // The idle read runs only while a device is present; without one the
    // worker waits for a task instead of waking every period.
    table.setIdle([this] { m_notifications.HandleNotification(); },
                  [this] {
                      m_idleTurns.fetch_add(1);
                      return m_devicePresent.load();
                  });
    return table;
}

bool DeviceMainDlg::ensureProfiles() { return loadProfiles(*m_hosts); }

void DeviceMainDlg::loadDevice(int delayMs) {
    sleepMs(delayMs);
    refreshDeviceStates();
    if (m_manager.CurrentMode() == -1) return;
    ensureProfiles();
    refreshPages();
    if (!m_settings.ReadDeviceConfig()) return;
    // The firmware version display and its check arrive with the settings
    // page and the update flow.
    refreshPages();
}

void DeviceMainDlg::reloadDeviceConfig() {
    sleepMs(kReloadDelayMs);
    refreshDeviceStates();
    if (m_manager.CurrentMode() == -1) return;
    if (!m_settings.ReadDeviceConfig()) return;
    refreshPages();
}

void DeviceMainDlg::reloadPagesAndConfig() {
    ensureProfiles();
    refreshPages();
    if (m_settings.ReadDeviceConfig()) refreshPages();
}

void DeviceMainDlg::writeAll() {
    refreshPages();
    const bool lighting = description().lightingTabVisible;
    // Every command goes out even when one before it failed.
    m_bindings.SendKeyTable();
    if (lighting) m_bindings.SendLighting();
    m_settings.SendDpiStages();
    m_settings.SendDpiColors();
    m_settings.SendReportRate();
    m_settings.SendLiftOffAndSensor();
    m_settings.SendPowerOptions();
}

void DeviceMainDlg::factoryReset() {
    m_settings.SendFactoryReset();
    ensureProfiles();
    for (int profile = 1; profile <= 5; ++profile) m_store.deleteProfileBindings(profile);
    refreshLightingPage();
    m_performance->resetPerformanceDefaults(true);
    refreshPages();
}

void DeviceMainDlg::resetDpiStages() {
    m_performance->resetPerformanceDefaults(false);
    m_performance->reloadDpiStages();
    m_settings.SendDpiStages();
    m_settings.SendDpiColors();
}

}  // namespace quorvik
