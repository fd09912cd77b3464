// Colour palette (see MPalette.h).
#include "ui/toolkit/MPalette.h"

#include "ui/toolkit/Messages.h"

namespace DUI {

void MPalette::SetSelectColor(std::uint32_t color) {
    color &= 0xFFFFFFu;
    {
        std::lock_guard lock(m_mutex);
        if (m_color == color) return;
        m_color = color;
    }
    requestRedraw();
}

std::uint32_t MPalette::GetSelectColor() const {
    std::lock_guard lock(m_mutex);
    return m_color;
}

bool MPalette::userDrag(std::uint32_t color) {
    if (!usable()) return false;
    SetSelectColor(color);
    notify(kNotifyColorChanged, static_cast<std::intptr_t>(GetSelectColor()));
    return true;
}

bool MPalette::userRelease() {
    if (!usable()) return false;
    notify(kNotifyClick, static_cast<std::intptr_t>(GetSelectColor()));
    return true;
}

bool MPalette::userPick(std::uint32_t color) {
    return userDrag(color) && userRelease();
}

}  // namespace DUI
