// The main window's controls and layout hooks that loading a model description
// updates. The main window fills one of these with its own controls; a null
// pointer or an empty hook is skipped, so tests can hand over only what they
// look at.
#pragma once

#include "ui/toolkit/Geometry.h"

#include <functional>

namespace DUI {
class MPicture;
class MTabCtrl;
class MouseCtrl;
class MouseKeyCtrl;
}  // namespace DUI

namespace quorvik {

struct ModelControls {
    static constexpr int kLightingTabIndex = 4;

    DUI::MPicture* modelPicture = nullptr;  // the model picture of the frame
    DUI::MTabCtrl* tabs = nullptr;          // the page tabs
    DUI::MouseCtrl* buttonPicture = nullptr;
    DUI::MouseKeyCtrl* buttonList = nullptr;

    // The main window's current client rectangle.
    std::function<DUI::Rect()> clientRect;
    // Runs the pages' layout again with the current client rectangle.
    std::function<void()> relayoutPages;
    // Runs the performance page's layout again.
    std::function<void()> relayoutPerformancePage;
};

}  // namespace quorvik
