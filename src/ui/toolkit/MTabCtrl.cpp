// Page tabs (see MTabCtrl.h).
#include "ui/toolkit/MTabCtrl.h"

#include "ui/toolkit/Messages.h"

namespace DUI {

int MTabCtrl::AddItem(int id, const std::string& text, const std::string& icon, MControl* page) {
    int index = 0;
    {
        std::lock_guard lock(m_mutex);
        m_items.push_back({id, text, icon, true, page});
        index = static_cast<int>(m_items.size()) - 1;
    }
    requestRedraw();
    return index;
}

void MTabCtrl::DeleteAllItems() {
    {
        std::lock_guard lock(m_mutex);
        m_items.clear();
        m_selected = -1;
    }
    requestRedraw();
}

int MTabCtrl::GetItemCount() const {
    std::lock_guard lock(m_mutex);
    return static_cast<int>(m_items.size());
}

std::vector<MTabCtrl::Item> MTabCtrl::GetItems() const {
    std::lock_guard lock(m_mutex);
    return m_items;
}

int MTabCtrl::GetItemID(int index) const {
    std::lock_guard lock(m_mutex);
    if (index < 0 || index >= static_cast<int>(m_items.size())) return -1;
    return m_items[index].id;
}

bool MTabCtrl::SetItemText(int index, const std::string& text) {
    {
        std::lock_guard lock(m_mutex);
        if (index < 0 || index >= static_cast<int>(m_items.size())) return false;
        m_items[index].text = text;
    }
    requestRedraw();
    return true;
}

bool MTabCtrl::SetItemVisible(int index, bool visible) {
    {
        std::lock_guard lock(m_mutex);
        if (index < 0 || index >= static_cast<int>(m_items.size())) return false;
        m_items[index].visible = visible;
    }
    requestRedraw();
    return true;
}

bool MTabCtrl::IsItemVisible(int index) const {
    std::lock_guard lock(m_mutex);
    if (index < 0 || index >= static_cast<int>(m_items.size())) return false;
    return m_items[index].visible;
}

void MTabCtrl::SetCurSel(int index) {
    std::vector<Item> items;
    {
        std::lock_guard lock(m_mutex);
        if (index < 0 || index >= static_cast<int>(m_items.size())) index = -1;
        m_selected = index;
        items = m_items;
    }
    // Hide first, then show, so a page bound to two items stays visible.
    for (int i = 0; i < static_cast<int>(items.size()); ++i)
        if (i != index && items[i].page != nullptr) items[i].page->SetVisible(false);
    if (index >= 0 && items[index].page != nullptr) items[index].page->SetVisible(true);
    requestRedraw();
}

int MTabCtrl::GetCurSel() const {
    std::lock_guard lock(m_mutex);
    return m_selected;
}

void MTabCtrl::SetItemSize(int width, int height) {
    {
        std::lock_guard lock(m_mutex);
        m_itemWidth = width;
        m_itemHeight = height;
    }
    requestRedraw();
}

int MTabCtrl::GetItemWidth() const {
    std::lock_guard lock(m_mutex);
    return m_itemWidth;
}

int MTabCtrl::GetItemHeight() const {
    std::lock_guard lock(m_mutex);
    return m_itemHeight;
}

bool MTabCtrl::userSelect(int index) {
    if (!usable() || !IsItemVisible(index)) return false;
    SetCurSel(index);
    notify(kNotifyClick, index);
    return true;
}

}  // namespace DUI
