// The program's main window and central controller: the frame and its pages,
// the tray icon, the device worker and its task queue, the model shown and its
// description, the transient pop-ups, and the routing of every control
// notification and custom message. The device layer reports to it through
// DeviceEvents (from the worker thread); the late pass over config.xml fills
// it through DeviceConfigSink.
#pragma once

#include "app/MainWindowIds.h"
#include "app/config/AppConfig.h"
#include "app/config/DeviceConfigSink.h"
#include "device/BindingTransfer.h"
#include "device/CThreadBasic.h"
#include "device/DeviceEvents.h"
#include "device/DeviceManager.h"
#include "device/DeviceSession.h"
#include "device/DeviceSettingsCommands.h"
#include "device/HotPlugSource.h"
#include "device/NotificationHandler.h"
#include "device/TaskQueue.h"
#include "model/DeviceDescription.h"
#include "model/ModelControls.h"
#include "store/SettingsStore.h"
#include "ui/toolkit/MDialog.h"
#include "ui/toolkit/MenuWnd.h"

#include <atomic>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace DUI {
class CDeviceList;
class MTabCtrl;
}  // namespace DUI

namespace quorvik {

class DPIMsgDlg;
class PageHosts;
class PerformancePage;
class SaveWaitDlg;

// What the main window works with besides the process-wide objects. Every
// field has a default: the process-wide manager over hidapi, the process-wide
// store, the libudev hot-plug monitor, the vendor-collection check through the
// manager's backend, and a real orderly exit.
struct MainWindowServices {
    DeviceManager* manager = nullptr;
    SettingsStore* store = nullptr;
    std::shared_ptr<HidBackend> backend;  // for IsVendorCollection; null: a hidapi backend made once
    std::function<std::unique_ptr<HotPlugSource>()> makeHotPlugSource;
    // The period of the worker; tests may slow it down. Zero: the default 2 ms.
    std::chrono::milliseconds workerPeriod{0};
};

class DeviceMainDlg : public DUI::MDialog, public DeviceEvents, public DeviceConfigSink {
public:
    static constexpr std::uint32_t kWindowStyle = 0x96000000u;

    explicit DeviceMainDlg(MainWindowServices services = {});
    ~DeviceMainDlg() override;

    // --- Used by the pages and the handlers ---------------------------------
    // Appends a task code for the worker; never blocks.
    void enqueueTask(int code);
    // The please-wait notice, when the model's description enables it.
    void showSaveWait();
    // Closes or hides every transient pop-up.
    void closeHelperWindows() override;

    // --- Run by the worker ----------------------------------------------------
    void discoverDevices();
    void refreshDeviceStates();

    // How the window first shows: normally, or hidden in the tray when started
    // hidden. Without a tray to bring it back from it starts minimised instead.
    static int startShowCommand(bool startHidden);

    // --- Ending ---------------------------------------------------------------
    // The orderly exit (tray menu, close with exit mode 0, exit request): the
    // tray icon is removed, the worker stopped, the store closed and the
    // modal run ended.
    void exitProgram();
    bool exitRequested() const { return m_exitRequested.load(); }

    // --- State, for the pages and tests -----------------------------------------
    int selectedDeviceType() const { return m_selectedType.load(); }
    int currentPageId() const { return m_currentPageId.load(); }
    int currentProfile() const { return m_session.currentProfile(); }
    void setCurrentProfile(int profile) { m_session.setCurrentProfile(profile); }
    SettingsStore& settingsStore() { return m_store; }
    PerformancePage& performancePage() { return *m_performance; }
    bool devicePresent() const { return m_devicePresent.load(); }
    bool deviceConnected() const { return m_deviceConnected.load(); }
    float layoutScale() const;
    DeviceDescription description() const;
    // The wireless mouse's own firmware version as last read through its
    // receiver ("105"); empty when none was read. Shown by the settings page.
    std::string wirelessFirmware() const;
    TaskQueue& taskQueue() { return m_queue; }
    bool workerRunning() const { return m_worker.isRunning(); }
    DPIMsgDlg* dpiPopup() { return m_dpiPopup.get(); }
    // How many times the worker found nothing queued (and asked whether to
    // poll): once this grows after the queue was seen empty, every task
    // queued before has finished.
    std::uint64_t idleTurns() const { return m_idleTurns.load(); }

    // --- MDialog ---------------------------------------------------------------
    DUI::LRESULT OnWindowMessage(DUI::UINT message, DUI::WPARAM wParam, DUI::LPARAM lParam) override;
    int OnInitDialog() override;
    void InitUI() override;
    void UISize(const DUI::Rect& client) override;
    int OnMessage(int id, int code, std::intptr_t param) override;
    int OnNcActivate(bool active) override;
    void OnTimer(std::uintptr_t id) override;
    void DestroyWindow() override;

    // --- DeviceEvents (worker thread) ---------------------------------------------
    void OnCommandFailure() override;
    void resetBatteryDisplay(int deviceType) override;
    void showBattery(int level, int charging) override;
    void showDeviceListBattery(int deviceType, int charging, int level) override;
    void showDeviceIdentity(const DeviceInfoBlock& info) override;
    void showWirelessFirmware(const std::string& versionText) override;
    void showMouseOnline(int deviceType, int mode, DeviceText status) override;
    void showMouseOffline(int deviceType) override;
    void refreshPages() override;
    void refreshLightingPage() override;
    void setCurrentLightMode(int mode) override;
    void dpiStageCountChanged(int count) override;
    void dpiStageChanged(int stage, int dpi) override;
    void showFlashProgress(int percent) override;

    // --- DeviceConfigSink (window thread, inside initialisation) --------------------
    void clearDeviceList() override;
    void addDevice(const std::string& name, int deviceType, const std::string& imagePath) override;
    void clearSupportedDevices() override;
    void registerSupportedDevice(int vid, int pid, const std::string& name, int deviceType, int mode,
                                 const std::string& devId) override;
    void setVersionTitle(const std::string& title) override;
    void registerDeviceNotifications() override;

private:
    // Frame (MainFrame.cpp).
    void buildFrame();
    void buildHomePage(DUI::MControl* container);
    void buildGuidePage(DUI::MControl* container);
    void layoutFrame(const DUI::Rect& client);
    void applyLanguage();
    DUI::MControl* control(int id) const { return GetControl(id); }
    void showControl(int id, bool visible);
    void setText(int id, const std::string& text);
    DUI::CDeviceList* deviceList() const;
    DUI::MTabCtrl* tabs() const;
    ModelControls modelControls();

    // Handlers (DeviceMainDlg.cpp).
    DUI::LRESULT onTrayMessage(DUI::LPARAM mouseMessage);
    int onClose();
    void showSettingsPage();
    void returnFromSettingsPage();
    // The restore-defaults button: after a question, the mouse and the
    // current model's profiles go back to their factory state (task 20).
    void restoreFactorySettings();
    int onTabSwitch(int index);
    int openModel();
    void openLink(const std::string& link, bool skipEmpty);
    void onDeviceChangeMessage();
    void removeTrayIcon();
    void stopWorker();

    // Device state views (DeviceStates.cpp).
    // The mode list of config.xml as the device manager registers it.
    static std::vector<SupportedDevice> supportedModes();
    void loadDescription();
    void showHomeWithoutModel();
    void showNoDeviceView();
    void leaveSettingsPage();
    void showStatus(DeviceText text);

    // Worker routines (WorkerRoutines.cpp).
    TaskRoutineTable buildRoutines();
    void loadDevice(int delayMs);
    void reloadDeviceConfig();
    void reloadPagesAndConfig();
    void writeAll();
    void factoryReset();
    void resetDpiStages();
    bool ensureProfiles();

    MainWindowServices m_services;
    DeviceManager& m_manager;
    SettingsStore& m_store;
    std::unique_ptr<PageHosts> m_hosts;
    std::unique_ptr<PerformancePage> m_performance;

    TaskQueue m_queue;
    DeviceSession m_session;
    DeviceSettingsCommands m_settings;
    BindingTransfer m_bindings;
    NotificationHandler m_notifications;
    CThreadBasic m_worker;

    std::unique_ptr<HotPlugSource> m_hotPlug;
    // Hot-plug events wait here for the window thread (each posts one message).
    std::mutex m_inboxMutex;
    std::deque<std::pair<std::uint32_t, std::string>> m_deviceChanges;

    std::unique_ptr<DPIMsgDlg> m_dpiPopup;
    std::unique_ptr<SaveWaitDlg> m_saveWait;
    DUI::MenuWnd m_trayMenu;

    // The model shown. The description is written by the worker (model loads)
    // and read by the window thread, so it is guarded.
    mutable std::mutex m_modelMutex;
    DeviceDescription m_description;

    std::atomic<int> m_selectedType{0};
    std::atomic<int> m_currentPageId{1};
    std::atomic<bool> m_devicePresent{false};
    std::atomic<bool> m_deviceConnected{false};
    std::atomic<bool> m_exitRequested{false};
    std::atomic<float> m_layoutScale{1.0f};
    bool m_frameBuilt = false;
    bool m_trayShown = false;
    DUI::HICON m_icon = 0;
    std::string m_firmwareText;  // the wireless mouse's own version, "" when none
    std::atomic<std::uint64_t> m_idleTurns{0};
};

}  // namespace quorvik
