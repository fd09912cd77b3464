// A text drawn like a link (the website link under the title); a click
// notifies 2 and the owner opens the link.
#pragma once

#include "ui/toolkit/MButton.h"

namespace DUI {

class CTextButton : public MButton {
public:
    const char* GetClassName() const override { return "CTextButton"; }
};

}  // namespace DUI
