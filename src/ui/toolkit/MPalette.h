// A colour field the user picks from: while the pointer moves over it with
// the button down the colour follows and notifies 27; letting go notifies 2.
#pragma once

#include "ui/toolkit/MControl.h"

#include <cstdint>

namespace DUI {

class MPalette : public MControl {
public:
    const char* GetClassName() const override { return "MPalette"; }
    // COLORREF (red in the low byte).
    void SetSelectColor(std::uint32_t color);
    std::uint32_t GetSelectColor() const;

    bool userDrag(std::uint32_t color);
    bool userRelease();
    // Drag to `color` and let go.
    bool userPick(std::uint32_t color);

private:
    std::uint32_t m_color = 0xFFFFFF;
};

}  // namespace DUI
