// Control state and notifications: every class by name, the notification each
// user action produces, and the list, edit, slider and animation rules that
// the pages rely on.
#include "TestDialog.h"

#include "ui/toolkit/BatteryCtrl.h"
#include "ui/toolkit/CArea.h"
#include "ui/toolkit/CCheckButton.h"
#include "ui/toolkit/CColorButton.h"
#include "ui/toolkit/CDeviceList.h"
#include "ui/toolkit/CHelpButton.h"
#include "ui/toolkit/CIconButton.h"
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
#include "ui/toolkit/MImageList.h"
#include "ui/toolkit/MPalette.h"
#include "ui/toolkit/MPicture.h"
#include "ui/toolkit/MProgress.h"
#include "ui/toolkit/MProgress2.h"
#include "ui/toolkit/MRender.h"
#include "ui/toolkit/MTabCtrl.h"
#include "ui/toolkit/MTabLayout.h"
#include "ui/toolkit/MText.h"
#include "ui/toolkit/MacroList.h"
#include "ui/toolkit/Manager.h"
#include "ui/toolkit/MouseCtrl.h"
#include "ui/toolkit/MouseKeyCtrl.h"
#include "ui/toolkit/NumberEdit.h"
#include "ui/toolkit/NumberEdit2.h"
#include "ui/toolkit/ReporteCtrl.h"
#include "ui/toolkit/headless/HeadlessBackend.h"
#include "ui/toolkit/headless/HeadlessUser.h"

#include <gtest/gtest.h>
#include <unistd.h>
#include <cstdlib>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

namespace DUI::test {
namespace {

class ControlTest : public testing::Test {
protected:
    void SetUp() override { ASSERT_NE(dialog.open("Controls"), 0u); }

    template <class T>
    T* make(const char* className, int id, MControl* parent = nullptr) {
        auto* control =
            dynamic_cast<T*>(dialog.CreateControl(className, id, Rect{0, 0, 100, 30}, {}, parent));
        EXPECT_NE(control, nullptr) << className;
        return control;
    }

    HeadlessBackend backend;
    HeadlessUser user{backend};
    TestDialog dialog;
};

TEST_F(ControlTest, EveryClassIsCreatedByItsName) {
    const std::vector<std::string> names = {
        "MPicture",     "MText",        "MButton",     "MButton2",     "MButton3",     "CImageButton",
        "CTextButton",  "CIconButton",  "CHelpButton", "CCheckButton", "CRadioButton", "MEdit",
        "NumberEdit",   "NumberEdit2",  "MComboBox",   "MComboBox2",   "DListBox",     "MTabCtrl",
        "MTabLayout",   "CArea",        "CRoundArea",  "CDeviceList",  "CDeviceState", "BatteryCtrl",
        "MouseCtrl",    "MouseKeyCtrl", "DPIControl",  "DPISlider",    "ReporteCtrl",  "LightSlider",
        "CColorButton", "MPalette",     "MacroList",   "CRecordList",  "MProgress",    "MProgress2"};
    int id = 100;
    for (const std::string& name : names) {
        MControl* c = dialog.CreateControl(name, ++id, Rect{1, 2, 3, 4}, "title");
        ASSERT_NE(c, nullptr) << name;
        EXPECT_EQ(c->GetClassName(), name);
        EXPECT_EQ(c->GetId(), id);
        EXPECT_EQ(c->GetRect(), (Rect{1, 2, 3, 4}));
        EXPECT_EQ(dialog.GetControl(id), c);
    }
    EXPECT_EQ(dialog.GetControls().size(), names.size());
}

TEST_F(ControlTest, CreationFailuresAreResults) {
    EXPECT_EQ(dialog.CreateControl("NoSuchControl", 1, {}), nullptr);
    EXPECT_EQ(dialog.CreateArea("MButton", 2, {}), nullptr);  // not a container
    auto* button = make<MButton>("MButton", 3);
    EXPECT_EQ(dialog.CreateControl("MText", 4, {}, {}, button), nullptr);  // parent must be a container
    EXPECT_NE(dialog.CreateArea("CArea", 5, {}), nullptr);
    EXPECT_EQ(dialog.GetControl(99), nullptr);
    // Two controls may share an id; the first created is found.
    auto* first = make<MText>("MText", 31);
    make<MText>("MText", 31);
    EXPECT_EQ(dialog.GetControl(31), first);
}

// One user action per row and the notifications a real user produces.
TEST_F(ControlTest, UserActionsProduceTheirNotifications) {
    struct Case {
        const char* name;
        const char* className;
        std::function<void(HeadlessUser&, TestDialog&, MControl&)> prepareAndAct;
        std::vector<Note> expected;
    };
    const int id = 77;
    const std::vector<Case> cases = {
        {"button click", "MButton", [](auto& u, auto& d, auto&) { u.click(d, id); }, {{id, 2, 0}}},
        {"image button click", "CImageButton", [](auto& u, auto& d, auto&) { u.click(d, id); }, {{id, 2, 0}}},
        {"combo choice carries the index",
         "MComboBox",
         [](auto& u, auto& d, auto& c) {
             auto& combo = static_cast<MComboBox&>(c);
             combo.AddItem("a", 10);
             combo.AddItem("b", 20);
             u.chooseData(d, id, 20);
         },
         {{id, 2, 1}}},
        {"edit: focus, typing, leaving",
         "MEdit",
         [](auto& u, auto& d, auto&) { u.typeAndLeave(d, id, "12"); },
         {{id, 30, 0}, {id, 26, 0}, {id, 29, 0}}},
        {"edit: typing the same text again changes nothing",
         "MEdit",
         [](auto& u, auto& d, auto& c) {
             static_cast<MEdit&>(c).SetEditText("same");
             u.type(d, id, "same");
         },
         {{id, 30, 0}}},
        {"number field: text change is 29, finishing is 2",
         "NumberEdit",
         [](auto& u, auto& d, auto&) { u.typeAndLeave(d, id, "25"); },
         {{id, 30, 0}, {id, 29, 0}, {id, 2, 0}}},
        {"number field: Enter finishes too",
         "NumberEdit",
         [](auto& u, auto& d, auto&) {
             u.type(d, id, "3");
             u.pressEnter(d, id);
         },
         {{id, 30, 0}, {id, 29, 0}, {id, 2, 0}}},
        {"slider: every new position is 8, release is 2",
         "DPISlider",
         [](auto& u, auto& d, auto& c) {
             static_cast<DPISlider&>(c).SetRange(1, 80);
             u.drag(d, id, 5);
             u.drag(d, id, 5);
             u.drag(d, id, 500);
             u.release(d, id);
         },
         {{id, 8, 5}, {id, 8, 80}, {id, 2, 80}}},
        {"palette: moving is 27, letting go is 2",
         "MPalette",
         [](auto& u, auto& d, auto&) { u.pickColor(d, id, 0x123456); },
         {{id, 27, 0x123456}, {id, 2, 0x123456}}},
        {"macro list: right click is 5, rename end is 29",
         "MacroList",
         [](auto& u, auto& d, auto& c) {
             static_cast<MacroList&>(c).AddString("m", 4);
             u.contextMenu(d, id, 0);
             u.editItem(d, id, 0, "renamed");
         },
         {{id, 5, 0}, {id, 29, 0}}},
        {"step list: choice is 2, right click is 9",
         "CRecordList",
         [](auto& u, auto& d, auto& c) {
             static_cast<CRecordList&>(c).AddString("10 ms", 1, 10, 1);
             u.choose(d, id, 0);
             u.contextMenu(d, id, 0);
         },
         {{id, 2, 0}, {id, 9, 0}}},
        {"DPI stages: choice 2, colour 9, typed DPI 30 then 29",
         "DPIControl",
         [](auto& u, auto& d, auto& c) {
             auto& stages = static_cast<DPIControl&>(c);
             stages.AddItem(400, 0xFF);
             stages.AddItem(800, 0xFF00);
             u.choose(d, id, 1);
             u.colorClick(d, id, 0);
             u.editItem(d, id, 1, "1600");
         },
         {{id, 2, 1}, {id, 9, 0}, {id, 30, 1}, {id, 29, 1}}},
        {"tab click carries the tab index",
         "MTabCtrl",
         [](auto& u, auto& d, auto& c) {
             auto& tabs = static_cast<MTabCtrl&>(c);
             tabs.AddItem(1, "home", "");
             tabs.AddItem(2, "keys", "");
             u.choose(d, id, 1);
         },
         {{id, 2, 1}}},
        {"device list opening a row",
         "CDeviceList",
         [](auto& u, auto& d, auto& c) {
             static_cast<CDeviceList&>(c).AddDevice("Mouse", 101, "m.png");
             u.choose(d, id, 0);
         },
         {{id, 2, 0}}},
        {"profile list: choice 2, in-place edit end 29",
         "DListBox",
         [](auto& u, auto& d, auto& c) {
             auto& list = static_cast<DListBox&>(c);
             list.AddString("Profile 1", 1);
             list.SetEditable(true);
             u.choose(d, id, 0);
             u.editItem(d, id, 0, "Work");
         },
         {{id, 2, 0}, {id, 29, 0}}},
        {"choosing an item that does not exist notifies nothing",
         "ReporteCtrl",
         [](auto& u, auto& d, auto&) { u.choose(d, id, 3); },
         {}},
    };
    for (const Case& c : cases) {
        TestDialog d;
        ASSERT_NE(d.open(c.name), 0u);
        MControl* control = d.CreateControl(c.className, id, Rect{0, 0, 100, 30});
        ASSERT_NE(control, nullptr) << c.name;
        c.prepareAndAct(user, d, *control);
        EXPECT_EQ(d.notes, c.expected) << c.name;
    }
}

TEST_F(ControlTest, HiddenDisabledOrHiddenContainerRefusesTheUser) {
    auto* page = make<MTabLayout>("MTabLayout", 50);
    auto* inPage = make<MButton>("MButton", 51, page);
    auto* hidden = make<MButton>("MButton", 52);
    auto* disabled = make<MEdit>("MEdit", 53);
    hidden->SetVisible(false);
    disabled->SetEnabled(false);
    page->SetVisible(false);
    EXPECT_FALSE(inPage->IsShown());
    EXPECT_TRUE(inPage->IsVisible());
    EXPECT_FALSE(user.click(dialog, 51));
    EXPECT_FALSE(user.click(dialog, 52));
    EXPECT_FALSE(user.type(dialog, 53, "x"));
    EXPECT_FALSE(user.click(dialog, 53));  // not a button
    EXPECT_FALSE(user.choose(dialog, 53, 0));
    EXPECT_FALSE(user.slide(dialog, 51, 3));
    EXPECT_FALSE(user.pickColor(dialog, 51, 0));
    EXPECT_FALSE(user.contextMenu(dialog, 51, 0));
    EXPECT_FALSE(user.editItem(dialog, 51, 0, "x"));
    EXPECT_FALSE(user.click(dialog, 999));  // no such control
    EXPECT_TRUE(dialog.notes.empty());
    page->SetVisible(true);
    EXPECT_TRUE(user.click(dialog, 51));
    EXPECT_EQ(dialog.notes, (std::vector<Note>{{51, 2, 0}}));
}

TEST_F(ControlTest, CheckStatesOfButtons) {
    auto* check = make<CCheckButton>("CCheckButton", 1);
    auto* toggle = make<MButton3>("MButton3", 2);
    auto* marked = make<MButton2>("MButton2", 3);
    user.click(dialog, 1);
    user.click(dialog, 2);
    user.click(dialog, 2);
    user.click(dialog, 3);  // a plain MButton2 keeps what the program set
    EXPECT_EQ(check->GetCheck(), 1);
    EXPECT_EQ(toggle->GetCheck(), 0);
    EXPECT_EQ(marked->GetCheck(), 0);
    marked->SetCheck(5);
    EXPECT_EQ(marked->GetCheck(), 1);
    EXPECT_EQ(dialog.notes.size(), 4u);
}

TEST_F(ControlTest, GroupsAreExclusiveWithinTheirName) {
    auto* r1 = make<CRadioButton>("CRadioButton", 129);
    auto* r2 = make<CRadioButton>("CRadioButton", 130);
    auto* other = make<CRadioButton>("CRadioButton", 131);
    r1->SetGroup("IDC_PER_STC_LOD");
    r2->SetGroup("IDC_PER_STC_LOD");
    other->SetGroup("IDC_SET_STC_EXITMODE");
    other->SetCheck(1);
    r1->SetCheck(1);
    r2->SetCheck(1);  // set by the program: the group still holds one check
    EXPECT_EQ(r1->GetCheck(), 0);
    EXPECT_EQ(r2->GetCheck(), 1);
    EXPECT_EQ(other->GetCheck(), 1);
    user.click(dialog, 129);
    EXPECT_EQ(r1->GetCheck(), 1);
    EXPECT_EQ(r2->GetCheck(), 0);

    std::vector<CColorButton*> slots;
    for (int i = 0; i < 3; ++i) {
        slots.push_back(make<CColorButton>("CColorButton", 218 + i));
        slots.back()->SetGroup("COLORVALUE");
        slots.back()->SetColor(0xFF000000u | (0x10u << i));
    }
    EXPECT_EQ(slots[1]->GetColor(), 0x20u);  // no alpha kept
    user.click(dialog, 220);
    slots[0]->SetCheck(1);
    EXPECT_EQ(slots[0]->GetCheck() + slots[1]->GetCheck() + slots[2]->GetCheck(), 1);
    EXPECT_EQ(slots[0]->GetCheck(), 1);

    auto* g1 = make<MComboBox2>("MComboBox2", 73);
    auto* g2 = make<MComboBox2>("MComboBox2", 75);
    g1->SetCheck(1);
    g2->SetCheck(1);
    EXPECT_EQ(g1->GetCheck(), 0);
    EXPECT_EQ(g2->GetCheck(), 1);
}

TEST_F(ControlTest, ComboBoxSelectionRules) {
    auto* combo = make<MComboBox>("MComboBox", 73);
    combo->SetTitle("none chosen");
    EXPECT_EQ(combo->GetCurData(), 0);
    EXPECT_EQ(combo->GetTitle(), "none chosen");
    combo->AddItem("Left", 1);
    combo->AddItem("Right", 3);
    combo->AddItem("Middle", 2);
    EXPECT_EQ(combo->SelectData(2), 2);
    EXPECT_EQ(combo->GetCurData(), 2);
    EXPECT_EQ(combo->GetTitle(), "Middle");
    // A datum that no entry has leaves nothing selected.
    EXPECT_EQ(combo->SelectData(9), -1);
    EXPECT_EQ(combo->GetCurSel(), -1);
    EXPECT_EQ(combo->GetCurData(), 0);
    combo->SetCurSel(2);
    EXPECT_TRUE(combo->DeleteItem(0));  // the selection follows its entry
    EXPECT_EQ(combo->GetCurSel(), 1);
    EXPECT_EQ(combo->GetTitle(), "Middle");
    EXPECT_TRUE(combo->DeleteItem(1));
    EXPECT_EQ(combo->GetCurSel(), -1);
    EXPECT_FALSE(combo->DeleteItem(5));
    EXPECT_FALSE(combo->SetItemText(-1, "x"));
    EXPECT_TRUE(combo->SetItemText(0, "Right button"));
    EXPECT_EQ(combo->GetItemText(0), "Right button");
    combo->SetCurSel(7);
    EXPECT_EQ(combo->GetCurSel(), -1);
    combo->DelAllItems();
    EXPECT_EQ(combo->GetItemCount(), 0);
}

TEST_F(ControlTest, ListBoxesInsertSelectAndEdit) {
    auto* list = make<DListBox>("DListBox", 31);
    list->AddString("Profile 2", 2);
    list->AddString("Profile 1", 1, 0);
    list->AddString("Profile 4", 4, -1);
    list->AddString("Profile 3", 3, 2);
    EXPECT_EQ(list->GetItemText(2), "Profile 3");
    list->SetCurData(3);
    EXPECT_EQ(list->GetCurSel(), 2);
    EXPECT_EQ(list->GetCurData(), 3);
    list->SetCurData(9);
    EXPECT_EQ(list->GetCurSel(), -1);
    EXPECT_EQ(list->GetCurData(), 0);
    EXPECT_FALSE(user.editItem(dialog, 31, 0, "x"));  // editing is off
    list->SetEditable(true);
    EXPECT_TRUE(user.editItem(dialog, 31, 1, ""));  // an empty result is passed on
    EXPECT_EQ(list->GetItemText(1), "");
    EXPECT_EQ(list->GetCurSel(), 1);

    auto* macros = make<MacroList>("MacroList", 156);
    macros->AddString("Macro 1", 11);
    macros->AddString("Macro 2", 12);
    EXPECT_TRUE(user.contextMenu(dialog, 156, -1));  // on empty space: no selection change
    EXPECT_EQ(macros->GetCurSel(), -1);
    EXPECT_TRUE(macros->ModifyItemString(1, "Custom 2"));
    EXPECT_EQ(macros->GetItemText(1), "Custom 2");
    EXPECT_EQ(macros->GetItemData(1), 12);
    EXPECT_TRUE(macros->DeleteItem(0));
    EXPECT_EQ(macros->GetItemCount(), 1);
}

TEST_F(ControlTest, RecordListEditsStepsByPositionAndTimestamp) {
    auto* steps = make<CRecordList>("CRecordList", 166);
    EXPECT_EQ(steps->GetSelectEvent(), -1);
    steps->AddString("↓  LB", 4, 1, 7);
    steps->AddString("10 ms", 1, 10, 8);
    steps->AddString("↑  LB", 5, 1, 7);
    steps->InsertString(-1, "10 ms", 1, 10, 9);
    steps->InsertString(0, "↓  A", 2, 65, 3);
    steps->InsertString(99, "↑  A", 3, 65, 3);
    EXPECT_EQ(steps->GetItemCount(), 6);
    EXPECT_EQ(steps->GetEventCount(), 4);
    // A press and its release share a timestamp: changing one kind by timestamp
    // leaves the other kind and other timestamps alone.
    EXPECT_EQ(steps->SetRecordInfo(7, 4, "↓  RB", 2), 1);
    EXPECT_EQ(steps->SetRecordInfo(7, 5, "↑  RB", 2), 1);
    EXPECT_EQ(steps->SetRecordInfo(42, 5, "x", 0), 0);
    std::string text;
    int type = 0, value = 0, timestamp = 0;
    ASSERT_TRUE(steps->GetRecordInfo(3, text, type, value, timestamp));
    EXPECT_EQ(text, "↑  RB");
    EXPECT_EQ(value, 2);
    EXPECT_FALSE(steps->GetRecordInfo(6, text, type, value, timestamp));
    EXPECT_EQ(steps->GetRecrodTimeStamp(0), 3);
    EXPECT_EQ(steps->GetRecrodTimeStamp(-1), 0);

    steps->SetCurSel(2);
    EXPECT_EQ(steps->GetSelectEvent(), 2);
    EXPECT_TRUE(steps->SwapItem(2, 1));
    EXPECT_EQ(steps->GetRecordItems()[1].text, "10 ms");
    EXPECT_FALSE(steps->SwapItem(0, 6));
    EXPECT_TRUE(steps->MoveTop(5));
    EXPECT_EQ(steps->GetRecordItems().front().text, "↑  A");
    EXPECT_TRUE(steps->MoveBottom(0));
    EXPECT_EQ(steps->GetRecordItems().back().text, "↑  A");
    EXPECT_TRUE(steps->SetRecordInfo(0, "50 ms", 1, 50, 3));
    EXPECT_EQ(steps->GetRecordItems()[0], (RecordItem{"50 ms", 1, 50, 3}));
    steps->SetCurSel(4);
    EXPECT_TRUE(steps->DeleteItem(1));  // the selection follows its row
    EXPECT_EQ(steps->GetCurSel(), 3);
    steps->DeleteAllItems();
    EXPECT_EQ(steps->GetSelectEvent(), -1);
    EXPECT_EQ(steps->GetEventCount(), 0);
}

TEST_F(ControlTest, ButtonListsAndMousePicture) {
    auto* keys = make<MouseKeyCtrl>("MouseKeyCtrl", 68);
    auto* mouse = make<MouseCtrl>("MouseCtrl", 108);
    keys->AddItem("Left", "Left click", 0);
    keys->AddItem("Right", "Right click", 1);
    keys->AddItem("Side", "Forward", 4);
    mouse->AddItem("Left", 0, 1, {120, 85}, {300, 85});
    EXPECT_TRUE(keys->SetItemKeyDesc(4, "Macro: Fire"));
    EXPECT_FALSE(keys->SetItemKeyDesc(9, "nobody"));
    EXPECT_EQ(keys->GetItemKeyDesc(2), "Macro: Fire");
    EXPECT_EQ(keys->GetItemKeyValue(2), 4);
    EXPECT_EQ(keys->GetItemKeyValue(3), -1);
    EXPECT_EQ(keys->GetItemKeyName(1), "Right");
    keys->SetSelectItem(9);
    EXPECT_EQ(keys->GetSelectItem(), -1);
    EXPECT_EQ(mouse->GetItems()[0].to, (Point{300, 85}));
    EXPECT_EQ(mouse->GetItemKeyValue(0), 0);
    EXPECT_TRUE(user.choose(dialog, 108, 0));
    EXPECT_EQ(mouse->GetSelectItem(), 0);
    mouse->DeleteAllItems();
    EXPECT_EQ(mouse->GetSelectItem(), -1);
    EXPECT_EQ(mouse->GetItemCount(), 0);
}

TEST_F(ControlTest, DpiStagesReportRatesAndSliders) {
    auto* stages = make<DPIControl>("DPIControl", 116);
    stages->AddItem(800, 0x0000FF);
    stages->AddItem(1600, 0x00FF00);
    EXPECT_TRUE(stages->SetDPIValue(1, 3200));
    EXPECT_FALSE(stages->SetDPIValue(2, 1));
    EXPECT_TRUE(stages->SetDPIColorValue(0, 0xABCDEF));
    EXPECT_EQ(stages->GetDPIValue(1), 3200);
    EXPECT_EQ(stages->GetDPIColorValue(0), 0xABCDEFu);
    EXPECT_EQ(stages->GetDPIValue(5), 0);
    // Typed text keeps its digits only; the editor starts with the stage's DPI.
    ASSERT_TRUE(stages->userBeginEdit(0));
    EXPECT_EQ(stages->GetEditText(), "800");
    ASSERT_TRUE(stages->userEndEdit("1 2a00"));
    EXPECT_EQ(stages->GetEditText(), "1200");
    EXPECT_FALSE(stages->userEndEdit("5"));  // no editor open
    stages->ClearList();
    EXPECT_EQ(stages->GetSelectItem(), -1);

    auto* rates = make<ReporteCtrl>("ReporteCtrl", 125);
    rates->AddItem("125Hz", 8, 0x0108F1);
    rates->AddItem("1000Hz", 1, 0x20A3FF);
    EXPECT_EQ(rates->SetSelectItemValue(1), 1);
    EXPECT_EQ(rates->SetSelectItemValue(16), -1);
    EXPECT_EQ(rates->GetSelectItem(), -1);
    EXPECT_EQ(rates->GetItemKeyValue(0), 8);
    EXPECT_EQ(rates->GetItemKeyValue(2), -1);

    auto* dpi = make<DPISlider>("DPISlider", 117);
    dpi->SetRange(1, 48);
    dpi->SetDPIDesc("100", "4800");
    dpi->SetProgress(0);
    EXPECT_EQ(dpi->GetProgress(), 1);
    dpi->SetProgress(100);
    EXPECT_EQ(dpi->GetProgress(), 48);
    EXPECT_EQ(dpi->GetHighDesc(), "4800");
    auto* light = make<LightSlider>("LightSlider", 204);
    EXPECT_EQ(light->GetRangeMin(), 0);
    EXPECT_EQ(light->GetRangeMax(), 4);
    EXPECT_TRUE(user.slide(dialog, 204, 9));
    EXPECT_EQ(light->GetProgress(), 4);
}

TEST_F(ControlTest, EditFiltersWhatTheUserTypes) {
    struct Case {
        const char* className;
        int limit;
        bool numberOnly;
        std::string typed;
        std::string expected;
    };
    const std::vector<Case> cases = {
        {"MEdit", 0, false, "anything at all", "anything at all"},
        {"MEdit", 5, true, "12a34567", "12345"},
        {"MEdit", 3, false, "ÄÖÜß", "ÄÖÜ"},  // characters, not bytes
        {"NumberEdit", 0, false, "-3", "-3"},
        {"NumberEdit", 0, false, "2-5x", "25"},
        {"NumberEdit2", 0, false, "-12", "12"},
    };
    int id = 200;
    for (const Case& c : cases) {
        auto* edit = make<MEdit>(c.className, ++id);
        edit->SetLimitText(c.limit);
        edit->SetNumberOnly(c.numberOnly);
        ASSERT_TRUE(user.type(dialog, id, c.typed));
        EXPECT_EQ(edit->GetEditText(), c.expected) << c.className << " " << c.typed;
        EXPECT_EQ(edit->GetTitle(), c.expected);
    }
    // The program's own text is not filtered and notifies nothing.
    auto* edit = make<MEdit>("MEdit", 300);
    edit->SetNumberOnly(true);
    dialog.notes.clear();
    edit->SetTitle("255");
    edit->SetTipInfo("press a key");
    EXPECT_EQ(edit->GetEditText(), "255");
    EXPECT_EQ(edit->GetTipInfo(), "press a key");
    EXPECT_TRUE(dialog.notes.empty());

    auto* count = make<NumberEdit2>("NumberEdit2", 301);
    count->SetRange(1, 255);
    user.typeAndLeave(dialog, 301, "300");
    EXPECT_EQ(count->GetEditText(), "255");
    user.typeAndLeave(dialog, 301, "");
    EXPECT_EQ(count->GetEditText(), "1");
}

TEST_F(ControlTest, FocusMovesBetweenFieldsWithLeaveBeforeArrive) {
    make<MEdit>("MEdit", 102);
    make<MEdit>("MEdit", 105);
    auto* button = make<MButton>("MButton", 106);
    EXPECT_FALSE(button->userFocus());  // buttons do not take the focus
    user.focus(dialog, 102);
    user.focus(dialog, 105);
    dialog.SetFocusControl(0);
    EXPECT_EQ(dialog.notes, (std::vector<Note>{{102, 30, 0}, {102, 29, 0}, {105, 30, 0}, {105, 29, 0}}));
    EXPECT_EQ(dialog.GetFocusControl(), nullptr);
    // Hiding the focused field takes the focus away (29), as leaving does.
    user.focus(dialog, 102);
    dialog.notes.clear();
    dialog.GetControl(102)->SetVisible(false);
    EXPECT_EQ(dialog.notes, (std::vector<Note>{{102, 29, 0}}));
}

TEST_F(ControlTest, TabsShowTheirPagesAndHideTheRest) {
    auto* tabs = make<MTabCtrl>("MTabCtrl", 48);
    auto* home = make<MTabLayout>("MTabLayout", 49);
    auto* keys = make<MTabLayout>("MTabLayout", 50);
    auto* light = make<MTabLayout>("MTabLayout", 54);
    auto* onKeys = make<MButton>("MButton", 67, keys);
    tabs->AddItem(1, "Home", "icon\\tab_home.png", home);
    tabs->AddItem(2, "Keys", "icon\\tab_key.png", keys);
    tabs->AddItem(5, "Light", "icon\\tab_light.png", light);
    tabs->SetCurSel(0);
    EXPECT_TRUE(home->IsVisible());
    EXPECT_FALSE(keys->IsVisible());
    EXPECT_FALSE(onKeys->IsShown());
    EXPECT_TRUE(user.choose(dialog, 48, 1));
    EXPECT_TRUE(onKeys->IsShown());
    EXPECT_FALSE(home->IsVisible());
    EXPECT_EQ(tabs->GetItemID(1), 2);
    EXPECT_EQ(tabs->GetItemID(3), -1);
    // A hidden tab cannot be clicked, but the program may still select it.
    EXPECT_TRUE(tabs->SetItemVisible(2, false));
    EXPECT_FALSE(user.choose(dialog, 48, 2));
    EXPECT_EQ(tabs->GetCurSel(), 1);
    tabs->SetCurSel(2);
    EXPECT_TRUE(light->IsVisible());
    EXPECT_FALSE(tabs->SetItemVisible(3, true));
    EXPECT_TRUE(tabs->SetItemText(0, "Start"));
    EXPECT_EQ(tabs->GetItems()[0].text, "Start");
}

TEST_F(ControlTest, DeviceListRowsAndStates) {
    auto* list = make<CDeviceList>("CDeviceList", 57);
    list->AddDevice("M1", 101, "device/m1.png");
    list->AddDevice("M2", 102, "device/m2.png");
    EXPECT_EQ(list->GetSelectDevice(), 0);
    EXPECT_TRUE(list->SetDeviceState(102, 1, 1));
    EXPECT_FALSE(list->SetDeviceState(999, 1, 1));
    EXPECT_EQ(list->GetOnlineDevCount(), 1);
    EXPECT_TRUE(list->SetDeviceVersion(102, "1.02"));
    EXPECT_EQ(list->GetRows()[1].version, "1.02");
    EXPECT_EQ(list->GetRows()[1].mode, 1);
    EXPECT_TRUE(list->SetSelectDevice(102));
    EXPECT_FALSE(list->SetSelectDevice(555));  // unknown type keeps the selection
    EXPECT_EQ(list->GetSelectDevice(), 102);
    list->SetSelectIndex(-1);
    EXPECT_EQ(list->GetSelectDevice(), 0);
    list->SetAllDeviceState(0);
    EXPECT_EQ(list->GetOnlineDevCount(), 0);
    list->ClearList();
    EXPECT_EQ(list->GetItemCount(), 0);
}

TEST_F(ControlTest, ControlTimerAnimatesOnlyRegisteredControls) {
    auto* battery = make<BatteryCtrl>("BatteryCtrl", 43);
    auto* idle = make<BatteryCtrl>("BatteryCtrl", 44);
    auto* progress = make<MProgress2>("MProgress2", 33);
    battery->AddMTimer();
    progress->AddMTimer();
    battery->SetBatteryInfo(60, 1);
    idle->SetBatteryInfo(60, 1);
    progress->SetRange(100);
    progress->SetRun(1, -1);
    dialog.SetMTimer(10);
    backend.advance(1000);
    EXPECT_EQ(idle->GetDisplayLevel(), 60);
    EXPECT_EQ(battery->GetDisplayLevel(), 60 + 40 * 2 / 4);  // two 500 ms steps
    EXPECT_EQ(progress->GetProgress(), 50);                  // half of a 2 s sweep
    backend.advance(1100);                                   // past full: wraps round
    EXPECT_LT(progress->GetProgress(), 10);
    battery->SetBatteryInfo(150, 0);
    EXPECT_EQ(battery->GetDisplayLevel(), 100);
    // A single sweep stops full.
    progress->SetProgress(0);
    progress->SetRun(1, 1);
    backend.advance(5000);
    EXPECT_FALSE(progress->IsRunning());
    EXPECT_EQ(progress->GetProgress(), 100);
    dialog.KillMTimer();
    EXPECT_EQ(backend.activeTimerCount(), 0);
}

TEST_F(ControlTest, ControlTimerRunsOnlyWhileSomethingAnimates) {
    auto* battery = make<BatteryCtrl>("BatteryCtrl", 43);
    battery->AddMTimer();
    dialog.SetMTimer(10);
    // Not charging: nothing to animate, so no timer wakes the window.
    EXPECT_EQ(backend.activeTimerCount(), 0);

    battery->SetBatteryInfo(60, 1);
    EXPECT_EQ(backend.activeTimerCount(), 1);
    backend.advance(500);
    EXPECT_EQ(battery->GetDisplayLevel(), 70);

    // Hidden, then charging stopped: the timer goes each time, and comes back.
    battery->SetVisible(false);
    backend.advance(20);
    EXPECT_EQ(backend.activeTimerCount(), 0);
    battery->SetVisible(true);
    EXPECT_EQ(backend.activeTimerCount(), 1);
    battery->SetBatteryInfo(60, 0);
    backend.advance(20);
    EXPECT_EQ(backend.activeTimerCount(), 0);

    // Without SetMTimer nothing arms it.
    dialog.KillMTimer();
    battery->SetBatteryInfo(80, 1);
    EXPECT_EQ(backend.activeTimerCount(), 0);
}

TEST_F(ControlTest, ProgressBarHoldsTheEnds) {
    auto* bar = make<MProgress>("MProgress", 33);
    bar->SetRange(16000);
    bar->SetProgress(26000);
    EXPECT_EQ(bar->GetProgress(), 16000);
    bar->SetProgress(-5);
    EXPECT_EQ(bar->GetProgress(), 0);
    bar->SetRange(0);
    EXPECT_EQ(bar->GetRange(), 1);
}

TEST_F(ControlTest, ProgrammaticChangesAskForOneRedrawEach) {
    auto* text = make<MText>("MText", 35);
    backend.processEvents();
    const int before = backend.invalidationCount(text);
    EXPECT_EQ(before, 1);  // a new control is announced to the backend
    text->SetTitle("a");
    text->SetTitle("b");  // coalesced with the first while it waits
    backend.processEvents();
    EXPECT_EQ(backend.invalidationCount(text), before + 1);
    text->SetTitle("b");  // no change, no redraw
    backend.processEvents();
    EXPECT_EQ(backend.invalidationCount(text), before + 1);
    auto* area = make<CArea>("CArea", 36);
    area->SetTransparent(false, 0xFF00FF);
    EXPECT_FALSE(area->IsTransparent());
    EXPECT_EQ(area->GetFillColor(), 0xFF00FFu);
}

class SkinFolderTest : public ControlTest {
protected:
    void SetUp() override {
        ControlTest::SetUp();
        char pattern[] = "/tmp/quorvik-skin-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        m_dir = pattern;
        Manager::SetSkinFolder(m_dir);
    }
    void TearDown() override {
        Manager::SetSkinFolder("");
        std::system(("rm -rf '" + m_dir + "'").c_str());
    }
    void write(const std::string& name, const std::string& bytes) {
        std::ofstream(m_dir + "/" + name, std::ios::binary) << bytes;
    }
    std::string m_dir;
};

std::string pngHeader(unsigned w, unsigned h) {
    std::string b("\x89PNG\r\n\x1a\n\0\0\0\x0dIHDR", 16);
    for (unsigned v : {w, h})
        for (int shift = 24; shift >= 0; shift -= 8) b += static_cast<char>((v >> shift) & 0xFF);
    return b + std::string("\x08\x06\0\0\0", 5);
}

TEST_F(SkinFolderTest, ImageSizesComeFromTheFileHeaders) {
    struct Case {
        const char* name;
        std::string bytes;
        bool ok;
        int width;
        int height;
    };
    const std::vector<Case> cases = {
        {"a.png", pngHeader(300, 120), true, 300, 120},
        {"truncated.png", pngHeader(300, 120).substr(0, 20), false, 0, 0},
        {"a.gif", std::string("GIF89a\x40\x01\xF0\x00", 10), true, 320, 240},
        {"a.bmp", "BM" + std::string(16, '\0') + std::string("\x10\0\0\0\xF0\xFF\xFF\xFF", 8), true, 16, 16},
        {"a.ico", std::string("\0\0\1\0\1\0\0\x20", 8) + std::string(14, '\0'), true, 256, 32},
        {"a.jpg", std::string("\xFF\xD8\xFF\xC0\0\x11\x08\x00\x78\x01\x2C", 11), true, 300, 120},
        {"text.png", "not an image", false, 0, 0},
        {"empty.png", "", false, 0, 0},
    };
    for (const Case& c : cases) {
        write(c.name, c.bytes);
        int w = -1, h = -1;
        EXPECT_EQ(MRender::GetImageSize(m_dir + "/" + c.name, w, h), c.ok) << c.name;
        EXPECT_EQ(w, c.width) << c.name;
        EXPECT_EQ(h, c.height) << c.name;
    }
    int w = -1, h = -1;
    EXPECT_FALSE(MRender::GetImageSize(m_dir + "/missing.png", w, h));
}

TEST_F(SkinFolderTest, PicturesAndIconsResolveAgainstTheSkinFolder) {
    std::system(("mkdir -p '" + m_dir + "/device'").c_str());
    write("device/m1.png", pngHeader(420, 310));
    write("DeviceDriver.ico", std::string("\0\0\1\0\1\0\x30\x30", 8) + std::string(14, '\0'));
    EXPECT_EQ(MRender::ResolveSkinPath("device\\m1.png"), m_dir + "/device/m1.png");
    EXPECT_EQ(MRender::ResolveSkinPath("/abs/x.png"), "/abs/x.png");
    auto* picture = make<MPicture>("MPicture", 31);
    picture->SetImage("device\\m1.png", 1);
    EXPECT_EQ(picture->GetImageWidth(), 420);
    EXPECT_EQ(picture->GetImageHeight(), 310);
    EXPECT_EQ(picture->GetImageMode(), 1);
    picture->SetImage("device\\missing.png", 1);  // a missing picture is 0 x 0
    EXPECT_EQ(picture->GetImageWidth(), 0);
    const HICON icon = MRender::LoadIconFromFile(m_dir + "/DeviceDriver.ico");
    EXPECT_NE(icon, 0u);
    EXPECT_EQ(MRender::GetIconPath(icon), m_dir + "/DeviceDriver.ico");
    EXPECT_EQ(MRender::LoadIconFromFile(m_dir + "/nothing.ico"), 0u);
    EXPECT_EQ(MRender::GetIconPath(0), "");
}

TEST_F(ControlTest, TextsColoursAndMarkersKeepWhatTheyAreGiven) {
    auto* title = make<MText>("MText", 35);
    title->SetFont("黑体", 18, true);
    title->SetTextColor(0xFFFFFFFF);
    title->SetAlignment(1);
    title->SetVAlignment(4);
    title->SetWordWrap(true);
    title->SetTooltip("tip");
    EXPECT_EQ(title->GetFontName(), "黑体");
    EXPECT_EQ(title->GetFontWidth(), 18);
    EXPECT_TRUE(title->IsBold());
    EXPECT_EQ(title->GetTextColor(), 0xFFFFFFFFu);
    EXPECT_EQ(title->GetAlignment(), 1);
    EXPECT_EQ(title->GetVAlignment(), 4);
    EXPECT_TRUE(title->GetWordWrap());
    EXPECT_EQ(title->GetTooltip(), "tip");
    title->SetFontName("Open Sans Semibold");
    title->SetFontWidth(20);
    EXPECT_EQ(title->GetFontName(), "Open Sans Semibold");
    EXPECT_EQ(title->GetFontWidth(), 20);

    auto* marker = make<CRoundArea>("CRoundArea", 60);
    marker->SetColor(Manager::m_select_color);
    EXPECT_EQ(marker->GetColor(), Manager::m_select_color.load());
    EXPECT_NE(dialog.CreateControl("MText", 61, Rect{}, "inside", marker), nullptr);  // holds controls

    auto* palette = make<MPalette>("MPalette", 226);
    palette->SetSelectColor(0xFF123456);  // colours are 24-bit
    EXPECT_EQ(palette->GetSelectColor(), 0x123456u);

    auto* list = make<CDeviceList>("CDeviceList", 57);
    list->SetVersionDesc("Firmware");
    EXPECT_EQ(list->GetVersionDesc(), "Firmware");

    auto* link = make<CTextButton>("CTextButton", 37);
    auto* help = make<CHelpButton>("CHelpButton", 38);
    link->SetTitle("www.example.org");
    help->SetTooltip("what this does");
    EXPECT_TRUE(user.click(dialog, 37));
    EXPECT_TRUE(user.click(dialog, 38));
    EXPECT_EQ(dialog.notes, (std::vector<Note>{{37, 2, 0}, {38, 2, 0}}));
}

TEST_F(ControlTest, IconButtonKeepsItsIcon) {
    auto* rec = make<CIconButton>("CIconButton", 172);
    rec->SetIconImage("icon\\icon_rec.png");
    rec->SetTitle("Record");
    EXPECT_EQ(rec->GetIconImage(), "icon\\icon_rec.png");
    EXPECT_TRUE(user.click(dialog, 172));
}

}  // namespace
}  // namespace DUI::test

namespace DUI::test {
namespace {

TEST(ImageListTest, IndexesFollowAddsAndRemovals) {
    MImageList list;
    EXPECT_EQ(list.Add("icon\\tab_home.png"), 0);
    EXPECT_EQ(list.Add("icon\\tab_key.png"), 1);
    EXPECT_EQ(list.Add("icon\\tab_dpi.png"), 2);
    EXPECT_TRUE(list.Remove(0));
    EXPECT_EQ(list.GetImage(0), "icon\\tab_key.png");
    EXPECT_TRUE(list.Replace(1, "icon\\tab_set.png"));
    EXPECT_FALSE(list.Replace(2, "x"));
    EXPECT_FALSE(list.Remove(-1));
    EXPECT_EQ(list.GetImage(5), "");
    EXPECT_EQ(list.GetImageCount(), 2);
    list.RemoveAll();
    EXPECT_EQ(list.GetImageCount(), 0);
}

TEST(ManagerTest, SettingsAreSharedAndTheAccentColourIsAtomic) {
    const std::uint32_t accent = Manager::m_select_color;
    Manager::m_select_color = 0x00FF00;
    std::uint32_t seen = 0;
    std::thread reader([&seen] { seen = Manager::m_select_color; });
    reader.join();
    EXPECT_EQ(seen, 0x00FF00u);
    Manager::m_select_color = accent;
    const std::string font = Manager::GetFontName();
    Manager::SetFontName("Open Sans Semibold");
    EXPECT_EQ(Manager::GetFontName(), "Open Sans Semibold");
    Manager::SetFontName(font);
}

}  // namespace
}  // namespace DUI::test
