// User actions on controls by id (see HeadlessUser.h).
#include "ui/toolkit/headless/HeadlessUser.h"

#include "ui/toolkit/CDeviceList.h"
#include "ui/toolkit/CRecordList.h"
#include "ui/toolkit/DListBox.h"
#include "ui/toolkit/DPIControl.h"
#include "ui/toolkit/MButton.h"
#include "ui/toolkit/MComboBox.h"
#include "ui/toolkit/MDialog.h"
#include "ui/toolkit/MEdit.h"
#include "ui/toolkit/MPalette.h"
#include "ui/toolkit/MTabCtrl.h"
#include "ui/toolkit/MacroList.h"
#include "ui/toolkit/MenuWnd.h"
#include "ui/toolkit/MouseCtrl.h"
#include "ui/toolkit/MouseKeyCtrl.h"
#include "ui/toolkit/ReporteCtrl.h"
#include "ui/toolkit/detail/SliderBase.h"
#include "ui/toolkit/detail/WindowRegistry.h"
#include "ui/toolkit/headless/HeadlessBackend.h"

namespace DUI {

bool HeadlessUser::done(bool acted) {
    m_backend.processEvents();
    return acted;
}

bool HeadlessUser::click(MDialog& dialog, int id) {
    auto* button = dialog.GetControlAs<MButton>(id);
    return done(button != nullptr && button->userClick());
}

bool HeadlessUser::choose(MDialog& dialog, int id, int index) {
    MControl* c = dialog.GetControl(id);
    bool acted = false;
    if (auto* combo = dynamic_cast<MComboBox*>(c))
        acted = combo->userChoose(index);
    else if (auto* list = dynamic_cast<DListBox*>(c))
        acted = list->userChoose(index);
    else if (auto* macros = dynamic_cast<MacroList*>(c))
        acted = macros->userChoose(index);
    else if (auto* tabs = dynamic_cast<MTabCtrl*>(c))
        acted = tabs->userSelect(index);
    else if (auto* mouse = dynamic_cast<MouseCtrl*>(c))
        acted = mouse->userSelect(index);
    else if (auto* keys = dynamic_cast<MouseKeyCtrl*>(c))
        acted = keys->userSelect(index);
    else if (auto* rates = dynamic_cast<ReporteCtrl*>(c))
        acted = rates->userSelect(index);
    else if (auto* stages = dynamic_cast<DPIControl*>(c))
        acted = stages->userSelect(index);
    else if (auto* steps = dynamic_cast<CRecordList*>(c))
        acted = steps->userSelect(index);
    else if (auto* devices = dynamic_cast<CDeviceList*>(c))
        acted = devices->userOpen(index);
    return done(acted);
}

bool HeadlessUser::chooseData(MDialog& dialog, int id, std::intptr_t data) {
    auto* combo = dialog.GetControlAs<MComboBox>(id);
    if (combo == nullptr) return false;
    for (int i = 0; i < combo->GetItemCount(); ++i)
        if (combo->GetItemData(i) == data) return done(combo->userChoose(i));
    return false;
}

bool HeadlessUser::focus(MDialog& dialog, int id) {
    MControl* c = dialog.GetControl(id);
    return done(c != nullptr && c->userFocus());
}

bool HeadlessUser::leave(MDialog& dialog, int id) {
    MControl* c = dialog.GetControl(id);
    return done(c != nullptr && c->userLeave());
}

bool HeadlessUser::type(MDialog& dialog, int id, const std::string& text) {
    auto* edit = dialog.GetControlAs<MEdit>(id);
    return done(edit != nullptr && edit->userSetText(text));
}

bool HeadlessUser::typeAndLeave(MDialog& dialog, int id, const std::string& text) {
    auto* edit = dialog.GetControlAs<MEdit>(id);
    return done(edit != nullptr && edit->userTypeAndLeave(text));
}

bool HeadlessUser::pressEnter(MDialog& dialog, int id) {
    auto* edit = dialog.GetControlAs<MEdit>(id);
    return done(edit != nullptr && edit->userPressEnter());
}

bool HeadlessUser::editItem(MDialog& dialog, int id, int index, const std::string& text) {
    MControl* c = dialog.GetControl(id);
    bool acted = false;
    if (auto* list = dynamic_cast<DListBox*>(c))
        acted = list->userEditItem(index, text);
    else if (auto* macros = dynamic_cast<MacroList*>(c))
        acted = macros->userRename(index, text);
    else if (auto* stages = dynamic_cast<DPIControl*>(c))
        acted = stages->userBeginEdit(index) && stages->userEndEdit(text);
    return done(acted);
}

bool HeadlessUser::drag(MDialog& dialog, int id, int position) {
    auto* slider = dialog.GetControlAs<detail::SliderBase>(id);
    return done(slider != nullptr && slider->userDrag(position));
}

bool HeadlessUser::release(MDialog& dialog, int id) {
    auto* slider = dialog.GetControlAs<detail::SliderBase>(id);
    return done(slider != nullptr && slider->userRelease());
}

bool HeadlessUser::slide(MDialog& dialog, int id, int position) {
    auto* slider = dialog.GetControlAs<detail::SliderBase>(id);
    return done(slider != nullptr && slider->userSlideTo(position));
}

bool HeadlessUser::pickColor(MDialog& dialog, int id, std::uint32_t color) {
    auto* palette = dialog.GetControlAs<MPalette>(id);
    return done(palette != nullptr && palette->userPick(color));
}

bool HeadlessUser::contextMenu(MDialog& dialog, int id, int index) {
    MControl* c = dialog.GetControl(id);
    bool acted = false;
    if (auto* macros = dynamic_cast<MacroList*>(c))
        acted = macros->userContextMenu(index);
    else if (auto* steps = dynamic_cast<CRecordList*>(c))
        acted = steps->userContextMenu(index);
    return done(acted);
}

bool HeadlessUser::colorClick(MDialog& dialog, int id, int index) {
    auto* stages = dialog.GetControlAs<DPIControl>(id);
    return done(stages != nullptr && stages->userColorClick(index));
}

bool HeadlessUser::chooseMenu(int command) {
    for (HWND hwnd : detail::WindowRegistry::instance().handles()) {
        auto* menu = dynamic_cast<MenuWnd*>(MWindow::FromHandle(hwnd));
        if (menu != nullptr && menu->IsWindowVisible()) return done(menu->userChoose(command));
    }
    return false;
}

}  // namespace DUI
