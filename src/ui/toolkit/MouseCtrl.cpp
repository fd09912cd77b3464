// Mouse picture with button hot spots (see MouseCtrl.h).
#include "ui/toolkit/MouseCtrl.h"

#include "ui/toolkit/Messages.h"

namespace DUI {

int MouseCtrl::AddItem(const std::string& name, int keyValue, int direction, Point from, Point to) {
    int index = 0;
    {
        std::lock_guard lock(m_mutex);
        m_items.push_back({name, keyValue, direction, from, to});
        index = static_cast<int>(m_items.size()) - 1;
    }
    requestRedraw();
    return index;
}

void MouseCtrl::DeleteAllItems() {
    {
        std::lock_guard lock(m_mutex);
        m_items.clear();
        m_selected = -1;
    }
    requestRedraw();
}

int MouseCtrl::GetItemCount() const {
    std::lock_guard lock(m_mutex);
    return static_cast<int>(m_items.size());
}

std::vector<MouseCtrl::Item> MouseCtrl::GetItems() const {
    std::lock_guard lock(m_mutex);
    return m_items;
}

void MouseCtrl::SetSelectItem(int index) {
    {
        std::lock_guard lock(m_mutex);
        if (index < 0 || index >= static_cast<int>(m_items.size())) index = -1;
        if (m_selected == index) return;
        m_selected = index;
    }
    requestRedraw();
}

int MouseCtrl::GetSelectItem() const {
    std::lock_guard lock(m_mutex);
    return m_selected;
}

int MouseCtrl::GetItemKeyValue(int index) const {
    std::lock_guard lock(m_mutex);
    if (index < 0 || index >= static_cast<int>(m_items.size())) return -1;
    return m_items[index].keyValue;
}

bool MouseCtrl::SetItemText(int index, const std::string& name) {
    {
        std::lock_guard lock(m_mutex);
        if (index < 0 || index >= static_cast<int>(m_items.size())) return false;
        m_items[index].name = name;
    }
    requestRedraw();
    return true;
}

std::string MouseCtrl::GetItemText(int index) const {
    std::lock_guard lock(m_mutex);
    if (index < 0 || index >= static_cast<int>(m_items.size())) return {};
    return m_items[index].name;
}

bool MouseCtrl::userSelect(int index) {
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
