// Button with an icon (see CIconButton.h).
#include "ui/toolkit/CIconButton.h"

namespace DUI {

void CIconButton::SetIconImage(const std::string& name) {
    {
        std::lock_guard lock(m_mutex);
        if (m_icon == name) return;
        m_icon = name;
    }
    requestRedraw();
}

std::string CIconButton::GetIconImage() const {
    std::lock_guard lock(m_mutex);
    return m_icon;
}

}  // namespace DUI
