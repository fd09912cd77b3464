// List with in-place editing (see DListBox.h).
#include "ui/toolkit/DListBox.h"

#include "ui/toolkit/Messages.h"

namespace DUI {

using detail::TextDataItem;
using Rows = detail::TextDataItems::Rows;

int DListBox::AddString(const std::string& text, std::intptr_t data, int position) {
    return m_items.insert({text, data}, position);
}

bool DListBox::DeleteString(int index) {
    return m_items.remove(index);
}

void DListBox::DeleteAllItems() {
    m_items.clear();
}

int DListBox::GetItemCount() const {
    return m_items.count();
}

std::string DListBox::GetItemText(int index) const {
    return m_items.get(index, &TextDataItem::text, {});
}

bool DListBox::SetItemText(int index, const std::string& text) {
    return m_items.set(index, &TextDataItem::text, text);
}

std::intptr_t DListBox::GetItemData(int index) const {
    return m_items.get(index, &TextDataItem::data, 0);
}

void DListBox::SetCurSel(int index) {
    m_items.select(index);
}

int DListBox::GetCurSel() const {
    return m_items.selected();
}

void DListBox::SetCurData(std::intptr_t data) {
    m_items.update([&](Rows& rows) {
        return rows.select(rows.findFirst([&](const TextDataItem& item) { return item.data == data; }));
    });
}

std::intptr_t DListBox::GetCurData() const {
    return m_items.read([](const Rows& rows) {
        const TextDataItem* item = rows.at(rows.selected);
        return item != nullptr ? item->data : 0;
    });
}

void DListBox::SetEditable(bool editable) {
    std::lock_guard lock(m_mutex);
    m_editable = editable;
}

bool DListBox::IsEditable() const {
    std::lock_guard lock(m_mutex);
    return m_editable;
}

bool DListBox::userChoose(int index) {
    if (!usable() || !m_items.choose(index)) return false;
    notify(kNotifyClick, index);
    return true;
}

bool DListBox::userEditItem(int index, const std::string& text) {
    if (!usable()) return false;
    // The list's lock also guards m_editable.
    const bool edited = m_items.update([&](Rows& rows) {
        if (!m_editable || !rows.valid(index)) return false;
        rows.select(index);
        rows.items[index].text = text;
        return true;
    });
    if (!edited) return false;
    notify(kNotifyKillFocus, index);
    return true;
}

}  // namespace DUI
