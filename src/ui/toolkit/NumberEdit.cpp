// Number field (see NumberEdit.h).
#include "ui/toolkit/NumberEdit.h"

#include "base/Text.h"
#include "ui/toolkit/Messages.h"

namespace DUI {

std::string NumberEdit::filterTyped(const std::string& typed) const {
    std::string out;
    for (char c : typed) {
        if (c >= '0' && c <= '9')
            out += c;
        else if (c == '-' && out.empty())
            out += c;
    }
    const int limit = GetLimitText();
    if (limit > 0) out = quorvik::cutCodePoints(out, static_cast<std::size_t>(limit));
    return out;
}

int NumberEdit::textChangedCode() const {
    return kNotifyKillFocus;
}

bool NumberEdit::userPressEnter() {
    if (!usable()) return false;
    onEditFinished();
    notify(kNotifyClick);
    return true;
}

void NumberEdit::OnFocusChanged(bool gained) {
    if (gained) {
        notify(kNotifySetFocus);
        return;
    }
    onEditFinished();
    notify(kNotifyClick);
}

}  // namespace DUI
