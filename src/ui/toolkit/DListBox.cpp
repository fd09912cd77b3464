// List with in-place editing (see DListBox.h).
#include "ui/toolkit/DListBox.h"

#include "ui/toolkit/Messages.h"

namespace DUI {

int DListBox::AddString(const std::string& text, std::intptr_t data, int position) {
    int index = 0;
    {
        std::lock_guard lock(m_mutex);
        index = m_items.insert(text, data, position);
    }
    requestRedraw();
    return index;
}

bool DListBox::DeleteString(int index) {
    {
        std::lock_guard lock(m_mutex);
        if (!m_items.remove(index)) return false;
    }
    requestRedraw();
    return true;
}

void DListBox::DeleteAllItems() {
    {
        std::lock_guard lock(m_mutex);
        m_items.clear();
    }
    requestRedraw();
}

int DListBox::GetItemCount() const {
    std::lock_guard lock(m_mutex);
    return m_items.count();
}

std::string DListBox::GetItemText(int index) const {
    std::lock_guard lock(m_mutex);
    return m_items.text(index);
}

bool DListBox::SetItemText(int index, const std::string& text) {
    {
        std::lock_guard lock(m_mutex);
        if (!m_items.setText(index, text)) return false;
    }
    requestRedraw();
    return true;
}

std::intptr_t DListBox::GetItemData(int index) const {
    std::lock_guard lock(m_mutex);
    return m_items.data(index);
}

void DListBox::SetCurSel(int index) {
    {
        std::lock_guard lock(m_mutex);
        if (!m_items.select(index)) return;
    }
    requestRedraw();
}

int DListBox::GetCurSel() const {
    std::lock_guard lock(m_mutex);
    return m_items.selected();
}

void DListBox::SetCurData(std::intptr_t data) {
    {
        std::lock_guard lock(m_mutex);
        if (!m_items.select(m_items.find(data))) return;
    }
    requestRedraw();
}

std::intptr_t DListBox::GetCurData() const {
    std::lock_guard lock(m_mutex);
    return m_items.data(m_items.selected());
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

bool DListBox::userEditItem(int index, const std::string& text) {
    if (!usable()) return false;
    {
        std::lock_guard lock(m_mutex);
        if (!m_editable || !m_items.valid(index)) return false;
        m_items.select(index);
        m_items.setText(index, text);
    }
    requestRedraw();
    notify(kNotifyKillFocus, index);
    return true;
}

}  // namespace DUI
