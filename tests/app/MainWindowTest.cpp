// The main window against the simulated mice: start-up, the device list and
// its views, opening a model, tabs, the settings page, the tray, closing and
// exiting, hot-plug, the wireless mouse going off and on, and the worker.
#include "MainWindowFixture.h"

#include "base/Text.h"
#include "device/DeviceTask.h"
#include "ui/pages/CUIMessageBox.h"
#include "ui/pages/PerformancePage.h"
#include "ui/toolkit/BatteryCtrl.h"
#include "ui/toolkit/MenuWnd.h"

#include <atomic>
#include <mutex>
#include <vector>

namespace quorvik::test {
namespace {

using namespace mainwnd;

constexpr int kModelM1 = 1;  // through its receiver in the simulated set
constexpr int kModelM2 = 2;  // on its cable

class MainWindowTest : public MainWindowFixture {};

TEST_F(MainWindowTest, StartFillsTheDeviceListWithBothModels) {
    start();
    ASSERT_TRUE(waitForDiscovery());

    const auto rows = list().GetRows();
    ASSERT_EQ(rows.size(), 2u);
    const auto& m1 = rows[static_cast<std::size_t>(rowOf(kModelM1))];
    const auto& m2 = rows[static_cast<std::size_t>(rowOf(kModelM2))];
    EXPECT_EQ(m1.name, "Quorvik Kestrel M1");
    EXPECT_EQ(m1.mode, kModeReceiver);
    EXPECT_NE(m1.state, 0);
    EXPECT_EQ(m1.version, "V1.10");
    EXPECT_EQ(m1.battery, 80);  // read with the model's configuration
    EXPECT_EQ(window->wirelessFirmware(), "105");  // the mouse behind the receiver
    EXPECT_EQ(m2.mode, kModeWired);
    EXPECT_NE(m2.state, 0);
    EXPECT_EQ(m2.version, "V1.05");

    // The home page with the list; the model's frame stays hidden until one is opened.
    EXPECT_TRUE(window->devicePresent());
    EXPECT_TRUE(window->deviceConnected());
    EXPECT_TRUE(shown(kDeviceList));
    EXPECT_FALSE(shown(kNoDevicePicture));
    EXPECT_FALSE(shown(kNoDeviceText));
    for (int id : {kTabs, kTabStrip, kModelPicture, kProfileButton, kRestoreDefaults}) EXPECT_FALSE(shown(id)) << id;
    EXPECT_EQ(window->currentPageId(), kTabHome);

    // Every start saves 101; the refresh then picks the first model found.
    EXPECT_EQ(window->selectedDeviceType(), kModelM1);
    EXPECT_EQ(readRegistryInt("DeviceType"), kModelM1);
    EXPECT_EQ(title(kDeviceStatus), LangString("LAN", 52));
    EXPECT_TRUE(window->workerRunning());
}

TEST_F(MainWindowTest, HiddenStartFillsTheListAndShowsOnlyFromTheTray) {
    start();
    backend.answerModal(DUI::Manager::GetDeviceName(), [&](DUI::MWindow&) {
        EXPECT_FALSE(window->IsWindowVisible());
        ASSERT_TRUE(backend.trayIcon().has_value());
        EXPECT_TRUE(backend.trayIcon()->shown);
        EXPECT_TRUE(waitForDiscovery());
        EXPECT_EQ(listOnlineCount(), 2);
        EXPECT_FALSE(window->IsWindowVisible());
        backend.clickTray(DUI::WM_LBUTTONDBLCLK);
        backend.processEvents();
        EXPECT_TRUE(window->IsWindowVisible());
        window->exitProgram();
    });
    window->ShowModal(DUI::SW_HIDE);
    EXPECT_TRUE(window->exitRequested());
    EXPECT_FALSE(window->workerRunning());
}

TEST_F(MainWindowTest, HiddenStartWithoutATrayStartsMinimised) {
    EXPECT_EQ(DeviceMainDlg::startShowCommand(false), DUI::SW_SHOWNORMAL);
    EXPECT_EQ(DeviceMainDlg::startShowCommand(true), DUI::SW_HIDE);
    backend.setTrayAvailable(false);
    EXPECT_EQ(DeviceMainDlg::startShowCommand(true), DUI::SW_SHOWMINIMIZED);
    EXPECT_EQ(DeviceMainDlg::startShowCommand(false), DUI::SW_SHOWNORMAL);
}

TEST_F(MainWindowTest, TrayIconCarriesTheDeviceNameCutTo127Characters) {
    const std::string saved = DUI::Manager::GetDeviceName();
    // 130 characters of which some take several bytes: the cut counts characters.
    std::string longName;
    for (int i = 0; i < 65; ++i) longName += "é" + std::string("x");
    DUI::Manager::SetDeviceName(longName);
    start();
    DUI::Manager::SetDeviceName(saved);

    const auto tray = backend.trayIcon();
    ASSERT_TRUE(tray.has_value());
    EXPECT_TRUE(tray->shown);
    EXPECT_EQ(tray->id, kTrayIconId);
    EXPECT_EQ(tray->callbackMessage, kTrayMessage);
    EXPECT_EQ(codePointCount(tray->tip), 127u);
    EXPECT_EQ(tray->tip, cutCodePoints(longName, 127));
}

TEST_F(MainWindowTest, NoDeviceShowsTheNoDeviceView) {
    start({});
    ASSERT_TRUE(waitForWorker());
    ASSERT_TRUE(shown(kNoDeviceText));
    EXPECT_FALSE(window->devicePresent());
    EXPECT_FALSE(window->deviceConnected());
    EXPECT_TRUE(shown(kNoDevicePicture));
    EXPECT_FALSE(shown(kDeviceList));
    EXPECT_EQ(title(kDeviceStatus), LangString("LAN", 50));
    EXPECT_TRUE(shown(kDeviceStatus));
    EXPECT_EQ(title(kNoDeviceText), LangString("LAN", 56));
}

TEST_F(MainWindowTest, ReceiverWithItsMouseOffShowsTheModelAsPresent) {
    std::vector<VirtualMouseConfig> mice = simulatedMice();
    mice.resize(1);  // the receiver alone
    start(mice);
    sim->device(0)->switchMouse(false);
    ASSERT_TRUE(waitForWorker());
    ASSERT_EQ(window->selectedDeviceType(), kModelM1);
    // The receiver's model counts as reachable through it: the list shows it
    // with its mode, offline.
    ASSERT_TRUE(waitFor([&] { return shown(kDeviceList); }));
    const auto row = list().GetRows()[0];
    EXPECT_EQ(row.mode, kModeReceiver);
    EXPECT_TRUE(window->devicePresent());
}

TEST_F(MainWindowTest, OpeningTheWiredModelSelectsTheKeyTab) {
    start();
    ASSERT_TRUE(waitForDiscovery());

    ASSERT_TRUE(list().userOpen(rowOf(kModelM2)));
    backend.processEvents();
    EXPECT_EQ(window->selectedDeviceType(), kModelM2);
    EXPECT_EQ(readRegistryInt("DeviceType"), kModelM2);
    EXPECT_EQ(tabs().GetCurSel(), kKeyTabIndex);
    EXPECT_EQ(window->currentPageId(), kTabKeys);
    for (int id : {kTabs, kTabStrip, kModelPicture, kDeviceStatus, kProfileButton, kRestoreDefaults, kKeyPage})
        EXPECT_TRUE(shown(id)) << id;
    EXPECT_EQ(title(kDeviceStatus), LangString("LAN", 51));
    // The second model has no lighting: its tab is hidden.
    EXPECT_FALSE(tabs().IsItemVisible(4));
    // The pages showed the first model: they are loaded again for this one,
    // with its own sensor (53, up to 16000 DPI).
    ASSERT_TRUE(waitForWorker());
    EXPECT_EQ(window->performancePage().sensorId(), 53);
    EXPECT_EQ(window->currentProfile(), 1);
}

TEST_F(MainWindowTest, OpeningTheWirelessModelReloadsItsPages) {
    start();
    ASSERT_TRUE(waitForDiscovery());
    ASSERT_TRUE(list().userOpen(rowOf(kModelM1)));
    backend.processEvents();
    EXPECT_EQ(title(kDeviceStatus), LangString("LAN", 52));
    EXPECT_TRUE(tabs().IsItemVisible(4));
    EXPECT_EQ(window->currentPageId(), kTabKeys);
}

TEST_F(MainWindowTest, OpeningAnUnpluggedModelShowsTheNoticeAndKeepsTheModel) {
    start();
    ASSERT_TRUE(waitForDiscovery());
    ASSERT_TRUE(list().userOpen(rowOf(kModelM1)));
    backend.processEvents();
    ASSERT_EQ(window->selectedDeviceType(), kModelM1);

    // The wired mouse leaves; before the window hears of it the user opens it.
    sim->setHotPlugCallback({});
    sim->device(1)->unplug();
    manager->CloseAll();
    manager->SetReady();
    manager->Enumerate();
    backend.answerModal("MessageBox", 1);
    ASSERT_TRUE(user.choose(*window, kTabs, 0));
    ASSERT_TRUE(list().userOpen(rowOf(kModelM2)));
    backend.processEvents();

    const auto log = backend.modalLog();
    ASSERT_FALSE(log.empty());
    EXPECT_EQ(log.back().title, "MessageBox");
    EXPECT_EQ(window->selectedDeviceType(), kModelM1);
    EXPECT_EQ(readRegistryInt("DeviceType"), kModelM1);
}

TEST_F(MainWindowTest, TabsAndTheSettingsPage) {
    start();
    ASSERT_TRUE(waitForDiscovery());
    ASSERT_TRUE(list().userOpen(rowOf(kModelM1)));
    backend.processEvents();

    struct Step {
        int index;
        int pageId;
        int container;
    };
    for (const Step& step : {Step{2, kTabPerformance, kPerformancePage}, Step{3, kTabMacros, kMacroPage},
                             Step{4, kTabLighting, kLightingPage}, Step{5, kTabGuide, kGuidePage},
                             Step{1, kTabKeys, kKeyPage}}) {
        ASSERT_TRUE(user.choose(*window, kTabs, step.index)) << step.index;
        EXPECT_EQ(window->currentPageId(), step.pageId);
        EXPECT_TRUE(shown(step.container)) << step.container;
        EXPECT_TRUE(shown(kModelPicture));
        EXPECT_TRUE(shown(kBattery));
    }

    // The settings page replaces the tabs and hides its own button.
    ASSERT_TRUE(user.click(*window, kSettingsButton));
    EXPECT_TRUE(shown(kSettingsPage));
    for (int id : {kTabStrip, kTabs, kModelPicture, kBattery, kSettingsButton, kMaximizeButton})
        EXPECT_FALSE(shown(id)) << id;

    // Its return button brings back the model's frame and page.
    ASSERT_TRUE(user.click(*window, kSettingsReturn));
    EXPECT_FALSE(shown(kSettingsPage));
    EXPECT_EQ(window->currentPageId(), kTabKeys);
    for (int id : {kTabStrip, kTabs, kModelPicture, kBattery, kSettingsButton, kMaximizeButton, kKeyPage})
        EXPECT_TRUE(shown(id)) << id;

    // Any tab choice leaves it too (the tab control itself is hidden, so the choice comes as the control's notice).
    ASSERT_TRUE(user.click(*window, kSettingsButton));
    window->OnMessage(kTabs, DUI::kNotifyClick, 0);
    EXPECT_FALSE(shown(kSettingsPage));
    for (int id : {kCloseButton, kMinimizeButton, kSettingsButton, kMaximizeButton}) EXPECT_TRUE(shown(id)) << id;
    // The home tab hides the model's frame.
    EXPECT_EQ(window->currentPageId(), kTabHome);
    for (int id : {kModelPicture, kTabStrip, kTabs, kDeviceStatus, kProfileButton, kRestoreDefaults, kBattery})
        EXPECT_FALSE(shown(id)) << id;
}

TEST_F(MainWindowTest, CloseButtonFollowsTheExitMode) {
    start();
    ASSERT_TRUE(waitForDiscovery());

    // Exit mode 1: hidden into the tray, still running.
    ASSERT_TRUE(writeRegistryInt("exit_mode", 1));
    ASSERT_TRUE(user.click(*window, kCloseButton));
    EXPECT_FALSE(window->IsWindowVisible());
    EXPECT_FALSE(window->exitRequested());
    ASSERT_TRUE(backend.trayIcon().has_value());
    EXPECT_TRUE(backend.trayIcon()->shown);

    // A left click on the tray icon brings it back in the normal state.
    ASSERT_TRUE(backend.clickTray(DUI::WM_LBUTTONDOWN));
    backend.processEvents();
    EXPECT_TRUE(window->IsWindowVisible());
    EXPECT_FALSE(window->IsIconic());

    // Exit mode 0: the program ends, the tray icon goes, the worker stops.
    ASSERT_TRUE(writeRegistryInt("exit_mode", 0));
    window->ShowWindow(DUI::SW_SHOWNORMAL);
    user.click(*window, kCloseButton);
    EXPECT_TRUE(window->exitRequested());
    EXPECT_FALSE(backend.trayIcon().has_value() && backend.trayIcon()->shown);
    EXPECT_FALSE(window->workerRunning());
}

TEST_F(MainWindowTest, WithoutATrayTheCloseButtonMinimisesInstead) {
    backend.setTrayAvailable(false);
    start();
    ASSERT_TRUE(writeRegistryInt("exit_mode", 1));
    ASSERT_TRUE(user.click(*window, kCloseButton));
    EXPECT_TRUE(window->IsIconic());
    EXPECT_FALSE(window->exitRequested());
}

TEST_F(MainWindowTest, TrayMenuHoldsOnlyExitAndEndsTheProgram) {
    start();
    ASSERT_TRUE(backend.clickTray(DUI::WM_RBUTTONUP));
    backend.processEvents();
    const DUI::HWND menu = DUI::MWindow::FindWindow(DUI::kWindowClassName, DUI::MenuWnd::kTitle);
    ASSERT_NE(menu, 0u);
    auto* menuWindow = dynamic_cast<DUI::MenuWnd*>(DUI::MWindow::FromHandle(menu));
    ASSERT_NE(menuWindow, nullptr);
    const auto items = menuWindow->GetItems();
    ASSERT_EQ(items.size(), 1u);
    EXPECT_EQ(items[0].command, kTrayExitCommand);
    EXPECT_EQ(items[0].text, LangString("LAN", 12));

    ASSERT_TRUE(user.chooseMenu(kTrayExitCommand));
    backend.processEvents();
    EXPECT_TRUE(window->exitRequested());
}

TEST_F(MainWindowTest, MessagesFromOutside) {
    start();
    // Exit only with the agreed parameter.
    window->PostMessage(kExitRequest, 0, 611);
    backend.processEvents();
    EXPECT_FALSE(window->exitRequested());
    window->PostMessage(kExitRequest, 0, kExitRequestParam);
    backend.processEvents();
    EXPECT_TRUE(window->exitRequested());
}

TEST_F(MainWindowTest, ReapplyingTheLanguageRewritesTheTexts) {
    start();
    ASSERT_TRUE(waitForDiscovery());
    setCurrentLanguageId(2052);
    window->PostMessage(kReapplyLanguage, 0, 0);
    backend.processEvents();
    EXPECT_EQ(title(kTitle), LangString("LAN", 1));
    EXPECT_EQ(tabs().GetItems()[2].text, LangString("LAN", 73));
    EXPECT_EQ(title(kDeviceStatus), LangString("LAN", 52));
    EXPECT_NE(LangString("LAN", 73), "Performance");
}

TEST_F(MainWindowTest, UnpluggingTheLastDeviceReturnsToTheNoDeviceView) {
    std::vector<VirtualMouseConfig> mice = simulatedMice();
    mice.erase(mice.begin());  // the wired mouse alone
    start(mice);
    ASSERT_TRUE(waitForDiscovery());
    ASSERT_TRUE(list().userOpen(rowOf(kModelM2)));
    backend.processEvents();
    ASSERT_EQ(window->currentPageId(), kTabKeys);

    // A message box is open when the mouse is pulled out: it ends as cancelled.
    std::atomic<bool> unplugged{false};
    backend.setModalWaitTimeout(std::chrono::milliseconds(8000));
    std::thread puller([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        sim->device(0)->unplug();
        unplugged = true;
    });
    const int answer = showMessageBox("caption", "text", window->GetSafeHwnd(), CUIMessageBox::kTwoButtons);
    puller.join();
    EXPECT_EQ(answer, 2);

    ASSERT_TRUE(waitFor([&] { return shown(kNoDeviceText); }));
    ASSERT_TRUE(waitForWorker());
    EXPECT_EQ(window->currentPageId(), kTabHome);
    EXPECT_EQ(tabs().GetCurSel(), 0);
    EXPECT_FALSE(shown(kDeviceList));
    EXPECT_FALSE(shown(kTabs));
    EXPECT_EQ(title(kDeviceStatus), LangString("LAN", 50));
    EXPECT_FALSE(window->devicePresent());

    // Plugging it back in brings the list back.
    sim->device(0)->plug();
    ASSERT_TRUE(waitFor([&] { return shown(kDeviceList) && window->devicePresent(); }));
}

TEST_F(MainWindowTest, WirelessMouseOffAndOnMovesTheWindowThroughItsStates) {
    std::vector<VirtualMouseConfig> mice = simulatedMice();
    mice.resize(1);  // the receiver alone
    start(mice);
    ASSERT_TRUE(waitForDiscovery());
    ASSERT_TRUE(list().userOpen(0));
    backend.processEvents();
    ASSERT_TRUE(window->deviceConnected());

    sim->device(0)->switchMouse(false);
    ASSERT_TRUE(waitFor([&] { return !window->deviceConnected(); }));
    ASSERT_TRUE(waitFor([&] { return shown(kNoDeviceText); }));
    EXPECT_EQ(title(kDeviceStatus), LangString("LAN", 50));
    EXPECT_EQ(window->currentPageId(), kTabHome);
    EXPECT_EQ(list().GetRows()[0].state, 0);

    sim->device(0)->switchMouse(true);
    ASSERT_TRUE(waitFor([&] { return window->deviceConnected(); }));
    ASSERT_TRUE(waitFor([&] { return shown(kTabs); }));
    EXPECT_EQ(title(kDeviceStatus), LangString("LAN", 52));
    EXPECT_NE(list().GetRows()[0].state, 0);
    EXPECT_EQ(tabs().GetCurSel(), kKeyTabIndex);
}

TEST_F(MainWindowTest, WorkerSendsQueuedSettingsInOrder) {
    std::vector<VirtualMouseConfig> mice = simulatedMice();
    mice.erase(mice.begin());
    start(mice);
    ASSERT_TRUE(waitForDiscovery());

    std::mutex mutex;
    std::vector<int> commands;
    sim->device(0)->setCommandListener([&](std::uint8_t command) {
        std::lock_guard lock(mutex);
        commands.push_back(command);
    });
    // The window thread keeps queueing while the worker sends.
    for (int round = 0; round < 5; ++round) {
        window->enqueueTask(kTaskSendDpiStages);
        window->enqueueTask(kTaskSendDpiColors);
        window->enqueueTask(99);  // unknown codes are dropped
        window->enqueueTask(kTaskButtonResponse);
    }
    ASSERT_TRUE(waitFor([&] {
        std::lock_guard lock(mutex);
        return commands.size() >= 15;
    }));
    std::lock_guard lock(mutex);
    for (int round = 0; round < 5; ++round) {
        EXPECT_EQ(commands[static_cast<std::size_t>(round * 3)], 0x03);
        EXPECT_EQ(commands[static_cast<std::size_t>(round * 3 + 1)], 0x04);
        // The button response time travels in the power options.
        EXPECT_EQ(commands[static_cast<std::size_t>(round * 3 + 2)], 0x07);
    }
}

TEST_F(MainWindowTest, PluggingTheMouseBackBringsItsRowBack) {
    std::vector<VirtualMouseConfig> mice = simulatedMice();
    start(mice);
    ASSERT_TRUE(waitForDiscovery());
    sim->device(1)->unplug();
    ASSERT_TRUE(waitFor([&] { return list().GetRows()[static_cast<std::size_t>(rowOf(kModelM2))].state == 0; }));
    ASSERT_TRUE(waitForWorker());

    sim->device(1)->plug();
    ASSERT_TRUE(waitFor([&] {
        const auto row = list().GetRows()[static_cast<std::size_t>(rowOf(kModelM2))];
        return row.state != 0 && row.mode == kModeWired;
    }));
}

}  // namespace
}  // namespace quorvik::test
