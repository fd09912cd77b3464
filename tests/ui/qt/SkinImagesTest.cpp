// Skin picture lookup: a ".png" name falls back to the same stem ".svg", a
// damaged or missing picture reports that nothing was drawn.
#include "QtTestSupport.h"

#include "ui/qt/SkinImages.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>

namespace DUI::test {
namespace {

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

TEST(SkinImagesTest, PngNamesFallBackToSvgAndMissingPicturesDrawNothing) {
    qtApp();
    QTemporaryDir skin;
    ASSERT_TRUE(skin.isValid());
    const QByteArray svg =
        "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"40\" height=\"20\">"
        "<rect width=\"40\" height=\"20\" fill=\"#ff0000\"/></svg>";
    writeFile(skin.filePath("vector.svg"), svg);
    writeFile(skin.filePath("damaged.png"), "\x89PNG\r\n\x1a\n broken");
    writeFile(skin.filePath("damaged.svg"), svg);
    writeFile(skin.filePath("bad.png"), "not a picture");
    writeFile(skin.filePath("bad.svg"), "<svg broken");
    const std::string saved = Manager::GetSkinFolder();
    Manager::SetSkinFolder(skin.path().toStdString() + "/");
    SkinImages& images = SkinImages::instance();

    struct Case {
        const char* name;
        bool drawn;
    };
    const Case cases[] = {
        {"vector.png", true},    // only the SVG exists
        {"vector.svg", true},    // named directly
        {"damaged.png", true},   // unreadable PNG, readable SVG twin
        {"bad.png", false},      // neither reads
        {"missing.png", false},  // nothing there
        {"", false},             // no name at all
        {"folder/missing.svg", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QImage canvas(60, 30, QImage::Format_ARGB32);
        canvas.fill(Qt::black);
        QPainter painter(&canvas);
        EXPECT_EQ(images.draw(painter, c.name, QRect(0, 0, 60, 30), SkinImages::Fit::Stretch), c.drawn);
        painter.end();
        EXPECT_EQ(images.size(c.name).isValid(), c.drawn);
        // Drawn means red pixels; not drawn leaves the canvas untouched.
        EXPECT_EQ(canvas.pixelColor(30, 15) == QColor(Qt::red), c.drawn);
    }
    EXPECT_EQ(images.size("vector.png"), QSize(40, 20));
    Manager::SetSkinFolder(saved);
    images.clear();
}

}  // namespace
}  // namespace DUI::test
