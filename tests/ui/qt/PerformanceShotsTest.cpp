// Screenshots of the performance page inside the main window's frame, drawn by
// the Qt backend off-screen with the shipped English texts and skin: a sensor
// with 520 slider positions and one with 160, with the lift-off and sensor
// groups shown and hidden.
#include "DialogShotFixture.h"

#include "app/config/DeviceModelEntry.h"
#include "base/FileIo.h"
#include "store/SettingsStore.h"
#include "ui/pages/PerformancePage.h"
#include "ui/toolkit/DPISlider.h"
#include "ui/toolkit/MPicture.h"
#include "ui/toolkit/MTabCtrl.h"
#include "ui/toolkit/MText.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <vector>

namespace DUI::test {
namespace {

using quorvik::PerformancePage;

class ShotHost : public quorvik::PerformanceHost {
public:
    quorvik::SettingsStore& store() override { return quorvik::SettingsStore::instance(); }
    int currentProfile() override { return profile; }
    void enqueueTask(int code) override { tasks.push_back(code); }
    void showSaveWait() override {}
    HWND ownerWindow() override { return owner; }
    quorvik::ModelSources modelSources() override { return {}; }
    quorvik::DPIMsgDlg* dpiPopup() override { return nullptr; }

    int profile = 0;
    HWND owner = 0;
    std::vector<int> tasks;
};

class PerformanceShotsTest : public DialogShotFixture {
protected:
    void SetUp() override {
        DialogShotFixture::SetUp();
        char pattern[] = "/tmp/quorvik-perfshots-XXXXXX";
        ASSERT_NE(::mkdtemp(pattern), nullptr);
        m_root = pattern;
        ASSERT_TRUE(quorvik::createFolderPath(m_root + "/db"));
        ASSERT_TRUE(store().openForModel(m_root + "/", "perf"));
        host.profile = store().addProfile(quorvik::ProfileRecord{0, "Profile 1", "", 0, 0});
        ASSERT_GT(host.profile, 0);
    }
    void TearDown() override {
        store().close();
        std::system(("rm -rf '" + m_root + "'").c_str());
        DialogShotFixture::TearDown();
    }
    static quorvik::SettingsStore& store() { return quorvik::SettingsStore::instance(); }
    void set(const std::map<std::string, std::string>& values) {
        for (const auto& [key, text] : values) ASSERT_TRUE(store().setConfigValue(host.profile, key, text)) << key;
    }

    // The main window's frame around the page container, as the window
    // builds it, with the performance tab chosen.
    void buildFrame(BuiltDialog& d) {
        d.SetFontName("Open Sans Semibold");
        d.CreateControl("MPicture", 30, {0, 0, 1300, 788})->SetImage("main_bkg.png");
        d.CreateControl("MPicture", 32, {1, 1, 1299, 50})->SetImage("img_area_caption.png");
        d.CreateControl("MPicture", 33, {1, 738, 1299, 787})->SetImage("img_area_caption.png");
        d.CreateControl("MPicture", 47, {1, 50, 201, 738})->SetImage("img_tab_bkg.png");
        d.CreateControl("MPicture", 34, {10, 70, 190, 100})->SetImage("logo.png");
        if (auto* title = dynamic_cast<MText*>(d.CreateControl("MText", 35, {520, 10, 780, 40}, "Quorvik"))) {
            title->SetFont("黑体", 18, true);
            title->SetAlignment(1);
        }
        MControl* container = d.CreateArea("MTabLayout", 52, {200, 80, 1280, 738});
        if (auto* tabs = dynamic_cast<MTabCtrl*>(d.CreateControl("MTabCtrl", 48, {1, 120, 191, 480}))) {
            tabs->SetImage("img_tabitem_bkg.png");
            tabs->SetFontWidth(15);
            tabs->AddItem(1, "Home", "icon\\tab_home.png");
            tabs->AddItem(2, "Buttons", "icon\\tab_key.png");
            tabs->AddItem(3, "Performance", "icon\\tab_dpi.png", container);
            tabs->AddItem(4, "Macros", "icon\\tab_macro.png");
            tabs->AddItem(5, "Lighting", "icon\\tab_light.png");
            tabs->AddItem(7, "Quick guide", "icon\\tab_set.png");
            tabs->SetCurSel(2);
        }
        page.build(d, container);
    }

    ShotHost host;
    PerformancePage page{host};
    std::string m_root;
};

TEST_F(PerformanceShotsTest, PageForTwoSensorsWithGroupsShownAndHidden) {
    set({{"dpi_count", "5"}, {"dpi_index", "2"}, {"dpi_group0_value", "400"}, {"dpi_group1_value", "800"},
         {"dpi_group2_value", "1600"}, {"dpi_group3_value", "3200"}, {"dpi_group4_value", "6400"},
         {"report_rate", "1"}, {"sensor_flag", "4"}, {"liftoff_height", "1"}, {"sleep_light", "60"},
         {"move_wakeup", "1"}, {"move_closelight", "0"}, {"button_respondtime", "8"}});

    BuiltDialog window;
    window.build = [this](BuiltDialog& d) { buildFrame(d); };
    ASSERT_NE(window.Create(0, "Performance Shots", 0x96000000, 0, {0, 0, 1300, 788}), 0u);
    host.owner = window.GetSafeHwnd();
    page.layout(window.GetClientRect(), 1.0f);
    window.ShowWindow(SW_SHOW);

    struct Shot {
        int sensor;
        int level;
        bool groups;
        int positions;
        const char* file;
    };
    const Shot shots[] = {
        {0, 7, true, 520, "performance_520.png"},
        {53, 4, true, 160, "performance_160.png"},
        {0, 7, false, 520, "performance_520_groups_hidden.png"},
        {53, 4, false, 160, "performance_160_groups_hidden.png"},
    };
    for (const Shot& s : shots) {
        page.setSwitches(false, false, s.groups, s.groups);
        page.setDeviceIdentity(s.sensor, s.level);
        page.fillPerformancePage();
        EXPECT_EQ(window.GetControlAs<DPISlider>(PerformancePage::kSliderId)->GetRangeMax(), s.positions);
        runFor(150);
        EXPECT_EQ(shoot("Performance Shots", s.file), QSize(1300, 788)) << s.file;
    }
    EXPECT_TRUE(host.tasks.empty());
    window.DestroyWindow();
}

}  // namespace
}  // namespace DUI::test
