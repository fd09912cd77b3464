// Macro list (see MacroList.h).
#include "ui/toolkit/MacroList.h"

#include "ui/toolkit/Messages.h"

namespace DUI {

int MacroList::AddString(const std::string& text, std::intptr_t data, int position) {
    int index = 0;
    {
        std::lock_guard lock(m_mutex);
        index = m_items.insert(text, data, position);
    }
    requestRedraw();
    return index;
}

bool MacroList::DeleteItem(int index) {
    {
        std::lock_guard lock(m_mutex);
        if (!m_items.remove(index)) return false;
    }
    requestRedraw();
    return true;
}

void MacroList::DeleteAllItems() {
    {
        std::lock_guard lock(m_mutex);
        m_items.clear();
    }
    requestRedraw();
}

int MacroList::GetCurSel() const {
    std::lock_guard lock(m_mutex);
    return m_items.selected();
}

void MacroList::SetCurSel(int index) {
    {
        std::lock_guard lock(m_mutex);
        if (!m_items.select(index)) return;
    }
    requestRedraw();
}

std::intptr_t MacroList::GetItemData(int index) const {
    std::lock_guard lock(m_mutex);
    return m_items.data(index);
}

std::string MacroList::GetItemText(int index) const {
    std::lock_guard lock(m_mutex);
    return m_items.text(index);
}

int MacroList::GetItemCount() const {
    std::lock_guard lock(m_mutex);
    return m_items.count();
}

bool MacroList::ModifyItemString(int index, const std::string& text) {
    {
        std::lock_guard lock(m_mutex);
        if (!m_items.setText(index, text)) return false;
    }
    requestRedraw();
    return true;
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
    if (!usable()) return false;
    {
        std::lock_guard lock(m_mutex);
        if (!m_items.valid(index)) return false;
        m_items.select(index);
    }
    requestRedraw();
    notify(kNotifyClick, index);
    return true;
}

bool MacroList::userRename(int index, const std::string& text) {
    if (!usable()) return false;
    {
        std::lock_guard lock(m_mutex);
        if (!m_items.valid(index)) return false;
        m_items.select(index);
        m_items.setText(index, text);
    }
    requestRedraw();
    notify(kNotifyKillFocus, index);
    return true;
}

bool MacroList::userContextMenu(int index) {
    if (!usable()) return false;
    {
        std::lock_guard lock(m_mutex);
        if (index >= 0) {
            if (!m_items.valid(index)) return false;
            m_items.select(index);
        }
    }
    requestRedraw();
    notify(kNotifyContextMenu, index);
    return true;
}

}  // namespace DUI
