// A small "?" button whose help text is shown as its tooltip; a click
// notifies 2.
#pragma once

#include "ui/toolkit/MButton.h"

namespace DUI {

class CHelpButton : public MButton {
public:
    const char* GetClassName() const override { return "CHelpButton"; }
};

}  // namespace DUI
