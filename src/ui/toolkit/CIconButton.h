// A button with a background image, an icon and a title (the profile button,
// the record button); a click notifies 2.
#pragma once

#include "ui/toolkit/MButton.h"

#include <string>

namespace DUI {

class CIconButton : public MButton {
public:
    const char* GetClassName() const override { return "CIconButton"; }
    void SetIconImage(const std::string& name);
    std::string GetIconImage() const;

private:
    std::string m_icon;
};

}  // namespace DUI
