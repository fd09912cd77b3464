// A button drawn only from its skin image (close, minimise, reset...); the
// image's draw mode picks the normal/hover/pressed parts. A click notifies 2.
#pragma once

#include "ui/toolkit/MButton.h"

namespace DUI {

class CImageButton : public MButton {
public:
    const char* GetClassName() const override { return "CImageButton"; }
};

}  // namespace DUI
