// Radio button (see CRadioButton.h).
#include "ui/toolkit/CRadioButton.h"

#include "ui/toolkit/detail/Groups.h"

namespace DUI {

void CRadioButton::SetGroup(const std::string& group) {
    std::lock_guard lock(m_mutex);
    m_group = group;
}

std::string CRadioButton::GetGroup() const {
    std::lock_guard lock(m_mutex);
    return m_group;
}

void CRadioButton::SetCheck(int check) {
    setCheckState(check);
    if (check != 0) detail::uncheckGroupSiblings(this, GetGroup());
}

void CRadioButton::onUserClick() {
    SetCheck(1);
}

}  // namespace DUI
