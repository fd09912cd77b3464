// Mouse picture with button hot spots (see MouseCtrl.h).
#include "ui/toolkit/MouseCtrl.h"

#include "ui/toolkit/Messages.h"

namespace DUI {

int MouseCtrl::AddItem(const std::string& name, int keyValue, int direction, Point from, Point to) {
    return m_items.insert({name, keyValue, direction, from, to});
}

void MouseCtrl::DeleteAllItems() {
    m_items.clear();
}

int MouseCtrl::GetItemCount() const {
    return m_items.count();
}

std::vector<MouseCtrl::Item> MouseCtrl::GetItems() const {
    return m_items.items();
}

void MouseCtrl::SetSelectItem(int index) {
    m_items.select(index);
}

int MouseCtrl::GetSelectItem() const {
    return m_items.selected();
}

int MouseCtrl::GetItemKeyValue(int index) const {
    return m_items.get(index, &Item::keyValue, -1);
}

bool MouseCtrl::SetItemText(int index, const std::string& name) {
    return m_items.set(index, &Item::name, name);
}

std::string MouseCtrl::GetItemText(int index) const {
    return m_items.get(index, &Item::name, {});
}

bool MouseCtrl::userSelect(int index) {
    if (!usable() || !m_items.choose(index)) return false;
    notify(kNotifyClick, index);
    return true;
}

}  // namespace DUI
