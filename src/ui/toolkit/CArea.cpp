// Area with an optional fill colour (see CArea.h).
#include "ui/toolkit/CArea.h"

namespace DUI {

void CArea::SetTransparent(bool transparent, std::uint32_t fillColor) {
    {
        std::lock_guard lock(m_mutex);
        fillColor &= 0xFFFFFFu;
        if (m_transparent == transparent && m_fillColor == fillColor) return;
        m_transparent = transparent;
        m_fillColor = fillColor;
    }
    requestRedraw();
}

bool CArea::IsTransparent() const {
    std::lock_guard lock(m_mutex);
    return m_transparent;
}

std::uint32_t CArea::GetFillColor() const {
    std::lock_guard lock(m_mutex);
    return m_fillColor;
}

}  // namespace DUI
