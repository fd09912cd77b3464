// The lighting brightness and speed slider: five positions, 0 to 4, drawn as
// steps.
#pragma once

#include "ui/toolkit/detail/SliderBase.h"

namespace DUI {

class LightSlider : public detail::SliderBase {
public:
    LightSlider();
    const char* GetClassName() const override { return "LightSlider"; }
};

}  // namespace DUI
