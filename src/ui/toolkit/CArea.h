// A plain area that holds controls and can be filled with a colour (the
// lighting page's colour preview) or left transparent.
#pragma once

#include "ui/toolkit/MControl.h"

#include <cstdint>

namespace DUI {

class CArea : public MControl {
public:
    const char* GetClassName() const override { return "CArea"; }
    bool IsContainer() const override { return true; }
    // transparent = false fills the area with `fillColor` (COLORREF).
    void SetTransparent(bool transparent, std::uint32_t fillColor = 0);
    bool IsTransparent() const;
    std::uint32_t GetFillColor() const;

private:
    bool m_transparent = true;
    std::uint32_t m_fillColor = 0;
};

}  // namespace DUI
