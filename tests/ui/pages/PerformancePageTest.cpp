// The performance page driven as a user drives it (click, choose, type and
// leave, drag and release) on a headless dialog, checked in the settings
// store and in the tasks the page queues; filling from the store, device
// notifications, factory values and the option groups a model hides.
#include "PagesFixture.h"
#include "../toolkit/TestDialog.h"

#include "base/FileIo.h"
#include "device/DeviceTask.h"
#include "store/SettingsStore.h"
#include "ui/pages/DPIMsgDlg.h"
#include "ui/pages/PerformancePage.h"
#include "ui/toolkit/CCheckButton.h"
#include "ui/toolkit/CRadioButton.h"
#include "ui/toolkit/DPIControl.h"
#include "ui/toolkit/DPISlider.h"
#include "ui/toolkit/MComboBox.h"
#include "ui/toolkit/MTabLayout.h"
#include "ui/toolkit/NumberEdit.h"
#include "ui/toolkit/ReporteCtrl.h"

#include <gtest/gtest.h>

#include <map>
#include <thread>
#include <vector>

namespace quorvik {
namespace {

using Page = PerformancePage;
constexpr int kDefaultSensor = 99;  // a sensor id without a scale of its own
constexpr int kContainerId = 52;

class FakeHost : public PerformanceHost {
public:
    SettingsStore& store() override { return SettingsStore::instance(); }
    int currentProfile() override { return profile; }
    void enqueueTask(int code) override { tasks.push_back(code); }
    void showSaveWait() override { ++saveWaits; }
    DUI::HWND ownerWindow() override { return owner; }
    ModelSources modelSources() override { return sources; }
    DPIMsgDlg* dpiPopup() override { return popup; }

    int profile = 0;
    DUI::HWND owner = 0;
    ModelSources sources;
    DPIMsgDlg* popup = nullptr;
    std::vector<int> tasks;
    int saveWaits = 0;
};

class PerformancePageTest : public test::PagesFixture {
protected:
    void SetUp() override {
        PagesFixture::SetUp();
        const std::string user = m_root + "/user/";
        ASSERT_TRUE(createFolderPath(user + "db"));
        ASSERT_TRUE(createFolderPath(m_root + "/program/device"));
        // The units of the sleep times, beside the fixture's texts.
        ASSERT_TRUE(writeFileAtomically(m_root + "/program/language/1033.lan",
                                        "[LAN]\n20=t20\n23=t23\n25=t25\n537=t537\n538=t538\n"));
        ASSERT_TRUE(store().openForModel(user, "perf"));
        host.profile = store().addProfile(ProfileRecord{0, "Profile 1", "", 0, 0});
        ASSERT_GT(host.profile, 0);

        DeviceModelEntry model;
        model.name = "Perf Mouse";
        model.device_type = 1;
        model.device_attr = "perf";
        host.sources.programFolder = m_root + "/program/";
        host.sources.userDataFolder = user;
        host.sources.models = {model};
        host.sources.deviceType = 1;
        host.sources.store = &store();

        dialog.build = [this](DUI::test::TestDialog& d) {
            DUI::MControl* container = d.CreateArea("MTabLayout", kContainerId, {200, 80, 1280, 738});
            page.build(d, container);
        };
        dialog.react = [this](DUI::test::TestDialog&, int id, int code, std::intptr_t param) {
            return page.onMessage(id, code, param);
        };
        ASSERT_NE(dialog.open("Main", 1300, 788), 0u);
        host.owner = dialog.GetSafeHwnd();
        ASSERT_TRUE(popup.create(dialog.GetSafeHwnd()));
        host.popup = &popup;
        page.layout({0, 0, 1300, 788}, 1.0f);
        page.setDeviceIdentity(kDefaultSensor, 4);
    }

    void TearDown() override {
        popup.DestroyWindow();
        dialog.DestroyWindow();
        store().close();
        PagesFixture::TearDown();
    }

    static SettingsStore& store() { return SettingsStore::instance(); }

    std::string value(const std::string& key) {
        std::string text;
        store().getConfigValue(host.profile, key, text);
        return text;
    }
    void set(const std::map<std::string, std::string>& values) {
        for (const auto& [key, text] : values) ASSERT_TRUE(store().setConfigValue(host.profile, key, text)) << key;
    }
    // Six stages 400..2400 with distinct colours, stage `index` stored as selected.
    void setSixStages(int index) {
        set({{"dpi_count", "6"}, {"dpi_index", std::to_string(index)}});
        for (int i = 0; i < 6; ++i)
            set({{"dpi_group" + std::to_string(i) + "_value", std::to_string(400 * (i + 1))},
                 {"dpi_group" + std::to_string(i) + "_rgb", std::to_string(0x10 + i)}});
    }
    void clearTasks() {
        host.tasks.clear();
        host.saveWaits = 0;
    }

    template <class T>
    T& control(int id) {
        T* c = dialog.GetControlAs<T>(id);
        EXPECT_NE(c, nullptr) << id;
        return *c;
    }
    DUI::DPIControl& stages() { return control<DUI::DPIControl>(Page::kStageListId); }
    DUI::DPISlider& slider() { return control<DUI::DPISlider>(Page::kSliderId); }
    DUI::ReporteCtrl& rates() { return control<DUI::ReporteCtrl>(Page::kRateListId); }
    std::vector<int> stageValues() {
        std::vector<int> values;
        for (const auto& s : stages().GetStages()) values.push_back(s.dpi);
        return values;
    }

    FakeHost host;
    Page page{host};
    DPIMsgDlg popup;
    DUI::test::TestDialog dialog;
};

TEST_F(PerformancePageTest, BuiltWithItsFixedListsAndDefaults) {
    auto& count = control<DUI::MComboBox>(Page::kStageCountId);
    ASSERT_EQ(count.GetItemCount(), 6);
    for (int i = 0; i < 6; ++i) EXPECT_EQ(count.GetItemData(i), i + 1);
    EXPECT_EQ(count.GetCurData(), 6);

    auto& sleep = control<DUI::MComboBox>(Page::kSleepId);
    const std::vector<std::pair<std::string, int>> expected = {{"10 t538", 1}, {"30 t538", 3}, {"1 t537", 6},
                                                               {"2 t537", 12}, {"6 t537", 36}, {"10 t537", 60},
                                                               {"20 t537", 120}, {"30 t537", 180}};
    ASSERT_EQ(sleep.GetItemCount(), 8);
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(sleep.GetItemText(i), expected[i].first) << i;
        EXPECT_EQ(sleep.GetItemData(i), expected[i].second) << i;
    }

    auto& low = control<DUI::CRadioButton>(Page::kLiftOff1Id);
    auto& high = control<DUI::CRadioButton>(Page::kLiftOff2Id);
    EXPECT_EQ(low.GetTitle(), "1.0mm");
    EXPECT_EQ(high.GetTitle(), "2.0mm");
    EXPECT_EQ(low.GetGroup(), "IDC_PER_STC_LOD");
    EXPECT_EQ(high.GetGroup(), "IDC_PER_STC_LOD");
    EXPECT_EQ(low.GetCheck(), 1);
    EXPECT_EQ(high.GetCheck(), 0);
}

TEST_F(PerformancePageTest, FillShowsEveryStoredValueAndQueuesNothing) {
    set({{"dpi_count", "4"}, {"dpi_index", "2"}, {"dpi_group0_value", "400"}, {"dpi_group1_value", "800"},
         {"dpi_group2_value", "1600"}, {"dpi_group3_value", "3200"}, {"dpi_group0_rgb", "255"},
         {"dpi_group1_rgb", "65280"}, {"dpi_group2_rgb", "16711680"}, {"dpi_group3_rgb", "33023"},
         {"report_rate", "2"}, {"sensor_flag", "20"}, {"liftoff_height", "2"}, {"sleep_light", "36"},
         {"move_wakeup", "1"}, {"move_closelight", "0"}, {"button_respondtime", "7"}});
    page.fillPerformancePage();

    EXPECT_EQ(control<DUI::MComboBox>(Page::kStageCountId).GetCurData(), 4);
    EXPECT_EQ(stageValues(), (std::vector<int>{400, 800, 1600, 3200}));
    EXPECT_EQ(stages().GetDPIColorValue(3), 33023u);
    EXPECT_EQ(stages().GetSelectItem(), 2);
    EXPECT_EQ(page.stageCount(), 4);
    EXPECT_EQ(page.currentStage(), 2);
    EXPECT_EQ(slider().GetProgress(), 32);  // 1600 / 50 on the default scale
    EXPECT_EQ(rates().GetItemCount(), 4);
    EXPECT_EQ(rates().GetSelectItem(), 2);  // 500Hz, code 2
    EXPECT_EQ(control<DUI::CCheckButton>(Page::kSensor1Id).GetCheck(), 1);
    EXPECT_EQ(control<DUI::CCheckButton>(Page::kSensor2Id).GetCheck(), 0);
    EXPECT_EQ(control<DUI::CCheckButton>(Page::kSensor3Id).GetCheck(), 1);
    EXPECT_EQ(control<DUI::CRadioButton>(Page::kLiftOff2Id).GetCheck(), 1);
    EXPECT_EQ(control<DUI::CRadioButton>(Page::kLiftOff1Id).GetCheck(), 0);
    EXPECT_EQ(control<DUI::MComboBox>(Page::kSleepId).GetCurData(), 36);
    EXPECT_EQ(control<DUI::CCheckButton>(Page::kWakeUpId).GetCheck(), 1);
    EXPECT_EQ(control<DUI::CCheckButton>(Page::kLightOffId).GetCheck(), 0);
    EXPECT_EQ(control<DUI::NumberEdit>(Page::kResponseId).GetEditText(), "7");
    EXPECT_TRUE(host.tasks.empty());
    EXPECT_EQ(host.saveWaits, 0);

    // A second fill from other values clears what the first one set.
    set({{"sensor_flag", "8"}, {"liftoff_height", "1"}, {"move_wakeup", "0"}, {"report_rate", "64"}});
    page.fillPerformancePage();
    EXPECT_EQ(control<DUI::CCheckButton>(Page::kSensor1Id).GetCheck(), 0);
    EXPECT_EQ(control<DUI::CCheckButton>(Page::kSensor2Id).GetCheck(), 1);
    EXPECT_EQ(control<DUI::CCheckButton>(Page::kSensor3Id).GetCheck(), 0);
    EXPECT_EQ(control<DUI::CRadioButton>(Page::kLiftOff1Id).GetCheck(), 1);
    EXPECT_EQ(control<DUI::CCheckButton>(Page::kWakeUpId).GetCheck(), 0);
    EXPECT_EQ(rates().GetSelectItem(), -1);
}

TEST_F(PerformancePageTest, StoredSelectionBeyondTheStagesShowsTheFirstAndKeepsTheStore) {
    struct Case {
        const char* name;
        const char* count;
        const char* index;
        int stages;
        int selected;
    };
    const Case cases[] = {
        {"index 7 of 6", "6", "7", 6, 0},
        {"index 3 of 3", "3", "3", 3, 0},
        {"negative index", "6", "-1", 6, 0},
        {"last stage", "6", "5", 6, 5},
        {"count the box lacks", "9", "0", 0, -1},
    };
    for (const Case& c : cases) {
        set({{"dpi_count", c.count}, {"dpi_index", c.index}});
        page.fillPerformancePage();
        EXPECT_EQ(stages().GetItemCount(), c.stages) << c.name;
        EXPECT_EQ(stages().GetSelectItem(), c.selected) << c.name;
        EXPECT_EQ(value("dpi_index"), c.index) << c.name;
        EXPECT_EQ(value("dpi_count"), c.count) << c.name;
    }
    EXPECT_TRUE(host.tasks.empty());
}

TEST_F(PerformancePageTest, ReportRateListFollowsTheDeviceLevel) {
    struct Case {
        int level;
        const char* stored;
        int entries;
        int selected;
    };
    const Case cases[] = {
        {4, "1", 4, 3}, {5, "16", 4, -1}, {6, "64", 4, -1}, {7, "16", 7, 4}, {7, "64", 7, 6}, {7, "8", 7, 0},
    };
    for (const Case& c : cases) {
        set({{"report_rate", c.stored}});
        page.setDeviceIdentity(kDefaultSensor, c.level);
        page.fillPerformancePage();
        EXPECT_EQ(rates().GetItemCount(), c.entries) << "level " << c.level;
        EXPECT_EQ(rates().GetSelectItem(), c.selected) << "level " << c.level << " rate " << c.stored;
    }
    const std::vector<DUI::ReporteCtrl::Item> items = rates().GetItems();
    const std::vector<std::tuple<std::string, int, std::uint32_t>> expected = {
        {"125Hz", 8, 0x0108F1},  {"250Hz", 4, 0xED6B00},  {"500Hz", 2, 0x4DF600},   {"1000Hz", 1, 0x20A3FF},
        {"2000Hz", 16, 0xC9012B}, {"4000Hz", 32, 0xFFFF00}, {"8000Hz", 64, 0xFFFFFF}};
    ASSERT_EQ(items.size(), expected.size());
    for (std::size_t i = 0; i < items.size(); ++i)
        EXPECT_EQ(std::tie(items[i].text, items[i].code, items[i].color), expected[i]) << i;

    // The level falling back to 4 (another device) drops the fast rates at once.
    page.setDeviceIdentity(kDefaultSensor, 4);
    EXPECT_EQ(rates().GetItemCount(), 4);
}

TEST_F(PerformancePageTest, ChoosingAReportRateWritesBothKeys) {
    page.setDeviceIdentity(kDefaultSensor, 7);
    page.fillPerformancePage();
    for (auto [index, code] : {std::pair{6, "64"}, std::pair{0, "8"}, std::pair{3, "1"}}) {
        clearTasks();
        ASSERT_TRUE(user.choose(dialog, Page::kRateListId, index));
        EXPECT_EQ(value("report_rate"), code);
        EXPECT_EQ(value("report_rate_wireless"), code);
        EXPECT_EQ(host.tasks, std::vector<int>{kTaskSendReportRate});
        EXPECT_EQ(host.saveWaits, 1);
    }
}

TEST_F(PerformancePageTest, TypedDpiIsMadeFitForTheSensor) {
    struct Case {
        int sensor;
        const char* typed;
        int stored;
        int position;  // slider position of the stored value
    };
    const Case cases[] = {
        {17, "11234", 11200, 212}, {17, "30000", 12000, 220}, {17, "20", 50, 1},
        {37, "7600", 7000, 54},    {37, "99", 100, 1},        {kDefaultSensor, "26010", 26000, 520},
        {kDefaultSensor, "825", 800, 16},                      {4, "8050", 8000, 80},
        {kDefaultSensor, "99999999999999", 26000, 520},
    };
    for (const Case& c : cases) {
        setSixStages(1);
        page.setDeviceIdentity(c.sensor, 4);
        page.fillPerformancePage();
        clearTasks();
        ASSERT_TRUE(user.editItem(dialog, Page::kStageListId, 1, c.typed)) << c.typed;
        EXPECT_EQ(value("dpi_group1_value"), std::to_string(c.stored)) << c.sensor << " " << c.typed;
        EXPECT_EQ(stages().GetDPIValue(1), c.stored) << c.typed;
        EXPECT_EQ(stages().GetEditText(), std::to_string(c.stored)) << c.typed;
        EXPECT_EQ(slider().GetProgress(), c.position) << c.sensor << " " << c.typed;
        EXPECT_EQ(host.tasks, std::vector<int>{kTaskSendDpiStages}) << c.typed;
        EXPECT_EQ(value("dpi_group0_value"), "400") << "other stages untouched";
    }
}

TEST_F(PerformancePageTest, EditingAnotherStageSelectsIt) {
    setSixStages(0);
    page.fillPerformancePage();
    popup.ShowWindow(DUI::SW_HIDE);
    page.setSwitches(true, false, true, true);
    clearTasks();
    ASSERT_TRUE(user.editItem(dialog, Page::kStageListId, 3, "2000"));
    EXPECT_EQ(value("dpi_index"), "3");
    EXPECT_EQ(value("dpi_group3_value"), "2000");
    EXPECT_EQ(page.currentStage(), 3);
    // Opening the editor selected the stage (one send), leaving it sent the value.
    EXPECT_EQ(host.tasks, (std::vector<int>{kTaskSendDpiStages, kTaskSendDpiStages}));
    EXPECT_EQ(popup.currentDpi(), 1600);  // shown when the stage was chosen, before the edit
}

TEST_F(PerformancePageTest, EmptiedStageEditorKeepsTheStage) {
    setSixStages(2);
    page.fillPerformancePage();
    clearTasks();
    for (const char* typed : {"", "abc"}) {
        ASSERT_TRUE(user.editItem(dialog, Page::kStageListId, 2, typed));
        EXPECT_EQ(value("dpi_group2_value"), "1200") << '"' << typed << '"';
        EXPECT_EQ(stages().GetDPIValue(2), 1200);
        EXPECT_EQ(stages().GetEditText(), "1200");
    }
    EXPECT_TRUE(host.tasks.empty());
}

TEST_F(PerformancePageTest, StageCountChangeMovesASelectionBeyondTheNewCount) {
    struct Case {
        const char* name;
        int selectedBefore;
        int newCount;
        int selectedAfter;
        const char* storedIndex;
    };
    const Case cases[] = {
        {"6 to 3 with stage 5", 5, 3, 2, "2"},
        {"6 to 1 with stage 4", 4, 1, 0, "0"},
        {"6 to 4 with stage 1", 1, 4, 1, "1"},
        {"6 to 6 with stage 5", 5, 6, 5, "5"},
    };
    for (const Case& c : cases) {
        setSixStages(c.selectedBefore);
        page.fillPerformancePage();
        clearTasks();
        ASSERT_TRUE(user.chooseData(dialog, Page::kStageCountId, c.newCount)) << c.name;
        EXPECT_EQ(stages().GetItemCount(), c.newCount) << c.name;
        EXPECT_EQ(stages().GetSelectItem(), c.selectedAfter) << c.name;
        EXPECT_EQ(value("dpi_count"), std::to_string(c.newCount)) << c.name;
        EXPECT_EQ(value("dpi_index"), c.storedIndex) << c.name;
        EXPECT_EQ(page.stageCount(), c.newCount) << c.name;
        EXPECT_EQ(slider().GetProgress(), 400 * (c.selectedAfter + 1) / 50) << c.name;
        EXPECT_EQ(host.tasks, std::vector<int>{kTaskSendDpiStages}) << c.name;
        EXPECT_EQ(host.saveWaits, 1) << c.name;
    }
}

TEST_F(PerformancePageTest, ChoosingAStageSendsOnlyWhenItChanges) {
    for (bool tips : {false, true}) {
        setSixStages(0);
        page.setSwitches(tips, false, true, true);
        page.fillPerformancePage();
        popup.ShowWindow(DUI::SW_HIDE);
        clearTasks();
        ASSERT_TRUE(user.choose(dialog, Page::kStageListId, 4));
        EXPECT_EQ(value("dpi_index"), "4");
        EXPECT_EQ(slider().GetProgress(), 40);  // 2000 / 50
        EXPECT_EQ(host.tasks, std::vector<int>{kTaskSendDpiStages});
        EXPECT_EQ(host.saveWaits, 1);
        EXPECT_EQ(popup.IsWindowVisible(), tips) << "tips " << tips;
        if (tips) {
            EXPECT_EQ(popup.currentDpi(), 2000);
        }

        ASSERT_TRUE(user.choose(dialog, Page::kStageListId, 4));
        EXPECT_EQ(host.tasks.size(), 1u) << "the same stage again";
    }
}

TEST_F(PerformancePageTest, SliderDragWritesTheStoreAndSendsOnceOnRelease) {
    setSixStages(1);
    page.fillPerformancePage();
    clearTasks();
    for (auto [position, dpi] : {std::pair{16, "800"}, std::pair{17, "850"}, std::pair{40, "2000"}, std::pair{3, "150"}}) {
        ASSERT_TRUE(user.drag(dialog, Page::kSliderId, position));
        EXPECT_EQ(value("dpi_group1_value"), dpi) << position;
        EXPECT_EQ(stages().GetDPIValue(1), std::stoi(dpi)) << position;
        EXPECT_TRUE(host.tasks.empty()) << "no device traffic while dragging";
        EXPECT_EQ(host.saveWaits, 0);
    }
    ASSERT_TRUE(user.release(dialog, Page::kSliderId));
    EXPECT_EQ(host.tasks, std::vector<int>{kTaskSendDpiStages});
    EXPECT_EQ(host.saveWaits, 1);
    EXPECT_EQ(value("dpi_group1_value"), "150");
    EXPECT_EQ(value("dpi_group0_value"), "400");
}

TEST_F(PerformancePageTest, SliderUsesTheSensorScale) {
    struct Case {
        int sensor;
        int positions;
        const char* low;
        const char* high;
        int position;
        const char* dpi;
    };
    const Case cases[] = {
        {17, 220, "50", "12000", 210, "11000"}, {37, 60, "100", "10000", 55, "7500"},
        {4, 80, "100", "8000", 80, "8000"},     {kDefaultSensor, 520, "50", "26000", 520, "26000"},
        {53, 160, "100", "16000", 7, "700"},
    };
    for (const Case& c : cases) {
        setSixStages(0);
        page.setDeviceIdentity(c.sensor, 4);
        page.fillPerformancePage();
        EXPECT_EQ(slider().GetRangeMin(), 1) << c.sensor;
        EXPECT_EQ(slider().GetRangeMax(), c.positions) << c.sensor;
        EXPECT_EQ(slider().GetLowDesc(), c.low) << c.sensor;
        EXPECT_EQ(slider().GetHighDesc(), c.high) << c.sensor;
        ASSERT_TRUE(user.slide(dialog, Page::kSliderId, c.position));
        EXPECT_EQ(value("dpi_group0_value"), c.dpi) << c.sensor;
    }
}

TEST_F(PerformancePageTest, StageColourFromTheChooser) {
    setSixStages(0);
    page.setSwitches(true, false, true, true);
    page.fillPerformancePage();
    clearTasks();
    backend.answerModal("PaletteDlg", [this](DUI::MWindow& w) {
        auto& chooser = static_cast<DUI::MDialog&>(w);
        EXPECT_TRUE(user.click(chooser, 41));  // the second preset: 0xFF0000
        EXPECT_TRUE(user.click(chooser, 48));  // OK
    });
    ASSERT_TRUE(user.colorClick(dialog, Page::kStageListId, 2));
    EXPECT_EQ(value("dpi_group2_rgb"), "16711680");
    EXPECT_EQ(stages().GetDPIColorValue(2), 0xFF0000u);
    EXPECT_EQ(host.tasks, std::vector<int>{kTaskSendDpiColors});
    EXPECT_EQ(host.saveWaits, 1);
    EXPECT_EQ(popup.currentDpi(), 1200);

    clearTasks();
    backend.answerModal("PaletteDlg", 2);  // closed without OK
    ASSERT_TRUE(user.colorClick(dialog, Page::kStageListId, 3));
    EXPECT_EQ(value("dpi_group3_rgb"), "19");
    EXPECT_EQ(stages().GetDPIColorValue(3), 19u);
    EXPECT_TRUE(host.tasks.empty());
    EXPECT_EQ(host.saveWaits, 0);
}

TEST_F(PerformancePageTest, ThirdSensorBoxAloneStores16) {
    set({{"sensor_flag", "0"}});
    page.fillPerformancePage();
    set({{"sensor_flag", "53"}});  // changed behind the page's back
    ASSERT_TRUE(user.click(dialog, Page::kSensor3Id));
    EXPECT_EQ(value("sensor_flag"), "16");
    EXPECT_EQ(host.tasks, std::vector<int>{kTaskSendSensorOptions});

    struct Step {
        int box;
        const char* stored;
    };
    for (const Step& s : {Step{Page::kSensor1Id, "20"}, Step{Page::kSensor2Id, "28"}, Step{Page::kSensor3Id, "12"},
                          Step{Page::kSensor1Id, "8"}}) {
        ASSERT_TRUE(user.click(dialog, s.box));
        EXPECT_EQ(value("sensor_flag"), s.stored) << s.box;
    }
    EXPECT_EQ(host.tasks.size(), 5u);
}

TEST_F(PerformancePageTest, ButtonResponseTimeIsClampedAsTyped) {
    struct Case {
        const char* typed;
        const char* shown;
        const char* stored;
    };
    const Case cases[] = {
        {"25", "20", "20"}, {"-3", "0", "0"}, {"7", "7", "7"}, {"20", "20", "20"},
        {"0", "0", "0"},    {"", "", "0"},    {"-", "-", "0"}, {"999", "20", "20"},
    };
    for (const Case& c : cases) {
        set({{"button_respondtime", "5"}});
        clearTasks();
        ASSERT_TRUE(user.type(dialog, Page::kResponseId, c.typed)) << c.typed;
        EXPECT_EQ(control<DUI::NumberEdit>(Page::kResponseId).GetEditText(), c.shown) << '"' << c.typed << '"';
        EXPECT_EQ(value("button_respondtime"), c.stored) << '"' << c.typed << '"';
        EXPECT_TRUE(host.tasks.empty()) << "typing alone sends nothing";
        ASSERT_TRUE(user.pressEnter(dialog, Page::kResponseId));
        EXPECT_EQ(value("button_respondtime"), c.stored) << '"' << c.typed << '"';
        // The power options command carries the response time to the mouse.
        EXPECT_EQ(host.tasks, std::vector<int>{kTaskSendPowerOptions}) << c.typed;
        EXPECT_EQ(host.saveWaits, 1);
    }
}

TEST_F(PerformancePageTest, LiftOffAndPowerOptions) {
    struct Case {
        const char* name;
        std::function<bool()> act;
        const char* key;
        const char* stored;
        int task;
    };
    const Case cases[] = {
        {"2.0mm", [&] { return user.click(dialog, Page::kLiftOff2Id); }, "liftoff_height", "2",
         kTaskSendSensorOptions},
        {"1.0mm", [&] { return user.click(dialog, Page::kLiftOff1Id); }, "liftoff_height", "1",
         kTaskSendSensorOptions},
        {"sleep 6 min", [&] { return user.choose(dialog, Page::kSleepId, 4); }, "sleep_light", "36",
         kTaskSendPowerOptions},
        {"sleep 10 s", [&] { return user.choose(dialog, Page::kSleepId, 0); }, "sleep_light", "1",
         kTaskSendPowerOptions},
        {"wake-up on", [&] { return user.click(dialog, Page::kWakeUpId); }, "move_wakeup", "1", kTaskSendPowerOptions},
        {"wake-up off", [&] { return user.click(dialog, Page::kWakeUpId); }, "move_wakeup", "0", kTaskSendPowerOptions},
        {"light-off on", [&] { return user.click(dialog, Page::kLightOffId); }, "move_closelight", "1",
         kTaskSendPowerOptions},
        {"apply", [&] { return user.click(dialog, Page::kApplyId); }, "dpi_count", "6", kTaskSendDpiStages},
    };
    set({{"move_wakeup", "0"}, {"move_closelight", "0"}, {"liftoff_height", "1"}});
    page.fillPerformancePage();
    for (const Case& c : cases) {
        clearTasks();
        ASSERT_TRUE(c.act()) << c.name;
        EXPECT_EQ(value(c.key), c.stored) << c.name;
        EXPECT_EQ(host.tasks, std::vector<int>{c.task}) << c.name;
        EXPECT_EQ(host.saveWaits, 1) << c.name;
    }
}

TEST_F(PerformancePageTest, DpiResetAsksFirst) {
    for (auto [answer, tasks] : {std::pair{2, std::vector<int>{}}, std::pair{1, std::vector<int>{kTaskResetDpi}}}) {
        clearTasks();
        backend.answerModal("MessageBox", answer);
        ASSERT_TRUE(user.click(dialog, Page::kDpiResetId));
        EXPECT_EQ(host.tasks, tasks) << "answer " << answer;
        EXPECT_EQ(host.saveWaits, static_cast<int>(tasks.size()));
    }
}

const char* const kDescription = R"(<?xml version="1.0" encoding="UTF-8"?>
<mouse>
  <mouse_info>
    <dpi_info default_dpi="1" dpi_count="3">
      <dpi_1 value="400" color="#FF8000"/>
      <dpi_2 value="800" color="#12"/>
      <dpi_3 value="1600" color="#00FF00"/>
    </dpi_info>
    <report_rate default_value="2"/>
    <sleep_light value="60"/>
    <move_wakeup value="0"/>
    <move_closelight value="1"/>
  </mouse_info>
</mouse>
)";

TEST_F(PerformancePageTest, FactoryValuesKeepTheDeviceRateLevel) {
    ASSERT_TRUE(writeFileAtomically(m_root + "/program/device/perf.xml", kDescription));
    page.setDeviceIdentity(kDefaultSensor, 7);
    set({{"report_rate", "64"}, {"sleep_light", "1"}, {"dpi_group1_rgb", "7"}});

    EXPECT_EQ(page.resetPerformanceDefaults(false), 0);
    EXPECT_EQ(value("dpi_count"), "3");
    EXPECT_EQ(value("dpi_index"), "1");
    EXPECT_EQ(value("dpi_group0_rgb"), "33023");  // #FF8000
    EXPECT_EQ(value("dpi_group1_rgb"), "18");     // #12
    EXPECT_EQ(value("report_rate"), "64");
    EXPECT_EQ(value("sleep_light"), "1");

    EXPECT_EQ(page.resetPerformanceDefaults(true), 2);
    EXPECT_EQ(value("report_rate"), "2");
    EXPECT_EQ(value("sleep_light"), "60");
    EXPECT_EQ(value("move_closelight"), "1");
    EXPECT_EQ(page.modelDefaultReportRate(), 2);
    EXPECT_EQ(page.reportRateLevel(), 7);
    page.fillPerformancePage();
    EXPECT_EQ(rates().GetItemCount(), 7) << "the fast rates stay offered";
    EXPECT_EQ(stageValues(), (std::vector<int>{400, 800, 1600}));
    EXPECT_EQ(stages().GetSelectItem(), 1);
}

TEST_F(PerformancePageTest, ReportRateResetFromTheModel) {
    page.setDeviceIdentity(kDefaultSensor, 7);
    set({{"report_rate", "64"}, {"report_rate_wireless", "64"}});
    page.fillPerformancePage();

    // No description file: nothing is written, the rate is still sent.
    ASSERT_TRUE(user.click(dialog, Page::kRateResetId));
    EXPECT_EQ(value("report_rate"), "64");
    EXPECT_EQ(host.tasks, std::vector<int>{kTaskSendReportRate});

    ASSERT_TRUE(writeFileAtomically(m_root + "/program/device/perf.xml", kDescription));
    clearTasks();
    ASSERT_TRUE(user.click(dialog, Page::kRateResetId));
    EXPECT_EQ(value("report_rate"), "2");
    EXPECT_EQ(value("report_rate_wireless"), "2");
    EXPECT_EQ(rates().GetSelectItem(), 2);
    EXPECT_EQ(rates().GetItemCount(), 7);
    EXPECT_EQ(page.modelDefaultReportRate(), 2);
    EXPECT_EQ(host.tasks, std::vector<int>{kTaskSendReportRate});
    EXPECT_EQ(host.saveWaits, 1);
}

TEST_F(PerformancePageTest, DeviceNotificationsMoveTheStages) {
    setSixStages(0);
    page.setSwitches(true, false, true, true);
    page.fillPerformancePage();
    popup.ShowWindow(DUI::SW_HIDE);

    set({{"dpi_count", "4"}, {"dpi_index", "3"}});
    page.deviceStageCountChanged(4);
    EXPECT_EQ(control<DUI::MComboBox>(Page::kStageCountId).GetCurData(), 4);
    EXPECT_EQ(stages().GetItemCount(), 4);
    EXPECT_EQ(stages().GetSelectItem(), 3);
    EXPECT_FALSE(popup.IsWindowVisible());

    page.deviceStageChanged(1, 800);
    EXPECT_EQ(stages().GetSelectItem(), 1);
    EXPECT_EQ(page.currentStage(), 1);
    EXPECT_EQ(slider().GetProgress(), 16);
    EXPECT_TRUE(popup.IsWindowVisible());
    EXPECT_EQ(popup.currentDpi(), 800);
    EXPECT_TRUE(host.tasks.empty()) << "the mouse already has it";

    // Reported by the worker thread.
    std::thread worker([&] { page.deviceStageChanged(2, 1200); });
    worker.join();
    backend.processEvents();
    EXPECT_EQ(stages().GetSelectItem(), 2);
    EXPECT_EQ(popup.currentDpi(), 1200);
}

TEST_F(PerformancePageTest, FillFromTheWorkerThread) {
    setSixStages(4);
    set({{"button_respondtime", "12"}, {"sleep_light", "120"}});
    std::thread worker([&] { page.fillPerformancePage(); });
    worker.join();
    backend.processEvents();
    EXPECT_EQ(stageValues(), (std::vector<int>{400, 800, 1200, 1600, 2000, 2400}));
    EXPECT_EQ(stages().GetSelectItem(), 4);
    EXPECT_EQ(control<DUI::NumberEdit>(Page::kResponseId).GetEditText(), "12");
    EXPECT_EQ(control<DUI::MComboBox>(Page::kSleepId).GetCurData(), 120);
}

// Every control of the page lies inside the page container and inside its
// panel, and no two controls of a panel overlap.
void expectTidyLayout(DUI::MDialog& dialog, const std::string& name) {
    const DUI::Rect container = dialog.GetControl(kContainerId)->GetRect();
    auto inside = [](const DUI::Rect& inner, const DUI::Rect& outer) {
        return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
               inner.bottom <= outer.bottom;
    };
    auto overlap = [](const DUI::Rect& a, const DUI::Rect& b) {
        return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
    };
    std::vector<DUI::MControl*> panels = dialog.GetChildren(dialog.GetControl(kContainerId));
    for (DUI::MControl* panel : panels) {
        if (!panel->IsShown()) continue;
        EXPECT_TRUE(inside(panel->GetRect(), container)) << name << " panel " << panel->GetId();
        EXPECT_GT(panel->GetRect().Height(), 0) << name << " panel " << panel->GetId();
        for (DUI::MControl* other : panels) {
            if (other != panel && other->IsShown()) {
                EXPECT_FALSE(overlap(panel->GetRect(), other->GetRect()))
                    << name << " panels " << panel->GetId() << " and " << other->GetId();
            }
        }
        const std::vector<DUI::MControl*> children = dialog.GetChildren(panel);
        for (DUI::MControl* child : children) {
            EXPECT_GT(child->GetRect().Width(), 0) << name << " control " << child->GetId();
            EXPECT_TRUE(inside(child->GetRect(), panel->GetRect())) << name << " control " << child->GetId();
            for (DUI::MControl* other : children) {
                if (other != child) {
                    EXPECT_FALSE(overlap(child->GetRect(), other->GetRect()))
                        << name << " controls " << child->GetId() << " and " << other->GetId();
                }
            }
        }
    }
}

TEST_F(PerformancePageTest, ModelSwitchesHideTheOptionGroups) {
    struct Case {
        bool liftOff;
        bool sensor;
    };
    for (const Case& c : {Case{true, true}, Case{false, true}, Case{true, false}, Case{false, false}}) {
        const std::string name = std::string("lod ") + (c.liftOff ? "on" : "off") + ", sensor " + (c.sensor ? "on" : "off");
        page.setSwitches(false, false, c.liftOff, c.sensor);
        EXPECT_EQ(dialog.GetControl(Page::kLiftOff1Id)->IsShown(), c.liftOff) << name;
        EXPECT_EQ(dialog.GetControl(Page::kSensor3Id)->IsShown(), c.sensor) << name;
        EXPECT_EQ(user.click(dialog, Page::kLiftOff2Id), c.liftOff) << name;
        EXPECT_EQ(user.click(dialog, Page::kSensor1Id), c.sensor) << name;
        EXPECT_TRUE(dialog.GetControl(Page::kSleepId)->IsShown()) << name;
        expectTidyLayout(dialog, name);
    }
    // Hidden groups leave no hole: the power panel sits right under the report rate.
    const int rateBottom = dialog.GetControl(Page::kRatePanelId)->GetRect().bottom;
    const int powerTop = dialog.GetControl(Page::kPowerPanelId)->GetRect().top;
    EXPECT_LT(powerTop - rateBottom, 30);
}

TEST_F(PerformancePageTest, LayoutFitsSmallAndMaximisedWindows) {
    for (const DUI::Rect client : {DUI::Rect{0, 0, 1300, 788}, DUI::Rect{0, 0, 1920, 1050}}) {
        const float scale = static_cast<float>(client.Height()) / 788.0f;
        dialog.GetControl(kContainerId)->SetRect({200, 80, client.right - 20, client.bottom - 50});
        page.layout(client, scale);
        expectTidyLayout(dialog, std::to_string(client.right) + "x" + std::to_string(client.bottom));
    }
}

}  // namespace
}  // namespace quorvik
