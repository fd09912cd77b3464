// A page container: the controls created inside it show only while it shows.
// The tab control switches these containers.
#pragma once

#include "ui/toolkit/MControl.h"

namespace DUI {

class MTabLayout : public MControl {
public:
    const char* GetClassName() const override { return "MTabLayout"; }
    bool IsContainer() const override { return true; }
};

}  // namespace DUI
