// Push button (see MButton.h).
#include "ui/toolkit/MButton.h"

#include "ui/toolkit/Messages.h"

namespace DUI {

bool MButton::userClick() {
    if (!usable()) return false;
    onUserClick();
    notify(kNotifyClick);
    return true;
}

}  // namespace DUI
