// Exclusive groups: radio buttons and colour buttons that share a group name
// within one dialog; checking one unchecks the others.
#pragma once

#include "ui/toolkit/MDialog.h"

#include <string>

namespace DUI::detail {

template <class T>
void uncheckGroupSiblings(T* self, const std::string& group) {
    MDialog* dialog = self->GetDialog();
    if (dialog == nullptr || group.empty()) return;
    for (MControl* control : dialog->GetControls()) {
        auto* other = dynamic_cast<T*>(control);
        if (other != nullptr && other != self && other->GetGroup() == group) other->setCheckState(0);
    }
}

}  // namespace DUI::detail
