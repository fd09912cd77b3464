// Colour swatch button (see CColorButton.h).
#include "ui/toolkit/CColorButton.h"

#include "ui/toolkit/detail/Groups.h"

namespace DUI {

void CColorButton::SetColor(std::uint32_t color) {
    color &= 0xFFFFFFu;
    {
        std::lock_guard lock(m_mutex);
        if (m_color == color) return;
        m_color = color;
    }
    requestRedraw();
}

std::uint32_t CColorButton::GetColor() const {
    std::lock_guard lock(m_mutex);
    return m_color;
}

void CColorButton::SetGroup(const std::string& group) {
    std::lock_guard lock(m_mutex);
    m_group = group;
}

std::string CColorButton::GetGroup() const {
    std::lock_guard lock(m_mutex);
    return m_group;
}

void CColorButton::SetCheck(int check) {
    setCheckState(check);
    if (check != 0) detail::uncheckGroupSiblings(this, GetGroup());
}

void CColorButton::onUserClick() {
    SetCheck(1);
}

}  // namespace DUI
