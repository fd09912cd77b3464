// One-line text field (see MEdit.h).
#include "ui/toolkit/MEdit.h"

#include "base/Text.h"
#include "ui/toolkit/Messages.h"

namespace DUI {

void MEdit::SetEditText(const std::string& text) {
    {
        std::lock_guard lock(m_mutex);
        if (m_text == text) return;
        m_text = text;
    }
    requestRedraw();
}

std::string MEdit::GetEditText() const {
    std::lock_guard lock(m_mutex);
    return m_text;
}

void MEdit::SetTipInfo(const std::string& tip) {
    {
        std::lock_guard lock(m_mutex);
        if (m_tip == tip) return;
        m_tip = tip;
    }
    requestRedraw();
}

std::string MEdit::GetTipInfo() const {
    std::lock_guard lock(m_mutex);
    return m_tip;
}

void MEdit::SetLimitText(int characters) {
    std::lock_guard lock(m_mutex);
    m_limit = characters < 0 ? 0 : characters;
}

int MEdit::GetLimitText() const {
    std::lock_guard lock(m_mutex);
    return m_limit;
}

void MEdit::SetNumberOnly(bool numberOnly) {
    std::lock_guard lock(m_mutex);
    m_numberOnly = numberOnly;
}

bool MEdit::IsNumberOnly() const {
    std::lock_guard lock(m_mutex);
    return m_numberOnly;
}

std::string MEdit::filterTyped(const std::string& typed) const {
    std::string out;
    if (IsNumberOnly()) {
        for (char c : typed)
            if (c >= '0' && c <= '9') out += c;
    } else {
        out = typed;
    }
    const int limit = GetLimitText();
    if (limit > 0) out = quorvik::cutCodePoints(out, static_cast<std::size_t>(limit));
    return out;
}

int MEdit::textChangedCode() const {
    return kNotifyTextChanged;
}

bool MEdit::userSetText(const std::string& typed) {
    if (!usable()) return false;
    if (!HasFocus()) OnFocus(true);
    const std::string text = filterTyped(typed);
    {
        std::lock_guard lock(m_mutex);
        if (m_text == text) return true;
        m_text = text;
    }
    requestRedraw();
    notify(textChangedCode());
    return true;
}

bool MEdit::userTypeAndLeave(const std::string& typed) {
    if (!userSetText(typed)) return false;
    userLeave();
    return true;
}

bool MEdit::userPressEnter() {
    return usable();
}

void MEdit::OnFocusChanged(bool gained) {
    notify(gained ? kNotifySetFocus : kNotifyKillFocus);
}

}  // namespace DUI
