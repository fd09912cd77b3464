// Colours, fonts and the widget style sheet of the Qt backend (see Theme.h).
#include "ui/qt/Theme.h"

#include "ui/toolkit/Manager.h"

#include <QFontDatabase>
#include <QStringList>

namespace DUI {

QColor Theme::window() {
    return QColor(0x1d, 0x20, 0x26);
}
QColor Theme::windowBottom() {
    return QColor(0x13, 0x15, 0x19);
}
QColor Theme::panel() {
    return QColor(0x2a, 0x2e, 0x36);
}
QColor Theme::panelHover() {
    return QColor(0x34, 0x39, 0x43);
}
QColor Theme::sunken() {
    return QColor(0x15, 0x17, 0x1b);
}
QColor Theme::border() {
    return QColor(0x3a, 0x3f, 0x4a);
}
QColor Theme::text() {
    return QColor(0xe8, 0xea, 0xee);
}
QColor Theme::dimText() {
    return QColor(0x9a, 0xa1, 0xad);
}
QColor Theme::disabledText() {
    return QColor(0x5c, 0x62, 0x6d);
}

QColor Theme::accent() {
    return fromColorRef(Manager::m_select_color.load());
}

QColor Theme::fromColorRef(std::uint32_t color) {
    return QColor(color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF);
}

QColor Theme::fromArgbOrColorRef(std::uint32_t color) {
    if ((color >> 24) != 0)
        return QColor((color >> 16) & 0xFF, (color >> 8) & 0xFF, color & 0xFF, color >> 24);
    return fromColorRef(color);
}

std::uint32_t Theme::toColorRef(const QColor& color) {
    return static_cast<std::uint32_t>(color.red()) | (static_cast<std::uint32_t>(color.green()) << 8) |
           (static_cast<std::uint32_t>(color.blue()) << 16);
}

QFont Theme::font(const std::string& name, int pixelSize, bool bold) {
    QString family = QString::fromStdString(name.empty() ? Manager::GetFontName() : name);
    QFont font;
    QStringList families;
    // "Open Sans Semibold" is a style of "Open Sans" for fontconfig; ask for
    // the family with the style so the semibold face is used when present.
    if (family.endsWith(QStringLiteral(" Semibold")) && !QFontDatabase::hasFamily(family)) {
        const QString base = family.left(family.size() - 9);
        families << base;
        font.setWeight(QFont::DemiBold);
    } else if (!family.isEmpty()) {
        families << family;
    }
    // Latin first, then a CJK face for the Chinese and Japanese texts.
    families << QStringLiteral("Open Sans") << QStringLiteral("Noto Sans CJK SC")
             << QStringLiteral("Noto Sans CJK JP") << QStringLiteral("DejaVu Sans");
    font.setFamilies(families);
    font.setPixelSize(pixelSize > 0 ? pixelSize : 14);
    if (bold) font.setWeight(QFont::Bold);
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

QString Theme::styleSheet() {
    const QString accent = Theme::accent().name();
    return QStringLiteral(
               "QLineEdit { background: %1; color: %2; border: 1px solid %3; border-radius: 4px;"
               " padding: 0 6px; selection-background-color: %4; }"
               "QLineEdit:focus { border-color: %4; }"
               "QLineEdit:disabled { color: %5; border-color: %6; }"
               "QComboBox { background: %7; color: %2; border: 1px solid %3; border-radius: 4px;"
               " padding: 0 8px; }"
               "QComboBox:hover { border-color: %4; }"
               "QComboBox:disabled { color: %5; }"
               "QComboBox::drop-down { border: none; width: 24px; }"
               "QComboBox::down-arrow { image: none; width: 0; height: 0; }"
               "QComboBox QAbstractItemView { background: %1; color: %2; border: 1px solid %3;"
               " selection-background-color: %4; selection-color: #ffffff; outline: 0; }"
               "QToolTip { background: %7; color: %2; border: 1px solid %3; padding: 4px; }")
        .arg(sunken().name(), text().name(), border().name(), accent, disabledText().name(), panel().name(),
             panel().name());
}

}  // namespace DUI
