// The Qt widget of one toolkit window: a frameless top-level widget that
// paints the window's controls, hosts the Qt edit fields and combo boxes that
// stand in for MEdit and MComboBox, and turns mouse and keyboard input into
// the controls' user...() calls. It holds the window's handle, never a
// pointer, so a window destroyed meanwhile is simply not found.
#pragma once

#include "ui/qt/ControlPainter.h"
#include "ui/toolkit/Messages.h"

#include <QPointer>
#include <QWidget>

#include <map>

class QLineEdit;

namespace DUI {

class MControl;
class MDialog;
class MWindow;

class QtWindow : public QWidget {
    Q_OBJECT
public:
    explicit QtWindow(HWND hwnd);
    ~QtWindow() override;

    HWND hwnd() const { return m_hwnd; }
    // Title, flags, geometry, visibility and icon from the toolkit window.
    void applyWindowState();
    // A control (nullptr: the whole window) changed: native widgets follow
    // their controls and the window is repainted.
    void controlChanged(MControl* control);
    // The window is gone on the toolkit side: stop acting on it.
    void detach();
    // Modal runs block the other windows.
    void setModal(bool modal);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    bool focusNextPrevChild(bool next) override;

private:
    MWindow* window() const;
    MDialog* dialog() const;
    bool owns(const MControl* control) const;
    // The topmost shown control under `point` that reacts to the mouse.
    MControl* interactiveAt(QPoint point) const;
    ControlPainter::State stateFor(MControl* control) const;
    void syncNativeWidgets();
    void syncNative(MControl* control);
    QWidget* createNative(MControl* control);
    void reportGeometry();
    // In-place editor over a list row or DPI stage.
    void beginInlineEdit(MControl* control, int index);
    void endInlineEdit(bool commit);
    // Keyboard use of painted controls.
    void moveKeyboardCurrent(bool forward);
    void activateKeyboardCurrent();
    void stepKeyboardCurrent(int delta);
    void scrollToShow(MControl* control, int index);

    HWND m_hwnd = 0;
    bool m_detached = false;
    bool m_applying = false;  // geometry set by the toolkit, not by the user
    bool m_syncing = false;   // native widgets being updated from their controls
    std::map<MControl*, QPointer<QWidget>> m_native;
    std::map<const MControl*, int> m_firstRow;
    MControl* m_hover = nullptr;
    int m_hoverItem = -1;
    MControl* m_pressed = nullptr;
    MControl* m_keyboardCurrent = nullptr;
    bool m_dragging = false;
    QPoint m_dragOffset;
    QLineEdit* m_inlineEditor = nullptr;
    MControl* m_inlineTarget = nullptr;
    int m_inlineIndex = -1;
    QString m_inlineOriginal;
    bool m_inlineEnding = false;
    int m_menuHover = -1;
    Qt::WindowFlags m_flags;
};

}  // namespace DUI
