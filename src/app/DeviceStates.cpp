// What the main window shows of the devices: discovery and the state refresh
// run by the worker, the views they leave (home page with the device list or
// the no-device picture), the transient pop-ups they close, and the reports of
// the device layer (DeviceEvents), which arrive on the worker thread. Controls
// are safe to set from any thread; window operations are marshalled by the
// toolkit.
#include "app/DeviceMainDlg.h"

#include "app/config/LanguageTexts.h"
#include "app/config/RegistryValues.h"
#include "device/FirmwareFlasher.h"
#include "model/ModelDescriptionLoader.h"
#include "model/ModelSources.h"
#include "protocol/FirmwareVersion.h"
#include "ui/pages/PerformancePage.h"
#include "ui/pages/DPIMsgDlg.h"
#include "ui/pages/SaveWaitDlg.h"
#include "ui/toolkit/BatteryCtrl.h"
#include "ui/toolkit/CDeviceList.h"
#include "ui/toolkit/MControlFont.h"
#include "ui/toolkit/MTabCtrl.h"

namespace quorvik {

using namespace mainwnd;

namespace {

std::string lan(int id) { return LangString("LAN", id); }

// Pop-ups closed (or hidden) whenever the device situation changes under them.
constexpr const char* kClosedByPost[] = {"CloseWindowTipDlg", "CustomKeyDlg", "WaitDlg", "Menu Window",
                                         // A modal colour chooser only ends when it is closed; a
                                         // hidden one would keep its loop running unseen.
                                         "PaletteDlg"};
constexpr const char* kHidden[] = {"KeyboardTip Window", "ComboWnd"};

}  // namespace

void DeviceMainDlg::showStatus(DeviceText text) { setText(kDeviceStatus, lan(static_cast<int>(text))); }

void DeviceMainDlg::loadDescription() {
    ModelSources sources = ModelSources::current();
    sources.store = &m_store;
    DeviceDescription loaded;
    {
        std::lock_guard lock(m_modelMutex);
        loaded = m_description;
    }
    loadModelDescription(loaded, modelControls(), sources);
    m_performance->setSwitches(loaded.showDpiPopup, loaded.showSaveWait, loaded.showLiftOff, loaded.showSensor);
    std::lock_guard lock(m_modelMutex);
    m_description = std::move(loaded);
}

std::vector<SupportedDevice> DeviceMainDlg::supportedModes() {
    std::vector<SupportedDevice> modes;
    for (const DeviceModelEntry& mode : appConfig().modes)
        modes.push_back({mode.vid, mode.pid, {}, mode.device_type, mode.mode, mode.dev_id});
    return modes;
}

void DeviceMainDlg::discoverDevices() {
    const int savedType = readRegistryInt("DeviceType");
    m_manager.CloseAll();
    m_manager.ClearSupportedDevices();
    for (SupportedDevice& mode : supportedModes()) m_manager.AddSupportedDevice(std::move(mode));
    m_manager.SetReady();
    m_manager.Enumerate();
    bool found = false;
    for (const DeviceEntry& entry : m_manager.entries())
        if (entry.deviceType == savedType) found = true;
    // When the saved model is not among the devices found, the state refresh
    // that follows chooses among those that are.
    if (!found) return;
    loadDescription();
}

void DeviceMainDlg::leaveSettingsPage() {
    DUI::MControl* settings = GetControl(kSettingsPage);
    if (settings == nullptr || !settings->IsVisible()) return;
    settings->SetVisible(false);
    showControl(kSettingsButton, true);
    showControl(kMaximizeButton, true);
}

void DeviceMainDlg::showHomeWithoutModel() {
    if (DUI::MTabCtrl* tabControl = tabs()) tabControl->SetCurSel(0);
    m_currentPageId.store(kTabHome);
    for (int id : {kTabStrip, kTabs, kModelPicture}) showControl(id, false);
    showControl(kHomePage, true);
}

void DeviceMainDlg::showNoDeviceView() {
    showHomeWithoutModel();
    for (int id : {kProfileButton, kRestoreDefaults, kBattery}) showControl(id, false);
    // The status text stays, saying the mouse is not connected.
    showControl(kDeviceStatus, true);
    showControl(kNoDevicePicture, true);
    showControl(kNoDeviceText, true);
    showControl(kDeviceList, false);
    showControl(kListPrevious, false);
    showControl(kListNext, false);
}

void DeviceMainDlg::refreshDeviceStates() {
    const int savedType = readRegistryInt("DeviceType");
    m_manager.CloseAll();
    m_manager.SetReady();
    m_manager.Enumerate();
    DUI::CDeviceList* list = deviceList();
    if (list != nullptr) list->SetAllDeviceState(0);

    const std::vector<DeviceEntry> entries = m_manager.entries();
    bool anyModel = false;
    for (const DeviceEntry& entry : entries) {
        if (entry.deviceType < 1) continue;
        anyModel = true;
        if (list != nullptr) {
            list->SetDeviceState(entry.deviceType, entry.mode, entry.state);
            // "V1.05" for 0x0105; the list has its own caption before it.
            list->SetDeviceVersion(entry.deviceType, versionNumberText(releaseVersionText(entry.release), VersionPrefix::V));
        }
    }
    if (anyModel && list != nullptr) {
        list->SetSelectDevice(savedType);
        int chosen = list->GetSelectDevice();
        // The saved model may be absent (every start saves 101, which no row
        // has): then the first model in the list that has a device found is
        // chosen, so a present mouse is never shown as missing.
        auto found = [&](int type) {
            for (const DeviceEntry& entry : entries)
                if (entry.deviceType == type) return true;
            return false;
        };
        if (!found(chosen)) {
            const std::vector<DUI::CDeviceList::Row> rows = list->GetRows();
            for (std::size_t i = 0; i < rows.size(); ++i) {
                if (!found(rows[i].deviceType)) continue;
                list->SetSelectIndex(static_cast<int>(i));
                chosen = rows[i].deviceType;
                break;
            }
        }
        m_selectedType.store(chosen);
        m_manager.SetCurrentType(chosen);
        writeRegistryInt("DeviceType", chosen);
        loadDescription();
    }

    if (!entries.empty()) {
        m_devicePresent.store(true);
        const int mode = m_manager.CurrentMode();
        if (mode < 0) {
            m_deviceConnected.store(false);
            showStatus(DeviceText::NotConnected);
            showNoDeviceView();
        } else {
            showHomeWithoutModel();
            showStatus(mode == kModeReceiver ? DeviceText::ConnectedReceiver : DeviceText::ConnectedWired);
            m_deviceConnected.store(true);
            for (int id : {kDeviceStatus, kProfileButton, kRestoreDefaults, kNoDevicePicture, kNoDeviceText})
                showControl(id, false);
            showControl(kDeviceList, true);
            showControl(kListPrevious, true);
            showControl(kListNext, true);
        }
    } else {
        m_devicePresent.store(false);
        m_deviceConnected.store(false);
        showStatus(DeviceText::NotConnected);
        showNoDeviceView();
    }
    leaveSettingsPage();
    closeHelperWindows();
}

void DeviceMainDlg::closeHelperWindows() {
    for (const char* title : kClosedByPost)
        if (DUI::HWND w = DUI::MWindow::FindWindow(DUI::kWindowClassName, title))
            DUI::MWindow::PostMessage(w, DUI::WM_CLOSE, 0, 0);
    // A message box closed from here ends as cancelled.
    if (DUI::HWND box = DUI::MWindow::FindWindow(DUI::kWindowClassName, "MessageBox"))
        DUI::MWindow::PostMessage(box, DUI::WM_CLOSE, DUI::IDCANCEL, 0);
    for (const char* title : kHidden)
        if (DUI::HWND w = DUI::MWindow::FindWindow(DUI::kWindowClassName, title)) DUI::MWindow::ShowWindow(w, DUI::SW_HIDE);
    if (m_saveWait) m_saveWait->ShowWindow(DUI::SW_HIDE);
    // Macro recording, once the macro page exists, stops here too.
    if (DUI::MControl* focused = GetFocusControl()) focused->OnFocus(false);
}

// --- DeviceEvents ---------------------------------------------------------------------------------

void DeviceMainDlg::OnCommandFailure() {
    // Through a receiver a failed command means the mouse went away: close
    // what was open over the page and mark its row offline.
    if (m_manager.CurrentMode() != kModeReceiver) return;
    closeHelperWindows();
    if (DUI::CDeviceList* list = deviceList()) list->SetDeviceState(m_selectedType.load(), kModeReceiver, 0);
}

void DeviceMainDlg::resetBatteryDisplay(int deviceType) {
    if (auto* battery = GetControlAs<DUI::BatteryCtrl>(kBattery)) battery->SetBatteryInfo(battery->GetLevel(), 100);
    if (DUI::CDeviceList* list = deviceList()) {
        for (const DUI::CDeviceList::Row& row : list->GetRows())
            if (row.deviceType == deviceType) {
                list->SetDeviceBattery(deviceType, 100, row.charging);
                break;
            }
    }
}

void DeviceMainDlg::showBattery(int level, int charging) {
    if (auto* battery = GetControlAs<DUI::BatteryCtrl>(kBattery)) battery->SetBatteryInfo(level, charging);
}

void DeviceMainDlg::showDeviceListBattery(int deviceType, int charging, int level) {
    if (DUI::CDeviceList* list = deviceList()) list->SetDeviceBattery(deviceType, level, charging);
}

void DeviceMainDlg::showDeviceIdentity(const DeviceInfoBlock& info) {
    m_performance->setDeviceIdentity(info.sensorId(), reportRateCount(info.reportRateCapability()));
}

std::string DeviceMainDlg::wirelessFirmware() const {
    std::lock_guard lock(m_modelMutex);
    return m_firmwareText;
}

void DeviceMainDlg::showWirelessFirmware(const std::string& versionText) {
    std::lock_guard lock(m_modelMutex);
    m_firmwareText = versionText;
}

void DeviceMainDlg::showMouseOnline(int deviceType, int mode, DeviceText status) {
    m_deviceConnected.store(true);
    showControl(kTabStrip, true);
    showControl(kTabs, true);
    showStatus(status);
    if (DUI::CDeviceList* list = deviceList()) list->SetDeviceState(deviceType, mode, 1);
    for (int id : {kNoDevicePicture, kNoDeviceText}) showControl(id, false);
    for (int id : {kDeviceList, kListPrevious, kListNext}) showControl(id, true);
    if (DUI::MTabCtrl* tabControl = tabs()) {
        tabControl->SetCurSel(kKeyTabIndex);
        m_currentPageId.store(tabControl->GetItemID(kKeyTabIndex));
    }
    for (int id : {kModelPicture, kDeviceStatus, kProfileButton, kRestoreDefaults}) showControl(id, true);
}

void DeviceMainDlg::showMouseOffline(int deviceType) {
    m_deviceConnected.store(false);
    showStatus(DeviceText::NotConnected);
    showHomeWithoutModel();
    for (int id : {kProfileButton, kRestoreDefaults, kBattery}) showControl(id, false);
    DUI::CDeviceList* list = deviceList();
    if (list != nullptr) list->SetDeviceState(deviceType, kModeReceiver, 0);
    if (list != nullptr && list->GetOnlineDevCount() > 0) {
        for (int id : {kDeviceList, kListPrevious, kListNext}) showControl(id, true);
        for (int id : {kNoDevicePicture, kNoDeviceText}) showControl(id, false);
    } else {
        showNoDeviceView();
    }
}

void DeviceMainDlg::refreshPages() {
    // The key, macro and lighting pages join here as they are built.
    m_performance->fillPerformancePage();
}

// No lighting page exists yet: nothing shows lighting values to refresh.
void DeviceMainDlg::refreshLightingPage() {}

void DeviceMainDlg::setCurrentLightMode(int mode) { m_session.setLightMode(mode); }

void DeviceMainDlg::dpiStageCountChanged(int count) { m_performance->deviceStageCountChanged(count); }

void DeviceMainDlg::dpiStageChanged(int stage, int dpi) { m_performance->deviceStageChanged(stage, dpi); }

// Flashing is started only by the update flow, which brings the progress
// dialog this would fill; nothing flashes before it exists.
void DeviceMainDlg::showFlashProgress(int) {}

}  // namespace quorvik
