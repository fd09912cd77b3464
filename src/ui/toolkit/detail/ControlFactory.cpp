// Creation of controls by class name (see ControlFactory.h): one table row
// per class the dialogs may ask for.
#include "ui/toolkit/detail/ControlFactory.h"

#include "ui/toolkit/BatteryCtrl.h"
#include "ui/toolkit/CArea.h"
#include "ui/toolkit/CCheckButton.h"
#include "ui/toolkit/CColorButton.h"
#include "ui/toolkit/CDeviceList.h"
#include "ui/toolkit/CDeviceState.h"
#include "ui/toolkit/CHelpButton.h"
#include "ui/toolkit/CIconButton.h"
#include "ui/toolkit/CImageButton.h"
#include "ui/toolkit/CRadioButton.h"
#include "ui/toolkit/CRecordList.h"
#include "ui/toolkit/CRoundArea.h"
#include "ui/toolkit/CTextButton.h"
#include "ui/toolkit/DListBox.h"
#include "ui/toolkit/DPIControl.h"
#include "ui/toolkit/DPISlider.h"
#include "ui/toolkit/LightSlider.h"
#include "ui/toolkit/MButton.h"
#include "ui/toolkit/MButton2.h"
#include "ui/toolkit/MButton3.h"
#include "ui/toolkit/MComboBox.h"
#include "ui/toolkit/MComboBox2.h"
#include "ui/toolkit/MEdit.h"
#include "ui/toolkit/MPalette.h"
#include "ui/toolkit/MPicture.h"
#include "ui/toolkit/MProgress.h"
#include "ui/toolkit/MProgress2.h"
#include "ui/toolkit/MTabCtrl.h"
#include "ui/toolkit/MTabLayout.h"
#include "ui/toolkit/MText.h"
#include "ui/toolkit/MacroList.h"
#include "ui/toolkit/MouseCtrl.h"
#include "ui/toolkit/MouseKeyCtrl.h"
#include "ui/toolkit/NumberEdit.h"
#include "ui/toolkit/NumberEdit2.h"
#include "ui/toolkit/ReporteCtrl.h"

#include <string_view>

namespace DUI::detail {
namespace {

struct Entry {
    std::string_view name;
    std::unique_ptr<MControl> (*make)();
    bool container;
};

template <class T>
std::unique_ptr<MControl> make() {
    return std::make_unique<T>();
}

// clang-format off
constexpr Entry kClasses[] = {
    {"MPicture", make<MPicture>, false},         {"MText", make<MText>, false},
    {"MButton", make<MButton>, false},           {"MButton2", make<MButton2>, false},
    {"MButton3", make<MButton3>, false},         {"CImageButton", make<CImageButton>, false},
    {"CTextButton", make<CTextButton>, false},   {"CIconButton", make<CIconButton>, false},
    {"CHelpButton", make<CHelpButton>, false},   {"CCheckButton", make<CCheckButton>, false},
    {"CRadioButton", make<CRadioButton>, false}, {"MEdit", make<MEdit>, false},
    {"NumberEdit", make<NumberEdit>, false},     {"NumberEdit2", make<NumberEdit2>, false},
    {"MComboBox", make<MComboBox>, false},       {"MComboBox2", make<MComboBox2>, false},
    {"DListBox", make<DListBox>, false},         {"MTabCtrl", make<MTabCtrl>, false},
    {"MTabLayout", make<MTabLayout>, true},      {"CArea", make<CArea>, true},
    {"CRoundArea", make<CRoundArea>, true},      {"CDeviceList", make<CDeviceList>, false},
    {"CDeviceState", make<CDeviceState>, false}, {"BatteryCtrl", make<BatteryCtrl>, false},
    {"MouseCtrl", make<MouseCtrl>, false},       {"MouseKeyCtrl", make<MouseKeyCtrl>, false},
    {"DPIControl", make<DPIControl>, false},     {"DPISlider", make<DPISlider>, false},
    {"ReporteCtrl", make<ReporteCtrl>, false},   {"LightSlider", make<LightSlider>, false},
    {"CColorButton", make<CColorButton>, false}, {"MPalette", make<MPalette>, false},
    {"MacroList", make<MacroList>, false},       {"CRecordList", make<CRecordList>, false},
    {"MProgress", make<MProgress>, false},       {"MProgress2", make<MProgress2>, false},
};
// clang-format on

const Entry* lookup(const std::string& className) {
    for (const Entry& e : kClasses)
        if (e.name == className) return &e;
    return nullptr;
}

}  // namespace

std::unique_ptr<MControl> createControlByName(const std::string& className) {
    const Entry* e = lookup(className);
    return e ? e->make() : nullptr;
}

bool isContainerClass(const std::string& className) {
    const Entry* e = lookup(className);
    return e != nullptr && e->container;
}

}  // namespace DUI::detail
