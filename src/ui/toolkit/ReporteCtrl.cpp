// Report-rate list (see ReporteCtrl.h).
#include "ui/toolkit/ReporteCtrl.h"

#include "ui/toolkit/Messages.h"

namespace DUI {

void ReporteCtrl::DeleteAllItems() {
    {
        std::lock_guard lock(m_mutex);
        m_items.clear();
        m_selected = -1;
    }
    requestRedraw();
}

int ReporteCtrl::AddItem(const std::string& text, int code, std::uint32_t color) {
    int index = 0;
    {
        std::lock_guard lock(m_mutex);
        m_items.push_back({text, code, color});
        index = static_cast<int>(m_items.size()) - 1;
    }
    requestRedraw();
    return index;
}

int ReporteCtrl::GetItemCount() const {
    std::lock_guard lock(m_mutex);
    return static_cast<int>(m_items.size());
}

std::vector<ReporteCtrl::Item> ReporteCtrl::GetItems() const {
    std::lock_guard lock(m_mutex);
    return m_items;
}

int ReporteCtrl::SetSelectItemValue(int code) {
    int found = -1;
    {
        std::lock_guard lock(m_mutex);
        for (int i = 0; i < static_cast<int>(m_items.size()) && found < 0; ++i)
            if (m_items[i].code == code) found = i;
        m_selected = found;
    }
    requestRedraw();
    return found;
}

void ReporteCtrl::SetSelectItem(int index) {
    {
        std::lock_guard lock(m_mutex);
        if (index < 0 || index >= static_cast<int>(m_items.size())) index = -1;
        if (m_selected == index) return;
        m_selected = index;
    }
    requestRedraw();
}

int ReporteCtrl::GetSelectItem() const {
    std::lock_guard lock(m_mutex);
    return m_selected;
}

int ReporteCtrl::GetItemKeyValue(int index) const {
    std::lock_guard lock(m_mutex);
    if (index < 0 || index >= static_cast<int>(m_items.size())) return -1;
    return m_items[index].code;
}

bool ReporteCtrl::userSelect(int index) {
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
