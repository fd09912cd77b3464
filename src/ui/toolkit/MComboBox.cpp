// Drop-down list (see MComboBox.h).
#include "ui/toolkit/MComboBox.h"

#include "ui/toolkit/Messages.h"

namespace DUI {

int MComboBox::AddItem(const std::string& text, std::intptr_t data) {
    int index = 0;
    {
        std::lock_guard lock(m_mutex);
        index = m_items.insert(text, data);
    }
    requestRedraw();
    return index;
}

void MComboBox::DelAllItems() {
    {
        std::lock_guard lock(m_mutex);
        m_items.clear();
    }
    requestRedraw();
}

bool MComboBox::DeleteItem(int index) {
    {
        std::lock_guard lock(m_mutex);
        if (!m_items.remove(index)) return false;
    }
    requestRedraw();
    return true;
}

bool MComboBox::SetItemText(int index, const std::string& text) {
    {
        std::lock_guard lock(m_mutex);
        if (!m_items.setText(index, text)) return false;
    }
    requestRedraw();
    return true;
}

std::string MComboBox::GetItemText(int index) const {
    std::lock_guard lock(m_mutex);
    return m_items.text(index);
}

std::intptr_t MComboBox::GetItemData(int index) const {
    std::lock_guard lock(m_mutex);
    return m_items.data(index);
}

int MComboBox::GetItemCount() const {
    std::lock_guard lock(m_mutex);
    return m_items.count();
}

void MComboBox::SetCurSel(int index) {
    {
        std::lock_guard lock(m_mutex);
        if (!m_items.select(index)) return;
    }
    requestRedraw();
}

int MComboBox::GetCurSel() const {
    std::lock_guard lock(m_mutex);
    return m_items.selected();
}

int MComboBox::SelectData(std::intptr_t data) {
    int index = -1;
    bool changed = false;
    {
        std::lock_guard lock(m_mutex);
        index = m_items.find(data);
        changed = m_items.select(index);
    }
    if (changed) requestRedraw();
    return index;
}

std::intptr_t MComboBox::GetCurData() const {
    std::lock_guard lock(m_mutex);
    return m_items.data(m_items.selected());
}

std::string MComboBox::GetTitle() const {
    {
        std::lock_guard lock(m_mutex);
        if (m_items.selected() >= 0) return m_items.text(m_items.selected());
    }
    return MControlFont::GetTitle();
}

bool MComboBox::userChoose(int index) {
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

}  // namespace DUI
