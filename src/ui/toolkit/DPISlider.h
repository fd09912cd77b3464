// The DPI slider: positions counted from 1 over the sensor's scale, with the
// lowest and highest DPI written at its two ends.
#pragma once

#include "ui/toolkit/detail/SliderBase.h"

#include <string>

namespace DUI {

class DPISlider : public detail::SliderBase {
public:
    const char* GetClassName() const override { return "DPISlider"; }
    void SetDPIDesc(const std::string& low, const std::string& high);
    std::string GetLowDesc() const;
    std::string GetHighDesc() const;

private:
    std::string m_low;
    std::string m_high;
};

}  // namespace DUI
