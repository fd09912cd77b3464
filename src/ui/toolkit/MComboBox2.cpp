// Drop-down list with an active-group mark (see MComboBox2.h).
#include "ui/toolkit/MComboBox2.h"

#include "ui/toolkit/MDialog.h"

namespace DUI {

void MComboBox2::setMark(bool marked) {
    {
        std::lock_guard lock(m_mutex);
        if (m_marked == marked) return;
        m_marked = marked;
    }
    requestRedraw();
}

void MComboBox2::SetCheck(int check) {
    setMark(check != 0);
    if (check == 0 || GetDialog() == nullptr) return;
    for (MControl* control : GetDialog()->GetControls())
        if (auto* other = dynamic_cast<MComboBox2*>(control); other != nullptr && other != this)
            other->setMark(false);
}

int MComboBox2::GetCheck() const {
    std::lock_guard lock(m_mutex);
    return m_marked ? 1 : 0;
}

}  // namespace DUI
