// Button list (see MouseKeyCtrl.h).
#include "ui/toolkit/MouseKeyCtrl.h"

#include "ui/toolkit/Messages.h"

namespace DUI {

int MouseKeyCtrl::AddItem(const std::string& name, const std::string& desc, int keyValue) {
    int index = 0;
    {
        std::lock_guard lock(m_mutex);
        m_items.push_back({name, desc, keyValue});
        index = static_cast<int>(m_items.size()) - 1;
    }
    requestRedraw();
    return index;
}

void MouseKeyCtrl::DeleteAllItems() {
    {
        std::lock_guard lock(m_mutex);
        m_items.clear();
        m_selected = -1;
    }
    requestRedraw();
}

int MouseKeyCtrl::GetItemCount() const {
    std::lock_guard lock(m_mutex);
    return static_cast<int>(m_items.size());
}

std::vector<MouseKeyCtrl::Item> MouseKeyCtrl::GetItems() const {
    std::lock_guard lock(m_mutex);
    return m_items;
}

void MouseKeyCtrl::SetSelectItem(int index) {
    {
        std::lock_guard lock(m_mutex);
        if (index < 0 || index >= static_cast<int>(m_items.size())) index = -1;
        if (m_selected == index) return;
        m_selected = index;
    }
    requestRedraw();
}

int MouseKeyCtrl::GetSelectItem() const {
    std::lock_guard lock(m_mutex);
    return m_selected;
}

int MouseKeyCtrl::GetItemKeyValue(int index) const {
    std::lock_guard lock(m_mutex);
    if (index < 0 || index >= static_cast<int>(m_items.size())) return -1;
    return m_items[index].keyValue;
}

std::string MouseKeyCtrl::GetItemKeyName(int index) const {
    std::lock_guard lock(m_mutex);
    if (index < 0 || index >= static_cast<int>(m_items.size())) return {};
    return m_items[index].name;
}

std::string MouseKeyCtrl::GetItemKeyDesc(int index) const {
    std::lock_guard lock(m_mutex);
    if (index < 0 || index >= static_cast<int>(m_items.size())) return {};
    return m_items[index].desc;
}

bool MouseKeyCtrl::SetItemKeyDesc(int keyValue, const std::string& desc) {
    bool found = false;
    {
        std::lock_guard lock(m_mutex);
        for (Item& item : m_items) {
            if (item.keyValue != keyValue) continue;
            item.desc = desc;
            found = true;
        }
    }
    if (found) requestRedraw();
    return found;
}

bool MouseKeyCtrl::SetItemText(int index, const std::string& name) {
    {
        std::lock_guard lock(m_mutex);
        if (index < 0 || index >= static_cast<int>(m_items.size())) return false;
        m_items[index].name = name;
    }
    requestRedraw();
    return true;
}

bool MouseKeyCtrl::userSelect(int index) {
    if (!usable()) return false;
    {
        std::lock_guard lock(m_mutex);
        if (index < 0 || index >= static_cast<int>(m_items.size())) return false;
        m_selected = index;
    }
    requestRedraw();
    notify(kNotifyClick, index);
    return true;
}

}  // namespace DUI
