// A push button with a title and a skin image; a click notifies 2.
#pragma once

#include "ui/toolkit/MControlFont.h"

namespace DUI {

class MButton : public MControlFont {
public:
    const char* GetClassName() const override { return "MButton"; }
    // The user clicked it: notification 2. False when hidden or disabled.
    bool userClick();

protected:
    // Runs before the notification (toggles, radio groups).
    virtual void onUserClick() {}
};

}  // namespace DUI
