// Progress bar (see MProgress.h).
#include "ui/toolkit/MProgress.h"

#include <algorithm>

namespace DUI {

void MProgress::SetRange(int range) {
    {
        std::lock_guard lock(m_mutex);
        m_range = std::max(1, range);
        m_value = std::clamp(m_value, 0, m_range);
    }
    requestRedraw();
}

int MProgress::GetRange() const {
    std::lock_guard lock(m_mutex);
    return m_range;
}

void MProgress::SetProgress(int value) {
    {
        std::lock_guard lock(m_mutex);
        value = std::clamp(value, 0, m_range);
        if (m_value == value) return;
        m_value = value;
    }
    requestRedraw();
}

int MProgress::GetProgress() const {
    std::lock_guard lock(m_mutex);
    return m_value;
}

}  // namespace DUI
