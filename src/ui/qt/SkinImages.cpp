// Skin picture loading and drawing (see SkinImages.h).
#include "ui/qt/SkinImages.h"

#include "ui/toolkit/MRender.h"

#include <qdrawutil.h>
#include <QFileInfo>
#include <QPainter>
#include <QSvgRenderer>

namespace DUI {

SkinImages& SkinImages::instance() {
    static SkinImages images;
    return images;
}

void SkinImages::clear() {
    m_entries.clear();
}

SkinImages::Entry& SkinImages::entry(const std::string& name) {
    const std::string path = name.empty() ? std::string() : MRender::ResolveSkinPath(name);
    Entry& e = m_entries[path];
    if (e.loaded || path.empty()) return e;
    e.loaded = true;
    const QString file = QString::fromStdString(path);
    auto loadSvg = [&e](const QString& svgPath) {
        auto renderer = std::make_shared<QSvgRenderer>(svgPath);
        if (!renderer->isValid()) return false;
        e.svg = renderer;
        e.natural = renderer->defaultSize();
        return e.natural.isValid() && !e.natural.isEmpty();
    };
    if (file.endsWith(QStringLiteral(".svg"), Qt::CaseInsensitive)) {
        if (QFileInfo(file).isFile()) loadSvg(file);
        return e;
    }
    if (QFileInfo(file).isFile() && e.pixmap.load(file) && !e.pixmap.isNull()) {
        e.natural = e.pixmap.size();
        return e;
    }
    e.pixmap = {};
    // The skin ships vector sources: "logo.png" may be "logo.svg".
    const int dot = file.lastIndexOf(QLatin1Char('.'));
    const int slash = file.lastIndexOf(QLatin1Char('/'));
    if (dot > slash) {
        const QString svgPath = file.left(dot) + QStringLiteral(".svg");
        if (QFileInfo(svgPath).isFile()) loadSvg(svgPath);
    }
    return e;
}

QSize SkinImages::size(const std::string& name) {
    const Entry& e = entry(name);
    return e.natural.isValid() && !e.natural.isEmpty() ? e.natural : QSize();
}

QPixmap SkinImages::render(Entry& e, QSize size) {
    if (!size.isValid() || size.isEmpty()) size = e.natural;
    if (!e.svg)
        return size == e.natural ? e.pixmap
                                 : e.pixmap.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    QPixmap out(size);
    out.fill(Qt::transparent);
    QPainter p(&out);
    p.setRenderHint(QPainter::Antialiasing);
    e.svg->render(&p, QRectF(0, 0, size.width(), size.height()));
    return out;
}

QPixmap SkinImages::pixmap(const std::string& name, QSize size) {
    Entry& e = entry(name);
    if (!e.natural.isValid() || e.natural.isEmpty()) return {};
    return render(e, size);
}

bool SkinImages::draw(QPainter& painter, const std::string& name, const QRect& target, Fit fit, int frame) {
    Entry& e = entry(name);
    if (!e.natural.isValid() || e.natural.isEmpty() || target.isEmpty()) return false;
    painter.save();
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.setRenderHint(QPainter::Antialiasing);
    switch (fit) {
        case Fit::Stretch:
            if (e.svg)
                e.svg->render(&painter, QRectF(target));
            else
                painter.drawPixmap(target, e.pixmap);
            break;
        case Fit::Frame: {
            // Corners of the natural picture stay as drawn; only the middle stretches.
            const QPixmap source = render(e, e.natural);
            int m = frame >= 0 ? frame : std::min(e.natural.width(), e.natural.height()) / 3;
            m = std::min(
                {m, target.width() / 2, target.height() / 2, e.natural.width() / 2, e.natural.height() / 2});
            const QMargins margins(m, m, m, m);
            qDrawBorderPixmap(&painter, target, margins, source, source.rect(), margins);
            break;
        }
        case Fit::Center:
        case Fit::Contain: {
            QSize size = e.natural;
            if (fit == Fit::Contain || size.width() > target.width() || size.height() > target.height())
                size = size.scaled(target.size(), Qt::KeepAspectRatio);
            const QRect placed(target.x() + (target.width() - size.width()) / 2,
                               target.y() + (target.height() - size.height()) / 2, size.width(),
                               size.height());
            if (e.svg)
                e.svg->render(&painter, QRectF(placed));
            else
                painter.drawPixmap(placed, e.pixmap);
            break;
        }
    }
    painter.restore();
    return true;
}

}  // namespace DUI
