// The device status text of the title bar (not connected, wired, receiver),
// drawn on its background image.
#pragma once

#include "ui/toolkit/MControlFont.h"

namespace DUI {

class CDeviceState : public MControlFont {
public:
    const char* GetClassName() const override { return "CDeviceState"; }
};

}  // namespace DUI
