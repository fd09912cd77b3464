// Position state shared by the DPI and lighting sliders: a range of positions
// and the current one. Dragging notifies 8 for every new position, releasing 2.
#pragma once

#include "ui/toolkit/MControl.h"

namespace DUI::detail {

class SliderBase : public MControl {
public:
    // Positions min..max inclusive; the position is kept inside.
    void SetRange(int min, int max);
    int GetRangeMin() const;
    int GetRangeMax() const;
    // Clamped to the range.
    void SetProgress(int position);
    int GetProgress() const;

    // The user dragged the thumb to `position` (clamped): 8 when it moved.
    bool userDrag(int position);
    // The user let go of the thumb: 2.
    bool userRelease();
    // Drag to `position` and let go.
    bool userSlideTo(int position);

private:
    int m_min = 0;
    int m_max = 100;
    int m_position = 0;
};

}  // namespace DUI::detail
