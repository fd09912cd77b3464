// Macro list (see MacroList.h).
#include "ui/toolkit/MacroList.h"

#include "ui/toolkit/Messages.h"

namespace DUI {

using detail::TextDataItem;
using Rows = detail::TextDataItems::Rows;

int MacroList::AddString(const std::string& text, std::intptr_t data, int position) {
    return m_items.insert({text, data}, position);
}

bool MacroList::DeleteItem(int index) {
    return m_items.remove(index);
}

void MacroList::DeleteAllItems() {
    m_items.clear();
}

int MacroList::GetCurSel() const {
    return m_items.selected();
}

void MacroList::SetCurSel(int index) {
    m_items.select(index);
}

std::intptr_t MacroList::GetItemData(int index) const {
    return m_items.get(index, &TextDataItem::data, 0);
}

std::string MacroList::GetItemText(int index) const {
    return m_items.get(index, &TextDataItem::text, {});
}

int MacroList::GetItemCount() const {
    return m_items.count();
}

bool MacroList::ModifyItemString(int index, const std::string& text) {
    return m_items.set(index, &TextDataItem::text, text);
}

void MacroList::SetEditImage(const std::string& name) {
    std::lock_guard lock(m_mutex);
    m_editImage = name;
}

std::string MacroList::GetEditImage() const {
    std::lock_guard lock(m_mutex);
    return m_editImage;
}

bool MacroList::userChoose(int index) {
    if (!usable() || !m_items.choose(index)) return false;
    notify(kNotifyClick, index);
    return true;
}

bool MacroList::userRename(int index, const std::string& text) {
    if (!usable()) return false;
    const bool renamed = m_items.update([&](Rows& rows) {
        if (!rows.valid(index)) return false;
        rows.select(index);
        rows.items[index].text = text;
        return true;
    });
    if (!renamed) return false;
    notify(kNotifyKillFocus, index);
    return true;
}

bool MacroList::userContextMenu(int index) {
    if (!usable()) return false;
    // A negative index is a click on empty space: nothing to select.
    const bool accepted = m_items.update([&](Rows& rows) {
        if (index < 0) return true;
        if (!rows.valid(index)) return false;
        rows.selected = index;
        return true;
    });
    if (!accepted) return false;
    notify(kNotifyContextMenu, index);
    return true;
}

}  // namespace DUI
