// A check box with its caption: each click flips the check, then notifies 2.
#pragma once

#include "ui/toolkit/MButton2.h"

namespace DUI {

class CCheckButton : public MButton2 {
public:
    const char* GetClassName() const override { return "CCheckButton"; }

protected:
    void onUserClick() override;
};

}  // namespace DUI
