// A button that can show a checked state set by the program (the page marks
// the active function with it); a click does not change the state by itself.
#pragma once

#include "ui/toolkit/MButton.h"

namespace DUI {

class MButton2 : public MButton {
public:
    const char* GetClassName() const override { return "MButton2"; }
    virtual void SetCheck(int check);
    int GetCheck() const;
    // Sets the state without any group rule; true when it changed.
    bool setCheckState(int check);

private:
    int m_check = 0;
};

}  // namespace DUI
