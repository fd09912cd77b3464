// A drop-down list that can be marked as the active group (the button page's
// function groups): marking one clears the mark of every other MComboBox2 of
// the same dialog.
#pragma once

#include "ui/toolkit/MComboBox.h"

namespace DUI {

class MComboBox2 : public MComboBox {
public:
    const char* GetClassName() const override { return "MComboBox2"; }
    void SetCheck(int check);
    int GetCheck() const;

private:
    void setMark(bool marked);
    bool m_marked = false;
};

}  // namespace DUI
