// Drop-down list (see MComboBox.h).
#include "ui/toolkit/MComboBox.h"

#include "ui/toolkit/Messages.h"

#include <optional>

namespace DUI {

using detail::TextDataItem;
using Rows = detail::TextDataItems::Rows;

int MComboBox::AddItem(const std::string& text, std::intptr_t data) {
    return m_items.insert({text, data});
}

void MComboBox::DelAllItems() {
    m_items.clear();
}

bool MComboBox::DeleteItem(int index) {
    return m_items.remove(index);
}

bool MComboBox::SetItemText(int index, const std::string& text) {
    return m_items.set(index, &TextDataItem::text, text);
}

std::string MComboBox::GetItemText(int index) const {
    return m_items.get(index, &TextDataItem::text, {});
}

std::intptr_t MComboBox::GetItemData(int index) const {
    return m_items.get(index, &TextDataItem::data, 0);
}

int MComboBox::GetItemCount() const {
    return m_items.count();
}

void MComboBox::SetCurSel(int index) {
    m_items.select(index);
}

int MComboBox::GetCurSel() const {
    return m_items.selected();
}

int MComboBox::SelectData(std::intptr_t data) {
    int index = -1;
    m_items.update([&](Rows& rows) {
        index = rows.findFirst([&](const TextDataItem& item) { return item.data == data; });
        return rows.select(index);
    });
    return index;
}

std::intptr_t MComboBox::GetCurData() const {
    return m_items.read([](const Rows& rows) {
        const TextDataItem* item = rows.at(rows.selected);
        return item != nullptr ? item->data : 0;
    });
}

std::string MComboBox::GetTitle() const {
    // Read under the list's lock; the control's own title takes the same lock.
    const std::optional<std::string> shown = m_items.read([](const Rows& rows) -> std::optional<std::string> {
        if (const TextDataItem* item = rows.at(rows.selected)) return item->text;
        return std::nullopt;
    });
    return shown ? *shown : MControlFont::GetTitle();
}

bool MComboBox::userChoose(int index) {
    if (!usable() || !m_items.choose(index)) return false;
    notify(kNotifyClick, index);
    return true;
}

}  // namespace DUI
