// A colour swatch button in a named group (preset colours, colour slots):
// a click checks it, unchecking the others of its group, then notifies 2.
#pragma once

#include "ui/toolkit/MButton2.h"

#include <cstdint>
#include <string>

namespace DUI {

class CColorButton : public MButton2 {
public:
    const char* GetClassName() const override { return "CColorButton"; }
    // COLORREF (red in the low byte).
    void SetColor(std::uint32_t color);
    std::uint32_t GetColor() const;
    void SetGroup(const std::string& group);
    std::string GetGroup() const;
    // Checking one unchecks the others of the group.
    void SetCheck(int check) override;

protected:
    void onUserClick() override;

private:
    std::uint32_t m_color = 0;
    std::string m_group;
};

}  // namespace DUI
