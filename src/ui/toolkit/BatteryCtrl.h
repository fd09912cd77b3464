// Battery of the connected mouse: level in percent and charging flag. While
// charging, the control timer animates the fill from the level up to full in
// four steps of 500 ms, then starts again.
#pragma once

#include "ui/toolkit/MControl.h"

#include <string>

namespace DUI {

class BatteryCtrl : public MControl {
public:
    static constexpr unsigned kStepMs = 500;

    const char* GetClassName() const override { return "BatteryCtrl"; }
    // Level is cut to 0..100; charging is any non-zero value.
    void SetBatteryInfo(int level, int charging);
    int GetLevel() const;
    bool IsCharging() const;
    // The fill to draw now (equals the level unless charging).
    int GetDisplayLevel() const;
    void SetBatteryImages(const std::string& background, const std::string& level,
                          const std::string& charging);
    std::string GetLevelImage() const;
    std::string GetChargingImage() const;

    void OnMTimer(unsigned elapsedMs) override;
    // Only the charging animation needs the timer, and only while it shows.
    bool WantsMTimer() const override;

private:
    int m_level = 0;
    bool m_charging = false;
    int m_phase = 0;
    unsigned m_elapsed = 0;
    std::string m_levelImage;
    std::string m_chargingImage;
};

}  // namespace DUI
