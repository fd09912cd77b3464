// Per-window background colours (see PaintManager.h).
#include "ui/toolkit/PaintManager.h"

namespace DUI {

void PaintManager::SetBackColor(std::uint32_t top, std::uint32_t bottom) {
    std::lock_guard lock(m_mutex);
    m_top = top & 0xFFFFFFu;
    m_bottom = bottom & 0xFFFFFFu;
    m_set = true;
}

std::pair<std::uint32_t, std::uint32_t> PaintManager::GetBackColor() const {
    std::lock_guard lock(m_mutex);
    return {m_top, m_bottom};
}

bool PaintManager::HasBackColor() const {
    std::lock_guard lock(m_mutex);
    return m_set;
}

}  // namespace DUI
