// An animated progress bar (the please-wait dialog): while running, each
// control timer tick moves it on so it fills the range in kSweepMs, then
// starts again from 0 for the number of sweeps asked for (-1: until stopped).
#pragma once

#include "ui/toolkit/MProgress.h"

namespace DUI {

class MProgress2 : public MProgress {
public:
    static constexpr unsigned kSweepMs = 2000;

    const char* GetClassName() const override { return "MProgress2"; }
    // run != 0 starts the animation (from the current value), 0 stops it.
    void SetRun(int run, int sweeps = -1);
    bool IsRunning() const;

    void OnMTimer(unsigned elapsedMs) override;

private:
    bool m_running = false;
    int m_sweepsLeft = -1;
    unsigned m_carry = 0;
};

}  // namespace DUI
