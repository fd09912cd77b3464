// Performance page (see PerformancePage.h). The store is the only source of
// the page's values: handlers write it before they queue a task, and the fill
// rebuilds every control from it. Control setters are thread-safe, so the
// worker's fill and the device notifications touch the controls directly.
#include "ui/pages/PerformancePage.h"

#include "app/config/LanguageTexts.h"
#include "base/Text.h"
#include "device/DeviceTask.h"
#include "model/FactoryValues.h"
#include "protocol/DpiScale.h"
#include "protocol/SensorTable.h"
#include "store/SettingsStore.h"
#include "ui/pages/CUIMessageBox.h"
#include "ui/pages/DPIMsgDlg.h"
#include "ui/pages/MousePaletteDlg.h"
#include "ui/toolkit/CArea.h"
#include "ui/toolkit/CCheckButton.h"
#include "ui/toolkit/CRadioButton.h"
#include "ui/toolkit/DPIControl.h"
#include "ui/toolkit/DPISlider.h"
#include "ui/toolkit/MButton.h"
#include "ui/toolkit/MComboBox.h"
#include "ui/toolkit/MDialog.h"
#include "ui/toolkit/MText.h"
#include "ui/toolkit/NumberEdit.h"
#include "ui/toolkit/ReporteCtrl.h"

#include <algorithm>
#include <array>

namespace quorvik {
namespace {

struct RateEntry {
    const char* text;
    int code;
    std::uint32_t color;  // COLORREF
};

// The first four always; the last three only at the full report-rate level.
constexpr std::array<RateEntry, 7> kRates = {{{"125Hz", 8, 0x0108F1},
                                              {"250Hz", 4, 0xED6B00},
                                              {"500Hz", 2, 0x4DF600},
                                              {"1000Hz", 1, 0x20A3FF},
                                              {"2000Hz", 16, 0xC9012B},
                                              {"4000Hz", 32, 0xFFFF00},
                                              {"8000Hz", 64, 0xFFFFFF}}};
constexpr int kBasicRateCount = 4;

struct SleepEntry {
    const char* number;
    bool seconds;  // the unit is seconds (text 538), otherwise minutes (537)
    int value;     // units of 10 seconds, as stored in sleep_light
};

constexpr std::array<SleepEntry, 8> kSleepTimes = {{{"10", true, 1},
                                                    {"30", true, 3},
                                                    {"1", false, 6},
                                                    {"2", false, 12},
                                                    {"6", false, 36},
                                                    {"10", false, 60},
                                                    {"20", false, 120},
                                                    {"30", false, 180}}};

struct SensorBox {
    int id;
    int bit;
};
constexpr std::array<SensorBox, 3> kSensorBoxes = {{{PerformancePage::kSensor1Id, 0x04},
                                                    {PerformancePage::kSensor2Id, 0x08},
                                                    {PerformancePage::kSensor3Id, 0x10}}};

// Looks of the page: panels a shade lighter than the window, titles in the
// text colour, captions dimmed.
constexpr std::uint32_t kPanelColor = 0x2E2724;  // COLORREF of #24272e
constexpr std::uint32_t kTitleColor = 0xFFE8EAEE;
constexpr std::uint32_t kCaptionColor = 0xFF9AA1AD;
constexpr int kTitleFont = 18;
constexpr int kCaptionFont = 14;

// Geometry of the page, in pixels at scale 1.
constexpr int kPad = 16;           // inside a panel
constexpr int kColumnGap = 20;     // between the two columns
constexpr int kTitleHeight = 30;   // a panel's title row
constexpr int kRowHeight = 32;     // a combo box, field or button
constexpr int kCheckHeight = 26;   // a check box or radio button
constexpr int kStageRow = 38;      // one DPI stage of the list
constexpr int kSliderHeight = 46;  // track and range labels
constexpr int kButtonWidth = 140;
constexpr int kPanelGap = 14;

std::string stageValueKey(int stage) {
    return format("dpi_group%d_value", stage);
}
std::string stageColorKey(int stage) {
    return format("dpi_group%d_rgb", stage);
}

template <class T>
T* create(DUI::MDialog& dialog, const char* className, int id, DUI::MControl* parent,
          const std::string& title = {}) {
    return dynamic_cast<T*>(dialog.CreateControl(className, id, {0, 0, 0, 0}, title, parent));
}

DUI::MControl* createPanel(DUI::MDialog& dialog, int id, DUI::MControl* parent) {
    auto* panel = dynamic_cast<DUI::CArea*>(dialog.CreateArea("CArea", id, {0, 0, 0, 0}, {}, parent));
    if (panel != nullptr) panel->SetTransparent(false, kPanelColor);
    return panel;
}

constexpr int kAlignLeft = 0;
constexpr int kAlignRight = 2;
constexpr int kAlignMiddle = 1;  // vertical

void createText(DUI::MDialog& dialog, int id, DUI::MControl* parent, const std::string& title, bool heading,
                int alignment = kAlignLeft) {
    if (auto* text = create<DUI::MText>(dialog, "MText", id, parent, title)) {
        text->SetFontWidth(heading ? kTitleFont : kCaptionFont);
        text->SetBold(heading);
        text->SetTextColor(heading ? kTitleColor : kCaptionColor);
        text->SetAlignment(alignment);
        text->SetVAlignment(kAlignMiddle);
    }
}

DUI::MButton* createButton(DUI::MDialog& dialog, int id, DUI::MControl* parent, const std::string& title) {
    auto* button = create<DUI::MButton>(dialog, "MButton", id, parent, title);
    if (button != nullptr) button->SetImage("img_button.png");
    return button;
}

}  // namespace

PerformancePage::PerformancePage(PerformanceHost& host) : m_host(host) {}

// --- Building and layout ----------------------------------------------------

void PerformancePage::build(DUI::MDialog& dialog, DUI::MControl* container) {
    m_dialog = &dialog;

    DUI::MControl* dpi = createPanel(dialog, kDpiPanelId, container);
    createText(dialog, kDpiTitleId, dpi, LangString("LAN", 254), true);
    createText(dialog, kStageCountLabelId, dpi, LangString("LAN", 255), false, kAlignRight);
    if (auto* count = create<DUI::MComboBox>(dialog, "MComboBox", kStageCountId, dpi)) {
        for (int n = 1; n <= kMaxStages; ++n) count->AddItem(format("%d", n), n);
        count->SelectData(kMaxStages);
    }
    create<DUI::DPIControl>(dialog, "DPIControl", kStageListId, dpi);
    createText(dialog, kSliderLabelId, dpi, LangString("LAN", 256), false);
    create<DUI::DPISlider>(dialog, "DPISlider", kSliderId, dpi);
    configureSlider();
    createButton(dialog, kApplyId, dpi, LangString("LAN", 38));
    createButton(dialog, kDpiResetId, dpi, LangString("LAN", 253));

    DUI::MControl* rate = createPanel(dialog, kRatePanelId, container);
    createText(dialog, kRateTitleId, rate, LangString("LAN", 257), true);
    createButton(dialog, kRateResetId, rate, LangString("LAN", 259));
    create<DUI::ReporteCtrl>(dialog, "ReporteCtrl", kRateListId, rate);
    fillRateList();

    DUI::MControl* liftOff = createPanel(dialog, kLiftOffPanelId, container);
    createText(dialog, kLiftOffTitleId, liftOff, LangString("LAN", 260), true);
    for (auto [id, caption] : {std::pair{kLiftOff1Id, "1.0mm"}, std::pair{kLiftOff2Id, "2.0mm"}}) {
        if (auto* radio = create<DUI::CRadioButton>(dialog, "CRadioButton", id, liftOff, caption))
            radio->SetGroup(kLiftOffGroup);
    }
    if (auto* first = dialog.GetControlAs<DUI::CRadioButton>(kLiftOff1Id)) first->SetCheck(1);

    DUI::MControl* sensor = createPanel(dialog, kSensorPanelId, container);
    createText(dialog, kSensorTitleId, sensor, LangString("LAN", 261), true);
    create<DUI::CCheckButton>(dialog, "CCheckButton", kSensor1Id, sensor, LangString("LAN", 262));
    create<DUI::CCheckButton>(dialog, "CCheckButton", kSensor2Id, sensor, LangString("LAN", 263));
    create<DUI::CCheckButton>(dialog, "CCheckButton", kSensor3Id, sensor, LangString("LAN", 264));

    DUI::MControl* power = createPanel(dialog, kPowerPanelId, container);
    createText(dialog, kPowerTitleId, power, LangString("LAN", 265), true);
    createText(dialog, kSleepLabelId, power, LangString("LAN", 266), false);
    if (auto* sleep = create<DUI::MComboBox>(dialog, "MComboBox", kSleepId, power)) {
        const std::string secondsUnit = LangString("LAN", 538);
        const std::string minutesUnit = LangString("LAN", 537);
        for (const SleepEntry& entry : kSleepTimes)
            sleep->AddItem(format("%s %s", entry.number, (entry.seconds ? secondsUnit : minutesUnit).c_str()),
                           entry.value);
    }
    create<DUI::CCheckButton>(dialog, "CCheckButton", kWakeUpId, power, LangString("LAN", 267));
    create<DUI::CCheckButton>(dialog, "CCheckButton", kLightOffId, power, LangString("LAN", 268));
    createText(dialog, kResponseLabelId, power, LangString("LAN", 269), false);
    if (auto* response = create<DUI::NumberEdit>(dialog, "NumberEdit", kResponseId, power)) {
        response->SetLimitText(3);
        response->SetImage("img_edit.png");
    }
    createText(dialog, kResponseUnitId, power, LangString("LAN", 187), false);
}

void PerformancePage::layout(const DUI::Rect& client, float scale) {
    std::lock_guard lock(m_layoutMutex);
    m_client = client;
    m_scale = scale > 0.0f ? scale : 1.0f;
    m_laidOut = true;
    if (m_dialog == nullptr) return;
    auto place = [this](int id, const DUI::Rect& rect) {
        if (DUI::MControl* control = m_dialog->GetControl(id)) control->SetRect(rect);
    };
    auto show = [this](int id, bool visible) {
        if (DUI::MControl* control = m_dialog->GetControl(id)) control->SetVisible(visible);
    };

    // The page container of the main window.
    const int left = 200;
    const int top = 80;
    const int right = client.right - 20;
    const int width = std::max(0, right - left);
    const int gap = std::max(6, static_cast<int>(kPanelGap * m_scale));
    const int leftWidth = (width - kColumnGap) * 46 / 100;
    const int rightLeft = left + leftWidth + kColumnGap;

    // DPI column: title with the stage count beside it, the six stages, the
    // slider for the selected stage, apply and reset.
    {
        const int x0 = left + kPad;
        const int x1 = left + leftWidth - kPad;
        int y = top + kPad;
        place(kDpiTitleId, {x0, y, x1 - 200, y + kTitleHeight});
        place(kStageCountLabelId, {x1 - 190, y, x1 - 90, y + kTitleHeight});
        place(kStageCountId, {x1 - 80, y - 1, x1, y + kRowHeight - 1});
        y += kTitleHeight + 12;
        place(kStageListId, {x0, y, x1, y + kStageRow * kMaxStages});
        y += kStageRow * kMaxStages + 10;
        place(kSliderLabelId, {x0, y, x1, y + 22});
        y += 24;
        place(kSliderId, {x0, y, x1, y + kSliderHeight});
        y += kSliderHeight + 16;
        place(kApplyId, {x0, y, x0 + kButtonWidth, y + kRowHeight + 4});
        place(kDpiResetId, {x1 - kButtonWidth, y, x1, y + kRowHeight + 4});
        y += kRowHeight + 4 + kPad;
        place(kDpiPanelId, {left, top, left + leftWidth, y});
    }

    // Right column: report rate, lift-off, sensor options and power, stacked;
    // a group the model switches off is hidden and the next moves up.
    const int x0 = rightLeft + kPad;
    const int x1 = right - kPad;
    const int innerWidth = std::max(0, x1 - x0);
    int y = top;
    auto titleRow = [&](int titleId, int panelTop, int titleRight) {
        place(titleId, {x0, panelTop + kPad - 2, titleRight, panelTop + kPad - 2 + kTitleHeight});
        return panelTop + kPad - 2 + kTitleHeight + 8;
    };
    {
        const int panelTop = y;
        int row = titleRow(kRateTitleId, panelTop, x1 - kButtonWidth - 10);
        place(kRateResetId, {x1 - kButtonWidth, panelTop + kPad - 3, x1, panelTop + kPad - 3 + kRowHeight});
        place(kRateListId, {x0, row, x1, row + 36});
        row += 36 + kPad;
        place(kRatePanelId, {rightLeft, panelTop, right, row});
        y = row + gap;
    }
    const bool liftOffShown = m_showLiftOff.load();
    show(kLiftOffPanelId, liftOffShown);
    if (liftOffShown) {
        const int panelTop = y;
        int row = titleRow(kLiftOffTitleId, panelTop, x1);
        place(kLiftOff1Id, {x0, row, x0 + 140, row + kCheckHeight});
        place(kLiftOff2Id, {x0 + 160, row, x0 + 300, row + kCheckHeight});
        row += kCheckHeight + kPad;
        place(kLiftOffPanelId, {rightLeft, panelTop, right, row});
        y = row + gap;
    }
    const bool sensorShown = m_showSensor.load();
    show(kSensorPanelId, sensorShown);
    if (sensorShown) {
        const int panelTop = y;
        int row = titleRow(kSensorTitleId, panelTop, x1);
        const int boxWidth = innerWidth / 3;
        for (int i = 0; i < 3; ++i)
            place(kSensorBoxes[i].id, {x0 + i * boxWidth, row, x0 + (i + 1) * boxWidth - 8, row + kCheckHeight});
        row += kCheckHeight + kPad;
        place(kSensorPanelId, {rightLeft, panelTop, right, row});
        y = row + gap;
    }
    {
        const int panelTop = y;
        int row = titleRow(kPowerTitleId, panelTop, x1);
        const int fieldLeft = x0 + std::min(260, innerWidth / 2);
        place(kSleepLabelId, {x0, row, fieldLeft - 10, row + kRowHeight});
        place(kSleepId, {fieldLeft, row, std::min(x1, fieldLeft + 160), row + kRowHeight});
        row += kRowHeight + 10;
        place(kWakeUpId, {x0, row, x0 + innerWidth / 2 - 8, row + kCheckHeight});
        place(kLightOffId, {x0 + innerWidth / 2, row, x1, row + kCheckHeight});
        row += kCheckHeight + 12;
        place(kResponseLabelId, {x0, row, fieldLeft - 10, row + kRowHeight});
        place(kResponseId, {fieldLeft, row, fieldLeft + 80, row + kRowHeight});
        place(kResponseUnitId, {fieldLeft + 90, row, std::min(x1, fieldLeft + 160), row + kRowHeight});
        row += kRowHeight + kPad;
        place(kPowerPanelId, {rightLeft, panelTop, right, row});
    }
}

void PerformancePage::setSwitches(bool showDpiTips, bool showSaveTips, bool showLiftOff, bool showSensor) {
    m_showDpiTips = showDpiTips;
    m_showSaveTips = showSaveTips;
    const bool liftOffChanged = m_showLiftOff.exchange(showLiftOff) != showLiftOff;
    const bool sensorChanged = m_showSensor.exchange(showSensor) != showSensor;
    DUI::Rect client;
    float scale = 1.0f;
    {
        std::lock_guard lock(m_layoutMutex);
        if (!m_laidOut) return;
        client = m_client;
        scale = m_scale;
    }
    if (liftOffChanged || sensorChanged) layout(client, scale);
}

void PerformancePage::setDeviceIdentity(int sensorId, int reportRateLevel) {
    m_sensorId = sensorId;
    const bool levelChanged = m_rateLevel.exchange(reportRateLevel) != reportRateLevel;
    configureSlider();
    if (levelChanged) {
        fillRateList();
        if (m_dialog == nullptr) return;
        if (auto* rates = m_dialog->GetControlAs<DUI::ReporteCtrl>(kRateListId))
            rates->SetSelectItemValue(readNumber("report_rate"));
    }
}

void PerformancePage::configureSlider() {
    if (m_dialog == nullptr) return;
    auto* slider = m_dialog->GetControlAs<DUI::DPISlider>(kSliderId);
    if (slider == nullptr) return;
    const SensorProfile& profile = sensorProfile(m_sensorId.load());
    slider->SetRange(1, profile.sliderPositions);
    slider->SetDPIDesc(profile.lowLabel, profile.highLabel);
}

void PerformancePage::fillRateList() {
    if (m_dialog == nullptr) return;
    auto* rates = m_dialog->GetControlAs<DUI::ReporteCtrl>(kRateListId);
    if (rates == nullptr) return;
    rates->DeleteAllItems();
    const int count = m_rateLevel.load() == kFullRateLevel ? static_cast<int>(kRates.size()) : kBasicRateCount;
    for (int i = 0; i < count; ++i) rates->AddItem(kRates[i].text, kRates[i].code, kRates[i].color);
}

// --- Store access -------------------------------------------------------------

std::string PerformancePage::readText(const std::string& key) {
    std::string value;
    m_host.store().getConfigValue(m_host.currentProfile(), key, value);
    return value;
}

int PerformancePage::readNumber(const std::string& key) {
    return wtoi(readText(key));
}

void PerformancePage::writeText(const std::string& key, const std::string& value) {
    m_host.store().setConfigValue(m_host.currentProfile(), key, value);
}

void PerformancePage::writeNumber(const std::string& key, int value) {
    writeText(key, format("%d", value));
}

// --- Filling from the store ---------------------------------------------------

void PerformancePage::fillPerformancePage() {
    if (m_dialog == nullptr) return;
    if (auto* response = m_dialog->GetControlAs<DUI::NumberEdit>(kResponseId))
        response->SetEditText(readText("button_respondtime"));

    fillRateList();
    if (auto* rates = m_dialog->GetControlAs<DUI::ReporteCtrl>(kRateListId))
        rates->SetSelectItemValue(readNumber("report_rate"));

    reloadDpiStages();

    const int flags = readNumber("sensor_flag");
    for (const SensorBox& box : kSensorBoxes)
        if (auto* check = m_dialog->GetControlAs<DUI::CCheckButton>(box.id)) check->SetCheck((flags & box.bit) ? 1 : 0);

    const bool high = readText("liftoff_height") == "2";
    if (auto* radio = m_dialog->GetControlAs<DUI::CRadioButton>(high ? kLiftOff2Id : kLiftOff1Id)) radio->SetCheck(1);

    if (auto* sleep = m_dialog->GetControlAs<DUI::MComboBox>(kSleepId)) sleep->SelectData(readNumber("sleep_light"));
    if (auto* wake = m_dialog->GetControlAs<DUI::CCheckButton>(kWakeUpId))
        wake->SetCheck(readNumber("move_wakeup") == 1 ? 1 : 0);
    if (auto* lightOff = m_dialog->GetControlAs<DUI::CCheckButton>(kLightOffId))
        lightOff->SetCheck(readNumber("move_closelight") == 1 ? 1 : 0);
}

void PerformancePage::reloadDpiStages() {
    if (m_dialog == nullptr) return;
    auto* count = m_dialog->GetControlAs<DUI::MComboBox>(kStageCountId);
    if (count == nullptr) return;
    count->SelectData(readNumber("dpi_count"));
    rebuildDpiList(static_cast<int>(count->GetCurData()));
    // A stored selection beyond the stages shows the first stage; the store
    // keeps its value until the user or the mouse changes it.
    int stage = readNumber("dpi_index");
    if (stage < 0 || stage >= m_stageCount.load()) stage = 0;
    m_currentStage = stage;
    selectStage(stage);
}

void PerformancePage::rebuildDpiList(int count) {
    if (m_dialog == nullptr) return;
    auto* combo = m_dialog->GetControlAs<DUI::MComboBox>(kStageCountId);
    auto* stages = m_dialog->GetControlAs<DUI::DPIControl>(kStageListId);
    if (combo == nullptr || stages == nullptr) return;
    combo->SelectData(count);
    const int shown = static_cast<int>(combo->GetCurData());  // 0 for a count the box does not offer
    const int stage = readNumber("dpi_index");
    stages->ClearList();
    addStagesFromStore(shown);
    stages->SetSelectItem(stage);
    m_stageCount = shown;
    m_currentStage = stage;
}

void PerformancePage::addStagesFromStore(int count) {
    auto* stages = m_dialog->GetControlAs<DUI::DPIControl>(kStageListId);
    if (stages == nullptr) return;
    for (int i = 0; i < count; ++i)
        stages->AddItem(readNumber(stageValueKey(i)), static_cast<std::uint32_t>(readNumber(stageColorKey(i))));
}

void PerformancePage::selectStage(int stage) {
    auto* stages = m_dialog->GetControlAs<DUI::DPIControl>(kStageListId);
    if (stages == nullptr) return;
    stages->SetSelectItem(stage);
    placeSliderFor(stages->GetDPIValue(stage));
}

void PerformancePage::placeSliderFor(int dpi) {
    if (auto* slider = m_dialog->GetControlAs<DUI::DPISlider>(kSliderId))
        slider->SetProgress(dpiToSliderPosition(m_sensorId.load(), dpi));
}

// --- Device notifications -----------------------------------------------------

void PerformancePage::deviceStageCountChanged(int count) {
    rebuildDpiList(count);
}

void PerformancePage::deviceStageChanged(int stage, int dpi) {
    if (m_dialog == nullptr) return;
    m_currentStage = stage;
    if (auto* stages = m_dialog->GetControlAs<DUI::DPIControl>(kStageListId)) stages->SetSelectItem(stage);
    placeSliderFor(dpi);
    showDpiPopup(dpi);
}

void PerformancePage::showDpiPopup(int dpi) {
    if (!m_showDpiTips.load()) return;
    if (DPIMsgDlg* popup = m_host.dpiPopup()) popup->showDpi(dpi);
}

// --- Factory values -------------------------------------------------------------

int PerformancePage::resetPerformanceDefaults(bool newProfile) {
    ModelSources sources = m_host.modelSources();
    sources.store = &m_host.store();
    const FactoryValuesResult result = writeFactoryValues(m_host.currentProfile(), newProfile, sources);
    if (!result.reportRate) return 0;
    m_defaultReportRate = *result.reportRate;
    return *result.reportRate;
}

// --- Control notifications ------------------------------------------------------

int PerformancePage::onMessage(int id, int code, std::intptr_t param) {
    if (m_dialog == nullptr) return 0;
    switch (id) {
        case kStageListId: onStageList(code, param); return 1;
        case kSliderId: onSlider(code); return 1;
        case kResponseId: onResponseTime(code); return 1;
        default: break;
    }
    const bool pageControl = id == kDpiResetId || id == kApplyId || id == kStageCountId || id == kRateResetId ||
                             id == kRateListId || id == kLiftOff1Id || id == kLiftOff2Id || id == kSensor1Id ||
                             id == kSensor2Id || id == kSensor3Id || id == kWakeUpId || id == kLightOffId ||
                             id == kSleepId;
    if (!pageControl) return 0;
    if (code != DUI::kNotifyClick) return 1;
    switch (id) {
        case kDpiResetId: onDpiReset(); break;
        case kApplyId: changed(kTaskSendDpiStages); break;
        case kStageCountId: onStageCount(); break;
        case kRateResetId: onRateReset(); break;
        case kRateListId: onRateSelected(); break;
        case kLiftOff1Id:
        case kLiftOff2Id: onLiftOff(); break;
        case kSensor1Id:
        case kSensor2Id:
        case kSensor3Id: onSensorOptions(); break;
        default: onPowerOption(id); break;
    }
    return 1;
}

void PerformancePage::changed(int task) {
    m_host.enqueueTask(task);
    m_host.showSaveWait();
}

void PerformancePage::onStageList(int code, std::intptr_t param) {
    auto* stages = m_dialog->GetControlAs<DUI::DPIControl>(kStageListId);
    if (stages == nullptr) return;
    if (code == DUI::kNotifyClick || code == DUI::kNotifySetFocus) {
        const int index = stages->GetSelectItem();
        if (index < 0) return;
        writeNumber("dpi_index", index);
        placeSliderFor(stages->GetDPIValue(index));
        if (index != m_currentStage.load()) {
            m_currentStage = index;
            m_host.enqueueTask(kTaskSendDpiStages);
            showDpiPopup(stages->GetDPIValue(index));
            m_host.showSaveWait();
        }
        return;
    }
    if (code == DUI::kNotifyItemMenu) {
        const int index = static_cast<int>(param);
        if (index < 0 || index >= stages->GetItemCount()) return;
        const std::uint32_t color = MousePaletteDlg::choose(m_host.ownerWindow(), stages->GetDPIColorValue(index));
        if (color == 0) return;  // closed, or black, which reads the same
        stages->SetDPIColorValue(index, color);
        writeNumber(stageColorKey(index), static_cast<int>(color));
        placeSliderFor(stages->GetDPIValue(index));
        m_host.enqueueTask(kTaskSendDpiColors);
        showDpiPopup(stages->GetDPIValue(index));
        m_host.showSaveWait();
        return;
    }
    if (code == DUI::kNotifyKillFocus) {
        const int index = stages->GetSelectItem();
        if (index < 0) return;
        const std::string typed = stages->GetEditText();
        // An emptied editor leaves the stage as it was rather than dropping
        // it to the sensor's minimum.
        if (typed.empty()) {
            stages->SetEditText(format("%d", stages->GetDPIValue(index)));
            return;
        }
        const int dpi = normalizeTypedDpi(m_sensorId.load(), wtoi(typed));
        stages->SetEditText(format("%d", dpi));
        stages->SetDPIValue(index, dpi);
        placeSliderFor(dpi);
        writeNumber(stageValueKey(index), dpi);
        m_host.enqueueTask(kTaskSendDpiStages);
        if (index != m_currentStage.load()) {
            m_currentStage = index;
            m_host.enqueueTask(kTaskSendDpiStages);
            showDpiPopup(dpi);
            m_host.showSaveWait();
        }
    }
}

void PerformancePage::onSlider(int code) {
    auto* stages = m_dialog->GetControlAs<DUI::DPIControl>(kStageListId);
    auto* slider = m_dialog->GetControlAs<DUI::DPISlider>(kSliderId);
    if (stages == nullptr || slider == nullptr) return;
    const int index = stages->GetSelectItem();
    if (index < 0) return;
    // While the thumb moves only the store follows; the mouse hears of the
    // new value once, when the thumb is let go.
    const int dpi = sliderPositionToDpi(m_sensorId.load(), slider->GetProgress());
    stages->SetDPIValue(index, dpi);
    writeNumber(stageValueKey(index), dpi);
    if (code == DUI::kNotifyClick) changed(kTaskSendDpiStages);
}

void PerformancePage::onStageCount() {
    auto* combo = m_dialog->GetControlAs<DUI::MComboBox>(kStageCountId);
    auto* stages = m_dialog->GetControlAs<DUI::DPIControl>(kStageListId);
    if (combo == nullptr || stages == nullptr) return;
    const int count = static_cast<int>(combo->GetCurData());
    if (count < 1) return;
    stages->ClearList();
    int stage = readNumber("dpi_index");
    writeNumber("dpi_count", count);
    addStagesFromStore(count);
    if (stage > count - 1) {
        stage = count - 1;
        writeNumber("dpi_index", stage);
    }
    if (stage < 0) stage = 0;
    m_stageCount = count;
    m_currentStage = stage;
    selectStage(stage);
    changed(kTaskSendDpiStages);
}

void PerformancePage::onDpiReset() {
    if (showMessageBox(LangString("LAN", 253), LangString("LAN", 258), m_host.ownerWindow(),
                       CUIMessageBox::kTwoButtons) == 2)
        return;
    changed(kTaskResetDpi);
}

void PerformancePage::onRateReset() {
    ModelSources sources = m_host.modelSources();
    sources.store = &m_host.store();
    if (const std::optional<int> code = writeFactoryReportRate(m_host.currentProfile(), sources)) {
        m_defaultReportRate = *code;
        if (auto* rates = m_dialog->GetControlAs<DUI::ReporteCtrl>(kRateListId)) rates->SetSelectItemValue(*code);
    }
    changed(kTaskSendReportRate);
}

void PerformancePage::onRateSelected() {
    auto* rates = m_dialog->GetControlAs<DUI::ReporteCtrl>(kRateListId);
    if (rates == nullptr) return;
    const int index = rates->GetSelectItem();
    if (index < 0) return;
    const int code = rates->GetItemKeyValue(index);
    writeNumber("report_rate", code);
    writeNumber("report_rate_wireless", code);
    changed(kTaskSendReportRate);
}

void PerformancePage::onLiftOff() {
    auto* high = m_dialog->GetControlAs<DUI::CRadioButton>(kLiftOff2Id);
    writeText("liftoff_height", high != nullptr && high->GetCheck() ? "2" : "1");
    changed(kTaskSendSensorOptions);
}

void PerformancePage::onSensorOptions() {
    int flags = 0;
    for (const SensorBox& box : kSensorBoxes) {
        auto* check = m_dialog->GetControlAs<DUI::CCheckButton>(box.id);
        if (check != nullptr && check->GetCheck()) flags |= box.bit;
    }
    writeNumber("sensor_flag", flags);
    changed(kTaskSendSensorOptions);
}

void PerformancePage::onPowerOption(int id) {
    if (id == kSleepId) {
        auto* sleep = m_dialog->GetControlAs<DUI::MComboBox>(kSleepId);
        if (sleep == nullptr || sleep->GetCurSel() < 0) return;
        writeNumber("sleep_light", static_cast<int>(sleep->GetCurData()));
    } else {
        auto* check = m_dialog->GetControlAs<DUI::CCheckButton>(id);
        if (check == nullptr) return;
        writeText(id == kWakeUpId ? "move_wakeup" : "move_closelight", check->GetCheck() ? "1" : "0");
    }
    changed(kTaskSendPowerOptions);
}

void PerformancePage::onResponseTime(int code) {
    auto* field = m_dialog->GetControlAs<DUI::NumberEdit>(kResponseId);
    if (field == nullptr) return;
    if (code != DUI::kNotifyKillFocus && code != DUI::kNotifyClick) return;
    const std::string text = field->GetEditText();
    const int typed = wtoi(text);
    const int clamped = std::clamp(typed, 0, kMaxResponseTime);
    if (clamped != typed) field->SetEditText(format("%d", clamped));
    // The store keeps the number as decimal text, whatever the field shows
    // while it is being typed ("" or "-" read as 0).
    writeNumber("button_respondtime", clamped);
    if (code != DUI::kNotifyClick) return;
    // The power options command carries the response time; queueing it makes
    // the new value reach the mouse now rather than with the next full write.
    changed(kTaskSendPowerOptions);
}

}  // namespace quorvik
