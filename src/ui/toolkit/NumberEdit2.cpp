// Count field (see NumberEdit2.h).
#include "ui/toolkit/NumberEdit2.h"

#include "base/Text.h"

#include <algorithm>

namespace DUI {

void NumberEdit2::SetRange(int min, int max) {
    std::lock_guard lock(m_mutex);
    m_min = min;
    m_max = max;
}

std::string NumberEdit2::filterTyped(const std::string& typed) const {
    std::string out;
    for (char c : typed)
        if (c >= '0' && c <= '9') out += c;
    const int limit = GetLimitText();
    if (limit > 0) out = quorvik::cutCodePoints(out, static_cast<std::size_t>(limit));
    return out;
}

void NumberEdit2::onEditFinished() {
    int min = 0;
    int max = 0;
    {
        std::lock_guard lock(m_mutex);
        min = m_min;
        max = m_max;
    }
    if (min > max) return;
    const std::string text = GetEditText();
    const int value = quorvik::wtoi(text);
    const int clamped = std::clamp(value, min, max);
    if (clamped != value || text.empty()) SetEditText(std::to_string(clamped));
}

}  // namespace DUI
