// Drawing of every toolkit control class with QPainter from the control's
// getters, and the item geometry the window's mouse handling shares with the
// drawing (which row, tab, stage or swatch lies under a point).
#pragma once

#include <QPoint>
#include <QRect>

#include <cstdint>
#include <string>

class QPainter;

namespace DUI {

class MControl;
class MenuWnd;

namespace detail {
class SliderBase;
}

class ControlPainter {
public:
    // What the window knows beyond the control's own state.
    struct State {
        bool hover = false;
        bool pressed = false;
        bool keyboardCurrent = false;  // the keyboard acts on it (focus ring)
        int hoverItem = -1;
        int firstRow = 0;        // scrolled-away rows of a list
        std::string dialogFont;  // the dialog's font name
    };

    // Part of an item a point falls on.
    enum class Part { None, Row, Swatch, EditButton };

    // Draws `control` into its rectangle (painter in window client coordinates).
    static void paint(QPainter& painter, MControl& control, const State& state);
    static void paintMenu(QPainter& painter, MenuWnd& menu, const QRect& client, int hoverRow);

    // Index of the item under `point` (window client coordinates), -1 for none.
    static int itemAt(const MControl& control, QPoint point, int firstRow, Part* part = nullptr);
    // The item's rectangle in window client coordinates (in-place editors).
    static QRect itemRect(const MControl& control, int index, int firstRow);
    // How many rows fit (lists scroll by whole rows).
    static int visibleRows(const MControl& control);
    static int rowCount(const MControl& control);
    // Slider position under `point`.
    static int sliderPositionAt(const detail::SliderBase& slider, QPoint point);
    // Palette colour (COLORREF) under `point`, clamped into the palette.
    static std::uint32_t paletteColorAt(const MControl& palette, QPoint point);
    // Whether the control reacts to the mouse (buttons, lists, sliders...).
    static bool isInteractive(const MControl& control);
};

}  // namespace DUI
