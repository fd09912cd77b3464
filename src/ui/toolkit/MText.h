// A static text: title, font, colour, alignment and word wrap.
#pragma once

#include "ui/toolkit/MControlFont.h"

namespace DUI {

class MText : public MControlFont {
public:
    const char* GetClassName() const override { return "MText"; }
};

}  // namespace DUI
