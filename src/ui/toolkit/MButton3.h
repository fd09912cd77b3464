// A toggle button (the Ctrl, Win, Alt and Shift switches): each click flips
// the checked state, then notifies 2.
#pragma once

#include "ui/toolkit/MButton2.h"

namespace DUI {

class MButton3 : public MButton2 {
public:
    const char* GetClassName() const override { return "MButton3"; }

protected:
    void onUserClick() override;
};

}  // namespace DUI
