// Title and font of a control (see MControlFont.h).
#include "ui/toolkit/MControlFont.h"

namespace DUI {

namespace {
template <class T>
bool assign(T& field, const T& value) {
    if (field == value) return false;
    field = value;
    return true;
}
}  // namespace

void MControlFont::SetTitle(const std::string& title) {
    bool changed = false;
    {
        std::lock_guard lock(m_mutex);
        changed = assign(m_title, title);
    }
    if (changed) requestRedraw();
}

std::string MControlFont::GetTitle() const {
    std::lock_guard lock(m_mutex);
    return m_title;
}

void MControlFont::setTitleQuiet(const std::string& title) {
    std::lock_guard lock(m_mutex);
    m_title = title;
}

void MControlFont::SetFont(const std::string& fontName, int width, bool bold) {
    bool changed = false;
    {
        std::lock_guard lock(m_mutex);
        changed |= assign(m_fontName, fontName);
        changed |= assign(m_fontWidth, width);
        changed |= assign(m_bold, bold);
    }
    if (changed) requestRedraw();
}

void MControlFont::SetFontName(const std::string& fontName) {
    bool changed = false;
    {
        std::lock_guard lock(m_mutex);
        changed = assign(m_fontName, fontName);
    }
    if (changed) requestRedraw();
}

std::string MControlFont::GetFontName() const {
    std::lock_guard lock(m_mutex);
    return m_fontName;
}

void MControlFont::SetFontWidth(int width) {
    bool changed = false;
    {
        std::lock_guard lock(m_mutex);
        changed = assign(m_fontWidth, width);
    }
    if (changed) requestRedraw();
}

int MControlFont::GetFontWidth() const {
    std::lock_guard lock(m_mutex);
    return m_fontWidth;
}

void MControlFont::SetBold(bool bold) {
    bool changed = false;
    {
        std::lock_guard lock(m_mutex);
        changed = assign(m_bold, bold);
    }
    if (changed) requestRedraw();
}

bool MControlFont::IsBold() const {
    std::lock_guard lock(m_mutex);
    return m_bold;
}

void MControlFont::SetTextColor(std::uint32_t color) {
    bool changed = false;
    {
        std::lock_guard lock(m_mutex);
        changed = assign(m_textColor, color);
    }
    if (changed) requestRedraw();
}

std::uint32_t MControlFont::GetTextColor() const {
    std::lock_guard lock(m_mutex);
    return m_textColor;
}

void MControlFont::SetAlignment(int alignment) {
    bool changed = false;
    {
        std::lock_guard lock(m_mutex);
        changed = assign(m_alignment, alignment);
    }
    if (changed) requestRedraw();
}

int MControlFont::GetAlignment() const {
    std::lock_guard lock(m_mutex);
    return m_alignment;
}

void MControlFont::SetVAlignment(int alignment) {
    bool changed = false;
    {
        std::lock_guard lock(m_mutex);
        changed = assign(m_vAlignment, alignment);
    }
    if (changed) requestRedraw();
}

int MControlFont::GetVAlignment() const {
    std::lock_guard lock(m_mutex);
    return m_vAlignment;
}

void MControlFont::SetWordWrap(bool wrap) {
    bool changed = false;
    {
        std::lock_guard lock(m_mutex);
        changed = assign(m_wordWrap, wrap);
    }
    if (changed) requestRedraw();
}

bool MControlFont::GetWordWrap() const {
    std::lock_guard lock(m_mutex);
    return m_wordWrap;
}

}  // namespace DUI
