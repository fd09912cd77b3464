// The main window: initialisation, teardown, the tray icon, window messages and
// the routing of control notifications.
#include "app/DeviceMainDlg.h"

#include "app/config/AppFolders.h"
#include "app/config/ConfigLoader.h"
#include "app/config/LanguageTexts.h"
#include "app/config/RegistryValues.h"
#include "base/Text.h"
#include "base/Trace.h"
#include "device/DeviceChange.h"
#include "device/DeviceTask.h"
#include "device/HidapiBackend.h"
#include "device/UdevHotPlugSource.h"
#include "app/PageHosts.h"
#include "ui/pages/AboutDlg.h"
#include "ui/pages/CUIMessageBox.h"
#include "ui/pages/DPIMsgDlg.h"
#include "ui/pages/PerformancePage.h"
#include "ui/pages/Profiles.h"
#include "ui/pages/SaveWaitDlg.h"
#include "ui/toolkit/CDeviceList.h"
#include "ui/toolkit/Desktop.h"
#include "ui/toolkit/Dispatcher.h"
#include "ui/toolkit/MRender.h"
#include "ui/toolkit/MTabCtrl.h"
#include "ui/toolkit/Manager.h"
#include "ui/toolkit/TrayIcon.h"

#include <spawn.h>
#include <sys/wait.h>

#include <cstdlib>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace quorvik {

using namespace mainwnd;

namespace {

constexpr int kTrayMenuWidth = 160;

std::string lan(int id) { return LangString("LAN", id); }

DeviceManager& managerOf(const MainWindowServices& services) {
    return services.manager != nullptr ? *services.manager : DeviceManager::Instance();
}

SettingsStore& storeOf(const MainWindowServices& services) {
    return services.store != nullptr ? *services.store : SettingsStore::instance();
}

// Control ids whose notifications belong to a page, with the codes each acts on.
bool isPageControl(int id) {
    static constexpr int kPageIds[] = {
        // button assignment
        67, 68, 71, 73, 75, 77, 79, 81, 83, 85, 87, 89, 91, 93, 98, 102, 105, 106, 107, 108,
        // macros
        156, 157, 158, 166, 167, 168, 169, 172, 174, 175, 176, 178, 181, 182, 183, 184, 186, 187, 188, 190, 191,
        // performance
        115, 116, 117, 118, 120, 124, 125, 129, 130, 134, 135, 136, 139, 143, 144, 145,
        // lighting
        197, 201, 204, 207, 209, 210, 211, 212, 213, 214, 215, 216, 226, 231, 232, 233,
        // settings
        248, 249, 273, 276, 279, 281, 282, 286, 287};
    for (int pageId : kPageIds)
        if (pageId == id) return true;
    return false;
}

// The desktop's mouse settings: the first settings program found on the
// path, started on its own; nothing when none is there.
void openPointerSettings() {
    static const std::vector<std::vector<std::string>> kCommands = {
        {"gnome-control-center", "mouse"},
        {"systemsettings", "kcm_mouse"},
        {"xfce4-mouse-settings"},
        {"cinnamon-settings", "mouse"},
        {"mate-mouse-properties"},
    };
    const char* path = std::getenv("PATH");
    for (const auto& command : kCommands) {
        bool found = false;
        for (std::string_view rest = path != nullptr ? path : ""; !found;) {
            const std::size_t colon = rest.find(':');
            const std::string folder(rest.substr(0, colon));
            if (!folder.empty() && ::access((folder + "/" + command[0]).c_str(), X_OK) == 0) found = true;
            if (colon == std::string_view::npos) break;
            rest.remove_prefix(colon + 1);
        }
        if (!found) continue;
        std::vector<char*> argv;
        for (const std::string& arg : command) argv.push_back(const_cast<char*>(arg.c_str()));
        argv.push_back(nullptr);
        pid_t pid = 0;
        if (::posix_spawnp(&pid, argv[0], nullptr, nullptr, argv.data(), environ) == 0) {
            std::thread([pid] { ::waitpid(pid, nullptr, 0); }).detach();  // no zombie left behind
            return;
        }
    }
}

bool isLabel(int id) { return (id >= 94 && id <= 97) || (id >= 218 && id <= 224); }

}  // namespace

DeviceMainDlg::DeviceMainDlg(MainWindowServices services)
    : m_services(std::move(services)),
      m_manager(managerOf(m_services)),
      m_store(storeOf(m_services)),
      m_hosts(std::make_unique<PageHosts>(*this)),
      m_performance(std::make_unique<PerformancePage>(*m_hosts)),
      m_session(m_manager, m_store, *this),
      m_settings(m_session),
      m_bindings(m_session),
      m_notifications(m_session, m_settings),
      m_worker(m_queue, buildRoutines()),
      // Made before the worker exists and kept until it has stopped, since
      // the worker hides it when the device situation changes; its window
      // is created on the first request.
      m_saveWait(std::make_unique<SaveWaitDlg>()) {
    // A queued task cuts the worker's idle read short.
    m_manager.setReadInterrupt(m_queue.readInterrupt());
    // Arriving interfaces are checked through a backend of their own.
    if (!m_services.backend) m_services.backend = std::make_shared<HidapiBackend>();
}

DeviceMainDlg::~DeviceMainDlg() {
    stopWorker();
    if (m_hotPlug) m_hotPlug->stop();
}

void DeviceMainDlg::enqueueTask(int code) { m_queue.enqueueTask(code); }

void DeviceMainDlg::showSaveWait() {
    if (!description().showSaveWait) return;
    m_saveWait->request(GetSafeHwnd());
}

DeviceDescription DeviceMainDlg::description() const {
    std::lock_guard lock(m_modelMutex);
    return m_description;
}

// --- Initialisation and teardown ----------------------------------------------------------

int DeviceMainDlg::OnInitDialog() {
    MDialog::OnInitDialog();  // builds the frame (InitUI) and lays it out

    // Step 1, the single-instance marker, is the listening socket the start-up
    // runner opens once this window exists.

    // Tray icon and window icon.
    m_icon = DUI::MRender::LoadIconFromFile(SkinFolder() + "DeviceDriver.ico");
    const std::string tip = cutCodePoints(DUI::Manager::GetDeviceName(), kTrayTipLimit);
    m_trayShown = DUI::TrayIcon::Show(GetSafeHwnd(), kTrayIconId, kTrayMessage, m_icon, tip);
    SetIcon(m_icon);

    // The DPI pop-up, created hidden.
    m_dpiPopup = std::make_unique<DPIMsgDlg>();
    m_dpiPopup->create(GetSafeHwnd());

    writeRegistryInt("DeviceType", kAnyModelType);

    loadDeviceConfig(*this);
    setText(kVersionLabel, lan(17) + ": v" + appConfig().softwareVersion);

    enqueueTask(kTaskDiscoverAndLoad);
    enqueueTask(kTaskSoftwareCheck);

    if (!m_worker.isActive()) {
        const auto period = m_services.workerPeriod.count() > 0 ? m_services.workerPeriod : CThreadBasic::kPeriod;
        m_worker.Start(CThreadBasic::Mode::Periodic, period);
    }

    SetMTimer(10);
    return 1;
}

int DeviceMainDlg::startShowCommand(bool startHidden) {
    if (!startHidden) return DUI::SW_SHOWNORMAL;
    return DUI::TrayIcon::IsAvailable() ? DUI::SW_HIDE : DUI::SW_SHOWMINIMIZED;
}

void DeviceMainDlg::stopWorker() {
    if (!m_worker.isActive()) return;
    if (m_worker.Stop() == CThreadBasic::StopResult::Abandoned)
        trace("worker did not stop in time");
}

void DeviceMainDlg::removeTrayIcon() {
    if (!m_trayShown) return;
    m_trayShown = false;
    DUI::TrayIcon::Remove(GetSafeHwnd(), kTrayIconId);
}

void DeviceMainDlg::DestroyWindow() {
    if (m_hotPlug) m_hotPlug->stop();
    stopWorker();
    removeTrayIcon();
    appConfig().modes.clear();
    if (m_dpiPopup) {
        m_dpiPopup->DestroyWindow();
        m_dpiPopup.reset();
    }
    m_saveWait->DestroyWindow();
    MDialog::DestroyWindow();
}

void DeviceMainDlg::exitProgram() {
    if (m_exitRequested.exchange(true)) return;
    removeTrayIcon();
    if (m_hotPlug) m_hotPlug->stop();
    stopWorker();
    m_store.close();
    EndModal(0);
}

// --- Window messages ----------------------------------------------------------------------------

DUI::LRESULT DeviceMainDlg::OnWindowMessage(DUI::UINT message, DUI::WPARAM wParam, DUI::LPARAM lParam) {
    switch (message) {
        case kTrayMessage:
            return onTrayMessage(lParam);
        case kExitRequest:
            if (lParam != kExitRequestParam) return 0;
            exitProgram();
            return 0;
        case kDownloadProgress:
            // The update progress dialog arrives with the update flow.
            return 1;
        case kProfileDialogResult:
            // Import and export (1 and 2) come with the profile files.
            if (wParam == kProfileChosen) chooseProfile(*m_hosts, static_cast<int>(lParam));
            return 1;
        case kReapplyLanguage:
            applyLanguage();
            return 0;
        case DUI::WM_COMMAND:
            if (wParam == static_cast<DUI::WPARAM>(kTrayExitCommand)) {
                exitProgram();
                return 0;
            }
            if (wParam == static_cast<DUI::WPARAM>(kAboutCommand)) {
                AboutDlg about([this] {
                    std::uint32_t release = 0;
                    return m_manager.ReleaseOfMode(release, kModeWired) ? static_cast<int>(release) : 0;
                });
                about.run(GetSafeHwnd());
                return 0;
            }
            break;
        case kDeviceChange:
            onDeviceChangeMessage();
            return 0;
        case DUI::WM_CLOSE:
            // The desktop's own close request behaves like the close button.
            onClose();
            return 0;
        default:
            break;
    }
    return MDialog::OnWindowMessage(message, wParam, lParam);
}

DUI::LRESULT DeviceMainDlg::onTrayMessage(DUI::LPARAM mouseMessage) {
    switch (static_cast<DUI::UINT>(mouseMessage)) {
        case DUI::WM_LBUTTONDOWN:
        case DUI::WM_LBUTTONDBLCLK:
            SetForegroundWindow();
            ShowWindow(DUI::SW_SHOWNORMAL);
            UpdateWindow();
            BringWindowToTop();
            break;
        case DUI::WM_RBUTTONUP: {
            m_trayMenu.Create(GetSafeHwnd(), DUI::WM_COMMAND, DUI::Desktop::GetCursorPos(), kTrayMenuWidth);
            m_trayMenu.AddMenu(kTrayExitCommand, lan(12));
            m_trayMenu.TrackMenu();
            break;
        }
        default:
            break;
    }
    return 0;
}

// --- Control notifications --------------------------------------------------------------------

int DeviceMainDlg::OnMessage(int id, int code, std::intptr_t param) {
    if (id == kTabs) return onTabSwitch(static_cast<int>(param));
    if (isLabel(id)) return 1;
    if (id == kSettingsReturn) {
        if (code == DUI::kNotifyClick) returnFromSettingsPage();
        return 0;
    }
    if (id >= PerformancePage::kDpiResetId && id <= PerformancePage::kSleepId && isPageControl(id))
        return m_performance->onMessage(id, code, param);
    if (isPageControl(id)) return 0;  // the other pages route theirs once they exist
    if (code != DUI::kNotifyClick) return 0;

    switch (id) {
        case kWebsiteLink:
            openLink(appConfig().websiteLink, true);
            return 0;
        case kCloseButton:
            return onClose();
        case kMinimizeButton:
            OnMinimize();
            return 0;
        case kSettingsButton:
            showSettingsPage();
            return 0;
        case kMaximizeButton:
            OnMaximize();
            if (DUI::MControl* button = GetControl(kMaximizeButton))
                button->SetImage(IsZoomed() ? "sysbtn_restore.png" : "sysbtn_maximize.png");
            return 0;
        case kDeviceList:
            return openModel();
        case kProfileButton:
            return openProfilePopup(*m_hosts);
        case kRestoreDefaults:
            restoreFactorySettings();
            return 0;
        case kListPrevious:
        case kListNext:
            if (DUI::CDeviceList* list = deviceList()) list->SetSelectIndex(-1);
            return 0;
        case kPointerSettingsLink:
            openPointerSettings();
            return 0;
        case kSettingsWebsiteLink:
            openLink(appConfig().websiteLink, false);
            return 0;
        case kSettingsFeedbackLink:
            openLink(appConfig().feedbackLink, false);
            return 0;
        case kSettingsHelpLink:
            openLink(appConfig().helpLink, false);
            return 0;
        default:
            return 0;
    }
}

int DeviceMainDlg::OnNcActivate(bool) { return 0; }

void DeviceMainDlg::OnTimer(std::uintptr_t) {}

void DeviceMainDlg::openLink(const std::string& link, bool skipEmpty) {
    if (skipEmpty && link.empty()) return;
    DUI::Desktop::OpenUrl(link);
}

int DeviceMainDlg::onClose() {
    if (readRegistryInt("exit_mode") == 1) {
        // Hiding into a tray that is not there would lose the window: minimise then.
        if (m_trayShown && DUI::TrayIcon::IsAvailable()) ShowWindow(DUI::SW_HIDE);
        else ShowWindow(DUI::SW_MINIMIZE);
        return 1;
    }
    exitProgram();
    return 0;
}

void DeviceMainDlg::showSettingsPage() {
    for (int id : {kTabStrip, kTabs, kModelPicture, kBattery, kSettingsButton, kMaximizeButton})
        showControl(id, false);
    showControl(kSettingsPage, true);
}

void DeviceMainDlg::restoreFactorySettings() {
    if (!m_deviceConnected.load()) {
        showMessageBox(lan(576), lan(57), GetSafeHwnd(), CUIMessageBox::kOneButton);
        return;
    }
    if (showMessageBox(lan(570), lan(571), GetSafeHwnd(), CUIMessageBox::kTwoButtons) != DUI::IDOK) return;
    // The next configuration read asks the mouse again.
    m_session.forgetReadModels();
    enqueueTask(kTaskFactoryReset);
    showSaveWait();
}

void DeviceMainDlg::returnFromSettingsPage() {
    showControl(kSettingsPage, false);
    for (int id : {kCloseButton, kMinimizeButton, kSettingsButton, kMaximizeButton}) showControl(id, true);
    // The model's frame comes back when a model's page was showing.
    if (m_currentPageId.load() != kTabHome)
        for (int id : {kTabStrip, kTabs, kModelPicture, kBattery}) showControl(id, true);
}

int DeviceMainDlg::onTabSwitch(int index) {
    if (DUI::MControl* settings = GetControl(kSettingsPage); settings != nullptr && settings->IsVisible()) {
        settings->SetVisible(false);
        for (int id : {kCloseButton, kMinimizeButton, kSettingsButton, kMaximizeButton}) showControl(id, true);
    }
    DUI::MTabCtrl* tabControl = tabs();
    const int newId = tabControl != nullptr ? tabControl->GetItemID(index) : 0;
    if (m_currentPageId.load() == kTabHome) showControl(kModelPicture, true);
    showControl(kBattery, true);
    if (newId == kTabHome) {
        for (int id : {kModelPicture, kTabStrip, kTabs, kDeviceStatus, kProfileButton, kRestoreDefaults, kBattery})
            showControl(id, false);
    }
    m_currentPageId.store(newId);
    return 1;
}

int DeviceMainDlg::openModel() {
    DUI::CDeviceList* list = deviceList();
    if (list == nullptr) return 0;
    const int type = list->GetSelectDevice();
    if (!m_manager.IsTypeConnected(type)) {
        showMessageBox(lan(57), lan(56), GetSafeHwnd(), CUIMessageBox::kOneButton);
        return 0;
    }
    const bool otherModel = type != m_selectedType.load();
    if (otherModel) {
        m_selectedType.store(type);
        m_manager.SetCurrentType(type);
        writeRegistryInt("DeviceType", type);
        loadDescription();
    }
    // The battery of the model opened, from its identity as last read (a
    // wired model is not read again on opening).
    if (DeviceEntry entry; m_manager.CurrentEntry(entry) && entry.info.batteryLevel() != 0)
        showBattery(entry.info.batteryLevel(), entry.info.chargingState());
    if (m_manager.CurrentMode() == kModeReceiver) {
        showStatus(DeviceText::ConnectedReceiver);
        enqueueTask(kTaskReloadPages);
    } else {
        showStatus(DeviceText::ConnectedWired);
        // Another wired model than the one the pages show: its profiles,
        // values and sensor must replace the previous model's, or the pages
        // would edit this model's store with the other one's values.
        if (otherModel) enqueueTask(kTaskReloadPages);
    }
    showControl(kTabStrip, true);
    showControl(kTabs, true);
    if (DUI::MTabCtrl* tabControl = tabs()) {
        tabControl->SetCurSel(kKeyTabIndex);
        m_currentPageId.store(tabControl->GetItemID(kKeyTabIndex));
    }
    for (int id : {kModelPicture, kDeviceStatus, kProfileButton, kRestoreDefaults}) showControl(id, true);
    return 0;
}

// --- Configuration sink ---------------------------------------------------------------------------

void DeviceMainDlg::clearDeviceList() {
    if (DUI::CDeviceList* list = deviceList()) list->ClearList();
}

void DeviceMainDlg::addDevice(const std::string& name, int deviceType, const std::string& imagePath) {
    if (DUI::CDeviceList* list = deviceList()) list->AddDevice(name, deviceType, imagePath);
}

void DeviceMainDlg::clearSupportedDevices() { m_manager.ClearSupportedDevices(); }

void DeviceMainDlg::registerSupportedDevice(int vid, int pid, const std::string& name, int deviceType, int mode,
                                            const std::string& devId) {
    m_manager.AddSupportedDevice({vid, pid, name, deviceType, mode, devId});
}

void DeviceMainDlg::setVersionTitle(const std::string& title) { setText(kVersionLabel, title); }

void DeviceMainDlg::registerDeviceNotifications() {
    if (m_hotPlug) return;
    if (m_services.makeHotPlugSource) m_hotPlug = m_services.makeHotPlugSource();
    else m_hotPlug = std::make_unique<UdevHotPlugSource>();
    if (!m_hotPlug) return;
    const DUI::HWND window = GetSafeHwnd();
    // Events arrive on the source's thread: they wait in the inbox and the
    // window thread handles them in order, as device-change messages.
    m_hotPlug->start([this, window](const HidHotPlugEvent& event) {
        {
            std::lock_guard lock(m_inboxMutex);
            m_deviceChanges.emplace_back(deviceChangeCode(event.kind), event.path);
        }
        DUI::MWindow::PostMessage(window, kDeviceChange, 0, 0);
    });
}

void DeviceMainDlg::onDeviceChangeMessage() {
    std::pair<std::uint32_t, std::string> change;
    {
        std::lock_guard lock(m_inboxMutex);
        if (m_deviceChanges.empty()) return;
        change = std::move(m_deviceChanges.front());
        m_deviceChanges.pop_front();
    }
    const std::vector<SupportedDevice> modes = supportedModes();
    DeviceChangeContext context;
    context.modes = modes;
    context.devicePresent = m_devicePresent.load();
    context.isVendorCollection = [backend = m_services.backend](const std::string& path) {
        return IsVendorCollection(*backend, path);
    };
    context.enqueueTask = [this](std::int32_t code) { enqueueTask(code); };
    OnDeviceChange(change.first, &change.second, context);
}

}  // namespace quorvik
