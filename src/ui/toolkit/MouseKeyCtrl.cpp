// Button list (see MouseKeyCtrl.h).
#include "ui/toolkit/MouseKeyCtrl.h"

#include "ui/toolkit/Messages.h"

namespace DUI {

int MouseKeyCtrl::AddItem(const std::string& name, const std::string& desc, int keyValue) {
    return m_items.insert({name, desc, keyValue});
}

void MouseKeyCtrl::DeleteAllItems() {
    m_items.clear();
}

int MouseKeyCtrl::GetItemCount() const {
    return m_items.count();
}

std::vector<MouseKeyCtrl::Item> MouseKeyCtrl::GetItems() const {
    return m_items.items();
}

void MouseKeyCtrl::SetSelectItem(int index) {
    m_items.select(index);
}

int MouseKeyCtrl::GetSelectItem() const {
    return m_items.selected();
}

int MouseKeyCtrl::GetItemKeyValue(int index) const {
    return m_items.get(index, &Item::keyValue, -1);
}

std::string MouseKeyCtrl::GetItemKeyName(int index) const {
    return m_items.get(index, &Item::name, {});
}

std::string MouseKeyCtrl::GetItemKeyDesc(int index) const {
    return m_items.get(index, &Item::desc, {});
}

bool MouseKeyCtrl::SetItemKeyDesc(int keyValue, const std::string& desc) {
    return m_items.update([&](detail::ItemRows<Item>& rows) {
        bool found = false;
        for (Item& item : rows.items) {
            if (item.keyValue != keyValue) continue;
            item.desc = desc;
            found = true;
        }
        return found;
    });
}

bool MouseKeyCtrl::SetItemText(int index, const std::string& name) {
    return m_items.set(index, &Item::name, name);
}

bool MouseKeyCtrl::userSelect(int index) {
    if (!usable() || !m_items.choose(index)) return false;
    notify(kNotifyClick, index);
    return true;
}

}  // namespace DUI
