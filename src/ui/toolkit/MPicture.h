// A picture from the skin folder. Knows the image's own size (read from the
// file's header), so the layout can place it "at its own size"; a missing
// image has size 0 x 0.
#pragma once

#include "ui/toolkit/MControl.h"

#include <string>

namespace DUI {

class MPicture : public MControl {
public:
    const char* GetClassName() const override { return "MPicture"; }
    void SetImage(const std::string& name, int drawMode = 0) override;
    int GetImageWidth() const;
    int GetImageHeight() const;
    // How the image fills the rectangle (mode 3 stretches with a `value`-pixel frame).
    void SetShowMode(int mode, int value);
    int GetShowMode() const;
    int GetShowValue() const;

private:
    int m_width = 0;
    int m_height = 0;
    int m_showMode = 0;
    int m_showValue = 0;
};

}  // namespace DUI
