// Control drawing for the Qt backend (see ControlPainter.h). One function per
// control family; pictures come from the skin when it has them, otherwise the
// theme draws a stand-in so no control is ever blank.
#include "ui/qt/ControlPainter.h"

#include "ui/qt/SkinImages.h"
#include "ui/qt/Theme.h"
#include "ui/toolkit/BatteryCtrl.h"
#include "ui/toolkit/CArea.h"
#include "ui/toolkit/CCheckButton.h"
#include "ui/toolkit/CColorButton.h"
#include "ui/toolkit/CDeviceList.h"
#include "ui/toolkit/CDeviceState.h"
#include "ui/toolkit/CIconButton.h"
#include "ui/toolkit/CRadioButton.h"
#include "ui/toolkit/CRecordList.h"
#include "ui/toolkit/CRoundArea.h"
#include "ui/toolkit/DListBox.h"
#include "ui/toolkit/DPIControl.h"
#include "ui/toolkit/DPISlider.h"
#include "ui/toolkit/LightSlider.h"
#include "ui/toolkit/MButton2.h"
#include "ui/toolkit/MComboBox.h"
#include "ui/toolkit/MDialog.h"
#include "ui/toolkit/MEdit.h"
#include "ui/toolkit/MPalette.h"
#include "ui/toolkit/MPicture.h"
#include "ui/toolkit/MProgress2.h"
#include "ui/toolkit/MTabCtrl.h"
#include "ui/toolkit/MacroList.h"
#include "ui/toolkit/Manager.h"
#include "ui/toolkit/MenuWnd.h"
#include "ui/toolkit/MouseCtrl.h"
#include "ui/toolkit/MouseKeyCtrl.h"
#include "ui/toolkit/ReporteCtrl.h"

#include <QFontMetrics>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cstring>

namespace DUI {
namespace {

using Fit = SkinImages::Fit;

constexpr int kListRow = 32;
constexpr int kMacroRow = 36;
constexpr int kRecordRow = 30;
constexpr int kKeyRow = 42;
constexpr int kStageRow = 38;
constexpr int kDeviceCardWidth = 230;
constexpr int kDeviceCardGap = 20;
constexpr int kCalloutWidth = 120;
constexpr int kCalloutHeight = 24;

QRect toQ(const Rect& r) {
    return QRect(r.left, r.top, r.Width(), r.Height());
}
QString qs(const std::string& s) {
    return QString::fromStdString(s);
}
bool is(const MControl& c, const char* name) {
    return std::strcmp(c.GetClassName(), name) == 0;
}

QColor withAlpha(QColor c, int alpha) {
    c.setAlpha(alpha);
    return c;
}

std::string fontNameOf(const MControlFont& c, const std::string& dialogFont) {
    std::string name = c.GetFontName();
    return name.empty() ? dialogFont : name;
}

QFont fontOf(const MControlFont& c, const std::string& dialogFont) {
    return Theme::font(fontNameOf(c, dialogFont), c.GetFontWidth(), c.IsBold());
}

QColor textColorOf(const MControlFont& c) {
    if (!c.IsEnabled()) return Theme::disabledText();
    const std::uint32_t color = c.GetTextColor();
    // White is the toolkit's default: draw it as the theme's soft white.
    if (color == 0xFFFFFFFFu || color == 0xFFFFFFu) return Theme::text();
    return Theme::fromArgbOrColorRef(color);
}

int alignFlags(const MControlFont& c) {
    int flags = 0;
    switch (c.GetAlignment()) {
        case 1:
            flags |= Qt::AlignHCenter;
            break;
        case 2:
            flags |= Qt::AlignRight;
            break;
        default:
            flags |= Qt::AlignLeft;
            break;
    }
    switch (c.GetVAlignment()) {
        case 0:
            flags |= Qt::AlignTop;
            break;
        case 2:
            flags |= Qt::AlignBottom;
            break;
        case 4:
            flags |= Qt::AlignVCenter | Qt::TextWordWrap;
            break;
        default:
            flags |= Qt::AlignVCenter;
            break;
    }
    if (c.GetWordWrap()) flags |= Qt::TextWordWrap;
    return flags;
}

// A text cut with "…" when it does not fit one line.
void drawElided(QPainter& p, const QRect& r, int flags, const QString& text) {
    if (flags & Qt::TextWordWrap) {
        p.drawText(r, flags, text);
        return;
    }
    p.drawText(r, flags, p.fontMetrics().elidedText(text, Qt::ElideRight, r.width()));
}

void drawTitle(QPainter& p, const MControlFont& c, const QRect& r, const std::string& dialogFont,
               const QColor* color = nullptr, int flagsOverride = -1) {
    const QString title = qs(c.GetTitle());
    if (title.isEmpty()) return;
    p.setFont(fontOf(c, dialogFont));
    p.setPen(color ? *color : textColorOf(c));
    drawElided(p, r, flagsOverride >= 0 ? flagsOverride : alignFlags(c), title);
}

void roundedPanel(QPainter& p, const QRectF& r, const QColor& fill, const QColor& stroke, qreal radius = 5) {
    p.setPen(stroke.alpha() == 0 ? Qt::NoPen : QPen(stroke, 1));
    p.setBrush(fill);
    p.drawRoundedRect(r.adjusted(0.5, 0.5, -0.5, -0.5), radius, radius);
}

void focusRing(QPainter& p, const QRect& r) {
    p.setPen(QPen(withAlpha(Theme::accent(), 200), 1, Qt::DashLine));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(QRectF(r).adjusted(1.5, 1.5, -1.5, -1.5), 4, 4);
}

// Scrollbar hint on the right of a list that holds more rows than it shows.
void scrollHint(QPainter& p, const QRect& r, int first, int visible, int total) {
    if (total <= visible || visible <= 0) return;
    const int track = r.height() - 8;
    const int h = std::max(16, track * visible / total);
    const int y = r.top() + 4 + (track - h) * first / std::max(1, total - visible);
    roundedPanel(p, QRectF(r.right() - 5, y, 3, h), withAlpha(Theme::dimText(), 140), Qt::transparent, 1.5);
}

// Stand-in glyphs for the window's picture buttons when the skin lacks them.
void drawButtonGlyph(QPainter& p, const QRect& r, const std::string& image, const QColor& color) {
    const QPointF c = QRectF(r).center();
    const qreal s = std::min(r.width(), r.height()) * 0.22;
    p.setPen(QPen(color, 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    if (image.find("close") != std::string::npos) {
        p.drawLine(c + QPointF(-s, -s), c + QPointF(s, s));
        p.drawLine(c + QPointF(-s, s), c + QPointF(s, -s));
    } else if (image.find("min") != std::string::npos) {
        p.drawLine(c + QPointF(-s, s * 0.6), c + QPointF(s, s * 0.6));
    } else if (image.find("maximize") != std::string::npos) {
        p.drawRect(QRectF(c.x() - s, c.y() - s, 2 * s, 2 * s));
    } else if (image.find("restore") != std::string::npos) {
        p.drawRect(QRectF(c.x() - s, c.y() - s * 0.5, s * 1.5, s * 1.5));
        p.drawPolyline(
            QPolygonF({c + QPointF(-s * 0.5, -s * 0.5), c + QPointF(-s * 0.5, -s), c + QPointF(s, -s),
                       c + QPointF(s, s * 0.5), c + QPointF(s * 0.5, s * 0.5)}));
    } else if (image.find("setting") != std::string::npos) {
        p.drawEllipse(c, s * 0.45, s * 0.45);
        p.drawEllipse(c, s, s);
    } else if (image.find("pre") != std::string::npos) {
        p.drawPolyline(
            QPolygonF({c + QPointF(s * 0.5, -s), c + QPointF(-s * 0.5, 0), c + QPointF(s * 0.5, s)}));
    } else if (image.find("next") != std::string::npos) {
        p.drawPolyline(
            QPolygonF({c + QPointF(-s * 0.5, -s), c + QPointF(s * 0.5, 0), c + QPointF(-s * 0.5, s)}));
    } else {
        p.drawEllipse(c, s, s);
    }
}

void paintPicture(QPainter& p, MPicture& c, const QRect& r, const ControlPainter::State&) {
    const std::string image = c.GetImage();
    const bool drawn = c.GetShowMode() == 3
                           ? SkinImages::instance().draw(p, image, r, Fit::Frame, c.GetShowValue())
                           : SkinImages::instance().draw(p, image, r, Fit::Stretch);
    if (drawn || image.empty()) return;
    // Missing picture: the logo becomes the device name as a word mark,
    // anything else a quiet panel, so the place is never empty.
    if (image.find("logo") != std::string::npos) {
        QFont f = Theme::font({}, std::max(12, r.height() * 2 / 3), true);
        p.setFont(f);
        p.setPen(Theme::accent());
        const std::string name = Manager::GetDeviceName();
        p.drawText(r, Qt::AlignCenter, qs(name.empty() ? std::string("Quorvik") : name));
        return;
    }
    roundedPanel(p, r, withAlpha(Theme::panel(), 120), withAlpha(Theme::border(), 120), 6);
}

void paintButtonFace(QPainter& p, const MControl& c, const QRect& r, const ControlPainter::State& s,
                     bool checked) {
    const bool enabled = c.IsEnabled();
    const std::string image = c.GetImage();
    if (!SkinImages::instance().draw(p, image, r, Fit::Frame, 8)) {
        QLinearGradient g(r.topLeft(), r.bottomLeft());
        g.setColorAt(0, Theme::panelHover());
        g.setColorAt(1, Theme::panel());
        p.setPen(QPen(Theme::border(), 1));
        p.setBrush(g);
        p.drawRoundedRect(QRectF(r).adjusted(0.5, 0.5, -0.5, -0.5), 5, 5);
    }
    if (checked) roundedPanel(p, r, withAlpha(Theme::accent(), 200), Theme::accent(), 5);
    if (!enabled) {
        roundedPanel(p, r, withAlpha(Theme::sunken(), 130), Qt::transparent, 5);
    } else if (s.pressed) {
        roundedPanel(p, r, QColor(0, 0, 0, 60), Qt::transparent, 5);
    } else if (s.hover) {
        roundedPanel(p, r, QColor(255, 255, 255, 22), withAlpha(Theme::accent(), 180), 5);
    }
}

void paintButton(QPainter& p, MButton& c, const QRect& r, const ControlPainter::State& s) {
    const auto* toggle = dynamic_cast<MButton2*>(&c);
    const bool checked = toggle != nullptr && toggle->GetCheck() != 0;
    paintButtonFace(p, c, r, s, checked);
    QColor color = checked ? QColor(Qt::white) : textColorOf(c);
    drawTitle(p, c, r.adjusted(6, 0, -6, 0), s.dialogFont, &color, Qt::AlignCenter);
}

void paintTextButton(QPainter& p, MButton& c, const QRect& r, const ControlPainter::State& s) {
    QFont f = fontOf(c, s.dialogFont);
    f.setUnderline(s.hover && c.IsEnabled());
    p.setFont(f);
    p.setPen(c.IsEnabled() ? (s.hover ? Theme::accent().lighter(120) : Theme::accent())
                           : Theme::disabledText());
    drawElided(p, r, alignFlags(c), qs(c.GetTitle()));
}

void paintImageButton(QPainter& p, MButton& c, const QRect& r, const ControlPainter::State& s) {
    if (s.hover && c.IsEnabled()) {
        const bool close = c.GetImage().find("close") != std::string::npos;
        roundedPanel(p, r, close ? QColor(0xd9, 0x3f, 0x3f, 200) : QColor(255, 255, 255, 30), Qt::transparent,
                     4);
    }
    if (!c.IsEnabled()) p.setOpacity(0.4);
    if (!SkinImages::instance().draw(p, c.GetImage(), r.adjusted(3, 3, -3, -3), Fit::Contain)) {
        if (!c.GetTitle().empty())
            drawTitle(p, c, r, s.dialogFont, nullptr, Qt::AlignCenter);
        else
            drawButtonGlyph(p, r, c.GetImage(), c.IsEnabled() ? Theme::text() : Theme::disabledText());
    }
    p.setOpacity(1);
    if (s.pressed) roundedPanel(p, r, QColor(0, 0, 0, 50), Qt::transparent, 4);
}

void paintIconButton(QPainter& p, CIconButton& c, const QRect& r, const ControlPainter::State& s) {
    paintButtonFace(p, c, r, s, false);
    const int icon = std::min(r.height() - 8, 18);
    QFont f = fontOf(c, s.dialogFont);
    p.setFont(f);
    const QString title = qs(c.GetTitle());
    const int textWidth = std::min(p.fontMetrics().horizontalAdvance(title), r.width() - icon - 20);
    const int total = icon + 8 + textWidth;
    const int x = r.left() + (r.width() - total) / 2;
    const QRect iconRect(x, r.top() + (r.height() - icon) / 2, icon, icon);
    if (!SkinImages::instance().draw(p, c.GetIconImage(), iconRect, Fit::Contain)) {
        p.setPen(QPen(Theme::accent(), 1.6, Qt::SolidLine, Qt::RoundCap));
        const QPointF m = QRectF(iconRect).center();
        p.drawPolyline(QPolygonF({m + QPointF(-4, 2), m + QPointF(0, -2), m + QPointF(4, 2)}));
    }
    p.setPen(textColorOf(c));
    drawElided(p, QRect(iconRect.right() + 8, r.top(), textWidth + 2, r.height()),
               Qt::AlignLeft | Qt::AlignVCenter, title);
}

void paintHelpButton(QPainter& p, MButton& c, const QRect& r, const ControlPainter::State& s) {
    const int d = std::min(r.width(), r.height()) - 2;
    const QRectF circle(r.left() + (r.width() - d) / 2.0, r.top() + (r.height() - d) / 2.0, d, d);
    p.setPen(QPen(s.hover ? Theme::accent() : Theme::dimText(), 1.3));
    p.setBrush(s.hover ? withAlpha(Theme::accent(), 40) : Qt::transparent);
    p.drawEllipse(circle);
    p.setFont(Theme::font({}, std::max(9, d * 2 / 3), true));
    p.setPen(c.IsEnabled() ? (s.hover ? Theme::accent() : Theme::dimText()) : Theme::disabledText());
    p.drawText(circle, Qt::AlignCenter, QStringLiteral("?"));
}

void paintCheck(QPainter& p, MButton2& c, const QRect& r, const ControlPainter::State& s, bool radio) {
    const int box = std::min(16, r.height() - 2);
    const QRectF b(r.left() + 1.5, r.top() + (r.height() - box) / 2.0, box, box);
    const bool checked = c.GetCheck() != 0;
    const QColor accent = c.IsEnabled() ? Theme::accent() : Theme::disabledText();
    p.setPen(QPen(checked ? accent : (s.hover ? accent : Theme::border()), 1.4));
    p.setBrush(checked && !radio ? accent : Theme::sunken());
    if (radio)
        p.drawEllipse(b);
    else
        p.drawRoundedRect(b, 3, 3);
    if (checked) {
        if (radio) {
            p.setPen(Qt::NoPen);
            p.setBrush(accent);
            p.drawEllipse(b.center(), box * 0.27, box * 0.27);
        } else {
            p.setPen(QPen(Qt::white, 1.8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
            p.drawPolyline(QPolygonF({b.topLeft() + QPointF(box * 0.22, box * 0.52),
                                      b.topLeft() + QPointF(box * 0.43, box * 0.72),
                                      b.topLeft() + QPointF(box * 0.78, box * 0.3)}));
        }
    }
    QRect text = r.adjusted(box + 9, 0, 0, 0);
    drawTitle(p, c, text, s.dialogFont, nullptr, Qt::AlignLeft | Qt::AlignVCenter);
}

void paintColorButton(QPainter& p, CColorButton& c, const QRect& r, const ControlPainter::State& s) {
    const QRectF inner = QRectF(r).adjusted(3, 3, -3, -3);
    if (c.GetCheck() != 0) {
        p.setPen(QPen(Theme::text(), 2));
        p.setBrush(Qt::NoBrush);
        p.drawRoundedRect(QRectF(r).adjusted(1, 1, -1, -1), 5, 5);
    } else if (s.hover && c.IsEnabled()) {
        p.setPen(QPen(Theme::dimText(), 1));
        p.setBrush(Qt::NoBrush);
        p.drawRoundedRect(QRectF(r).adjusted(1, 1, -1, -1), 5, 5);
    }
    p.setPen(QPen(QColor(0, 0, 0, 90), 1));
    p.setBrush(Theme::fromColorRef(c.GetColor()));
    p.drawRoundedRect(inner, 3.5, 3.5);
    if (!c.IsEnabled())
        roundedPanel(p, inner.toRect(), withAlpha(Theme::sunken(), 160), Qt::transparent, 3.5);
}

void paintListBackground(QPainter& p, const QRect& r, const std::string& image) {
    if (!SkinImages::instance().draw(p, image, r, Fit::Frame, 8))
        roundedPanel(p, r, Theme::sunken(), Theme::border(), 6);
}

void paintRowHighlight(QPainter& p, const QRect& row, bool selected, bool hover, bool enabled) {
    if (selected) {
        roundedPanel(p, row, withAlpha(Theme::accent(), enabled ? 60 : 25), Qt::transparent, 4);
        p.fillRect(QRect(row.left(), row.top() + 5, 3, row.height() - 10),
                   enabled ? Theme::accent() : Theme::disabledText());
    } else if (hover && enabled) {
        roundedPanel(p, row, QColor(255, 255, 255, 14), Qt::transparent, 4);
    }
}

void paintTextList(QPainter& p, MControl& c, const QRect& r, const ControlPainter::State& s) {
    const bool macro = is(c, "MacroList");
    const int rowH = macro ? kMacroRow : kListRow;
    paintListBackground(p, r, c.GetImage());
    std::vector<std::string> texts;
    int selected = -1;
    std::string editImage;
    if (auto* list = dynamic_cast<DListBox*>(&c)) {
        for (int i = 0; i < list->GetItemCount(); ++i) texts.push_back(list->GetItemText(i));
        selected = list->GetCurSel();
    } else if (auto* macros = dynamic_cast<MacroList*>(&c)) {
        for (int i = 0; i < macros->GetItemCount(); ++i) texts.push_back(macros->GetItemText(i));
        selected = macros->GetCurSel();
        editImage = macros->GetEditImage();
    }
    auto& font = dynamic_cast<MControlFont&>(c);
    p.setFont(fontOf(font, s.dialogFont));
    p.save();
    p.setClipRect(r.adjusted(1, 1, -1, -1));
    const int visible = std::max(1, (r.height() - 8) / rowH);
    for (int i = s.firstRow; i < static_cast<int>(texts.size()) && i < s.firstRow + visible; ++i) {
        const QRect row(r.left() + 4, r.top() + 4 + (i - s.firstRow) * rowH, r.width() - 8, rowH - 2);
        const bool sel = i == selected;
        paintRowHighlight(p, row, sel, i == s.hoverItem, c.IsEnabled());
        p.setPen(c.IsEnabled() ? (sel ? Theme::text() : Theme::dimText().lighter(115))
                               : Theme::disabledText());
        QRect textRect = row.adjusted(12, 0, macro ? -34 : -8, 0);
        drawElided(p, textRect, Qt::AlignLeft | Qt::AlignVCenter, qs(texts[i]));
        if (macro && (sel || i == s.hoverItem)) {
            const QRect button(row.right() - 28, row.top() + (row.height() - 22) / 2, 22, 22);
            if (!SkinImages::instance().draw(p, editImage, button, Fit::Contain)) {
                p.setPen(Qt::NoPen);
                p.setBrush(Theme::dimText());
                for (int k = -1; k <= 1; ++k)
                    p.drawEllipse(QRectF(button).center() + QPointF(k * 5, 0), 1.6, 1.6);
            }
        }
    }
    p.restore();
    scrollHint(p, r, s.firstRow, visible, static_cast<int>(texts.size()));
}

void paintRecordList(QPainter& p, CRecordList& c, const QRect& r, const ControlPainter::State& s) {
    paintListBackground(p, r, {});
    const auto items = c.GetRecordItems();
    const int selected = c.GetCurSel();
    p.save();
    p.setClipRect(r.adjusted(1, 1, -1, -1));
    p.setFont(Theme::font(s.dialogFont, 13, false));
    const int visible = std::max(1, (r.height() - 8) / kRecordRow);
    for (int i = s.firstRow; i < static_cast<int>(items.size()) && i < s.firstRow + visible; ++i) {
        const QRect row(r.left() + 4, r.top() + 4 + (i - s.firstRow) * kRecordRow, r.width() - 8,
                        kRecordRow - 2);
        const bool sel = i == selected;
        paintRowHighlight(p, row, sel, i == s.hoverItem, c.IsEnabled());
        p.setPen(Theme::dimText());
        p.drawText(QRect(row.left() + 8, row.top(), 26, row.height()), Qt::AlignRight | Qt::AlignVCenter,
                   QString::number(i + 1));
        const QRect icon(row.left() + 42, row.top() + (row.height() - 14) / 2, 14, 14);
        // Step kinds: key and mouse steps in the accent colour, delays dimmed.
        const bool event = items[i].type >= 2 && items[i].type <= 5;
        p.setPen(Qt::NoPen);
        p.setBrush(event ? Theme::accent() : Theme::border());
        p.drawRoundedRect(QRectF(icon).adjusted(3, 3, -3, -3), 2, 2);
        p.setPen(c.IsEnabled() ? Theme::text() : Theme::disabledText());
        drawElided(p, row.adjusted(66, 0, -34, 0), Qt::AlignLeft | Qt::AlignVCenter, qs(items[i].text));
    }
    if (items.empty()) {
        p.setPen(Theme::disabledText());
        p.drawText(r, Qt::AlignCenter, QStringLiteral("—"));
    }
    p.restore();
    scrollHint(p, r, s.firstRow, visible, static_cast<int>(items.size()));
}

void paintTabs(QPainter& p, MTabCtrl& c, const QRect& r, const ControlPainter::State& s) {
    const auto items = c.GetItems();
    const int selected = c.GetCurSel();
    const int h = c.GetItemHeight() > 0 ? c.GetItemHeight() : 60;
    int row = 0;
    p.setFont(fontOf(c, s.dialogFont));
    for (int i = 0; i < static_cast<int>(items.size()); ++i) {
        if (!items[i].visible) continue;
        const QRect item(r.left(), r.top() + row * h, r.width(), h);
        ++row;
        if (item.top() >= r.bottom()) break;
        const bool sel = i == selected;
        if (sel) {
            if (!SkinImages::instance().draw(p, c.GetImage(), item, Fit::Frame, 6)) {
                QLinearGradient g(item.topLeft(), item.topRight());
                g.setColorAt(0, withAlpha(Theme::accent(), 70));
                g.setColorAt(1, withAlpha(Theme::accent(), 0));
                p.fillRect(item, g);
            }
            p.fillRect(QRect(item.left(), item.top() + 10, 4, item.height() - 20), Theme::accent());
        } else if (i == s.hoverItem && c.IsEnabled()) {
            p.fillRect(item, QColor(255, 255, 255, 12));
        }
        const QRect icon(item.left() + 28, item.top() + (item.height() - 24) / 2, 24, 24);
        p.save();
        if (!sel) p.setOpacity(0.7);
        if (!SkinImages::instance().draw(p, items[i].icon, icon, Fit::Contain)) {
            p.setPen(QPen(sel ? Theme::accent() : Theme::dimText(), 1.6));
            p.setBrush(Qt::NoBrush);
            p.drawRoundedRect(QRectF(icon).adjusted(4, 4, -4, -4), 3, 3);
        }
        p.restore();
        p.setPen(sel ? Theme::text() : Theme::dimText());
        drawElided(p, item.adjusted(64, 0, -8, 0), Qt::AlignLeft | Qt::AlignVCenter, qs(items[i].text));
    }
}

void paintRoundArea(QPainter& p, CRoundArea& c, const QRect& r, const ControlPainter::State& s) {
    const QColor color = c.GetColor() != 0 ? Theme::fromColorRef(c.GetColor()) : Theme::accent();
    roundedPanel(p, r, withAlpha(Theme::panel(), 160), Theme::border(), 10);
    const int d = std::min(22, r.height() - 16);
    const QRectF dot(r.left() + 16, r.top() + (r.height() - d) / 2.0, d, d);
    p.setPen(Qt::NoPen);
    p.setBrush(withAlpha(color, 60));
    p.drawEllipse(dot.adjusted(-4, -4, 4, 4));
    p.setBrush(color);
    p.drawEllipse(dot);
    drawTitle(p, c, QRect(dot.right() + 14, r.top() + 8, r.width() - d - 40, r.height() - 16), s.dialogFont);
}

void paintDeviceList(QPainter& p, CDeviceList& c, const QRect& r, const ControlPainter::State& s) {
    const auto rows = c.GetRows();
    const int selected = c.GetSelectIndex();
    const std::string versionDesc = c.GetVersionDesc();
    if (rows.empty()) return;
    const int n = static_cast<int>(rows.size());
    const int total = n * kDeviceCardWidth + (n - 1) * kDeviceCardGap;
    int x = r.left() + std::max(0, (r.width() - total) / 2);
    for (int i = 0; i < n; ++i, x += kDeviceCardWidth + kDeviceCardGap) {
        const QRect card(x, r.top(), kDeviceCardWidth, std::min(r.height(), 300));
        if (card.left() > r.right()) break;
        const bool online = rows[i].state != 0;
        const bool sel = i == selected;
        if (!SkinImages::instance().draw(p, c.GetImage(), card, Fit::Frame, 12))
            roundedPanel(p, card, Theme::panel(), Theme::border(), 10);
        if (sel || (i == s.hoverItem && c.IsEnabled()))
            roundedPanel(p, card, QColor(255, 255, 255, 10), withAlpha(Theme::accent(), sel ? 255 : 150), 10);
        const QRect picture = card.adjusted(20, 20, -20, -110);
        p.save();
        if (!online) p.setOpacity(0.45);
        if (!SkinImages::instance().draw(p, rows[i].image, picture, Fit::Contain)) {
            p.setPen(QPen(Theme::dimText(), 2));
            p.setBrush(Qt::NoBrush);
            const QRectF body(picture.center().x() - 30, picture.top() + 10, 60,
                              std::min(100, picture.height() - 20));
            p.drawRoundedRect(body, 28, 30);
            p.drawLine(QPointF(body.center().x(), body.top()), QPointF(body.center().x(), body.top() + 30));
        }
        p.restore();
        p.setFont(Theme::font(s.dialogFont, 16, true));
        p.setPen(Theme::text());
        drawElided(p, QRect(card.left() + 14, card.bottom() - 100, card.width() - 28, 26), Qt::AlignCenter,
                   qs(rows[i].name));
        p.setFont(Theme::font(s.dialogFont, 12, false));
        p.setPen(Theme::dimText());
        if (!rows[i].version.empty())
            drawElided(p, QRect(card.left() + 14, card.bottom() - 72, card.width() - 28, 20), Qt::AlignCenter,
                       qs(versionDesc + (versionDesc.empty() ? "" : " ") + rows[i].version));
        // Connection: a dot in green when the mouse answers, grey otherwise,
        // beside the mode picture (wired/wireless) when the skin has one. No
        // words: the texts of the program come from its language files.
        const QRect status(card.left() + 14, card.bottom() - 44, card.width() - 28, 24);
        const QPointF dot(status.center().x() - 12, status.center().y() + 1);
        p.setPen(Qt::NoPen);
        p.setBrush(online ? QColor(0x3c, 0xc8, 0x6e, 60) : Qt::transparent);
        p.drawEllipse(dot, 7, 7);
        p.setBrush(online ? QColor(0x3c, 0xc8, 0x6e) : Theme::disabledText());
        p.drawEllipse(dot, 4, 4);
        p.save();
        if (!online) p.setOpacity(0.5);
        const QRect mode(status.center().x() + 2, status.top() + 3, 18, 18);
        if (rows[i].mode == 1) {
            // Through the receiver: a wireless sign (a dot under two arcs).
            p.setPen(QPen(Theme::dimText(), 1.8, Qt::SolidLine, Qt::RoundCap));
            p.setBrush(Qt::NoBrush);
            const QPointF base(mode.center().x(), mode.bottom() - 3);
            for (int arc = 1; arc <= 2; ++arc) {
                const qreal radius = 5.0 * arc;
                p.drawArc(QRectF(base.x() - radius, base.y() - radius, 2 * radius, 2 * radius), 45 * 16, 90 * 16);
            }
            p.setPen(Qt::NoPen);
            p.setBrush(Theme::dimText());
            p.drawEllipse(base, 1.8, 1.8);
        } else {
            SkinImages::instance().draw(p, c.GetModeImage(), mode, Fit::Contain);
        }
        p.restore();
        if (rows[i].battery > 0) {
            // The battery the mouse reported, right of the mode sign.
            std::string background, level, charging;
            c.GetBatteryImages(background, level, charging);
            const QRect cell(mode.right() + 8, status.top() + 5, 26, 14);
            SkinImages::instance().draw(p, background, cell, Fit::Stretch);
            const int fill = std::clamp(rows[i].battery, 0, 100) * (cell.width() - 6) / 100;
            SkinImages::instance().draw(p, level, QRect(cell.left() + 2, cell.top() + 2, fill, cell.height() - 4),
                                        Fit::Stretch);
            if (rows[i].charging != 0)
                SkinImages::instance().draw(p, charging, QRect(cell.right() + 3, cell.top(), 10, 14), Fit::Contain);
        }
    }
}

void paintDeviceState(QPainter& p, CDeviceState& c, const QRect& r, const ControlPainter::State& s) {
    if (!SkinImages::instance().draw(p, c.GetImage(), r, Fit::Frame, 6))
        roundedPanel(p, r, withAlpha(Theme::panel(), 180), Theme::border(), r.height() / 2.0);
    QColor color = textColorOf(c);
    drawTitle(p, c, r.adjusted(8, 0, -8, 0), s.dialogFont, &color, Qt::AlignCenter);
}

void paintBattery(QPainter& p, BatteryCtrl& c, const QRect& r) {
    const int level = c.GetDisplayLevel();
    const bool charging = c.IsCharging();
    const int h = std::min(r.height() - 8, 18);
    const QRect body(r.left() + 4, r.top() + (r.height() - h) / 2, h * 2 + 4, h);
    auto& skin = SkinImages::instance();
    if (skin.draw(p, c.GetImage(), body, Fit::Stretch)) {
        p.save();
        p.setClipRect(QRect(body.left(), body.top(), body.width() * level / 100, body.height()));
        skin.draw(p, c.GetLevelImage(), body, Fit::Stretch);
        p.restore();
    } else {
        p.setPen(QPen(Theme::dimText(), 1.4));
        p.setBrush(Qt::NoBrush);
        p.drawRoundedRect(QRectF(body).adjusted(0.5, 0.5, -3.5, -0.5), 3, 3);
        p.setPen(Qt::NoPen);
        p.setBrush(Theme::dimText());
        p.drawRect(QRectF(body.right() - 2, body.center().y() - 3, 2.5, 6));
        const QRectF inner = QRectF(body).adjusted(3, 3, -6, -3);
        const QColor fill = level <= 20 && !charging ? QColor(0xe0, 0x4f, 0x4f) : QColor(0x3c, 0xc8, 0x6e);
        p.setBrush(fill);
        p.drawRoundedRect(QRectF(inner.left(), inner.top(), inner.width() * level / 100.0, inner.height()),
                          1.5, 1.5);
    }
    if (charging && !skin.draw(p, c.GetChargingImage(),
                               body.adjusted(body.width() / 4, 1, -body.width() / 4, -1), Fit::Contain)) {
        const QPointF m = QRectF(body).center();
        p.setPen(QPen(Theme::sunken(), 1));
        p.setBrush(QColor(0xff, 0xd5, 0x4a));
        p.drawPolygon(QPolygonF({m + QPointF(1, -h * 0.4), m + QPointF(-4, 1), m + QPointF(0, 1),
                                 m + QPointF(-1, h * 0.4), m + QPointF(4, -1), m + QPointF(0, -1)}));
    }
    p.setFont(Theme::font({}, 13, false));
    p.setPen(Theme::text());
    p.drawText(QRect(body.right() + 8, r.top(), r.right() - body.right() - 8, r.height()),
               Qt::AlignLeft | Qt::AlignVCenter, QString::number(c.GetLevel()) + QLatin1Char('%'));
}

QRect calloutRect(const MouseCtrl::Item& item, const QRect& r) {
    const int x = item.direction == 0 ? item.to.x - kCalloutWidth : item.to.x;
    return QRect(r.left() + x, r.top() + item.to.y - kCalloutHeight / 2, kCalloutWidth, kCalloutHeight);
}

void paintMouse(QPainter& p, MouseCtrl& c, const QRect& r, const ControlPainter::State& s) {
    const std::string image = c.GetImage();
    const QSize natural = SkinImages::instance().size(image);
    const auto items = c.GetItems();
    if (natural.isValid()) {
        SkinImages::instance().draw(p, image, QRect(r.topLeft(), natural), Fit::Stretch);
    } else if (!items.empty()) {
        // No picture: an outline of the mouse around its buttons' hot spots.
        QRect spots;
        for (const auto& item : items) spots |= QRect(r.left() + item.from.x, r.top() + item.from.y, 1, 1);
        const QRectF body = QRectF(spots).adjusted(-50, -60, 50, 200);
        p.setPen(QPen(Theme::border(), 2));
        p.setBrush(withAlpha(Theme::panel(), 160));
        p.drawRoundedRect(body, body.width() / 2, body.width() / 2);
    }
    const int selected = c.GetSelectItem();
    p.setFont(Theme::font({}, 12, false));
    for (int i = 0; i < static_cast<int>(items.size()); ++i) {
        const bool sel = i == selected;
        const bool hover = i == s.hoverItem;
        const QColor line = sel ? Theme::accent() : withAlpha(Theme::dimText(), hover ? 230 : 150);
        const QPointF from(r.left() + items[i].from.x, r.top() + items[i].from.y);
        const QPointF to(r.left() + items[i].to.x, r.top() + items[i].to.y);
        p.setPen(QPen(line, 1.2));
        p.drawLine(from, to);
        p.setPen(Qt::NoPen);
        p.setBrush(sel ? Theme::accent() : Theme::text());
        p.drawEllipse(from, sel ? 4.5 : 3.5, sel ? 4.5 : 3.5);
        const QRect box = calloutRect(items[i], r);
        roundedPanel(p, box, sel ? Theme::accent() : (hover ? Theme::panelHover() : Theme::panel()),
                     sel ? Theme::accent() : Theme::border(), box.height() / 2.0);
        p.setPen(sel ? QColor(Qt::white) : Theme::text());
        drawElided(p, box.adjusted(10, 0, -10, 0), Qt::AlignCenter, qs(items[i].name));
    }
}

void paintMouseKeys(QPainter& p, MouseKeyCtrl& c, const QRect& r, const ControlPainter::State& s) {
    paintListBackground(p, r, {});
    const auto items = c.GetItems();
    const int selected = c.GetSelectItem();
    p.save();
    p.setClipRect(r.adjusted(1, 1, -1, -1));
    const int visible = std::max(1, (r.height() - 8) / kKeyRow);
    for (int i = s.firstRow; i < static_cast<int>(items.size()) && i < s.firstRow + visible; ++i) {
        const QRect row(r.left() + 4, r.top() + 4 + (i - s.firstRow) * kKeyRow, r.width() - 8, kKeyRow - 2);
        const bool sel = i == selected;
        paintRowHighlight(p, row, sel, i == s.hoverItem, c.IsEnabled());
        const QRect badge(row.left() + 12, row.top() + (row.height() - 22) / 2, 22, 22);
        p.setPen(Qt::NoPen);
        p.setBrush(sel ? Theme::accent() : Theme::panelHover());
        p.drawEllipse(badge);
        p.setFont(Theme::font({}, 11, true));
        p.setPen(Theme::text());
        p.drawText(badge, Qt::AlignCenter, QString::number(i + 1));
        p.setFont(Theme::font({}, 14, false));
        p.setPen(c.IsEnabled() ? Theme::text() : Theme::disabledText());
        const int half = (row.width() - 50) / 2;
        drawElided(p, QRect(badge.right() + 12, row.top(), half - 8, row.height()),
                   Qt::AlignLeft | Qt::AlignVCenter, qs(items[i].name));
        p.setPen(sel ? Theme::accent() : Theme::dimText());
        drawElided(p, QRect(badge.right() + 12 + half, row.top(), half - 10, row.height()),
                   Qt::AlignRight | Qt::AlignVCenter, qs(items[i].desc));
    }
    p.restore();
    scrollHint(p, r, s.firstRow, visible, static_cast<int>(items.size()));
}

QRect stageRow(const QRect& r, int index) {
    return QRect(r.left(), r.top() + index * kStageRow, r.width(), kStageRow - 4);
}
QRect stageSwatch(const QRect& row) {
    return QRect(row.right() - 40, row.top() + 7, 30, row.height() - 14);
}
QRect stageValue(const QRect& row) {
    return QRect(row.left() + 46, row.top() + 4, 110, row.height() - 8);
}

void paintStages(QPainter& p, DPIControl& c, const QRect& r, const ControlPainter::State& s) {
    const auto stages = c.GetStages();
    const int selected = c.GetSelectItem();
    for (int i = 0; i < static_cast<int>(stages.size()); ++i) {
        const QRect row = stageRow(r, i);
        if (row.bottom() > r.bottom()) break;
        const bool sel = i == selected;
        roundedPanel(p, row, sel ? withAlpha(Theme::accent(), 45) : Theme::panel(),
                     sel ? Theme::accent() : (i == s.hoverItem ? Theme::dimText() : Theme::border()), 6);
        const QColor stageColor = Theme::fromColorRef(stages[i].color);
        p.setPen(Qt::NoPen);
        p.setBrush(sel ? Theme::accent() : Theme::panelHover());
        const QRectF badge(row.left() + 10, row.center().y() - 11, 22, 22);
        p.drawEllipse(badge);
        p.setFont(Theme::font({}, 12, true));
        p.setPen(Theme::text());
        p.drawText(badge, Qt::AlignCenter, QString::number(i + 1));
        const bool editing = sel && c.IsEditing();
        if (!editing) {
            p.setFont(Theme::font({}, 15, true));
            p.setPen(c.IsEnabled() ? Theme::text() : Theme::disabledText());
            p.drawText(stageValue(row), Qt::AlignLeft | Qt::AlignVCenter, QString::number(stages[i].dpi));
            p.setFont(Theme::font({}, 11, false));
            p.setPen(Theme::dimText());
            p.drawText(stageValue(row).adjusted(60, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter,
                       QStringLiteral("DPI"));
        }
        const QRect swatch = stageSwatch(row);
        p.setPen(QPen(QColor(0, 0, 0, 100), 1));
        p.setBrush(stageColor);
        p.drawRoundedRect(QRectF(swatch).adjusted(0.5, 0.5, -0.5, -0.5), 4, 4);
    }
}

QRect sliderTrack(const QRect& r, bool withLabels) {
    const int labels = withLabels ? 20 : 0;
    const int cy = r.top() + (r.height() - labels) / 2;
    return QRect(r.left() + 10, cy - 3, r.width() - 20, 6);
}

void paintSlider(QPainter& p, detail::SliderBase& c, const QRect& r, const ControlPainter::State& s) {
    const auto* dpi = dynamic_cast<DPISlider*>(&c);
    const bool steps = is(c, "LightSlider");
    const bool labels = dpi != nullptr && !(dpi->GetLowDesc().empty() && dpi->GetHighDesc().empty());
    const QRect track = sliderTrack(r, labels);
    const int lo = c.GetRangeMin();
    const int hi = c.GetRangeMax();
    const int pos = std::clamp(c.GetProgress(), std::min(lo, hi), std::max(lo, hi));
    const double f = hi > lo ? double(pos - lo) / (hi - lo) : 0.0;
    const QColor accent = c.IsEnabled() ? Theme::accent() : Theme::disabledText();
    roundedPanel(p, track, Theme::sunken(), Theme::border(), 3);
    roundedPanel(p, QRect(track.left(), track.top(), int(track.width() * f), track.height()), accent,
                 Qt::transparent, 3);
    if (steps && hi > lo) {
        for (int i = 0; i <= hi - lo; ++i) {
            const qreal x = track.left() + track.width() * double(i) / (hi - lo);
            p.setPen(Qt::NoPen);
            p.setBrush(i <= pos - lo ? Theme::text() : Theme::border());
            p.drawEllipse(QPointF(x, track.center().y() + 14), 2, 2);
        }
    }
    const QPointF knob(track.left() + track.width() * f, track.center().y() + 0.5);
    p.setPen(QPen(accent, 2));
    p.setBrush(s.pressed ? accent : Theme::text());
    p.drawEllipse(knob, s.hover || s.pressed ? 9 : 8, s.hover || s.pressed ? 9 : 8);
    if (labels) {
        p.setFont(Theme::font({}, 12, false));
        p.setPen(Theme::dimText());
        const QRect text(r.left() + 4, r.bottom() - 20, r.width() - 8, 20);
        p.drawText(text, Qt::AlignLeft | Qt::AlignVCenter, qs(dpi->GetLowDesc()));
        p.drawText(text, Qt::AlignRight | Qt::AlignVCenter, qs(dpi->GetHighDesc()));
    }
}

QRect rateRect(const QRect& r, int index, int count) {
    const int gap = 8;
    const int w = count > 0 ? (r.width() - gap * (count - 1)) / count : r.width();
    return QRect(r.left() + index * (w + gap), r.top(), w, r.height());
}

void paintRates(QPainter& p, ReporteCtrl& c, const QRect& r, const ControlPainter::State& s) {
    const auto items = c.GetItems();
    const int selected = c.GetSelectItem();
    const int n = static_cast<int>(items.size());
    p.setFont(Theme::font({}, 14, true));
    for (int i = 0; i < n; ++i) {
        const QRect b = rateRect(r, i, n);
        const bool sel = i == selected;
        const QColor fill =
            sel ? (items[i].color != 0 ? Theme::fromColorRef(items[i].color) : Theme::accent())
                : (i == s.hoverItem ? Theme::panelHover() : Theme::panel());
        roundedPanel(p, b, c.IsEnabled() ? fill : Theme::sunken(), sel ? fill : Theme::border(), 5);
        p.setPen(c.IsEnabled() ? (sel ? QColor(Qt::white) : Theme::text()) : Theme::disabledText());
        drawElided(p, b.adjusted(4, 0, -4, 0), Qt::AlignCenter, qs(items[i].text));
    }
}

QColor paletteColor(const QRect& r, QPoint local) {
    const double x = std::clamp(double(local.x() - r.left()) / std::max(1, r.width() - 1), 0.0, 1.0);
    const double y = std::clamp(double(local.y() - r.top()) / std::max(1, r.height() - 1), 0.0, 1.0);
    return QColor::fromHsv(std::min(359, int(x * 360)), int(255 * (1.0 - y)), 255);
}

void paintPalette(QPainter& p, MPalette& c, const QRect& r) {
    p.save();
    QPainterPath clip;
    clip.addRoundedRect(QRectF(r), 6, 6);
    p.setClipPath(clip);
    QLinearGradient hue(r.topLeft(), r.topRight());
    for (int i = 0; i <= 6; ++i) hue.setColorAt(i / 6.0, QColor::fromHsv((i * 60) % 360, 255, 255));
    p.fillRect(r, hue);
    QLinearGradient white(r.topLeft(), r.bottomLeft());
    white.setColorAt(0, QColor(255, 255, 255, 0));
    white.setColorAt(1, QColor(255, 255, 255, 255));
    p.fillRect(r, white);
    p.restore();
    if (!c.IsEnabled()) roundedPanel(p, r, withAlpha(Theme::sunken(), 150), Qt::transparent, 6);
    // Marker where the chosen colour sits (hue across, saturation down).
    const QColor chosen = Theme::fromColorRef(c.GetSelectColor());
    const int h = std::max(0, chosen.hsvHue());
    const QPointF at(r.left() + r.width() * h / 360.0,
                     r.top() + r.height() * (1.0 - chosen.hsvSaturation() / 255.0));
    p.setPen(QPen(Qt::white, 2));
    p.setBrush(chosen);
    p.drawEllipse(at, 7, 7);
    p.setPen(QPen(QColor(0, 0, 0, 120), 1));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(at, 8.5, 8.5);
}

void paintProgress(QPainter& p, MProgress& c, const QRect& r) {
    const int range = std::max(1, c.GetRange());
    const double f = std::clamp(double(c.GetProgress()) / range, 0.0, 1.0);
    const int h = std::min(r.height(), 8);
    const QRect track(r.left(), r.top() + (r.height() - h) / 2, r.width(), h);
    roundedPanel(p, track, Theme::sunken(), Theme::border(), h / 2.0);
    const QRect fill(track.left(), track.top(), int(track.width() * f), track.height());
    if (fill.width() > 0) {
        QLinearGradient g(fill.topLeft(), fill.topRight());
        g.setColorAt(0, Theme::accent().darker(130));
        g.setColorAt(1, Theme::accent());
        p.setPen(Qt::NoPen);
        p.setBrush(g);
        p.drawRoundedRect(QRectF(fill), h / 2.0, h / 2.0);
    }
}

}  // namespace

bool ControlPainter::isInteractive(const MControl& c) {
    if (dynamic_cast<const MButton*>(&c) != nullptr) return true;
    static const char* const kNames[] = {"DListBox",    "MacroList",   "CRecordList",  "MTabCtrl",
                                         "CDeviceList", "MouseCtrl",   "MouseKeyCtrl", "DPIControl",
                                         "DPISlider",   "LightSlider", "ReporteCtrl",  "MPalette"};
    for (const char* n : kNames)
        if (is(c, n)) return true;
    return false;
}

void ControlPainter::paint(QPainter& p, MControl& c, const State& s) {
    const QRect r = toQ(c.GetRect());
    if (r.isEmpty()) return;
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    const char* name = c.GetClassName();
    if (auto* picture = dynamic_cast<MPicture*>(&c)) {
        paintPicture(p, *picture, r, s);
    } else if (std::strcmp(name, "MText") == 0) {
        drawTitle(p, dynamic_cast<MControlFont&>(c), r, s.dialogFont);
    } else if (auto* color = dynamic_cast<CColorButton*>(&c)) {
        paintColorButton(p, *color, r, s);
    } else if (auto* check = dynamic_cast<CCheckButton*>(&c)) {
        paintCheck(p, *check, r, s, false);
    } else if (auto* radio = dynamic_cast<CRadioButton*>(&c)) {
        paintCheck(p, *radio, r, s, true);
    } else if (auto* icon = dynamic_cast<CIconButton*>(&c)) {
        paintIconButton(p, *icon, r, s);
    } else if (std::strcmp(name, "CTextButton") == 0) {
        paintTextButton(p, dynamic_cast<MButton&>(c), r, s);
    } else if (std::strcmp(name, "CImageButton") == 0) {
        paintImageButton(p, dynamic_cast<MButton&>(c), r, s);
    } else if (std::strcmp(name, "CHelpButton") == 0) {
        paintHelpButton(p, dynamic_cast<MButton&>(c), r, s);
    } else if (auto* button = dynamic_cast<MButton*>(&c)) {
        paintButton(p, *button, r, s);
    } else if (std::strcmp(name, "DListBox") == 0 || std::strcmp(name, "MacroList") == 0) {
        paintTextList(p, c, r, s);
    } else if (auto* records = dynamic_cast<CRecordList*>(&c)) {
        paintRecordList(p, *records, r, s);
    } else if (auto* tabs = dynamic_cast<MTabCtrl*>(&c)) {
        paintTabs(p, *tabs, r, s);
    } else if (auto* area = dynamic_cast<CArea*>(&c)) {
        if (!area->IsTransparent())
            roundedPanel(p, r, Theme::fromColorRef(area->GetFillColor()), Theme::border(), 8);
    } else if (auto* round = dynamic_cast<CRoundArea*>(&c)) {
        paintRoundArea(p, *round, r, s);
    } else if (auto* devices = dynamic_cast<CDeviceList*>(&c)) {
        paintDeviceList(p, *devices, r, s);
    } else if (auto* state = dynamic_cast<CDeviceState*>(&c)) {
        paintDeviceState(p, *state, r, s);
    } else if (auto* battery = dynamic_cast<BatteryCtrl*>(&c)) {
        paintBattery(p, *battery, r);
    } else if (auto* mouse = dynamic_cast<MouseCtrl*>(&c)) {
        paintMouse(p, *mouse, r, s);
    } else if (auto* keys = dynamic_cast<MouseKeyCtrl*>(&c)) {
        paintMouseKeys(p, *keys, r, s);
    } else if (auto* stages = dynamic_cast<DPIControl*>(&c)) {
        paintStages(p, *stages, r, s);
    } else if (auto* slider = dynamic_cast<detail::SliderBase*>(&c)) {
        paintSlider(p, *slider, r, s);
    } else if (auto* rates = dynamic_cast<ReporteCtrl*>(&c)) {
        paintRates(p, *rates, r, s);
    } else if (auto* palette = dynamic_cast<MPalette*>(&c)) {
        paintPalette(p, *palette, r);
    } else if (auto* progress = dynamic_cast<MProgress*>(&c)) {
        paintProgress(p, *progress, r);
    }
    // Edit fields and combo boxes are Qt widgets; MTabLayout draws nothing.
    if (s.keyboardCurrent && isInteractive(c)) focusRing(p, r);
    p.restore();
}

void ControlPainter::paintMenu(QPainter& p, MenuWnd& menu, const QRect& client, int hoverRow) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    roundedPanel(p, client, Theme::panel(), Theme::border(), 6);
    p.setFont(Theme::font({}, 14, false));
    const auto items = menu.GetItems();
    for (int i = 0; i < static_cast<int>(items.size()); ++i) {
        const QRect row(client.left() + 3, client.top() + i * MenuWnd::kRowHeight + 2, client.width() - 6,
                        MenuWnd::kRowHeight - 4);
        if (i == hoverRow) roundedPanel(p, row, Theme::accent(), Qt::transparent, 4);
        p.setPen(i == hoverRow ? QColor(Qt::white) : Theme::text());
        drawElided(p, row.adjusted(12, 0, -8, 0), Qt::AlignLeft | Qt::AlignVCenter, qs(items[i].text));
    }
    p.restore();
}

int ControlPainter::rowCount(const MControl& c) {
    if (auto* list = dynamic_cast<const DListBox*>(&c)) return list->GetItemCount();
    if (auto* macros = dynamic_cast<const MacroList*>(&c)) return macros->GetItemCount();
    if (auto* records = dynamic_cast<const CRecordList*>(&c)) return records->GetItemCount();
    if (auto* keys = dynamic_cast<const MouseKeyCtrl*>(&c)) return keys->GetItemCount();
    return 0;
}

int ControlPainter::visibleRows(const MControl& c) {
    const int h = c.GetRect().Height() - 8;
    if (is(c, "DListBox")) return std::max(1, h / kListRow);
    if (is(c, "MacroList")) return std::max(1, h / kMacroRow);
    if (is(c, "CRecordList")) return std::max(1, h / kRecordRow);
    if (is(c, "MouseKeyCtrl")) return std::max(1, h / kKeyRow);
    return 0;
}

QRect ControlPainter::itemRect(const MControl& c, int index, int firstRow) {
    const QRect r = toQ(c.GetRect());
    if (index < 0) return {};
    int rowH = 0;
    if (is(c, "DListBox")) rowH = kListRow;
    if (is(c, "MacroList")) rowH = kMacroRow;
    if (is(c, "CRecordList")) rowH = kRecordRow;
    if (is(c, "MouseKeyCtrl")) rowH = kKeyRow;
    if (rowH > 0) {
        if (index < firstRow || index >= firstRow + visibleRows(c)) return {};
        return QRect(r.left() + 4, r.top() + 4 + (index - firstRow) * rowH, r.width() - 8, rowH - 2);
    }
    if (auto* tabs = dynamic_cast<const MTabCtrl*>(&c)) {
        const auto items = tabs->GetItems();
        if (index >= static_cast<int>(items.size()) || !items[index].visible) return {};
        int row = 0;
        for (int i = 0; i < index; ++i) row += items[i].visible ? 1 : 0;
        const int h = tabs->GetItemHeight() > 0 ? tabs->GetItemHeight() : 60;
        return QRect(r.left(), r.top() + row * h, r.width(), h);
    }
    if (auto* stages = dynamic_cast<const DPIControl*>(&c)) {
        if (index >= stages->GetItemCount()) return {};
        return stageRow(r, index);
    }
    if (auto* rates = dynamic_cast<const ReporteCtrl*>(&c)) {
        if (index >= rates->GetItemCount()) return {};
        return rateRect(r, index, rates->GetItemCount());
    }
    if (auto* mouse = dynamic_cast<const MouseCtrl*>(&c)) {
        const auto items = mouse->GetItems();
        if (index >= static_cast<int>(items.size())) return {};
        return calloutRect(items[index], r);
    }
    if (auto* devices = dynamic_cast<const CDeviceList*>(&c)) {
        const int n = devices->GetItemCount();
        if (index >= n) return {};
        const int total = n * kDeviceCardWidth + (n - 1) * kDeviceCardGap;
        const int x =
            r.left() + std::max(0, (r.width() - total) / 2) + index * (kDeviceCardWidth + kDeviceCardGap);
        return QRect(x, r.top(), kDeviceCardWidth, std::min(r.height(), 300)).intersected(r);
    }
    return {};
}

int ControlPainter::itemAt(const MControl& c, QPoint point, int firstRow, Part* part) {
    if (part) *part = Part::None;
    int count = rowCount(c);
    if (auto* tabs = dynamic_cast<const MTabCtrl*>(&c)) count = tabs->GetItemCount();
    if (auto* stages = dynamic_cast<const DPIControl*>(&c)) count = stages->GetItemCount();
    if (auto* rates = dynamic_cast<const ReporteCtrl*>(&c)) count = rates->GetItemCount();
    if (auto* mouse = dynamic_cast<const MouseCtrl*>(&c)) count = mouse->GetItemCount();
    if (auto* devices = dynamic_cast<const CDeviceList*>(&c)) count = devices->GetItemCount();
    // Callouts may overlap: the last drawn (topmost) wins.
    for (int i = count - 1; i >= 0; --i) {
        const QRect item = itemRect(c, i, firstRow);
        if (!item.contains(point)) continue;
        if (part) {
            *part = Part::Row;
            if (is(c, "DPIControl") && stageSwatch(item).contains(point)) *part = Part::Swatch;
            if (is(c, "MacroList") && point.x() >= item.right() - 30) *part = Part::EditButton;
        }
        return i;
    }
    return -1;
}

int ControlPainter::sliderPositionAt(const detail::SliderBase& slider, QPoint point) {
    const auto* dpi = dynamic_cast<const DPISlider*>(&slider);
    const bool labels = dpi != nullptr && !(dpi->GetLowDesc().empty() && dpi->GetHighDesc().empty());
    const QRect track = sliderTrack(toQ(slider.GetRect()), labels);
    const int lo = slider.GetRangeMin();
    const int hi = slider.GetRangeMax();
    if (hi <= lo || track.width() <= 0) return lo;
    const double f = std::clamp(double(point.x() - track.left()) / track.width(), 0.0, 1.0);
    return lo + static_cast<int>(f * (hi - lo) + 0.5);
}

std::uint32_t ControlPainter::paletteColorAt(const MControl& palette, QPoint point) {
    return Theme::toColorRef(paletteColor(toQ(palette.GetRect()), point));
}

}  // namespace DUI
