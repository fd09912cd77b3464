// DPI slider (see DPISlider.h).
#include "ui/toolkit/DPISlider.h"

namespace DUI {

void DPISlider::SetDPIDesc(const std::string& low, const std::string& high) {
    {
        std::lock_guard lock(m_mutex);
        if (m_low == low && m_high == high) return;
        m_low = low;
        m_high = high;
    }
    requestRedraw();
}

std::string DPISlider::GetLowDesc() const {
    std::lock_guard lock(m_mutex);
    return m_low;
}

std::string DPISlider::GetHighDesc() const {
    std::lock_guard lock(m_mutex);
    return m_high;
}

}  // namespace DUI
