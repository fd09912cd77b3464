// DPI stage list (see DPIControl.h).
#include "ui/toolkit/DPIControl.h"

#include "ui/toolkit/Messages.h"

namespace DUI {

void DPIControl::ClearList() {
    m_stages.clear();
}

int DPIControl::AddItem(int dpi, std::uint32_t color) {
    return m_stages.insert({dpi, color});
}

int DPIControl::GetItemCount() const {
    return m_stages.count();
}

std::vector<DPIControl::Stage> DPIControl::GetStages() const {
    return m_stages.items();
}

bool DPIControl::SetDPIValue(int index, int dpi) {
    return m_stages.setIfDifferent(index, &Stage::dpi, dpi);
}

bool DPIControl::SetDPIColorValue(int index, std::uint32_t color) {
    return m_stages.setIfDifferent(index, &Stage::color, color);
}

int DPIControl::GetDPIValue(int index) const {
    return m_stages.get(index, &Stage::dpi, 0);
}

std::uint32_t DPIControl::GetDPIColorValue(int index) const {
    return m_stages.get(index, &Stage::color, 0);
}

void DPIControl::SetSelectItem(int index) {
    m_stages.select(index);
}

int DPIControl::GetSelectItem() const {
    return m_stages.selected();
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
    if (!usable() || !m_stages.choose(index)) return false;
    notify(kNotifyClick, index);
    return true;
}

bool DPIControl::userColorClick(int index) {
    if (!usable() || !m_stages.choose(index)) return false;
    notify(kNotifyItemMenu, index);
    return true;
}

bool DPIControl::userBeginEdit(int index) {
    if (!usable()) return false;
    // The list's lock also guards the editor's state.
    const bool opened = m_stages.update([&](detail::ItemRows<Stage>& rows) {
        if (!rows.valid(index)) return false;
        rows.selected = index;
        m_editing = true;
        m_editText = std::to_string(rows.items[index].dpi);
        return true;
    });
    if (!opened) return false;
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
