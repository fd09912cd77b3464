// The Qt backend's one dark theme: colours, fonts by name (with fallbacks for
// the Latin and CJK faces the program asks for) and the style sheet of the
// Qt widgets that stand in for edit fields and combo boxes.
#pragma once

#include <QColor>
#include <QFont>
#include <QString>

#include <cstdint>
#include <string>

namespace DUI {

class Theme {
public:
    static QColor window();  // window background (top of the gradient)
    static QColor windowBottom();
    static QColor panel();  // raised surfaces: buttons, list rows, cards
    static QColor panelHover();
    static QColor sunken();  // edit fields, tracks, list backgrounds
    static QColor border();
    static QColor text();
    static QColor dimText();
    static QColor disabledText();
    // Manager::m_select_color as a colour.
    static QColor accent();

    // A COLORREF (red in the low byte); a value with an alpha byte
    // (0xAARRGGBB, as text colours are given) is read as ARGB.
    static QColor fromColorRef(std::uint32_t color);
    static QColor fromArgbOrColorRef(std::uint32_t color);
    static std::uint32_t toColorRef(const QColor& color);

    // The font a control asks for: its own name, else the dialog's, else the
    // application's (Manager); `pixelSize` is the toolkit's font width.
    static QFont font(const std::string& name, int pixelSize, bool bold);

    // Style sheet of the native child widgets (QLineEdit, QComboBox).
    static QString styleSheet();
};

}  // namespace DUI
