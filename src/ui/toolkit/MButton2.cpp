// Button with a checked state (see MButton2.h).
#include "ui/toolkit/MButton2.h"

namespace DUI {

void MButton2::SetCheck(int check) {
    setCheckState(check);
}

int MButton2::GetCheck() const {
    std::lock_guard lock(m_mutex);
    return m_check;
}

bool MButton2::setCheckState(int check) {
    check = check != 0 ? 1 : 0;
    {
        std::lock_guard lock(m_mutex);
        if (m_check == check) return false;
        m_check = check;
    }
    requestRedraw();
    return true;
}

}  // namespace DUI
