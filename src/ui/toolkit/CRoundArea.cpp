// Round marker (see CRoundArea.h).
#include "ui/toolkit/CRoundArea.h"

namespace DUI {

void CRoundArea::SetColor(std::uint32_t color) {
    {
        std::lock_guard lock(m_mutex);
        if (m_color == color) return;
        m_color = color;
    }
    requestRedraw();
}

std::uint32_t CRoundArea::GetColor() const {
    std::lock_guard lock(m_mutex);
    return m_color;
}

}  // namespace DUI
