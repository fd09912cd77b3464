// A progress bar: a value from 0 to its range (full scale); values outside
// are held at the ends, so a DPI above the scale fills the bar.
#pragma once

#include "ui/toolkit/MControl.h"

namespace DUI {

class MProgress : public MControl {
public:
    const char* GetClassName() const override { return "MProgress"; }
    // A range below 1 becomes 1.
    void SetRange(int range);
    int GetRange() const;
    void SetProgress(int value);
    int GetProgress() const;

protected:
    // Guarded by m_mutex.
    int m_range = 100;
    int m_value = 0;
};

}  // namespace DUI
