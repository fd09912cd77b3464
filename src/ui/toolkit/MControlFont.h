// A control that shows a title in a font: text, font name, size (width),
// weight, colour, horizontal and vertical alignment and word wrap. Base of the
// texts, buttons, edits and lists.
#pragma once

#include "ui/toolkit/MControl.h"

#include <cstdint>
#include <string>

namespace DUI {

class MControlFont : public MControl {
public:
    // Horizontal alignment: 0 left, 1 centre, 2 right. Vertical: 0 top,
    // 1 centre, 2 bottom; 4 centre with word wrap (as the message box uses).
    virtual void SetTitle(const std::string& title);
    virtual std::string GetTitle() const;
    void SetFont(const std::string& fontName, int width, bool bold = false);
    void SetFontName(const std::string& fontName);
    std::string GetFontName() const;  // empty: the application font (Manager)
    void SetFontWidth(int width);
    int GetFontWidth() const;
    void SetBold(bool bold);
    bool IsBold() const;
    // Text colour as given (0xAARRGGBB with alpha, or a COLORREF).
    void SetTextColor(std::uint32_t color);
    std::uint32_t GetTextColor() const;
    void SetAlignment(int alignment);
    int GetAlignment() const;
    void SetVAlignment(int alignment);
    int GetVAlignment() const;
    void SetWordWrap(bool wrap);
    bool GetWordWrap() const;

protected:
    // For subclasses that keep the title in step with other state.
    void setTitleQuiet(const std::string& title);

private:
    std::string m_title;
    std::string m_fontName;
    int m_fontWidth = 14;
    bool m_bold = false;
    std::uint32_t m_textColor = 0xFFFFFFFFu;
    int m_alignment = 0;
    int m_vAlignment = 1;
    bool m_wordWrap = false;
};

}  // namespace DUI
