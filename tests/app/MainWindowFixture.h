// Test fixture for the main window: the shipped data folder (config.xml, model
// descriptions, English texts, skin), a temporary home for the settings file
// and the database, the simulated mice behind a device manager of their own,
// and a headless backend driving the window on this thread.
#pragma once

#include "app/DeviceMainDlg.h"
#include "app/Simulation.h"
#include "app/config/AppConfig.h"
#include "app/config/AppFolders.h"
#include "app/config/ConfigLoader.h"
#include "app/config/LanguageTexts.h"
#include "app/config/RegistryValues.h"
#include "base/FileIo.h"
#include "store/SettingsStore.h"
#include "ui/toolkit/CDeviceList.h"
#include "ui/toolkit/MControlFont.h"
#include "ui/toolkit/MTabCtrl.h"
#include "ui/toolkit/Manager.h"
#include "ui/toolkit/headless/HeadlessBackend.h"
#include "ui/toolkit/headless/HeadlessUser.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <thread>

namespace quorvik::test {

class MainWindowFixture : public testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/quorvik-main-XXXXXX";
        ASSERT_NE(::mkdtemp(pattern), nullptr);
        m_root = pattern;
        ::setenv("XDG_CONFIG_HOME", (m_root + "/config").c_str(), 1);
        ::setenv("XDG_DATA_HOME", (m_root + "/data").c_str(), 1);
        setProgramFolderOverride(std::string(QUORVIK_SOURCE_DIR) + "/data/");
        DUI::Manager::SetTheme("default");
        ASSERT_TRUE(loadStartupConfig());
        m_savedLanguage = CurrentLanguageId();
        setCurrentLanguageId(1033);
        DUI::Manager::SetSkinFolder(SkinFolder());
        // The settings file exists from the first start on (the language
        // choice creates it); values are written only into an existing one.
        readRegistryInt("LCID");
        createFolderPath(UserDataFolder() + "db");  // as the start-up does
    }

    void TearDown() override {
        if (window) window->DestroyWindow();
        window.reset();
        SettingsStore::instance().close();
        setCurrentLanguageId(m_savedLanguage);
        setProgramFolderOverride("");
        ::unsetenv("XDG_CONFIG_HOME");
        ::unsetenv("XDG_DATA_HOME");
        std::system(("rm -rf '" + m_root + "'").c_str());
    }

    // Creates the main window over `mice`; its initialisation starts the worker.
    void start(const std::vector<VirtualMouseConfig>& mice = simulatedMice()) {
        sim = std::make_shared<SimulatedHidBackend>(mice);
        manager = std::make_unique<DeviceManager>(sim);
        MainWindowServices services = simulatedServices(sim, *manager);
        services.store = &SettingsStore::instance();
        window = std::make_unique<DeviceMainDlg>(services);
        ASSERT_NE(window->Create(0, DUI::Manager::GetDeviceName(), DeviceMainDlg::kWindowStyle, 0,
                                 {0, 0, mainwnd::kDesignWidth, mainwnd::kDesignHeight}),
                  0u);
    }

    // Delivers what the worker posted until `done` holds; false after `ms`.
    bool waitFor(const std::function<bool()>& done, int ms = 8000) {
        const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
        while (std::chrono::steady_clock::now() < until) {
            backend.processEvents();
            if (done()) return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        backend.processEvents();
        return done();
    }

    // Until every task queued so far has finished.
    bool waitForWorker(int ms = 8000) {
        if (!waitFor([&] { return window->taskQueue().empty(); }, ms)) return false;
        const std::uint64_t turns = window->idleTurns();
        return waitFor([&] { return window->idleTurns() > turns && window->taskQueue().empty(); }, ms);
    }

    // Until discovery has finished and the list shows a device.
    bool waitForDiscovery() { return waitForWorker() && listOnlineCount() > 0; }

    DUI::CDeviceList& list() { return *window->GetControlAs<DUI::CDeviceList>(mainwnd::kDeviceList); }
    int listOnlineCount() { return list().GetOnlineDevCount(); }
    DUI::MTabCtrl& tabs() { return *window->GetControlAs<DUI::MTabCtrl>(mainwnd::kTabs); }
    bool shown(int id) { return window->GetControl(id)->IsShown(); }
    std::string title(int id) { return window->GetControlAs<DUI::MControlFont>(id)->GetTitle(); }
    int rowOf(int deviceType) {
        const auto rows = list().GetRows();
        for (std::size_t i = 0; i < rows.size(); ++i)
            if (rows[i].deviceType == deviceType) return static_cast<int>(i);
        return -1;
    }

    DUI::HeadlessBackend backend;
    DUI::HeadlessUser user{backend};
    std::shared_ptr<SimulatedHidBackend> sim;
    std::unique_ptr<DeviceManager> manager;
    std::unique_ptr<DeviceMainDlg> window;
    std::string m_root;
    int m_savedLanguage = 1033;
};

}  // namespace quorvik::test
