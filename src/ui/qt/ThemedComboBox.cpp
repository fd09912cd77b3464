// Drop-down chevron of the themed combo box (see ThemedComboBox.h).
#include "ui/qt/ThemedComboBox.h"

#include "ui/qt/Theme.h"

#include <QPainter>

namespace DUI {

void ThemedComboBox::paintEvent(QPaintEvent* event) {
    QComboBox::paintEvent(event);
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor color =
        !isEnabled() ? Theme::disabledText() : (underMouse() ? Theme::accent() : Theme::dimText());
    p.setPen(QPen(color, 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    const QPointF c(width() - 14, height() / 2.0);
    p.drawPolyline(QPolygonF({c + QPointF(-4, -2), c + QPointF(0, 2), c + QPointF(4, -2)}));
}

}  // namespace DUI
