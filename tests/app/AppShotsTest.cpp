// Screenshots of the main window drawn by the Qt backend off-screen, over the
// simulated mice: the home page with the device list, the no-device page, each
// tab of an opened model, the settings page and the About dialog. Saved under
// build/screenshots/ to be looked at.
#include "../ui/qt/DialogShotFixture.h"

#include "app/DeviceMainDlg.h"
#include "app/Simulation.h"
#include "app/config/ConfigLoader.h"
#include "app/config/RegistryValues.h"
#include "base/FileIo.h"
#include "store/SettingsStore.h"
#include "ui/toolkit/CDeviceList.h"
#include "ui/toolkit/MTabCtrl.h"

#include <QTimer>

#include <chrono>
#include <cstdlib>
#include <functional>
#include <memory>

namespace DUI::test {
namespace {

using namespace quorvik;
using namespace quorvik::mainwnd;

class AppShotsTest : public DialogShotFixture {
protected:
    void SetUp() override {
        DialogShotFixture::SetUp();
        char pattern[] = "/tmp/quorvik-shots-XXXXXX";
        ASSERT_NE(::mkdtemp(pattern), nullptr);
        m_root = pattern;
        ::setenv("XDG_CONFIG_HOME", (m_root + "/config").c_str(), 1);
        ::setenv("XDG_DATA_HOME", (m_root + "/data").c_str(), 1);
        ASSERT_TRUE(loadStartupConfig());
        readRegistryInt("LCID");  // the settings file exists from the first start on
        createFolderPath(UserDataFolder() + "db");  // as the start-up does
    }
    void TearDown() override {
        if (window) window->DestroyWindow();
        window.reset();
        SettingsStore::instance().close();
        ::unsetenv("XDG_CONFIG_HOME");
        ::unsetenv("XDG_DATA_HOME");
        std::system(("rm -rf '" + m_root + "'").c_str());
        DialogShotFixture::TearDown();
    }

    void start(const std::vector<VirtualMouseConfig>& mice) {
        sim = std::make_shared<SimulatedHidBackend>(mice);
        manager = std::make_unique<DeviceManager>(sim);
        MainWindowServices services = simulatedServices(sim, *manager);
        services.store = &SettingsStore::instance();
        window = std::make_unique<DeviceMainDlg>(services);
        ASSERT_NE(window->Create(0, Manager::GetDeviceName(), DeviceMainDlg::kWindowStyle, 0,
                                 {0, 0, kDesignWidth, kDesignHeight}),
                  0u);
        window->ShowWindow(SW_SHOWNORMAL);
    }

    bool waitFor(const std::function<bool()>& done, int ms = 10000) {
        QElapsedTimer clock;
        clock.start();
        while (clock.elapsed() < ms) {
            QApplication::processEvents(QEventLoop::AllEvents, 5);
            if (done()) return true;
        }
        return done();
    }

    // Until every task queued so far has finished (see the headless fixture).
    bool waitForWorker() {
        if (!waitFor([&] { return window->taskQueue().empty(); })) return false;
        const auto turns = window->idleTurns();
        return waitFor([&] { return window->idleTurns() > turns && window->taskQueue().empty(); });
    }

    QSize shootMain(const char* file) {
        runFor(150);
        return shoot(Manager::GetDeviceName(), file);
    }

    std::string m_root;
    std::shared_ptr<SimulatedHidBackend> sim;
    std::unique_ptr<DeviceManager> manager;
    std::unique_ptr<DeviceMainDlg> window;
};

TEST_F(AppShotsTest, HomeTabsSettingsAndAbout) {
    start(simulatedMice());
    ASSERT_TRUE(waitForWorker());
    auto* list = window->GetControlAs<CDeviceList>(kDeviceList);
    ASSERT_EQ(list->GetOnlineDevCount(), 2);
    EXPECT_EQ(shootMain("main_home_devices.png"), QSize(kDesignWidth, kDesignHeight));

    // Open the wired model, then visit every tab.
    const auto rows = list->GetRows();
    int wired = -1;
    for (std::size_t i = 0; i < rows.size(); ++i)
        if (rows[i].mode == kModeWired) wired = static_cast<int>(i);
    ASSERT_GE(wired, 0);
    ASSERT_TRUE(list->userOpen(wired));
    ASSERT_TRUE(waitForWorker());
    const char* files[] = {"main_tab_home.png", "main_tab_keys.png", "main_tab_performance.png",
                           "main_tab_macros.png", "main_tab_lighting.png", "main_tab_guide.png"};
    auto* tabControl = window->GetControlAs<MTabCtrl>(kTabs);
    for (int index : {1, 2, 3, 5}) {
        ASSERT_TRUE(tabControl->userSelect(index)) << index;
        ASSERT_TRUE(waitForWorker());
        shootMain(files[index]);
    }

    // The wireless model has lighting.
    ASSERT_TRUE(tabControl->userSelect(0));
    int wireless = 1 - wired;
    ASSERT_TRUE(list->userOpen(wireless));
    ASSERT_TRUE(waitForWorker());
    ASSERT_TRUE(tabControl->userSelect(4));
    shootMain(files[4]);

    // The settings page.
    window->OnMessage(kSettingsButton, kNotifyClick, 0);
    shootMain("main_settings.png");

    // The About dialog, shot while it runs.
    QTimer::singleShot(400, [&] {
        shoot("About Window", "main_about.png");
        if (HWND about = MWindow::FindWindow(kWindowClassName, "About Window"))
            MWindow::PostMessage(about, WM_CLOSE, 0, 0);
    });
    window->SendMessage(WM_COMMAND, kAboutCommand, 0);
}

TEST_F(AppShotsTest, NoDevicePage) {
    start({});
    ASSERT_TRUE(waitForWorker());
    ASSERT_TRUE(window->GetControl(kNoDeviceText)->IsShown());
    EXPECT_EQ(shootMain("main_no_device.png"), QSize(kDesignWidth, kDesignHeight));
}

}  // namespace
}  // namespace DUI::test
