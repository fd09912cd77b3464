// Skin picture (see MPicture.h).
#include "ui/toolkit/MPicture.h"

#include "ui/toolkit/MRender.h"

namespace DUI {

void MPicture::SetImage(const std::string& name, int drawMode) {
    int width = 0;
    int height = 0;
    if (!name.empty()) MRender::GetImageSize(MRender::ResolveSkinPath(name), width, height);
    {
        std::lock_guard lock(m_mutex);
        m_width = width;
        m_height = height;
    }
    MControl::SetImage(name, drawMode);
}

int MPicture::GetImageWidth() const {
    std::lock_guard lock(m_mutex);
    return m_width;
}

int MPicture::GetImageHeight() const {
    std::lock_guard lock(m_mutex);
    return m_height;
}

void MPicture::SetShowMode(int mode, int value) {
    {
        std::lock_guard lock(m_mutex);
        if (m_showMode == mode && m_showValue == value) return;
        m_showMode = mode;
        m_showValue = value;
    }
    requestRedraw();
}

int MPicture::GetShowMode() const {
    std::lock_guard lock(m_mutex);
    return m_showMode;
}

int MPicture::GetShowValue() const {
    std::lock_guard lock(m_mutex);
    return m_showValue;
}

}  // namespace DUI
