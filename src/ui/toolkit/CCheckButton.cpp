// Check box (see CCheckButton.h).
#include "ui/toolkit/CCheckButton.h"

namespace DUI {

void CCheckButton::onUserClick() {
    setCheckState(GetCheck() == 0 ? 1 : 0);
}

}  // namespace DUI
