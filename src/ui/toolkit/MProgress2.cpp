// Animated progress bar (see MProgress2.h).
#include "ui/toolkit/MProgress2.h"

namespace DUI {

void MProgress2::SetRun(int run, int sweeps) {
    {
        std::lock_guard lock(m_mutex);
        m_running = run != 0 && sweeps != 0;
        m_sweepsLeft = sweeps;
        m_carry = 0;
    }
    requestRedraw();
}

bool MProgress2::IsRunning() const {
    std::lock_guard lock(m_mutex);
    return m_running;
}

void MProgress2::OnMTimer(unsigned elapsedMs) {
    {
        std::lock_guard lock(m_mutex);
        if (!m_running) return;
        m_carry += elapsedMs;
        // Whole progress units the elapsed time is worth; the rest carries on.
        const long long units = static_cast<long long>(m_carry) * m_range / kSweepMs;
        if (units == 0) return;
        m_carry -= static_cast<unsigned>(units * kSweepMs / m_range);
        long long value = m_value + units;
        while (value > m_range) {
            if (m_sweepsLeft > 0) --m_sweepsLeft;
            if (m_sweepsLeft == 0) {
                m_running = false;
                value = m_range;
                break;
            }
            value -= m_range + 1;
        }
        m_value = static_cast<int>(value);
    }
    requestRedraw();
}

}  // namespace DUI
