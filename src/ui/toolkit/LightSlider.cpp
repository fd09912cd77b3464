// Lighting slider (see LightSlider.h).
#include "ui/toolkit/LightSlider.h"

namespace DUI {

LightSlider::LightSlider() {
    SetRange(0, 4);
}

}  // namespace DUI
