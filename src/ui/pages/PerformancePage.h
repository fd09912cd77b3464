// The performance page: DPI stages (count, value and colour of each, the
// selected one, the slider), report rate, lift-off distance, sensor options,
// sleep time, motion wake-up, motion light-off and button response time. Each
// user change is written to the current profile in the store, then a device
// task is queued and the please-wait notice shown; the worker sends from the
// store and refills the page with fillPerformancePage.
#pragma once

#include "ui/pages/PerformanceHost.h"
#include "ui/toolkit/Geometry.h"

#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>

namespace DUI {
class MControl;
class MDialog;
}  // namespace DUI

namespace quorvik {

class PerformancePage {
public:
    // Controls the main window forwards to onMessage.
    static constexpr int kDpiResetId = 115;
    static constexpr int kStageListId = 116;
    static constexpr int kSliderId = 117;
    static constexpr int kApplyId = 118;
    static constexpr int kStageCountId = 120;
    static constexpr int kRateResetId = 124;
    static constexpr int kRateListId = 125;
    static constexpr int kLiftOff1Id = 129;  // "1.0mm"
    static constexpr int kLiftOff2Id = 130;  // "2.0mm"
    static constexpr int kSensor1Id = 134;   // bit 0x04 of sensor_flag
    static constexpr int kSensor2Id = 135;   // bit 0x08
    static constexpr int kSensor3Id = 136;   // bit 0x10
    static constexpr int kResponseId = 139;
    static constexpr int kWakeUpId = 143;
    static constexpr int kLightOffId = 144;
    static constexpr int kSleepId = 145;

    // Panels and labels of the page (no handler).
    static constexpr int kDpiPanelId = 110;
    static constexpr int kDpiTitleId = 111;
    static constexpr int kStageCountLabelId = 112;
    static constexpr int kSliderLabelId = 113;
    static constexpr int kRatePanelId = 119;
    static constexpr int kRateTitleId = 121;
    static constexpr int kLiftOffPanelId = 122;
    static constexpr int kLiftOffTitleId = 123;
    static constexpr int kSensorPanelId = 126;
    static constexpr int kSensorTitleId = 127;
    static constexpr int kPowerPanelId = 128;
    static constexpr int kPowerTitleId = 131;
    static constexpr int kSleepLabelId = 132;
    static constexpr int kResponseLabelId = 133;
    static constexpr int kResponseUnitId = 137;

    static constexpr const char* kLiftOffGroup = "IDC_PER_STC_LOD";
    static constexpr int kMaxStages = 6;
    static constexpr int kMaxResponseTime = 20;
    // The report-rate list offers 2000, 4000 and 8000 Hz at this level only.
    static constexpr int kFullRateLevel = 7;

    explicit PerformancePage(PerformanceHost& host);
    PerformancePage(const PerformancePage&) = delete;
    PerformancePage& operator=(const PerformancePage&) = delete;

    // UI thread, once. Creates the page's controls inside `container` (the
    // main window's page container) of `dialog`, with their fixed lists (stage
    // counts 1..6 with 6 selected, sleep times, "1.0mm" checked).
    void build(DUI::MDialog& dialog, DUI::MControl* container);

    // Any thread. Places the controls for the main window's client rectangle
    // and layout scale; option groups switched off by the model are hidden
    // and the groups below them move up.
    void layout(const DUI::Rect& client, float scale);

    // UI thread. A control notification of the page (id, code, parameter);
    // 1 when the id belongs to the page, 0 otherwise.
    int onMessage(int id, int code, std::intptr_t param);

    // Any thread. Loads every control from the current profile in the store.
    void fillPerformancePage();

    // Any thread. Selects `count` in the stage-count box and rebuilds the
    // stage list from the store: `count` stages and the stored selection.
    void rebuildDpiList(int count);

    // Any thread. The DPI stages, count and selection reloaded from the store
    // (after the DPI reset wrote the factory stages).
    void reloadDpiStages();

    // Any thread: the mouse reported a new stage count or stage (the store
    // already holds it). The count rebuilds the list; the stage is selected,
    // the slider follows its DPI and the DPI pop-up shows it when enabled.
    void deviceStageCountChanged(int count);
    void deviceStageChanged(int stage, int dpi);

    // Any thread. The model description's switches: DPI pop-up, please-wait
    // notice (kept for the host, which decides on it), lift-off group and
    // sensor group. A group switched off is hidden.
    void setSwitches(bool showDpiTips, bool showSaveTips, bool showLiftOff, bool showSensor);

    // Any thread. The identity block's sensor id (slider scale and labels,
    // typed-DPI rules) and report-rate list level (4..7). Refills the
    // report-rate list when the level changed.
    void setDeviceIdentity(int sensorId, int reportRateLevel);

    // Any thread. Writes the model's factory values into the current profile:
    // the DPI stages, and with `newProfile` also the report rate and power
    // options. The factory report-rate code written (kept as the model's
    // default rate; the list level stays the device's), 0 when none was.
    int resetPerformanceDefaults(bool newProfile);

    int sensorId() const { return m_sensorId.load(); }
    int reportRateLevel() const { return m_rateLevel.load(); }
    int stageCount() const { return m_stageCount.load(); }
    int currentStage() const { return m_currentStage.load(); }
    // The model's default report-rate code from its description, 0 before a
    // reset has read one.
    int modelDefaultReportRate() const { return m_defaultReportRate.load(); }
    bool showsDpiTips() const { return m_showDpiTips.load(); }
    bool showsSaveTips() const { return m_showSaveTips.load(); }

private:
    // Handlers of the controls.
    void onStageList(int code, std::intptr_t param);
    void onSlider(int code);
    void onStageCount();
    void onDpiReset();
    void onRateReset();
    void onRateSelected();
    void onLiftOff();
    void onSensorOptions();
    void onResponseTime(int code);
    void onPowerOption(int id);

    // Store access for the current profile.
    std::string readText(const std::string& key);
    int readNumber(const std::string& key);
    void writeText(const std::string& key, const std::string& value);
    void writeNumber(const std::string& key, int value);

    void fillRateList();
    void addStagesFromStore(int count);
    // Selects stage `stage` and moves the slider to its DPI.
    void selectStage(int stage);
    void placeSliderFor(int dpi);
    void configureSlider();
    void showDpiPopup(int dpi);
    void changed(int task);

    PerformanceHost& m_host;
    DUI::MDialog* m_dialog = nullptr;
    std::atomic<int> m_sensorId{0};
    std::atomic<int> m_rateLevel{4};
    std::atomic<int> m_stageCount{0};
    std::atomic<int> m_currentStage{0};
    std::atomic<int> m_defaultReportRate{0};
    std::atomic<bool> m_showDpiTips{false};
    std::atomic<bool> m_showSaveTips{false};
    std::atomic<bool> m_showLiftOff{true};
    std::atomic<bool> m_showSensor{true};

    std::mutex m_layoutMutex;  // the last layout, replayed when a switch changes
    DUI::Rect m_client{};
    float m_scale = 1.0f;
    bool m_laidOut = false;
};

}  // namespace quorvik
