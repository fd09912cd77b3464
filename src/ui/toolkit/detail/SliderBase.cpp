// Slider position state (see SliderBase.h).
#include "ui/toolkit/detail/SliderBase.h"

#include "ui/toolkit/Messages.h"

#include <algorithm>

namespace DUI::detail {

void SliderBase::SetRange(int min, int max) {
    if (max < min) max = min;
    {
        std::lock_guard lock(m_mutex);
        m_min = min;
        m_max = max;
        m_position = std::clamp(m_position, min, max);
    }
    requestRedraw();
}

int SliderBase::GetRangeMin() const {
    std::lock_guard lock(m_mutex);
    return m_min;
}

int SliderBase::GetRangeMax() const {
    std::lock_guard lock(m_mutex);
    return m_max;
}

void SliderBase::SetProgress(int position) {
    {
        std::lock_guard lock(m_mutex);
        position = std::clamp(position, m_min, m_max);
        if (m_position == position) return;
        m_position = position;
    }
    requestRedraw();
}

int SliderBase::GetProgress() const {
    std::lock_guard lock(m_mutex);
    return m_position;
}

bool SliderBase::userDrag(int position) {
    if (!usable()) return false;
    {
        std::lock_guard lock(m_mutex);
        position = std::clamp(position, m_min, m_max);
        if (m_position == position) return true;
        m_position = position;
    }
    requestRedraw();
    notify(kNotifySliderMoving, position);
    return true;
}

bool SliderBase::userRelease() {
    if (!usable()) return false;
    notify(kNotifyClick, GetProgress());
    return true;
}

bool SliderBase::userSlideTo(int position) {
    return userDrag(position) && userRelease();
}

}  // namespace DUI::detail
