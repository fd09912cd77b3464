// Page tabs (see MTabCtrl.h).
#include "ui/toolkit/MTabCtrl.h"

#include "ui/toolkit/Messages.h"

namespace DUI {

int MTabCtrl::AddItem(int id, const std::string& text, const std::string& icon, MControl* page) {
    return m_items.insert({id, text, icon, true, page});
}

void MTabCtrl::DeleteAllItems() {
    m_items.clear();
}

int MTabCtrl::GetItemCount() const {
    return m_items.count();
}

std::vector<MTabCtrl::Item> MTabCtrl::GetItems() const {
    return m_items.items();
}

int MTabCtrl::GetItemID(int index) const {
    return m_items.get(index, &Item::id, -1);
}

bool MTabCtrl::SetItemText(int index, const std::string& text) {
    return m_items.set(index, &Item::text, text);
}

bool MTabCtrl::SetItemVisible(int index, bool visible) {
    return m_items.set(index, &Item::visible, visible);
}

bool MTabCtrl::IsItemVisible(int index) const {
    return m_items.get(index, &Item::visible, false);
}

void MTabCtrl::SetCurSel(int index) {
    std::vector<Item> items;
    // No redraw from the list here: the tabs are redrawn once the pages are set.
    m_items.update([&](detail::ItemRows<Item>& rows) {
        if (!rows.valid(index)) index = -1;
        rows.selected = index;
        items = rows.items;
        return false;
    });
    // Hide first, then show, so a page bound to two items stays visible.
    for (int i = 0; i < static_cast<int>(items.size()); ++i)
        if (i != index && items[i].page != nullptr) items[i].page->SetVisible(false);
    if (index >= 0 && items[index].page != nullptr) items[index].page->SetVisible(true);
    requestRedraw();
}

int MTabCtrl::GetCurSel() const {
    return m_items.selected();
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
