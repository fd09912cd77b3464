// A round marker drawn in a colour with its text beside it (the static page's
// markers in the accent colour); it may hold controls like an area.
#pragma once

#include "ui/toolkit/MControlFont.h"

#include <cstdint>

namespace DUI {

class CRoundArea : public MControlFont {
public:
    const char* GetClassName() const override { return "CRoundArea"; }
    bool IsContainer() const override { return true; }
    void SetColor(std::uint32_t color);
    std::uint32_t GetColor() const;

private:
    std::uint32_t m_color = 0;
};

}  // namespace DUI
