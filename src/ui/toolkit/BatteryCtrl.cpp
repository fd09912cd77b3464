// Battery indicator (see BatteryCtrl.h).
#include "ui/toolkit/BatteryCtrl.h"

#include <algorithm>

namespace DUI {

void BatteryCtrl::SetBatteryInfo(int level, int charging) {
    level = std::clamp(level, 0, 100);
    {
        std::lock_guard lock(m_mutex);
        if (m_level == level && m_charging == (charging != 0)) return;
        m_level = level;
        m_charging = charging != 0;
        m_phase = 0;
        m_elapsed = 0;
    }
    mTimerDemandChanged();
    requestRedraw();
}

int BatteryCtrl::GetLevel() const {
    std::lock_guard lock(m_mutex);
    return m_level;
}

bool BatteryCtrl::IsCharging() const {
    std::lock_guard lock(m_mutex);
    return m_charging;
}

int BatteryCtrl::GetDisplayLevel() const {
    std::lock_guard lock(m_mutex);
    if (!m_charging) return m_level;
    return m_level + (100 - m_level) * m_phase / 4;
}

void BatteryCtrl::SetBatteryImages(const std::string& background, const std::string& level,
                                   const std::string& charging) {
    {
        std::lock_guard lock(m_mutex);
        m_levelImage = level;
        m_chargingImage = charging;
    }
    SetImage(background);
}

std::string BatteryCtrl::GetLevelImage() const {
    std::lock_guard lock(m_mutex);
    return m_levelImage;
}

std::string BatteryCtrl::GetChargingImage() const {
    std::lock_guard lock(m_mutex);
    return m_chargingImage;
}

bool BatteryCtrl::WantsMTimer() const {
    {
        std::lock_guard lock(m_mutex);
        if (!m_charging) return false;
    }
    return IsVisible();
}

void BatteryCtrl::OnMTimer(unsigned elapsedMs) {
    {
        std::lock_guard lock(m_mutex);
        if (!m_charging) return;
        m_elapsed += elapsedMs;
        if (m_elapsed < kStepMs) return;
        while (m_elapsed >= kStepMs) {
            m_elapsed -= kStepMs;
            m_phase = (m_phase + 1) % 5;
        }
    }
    requestRedraw();
}

}  // namespace DUI
