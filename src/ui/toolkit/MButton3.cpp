// Toggle button (see MButton3.h).
#include "ui/toolkit/MButton3.h"

namespace DUI {

void MButton3::onUserClick() {
    setCheckState(GetCheck() == 0 ? 1 : 0);
}

}  // namespace DUI
