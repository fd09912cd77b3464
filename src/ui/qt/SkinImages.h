// Skin pictures for the Qt backend: names resolved in the skin folder, loaded
// once and drawn stretched, framed (nine-slice) or centred. A ".png" name
// falls back to the same stem ".svg"; a picture that cannot be had draws
// nothing and says so, so the caller paints its own stand-in.
#pragma once

#include <QPixmap>
#include <QRect>
#include <QSize>

#include <map>
#include <memory>
#include <string>

class QPainter;
class QSvgRenderer;

namespace DUI {

class SkinImages {
public:
    enum class Fit {
        Stretch,  // fill the rectangle
        Frame,    // keep the corners, stretch the middle (buttons, panels)
        Center,   // natural size, centred (scaled down when too big)
        Contain,  // as large as fits, aspect kept, centred
    };

    static SkinImages& instance();

    // Natural size; invalid when the picture is missing.
    QSize size(const std::string& name);
    bool exists(const std::string& name) { return size(name).isValid(); }
    // Draws the picture; false when it is missing (nothing drawn).
    bool draw(QPainter& painter, const std::string& name, const QRect& target, Fit fit, int frame = -1);
    // The picture at a given size (icons for the tray and window).
    QPixmap pixmap(const std::string& name, QSize size = {});
    // Forget what was loaded (skin folder or theme changed).
    void clear();

private:
    struct Entry {
        bool loaded = false;
        QPixmap pixmap;                     // raster pictures
        std::shared_ptr<QSvgRenderer> svg;  // vector pictures
        QSize natural;
    };
    Entry& entry(const std::string& name);
    QPixmap render(Entry& e, QSize size);

    std::map<std::string, Entry> m_entries;  // by resolved path
};

}  // namespace DUI
