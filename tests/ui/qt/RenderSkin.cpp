// Renders every SVG picture of a skin folder to a PNG of the same name and
// size beside it. The skin's pictures are drawn as SVG; the PNG files are
// what image-size readers and the window/tray icon loaders take. Run after
// editing a picture:  quorvik_render_skin data/skins/default
#include <QDirIterator>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

#include <cstdio>

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <skin folder>\n", argv[0]);
        return 2;
    }
    int failures = 0;
    QDirIterator it(QString::fromLocal8Bit(argv[1]), {QStringLiteral("*.svg")}, QDir::Files,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString svgPath = it.next();
        QSvgRenderer renderer(svgPath);
        const QSize size = renderer.defaultSize();
        if (!renderer.isValid() || size.isEmpty()) {
            std::fprintf(stderr, "cannot read %s\n", qPrintable(svgPath));
            ++failures;
            continue;
        }
        QImage image(size, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        renderer.render(&painter);
        painter.end();
        const QString pngPath = svgPath.left(svgPath.size() - 4) + QStringLiteral(".png");
        if (!image.save(pngPath, "PNG")) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(pngPath));
            ++failures;
        }
    }
    return failures == 0 ? 0 : 1;
}
