// DPI stage list (see DPIControl.h).
#include "ui/toolkit/DPIControl.h"

#include "ui/toolkit/Messages.h"

namespace DUI {

void DPIControl::ClearList() {
    {
        std::lock_guard lock(m_mutex);
        m_stages.clear();
        m_selected = -1;
    }
    requestRedraw();
}

int DPIControl::AddItem(int dpi, std::uint32_t color) {
    int index = 0;
    {
        std::lock_guard lock(m_mutex);
        m_stages.push_back({dpi, color});
        index = static_cast<int>(m_stages.size()) - 1;
    }
    requestRedraw();
    return index;
}

int DPIControl::GetItemCount() const {
    std::lock_guard lock(m_mutex);
    return static_cast<int>(m_stages.size());
}

std::vector<DPIControl::Stage> DPIControl::GetStages() const {
    std::lock_guard lock(m_mutex);
    return m_stages;
}

bool DPIControl::SetDPIValue(int index, int dpi) {
    {
        std::lock_guard lock(m_mutex);
        if (index < 0 || index >= static_cast<int>(m_stages.size())) return false;
        if (m_stages[index].dpi == dpi) return true;
        m_stages[index].dpi = dpi;
    }
    requestRedraw();
    return true;
}

bool DPIControl::SetDPIColorValue(int index, std::uint32_t color) {
    {
        std::lock_guard lock(m_mutex);
        if (index < 0 || index >= static_cast<int>(m_stages.size())) return false;
        if (m_stages[index].color == color) return true;
        m_stages[index].color = color;
    }
    requestRedraw();
    return true;
}

int DPIControl::GetDPIValue(int index) const {
    std::lock_guard lock(m_mutex);
    if (index < 0 || index >= static_cast<int>(m_stages.size())) return 0;
    return m_stages[index].dpi;
}

std::uint32_t DPIControl::GetDPIColorValue(int index) const {
    std::lock_guard lock(m_mutex);
    if (index < 0 || index >= static_cast<int>(m_stages.size())) return 0;
    return m_stages[index].color;
}

void DPIControl::SetSelectItem(int index) {
    {
        std::lock_guard lock(m_mutex);
        if (index < 0 || index >= static_cast<int>(m_stages.size())) index = -1;
        if (m_selected == index) return;
        m_selected = index;
    }
    requestRedraw();
}

int DPIControl::GetSelectItem() const {
    std::lock_guard lock(m_mutex);
    return m_selected;
}

std::string DPIControl::GetEditText() const {
    std::lock_guard lock(m_mutex);
    return m_editText;
}

void DPIControl::SetEditText(const std::string& text) {
    {
        std::lock_guard lock(m_mutex);
        if (m_editText == text) return;
        m_editText = text;
    }
    requestRedraw();
}

bool DPIControl::IsEditing() const {
    std::lock_guard lock(m_mutex);
    return m_editing;
}

bool DPIControl::userSelect(int index) {
    if (!usable()) return false;
    {
        std::lock_guard lock(m_mutex);
        if (index < 0 || index >= static_cast<int>(m_stages.size())) return false;
        m_selected = index;
    }
    requestRedraw();
    notify(kNotifyClick, index);
    return true;
}

bool DPIControl::userColorClick(int index) {
    if (!usable()) return false;
    {
        std::lock_guard lock(m_mutex);
        if (index < 0 || index >= static_cast<int>(m_stages.size())) return false;
        m_selected = index;
    }
    requestRedraw();
    notify(kNotifyItemMenu, index);
    return true;
}

bool DPIControl::userBeginEdit(int index) {
    if (!usable()) return false;
    {
        std::lock_guard lock(m_mutex);
        if (index < 0 || index >= static_cast<int>(m_stages.size())) return false;
        m_selected = index;
        m_editing = true;
        m_editText = std::to_string(m_stages[index].dpi);
    }
    requestRedraw();
    if (HasFocus())
        notify(kNotifySetFocus, index);
    else
        OnFocus(true);
    return true;
}

bool DPIControl::userEndEdit(const std::string& typed) {
    std::string digits;
    for (char c : typed)
        if (c >= '0' && c <= '9') digits += c;
    {
        std::lock_guard lock(m_mutex);
        if (!m_editing) return false;
        m_editText = digits;
    }
    OnFocus(false);
    return true;
}

void DPIControl::OnFocusChanged(bool gained) {
    const int index = GetSelectItem();
    if (gained) {
        if (IsEditing()) notify(kNotifySetFocus, index);
        return;
    }
    {
        std::lock_guard lock(m_mutex);
        if (!m_editing) return;
        m_editing = false;
    }
    requestRedraw();
    notify(kNotifyKillFocus, index);
}

}  // namespace DUI
