// One toolkit window shown by Qt (see QtWindow.h).
#include "ui/qt/QtWindow.h"

#include "ui/qt/ControlPainter.h"
#include "ui/qt/SkinImages.h"
#include "ui/qt/Theme.h"
#include "ui/qt/ThemedComboBox.h"
#include "ui/toolkit/CDeviceList.h"
#include "ui/toolkit/CRecordList.h"
#include "ui/toolkit/DListBox.h"
#include "ui/toolkit/DPIControl.h"
#include "ui/toolkit/MButton.h"
#include "ui/toolkit/MComboBox2.h"
#include "ui/toolkit/MDialog.h"
#include "ui/toolkit/MEdit.h"
#include "ui/toolkit/MPalette.h"
#include "ui/toolkit/MRender.h"
#include "ui/toolkit/MTabCtrl.h"
#include "ui/toolkit/MacroList.h"
#include "ui/toolkit/MenuWnd.h"
#include "ui/toolkit/MouseCtrl.h"
#include "ui/toolkit/MouseKeyCtrl.h"
#include "ui/toolkit/ReporteCtrl.h"
#include "ui/toolkit/detail/SliderBase.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QLinearGradient>
#include <QPainter>
#include <QWindow>

#include <cstring>

namespace DUI {
namespace {

QRect toQ(const Rect& r) {
    return QRect(r.left, r.top, r.Width(), r.Height());
}
bool isNativeClass(const MControl& c) {
    return dynamic_cast<const MEdit*>(&c) != nullptr || dynamic_cast<const MComboBox*>(&c) != nullptr;
}
int selectionOf(const MControl& c) {
    if (auto* l = dynamic_cast<const DListBox*>(&c)) return l->GetCurSel();
    if (auto* m = dynamic_cast<const MacroList*>(&c)) return m->GetCurSel();
    if (auto* r = dynamic_cast<const CRecordList*>(&c)) return r->GetCurSel();
    if (auto* t = dynamic_cast<const MTabCtrl*>(&c)) return t->GetCurSel();
    if (auto* k = dynamic_cast<const MouseKeyCtrl*>(&c)) return k->GetSelectItem();
    if (auto* m = dynamic_cast<const MouseCtrl*>(&c)) return m->GetSelectItem();
    if (auto* r = dynamic_cast<const ReporteCtrl*>(&c)) return r->GetSelectItem();
    if (auto* d = dynamic_cast<const DPIControl*>(&c)) return d->GetSelectItem();
    if (auto* d = dynamic_cast<const CDeviceList*>(&c)) return d->GetSelectIndex();
    return -1;
}

// Choosing item `index` the way a click on it does.
bool selectItem(MControl& c, int index) {
    if (auto* l = dynamic_cast<DListBox*>(&c)) return l->userChoose(index);
    if (auto* m = dynamic_cast<MacroList*>(&c)) return m->userChoose(index);
    if (auto* r = dynamic_cast<CRecordList*>(&c)) return r->userSelect(index);
    if (auto* t = dynamic_cast<MTabCtrl*>(&c)) return t->userSelect(index);
    if (auto* k = dynamic_cast<MouseKeyCtrl*>(&c)) return k->userSelect(index);
    if (auto* m = dynamic_cast<MouseCtrl*>(&c)) return m->userSelect(index);
    if (auto* r = dynamic_cast<ReporteCtrl*>(&c)) return r->userSelect(index);
    if (auto* d = dynamic_cast<DPIControl*>(&c)) return d->userSelect(index);
    return false;
}

int itemCount(const MControl& c) {
    if (auto* t = dynamic_cast<const MTabCtrl*>(&c)) return t->GetItemCount();
    if (auto* m = dynamic_cast<const MouseCtrl*>(&c)) return m->GetItemCount();
    if (auto* r = dynamic_cast<const ReporteCtrl*>(&c)) return r->GetItemCount();
    if (auto* d = dynamic_cast<const DPIControl*>(&c)) return d->GetItemCount();
    if (auto* d = dynamic_cast<const CDeviceList*>(&c)) return d->GetItemCount();
    return ControlPainter::rowCount(c);
}

}  // namespace

QtWindow::QtWindow(HWND hwnd) : m_hwnd(hwnd) {
    setAttribute(Qt::WA_DeleteOnClose, false);
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    setStyleSheet(Theme::styleSheet());
    applyWindowState();
}

QtWindow::~QtWindow() = default;

MWindow* QtWindow::window() const {
    return m_detached ? nullptr : MWindow::FromHandle(m_hwnd);
}
MDialog* QtWindow::dialog() const {
    return dynamic_cast<MDialog*>(window());
}
bool QtWindow::owns(const MControl* control) const {
    MDialog* d = dialog();
    return control != nullptr && d != nullptr && d->OwnsControl(control);
}

void QtWindow::detach() {
    endInlineEdit(false);
    m_detached = true;
    m_hover = m_pressed = m_keyboardCurrent = nullptr;
    for (auto& [control, widget] : m_native)
        if (widget) widget->hide();
    hide();
}

void QtWindow::applyWindowState() {
    MWindow* w = window();
    if (w == nullptr) return;
    Qt::WindowFlags flags = Qt::Window;
    if (w->GetStyle() & WS_POPUP) flags |= Qt::FramelessWindowHint;
    if (w->GetExStyle() & WS_EX_TOOLWINDOW) flags = (flags & ~Qt::Window) | Qt::Tool;
    if (w->IsTopmost()) flags |= Qt::WindowStaysOnTopHint;
    if (dynamic_cast<MenuWnd*>(w) != nullptr) flags |= Qt::WindowStaysOnTopHint;
    m_applying = true;
    if (flags != m_flags) {
        const bool wasVisible = isVisible();
        setWindowFlags(flags);  // hides the widget; shown again below
        m_flags = flags;
        if (wasVisible && w->IsWindowVisible()) show();
    }
    const QString title = QString::fromStdString(w->GetTitle());
    if (windowTitle() != title) setWindowTitle(title);
    const QRect rect = toQ(w->GetWindowRect());
    if (rect.isValid() && geometry() != rect) setGeometry(rect);
    if (HICON icon = w->GetIcon()) {
        const QPixmap pixmap = SkinImages::instance().pixmap(MRender::GetIconPath(icon));
        if (!pixmap.isNull()) setWindowIcon(QIcon(pixmap));
    }
    if (w->IsWindowVisible()) {
        // A modal run blocks the other windows; modality is set while hidden
        // so showing the window is enough (ShowModal shows it, then runs).
        const Qt::WindowModality modality = w->IsModal() ? Qt::ApplicationModal : Qt::NonModal;
        if (!isVisible() && windowModality() != modality) setWindowModality(modality);
        if (w->IsIconic()) {
            if (!isMinimized()) showMinimized();
        } else if (!isVisible() || isMinimized()) {
            showNormal();
        }
    } else if (isVisible()) {
        endInlineEdit(true);
        hide();
    }
    m_applying = false;
    syncNativeWidgets();
    update();
}

void QtWindow::setModal(bool modal) {
    const Qt::WindowModality wanted = modal ? Qt::ApplicationModal : Qt::NonModal;
    if (windowModality() == wanted) return;
    const bool wasVisible = isVisible();
    m_applying = true;
    if (wasVisible) hide();
    setWindowModality(wanted);
    if (wasVisible) show();
    m_applying = false;
}

void QtWindow::controlChanged(MControl* control) {
    if (control != nullptr && !owns(control)) return;
    // Containers change what their children show, so every native widget
    // follows; they are few.
    syncNativeWidgets();
    update();
}

// --- native child widgets -------------------------------------------------

QWidget* QtWindow::createNative(MControl* control) {
    if (auto* edit = dynamic_cast<MEdit*>(control)) {
        auto* line = new QLineEdit(this);
        line->installEventFilter(this);
        connect(line, &QLineEdit::textEdited, this, [this, edit, line](const QString& text) {
            if (m_syncing || !owns(edit)) return;
            edit->userSetText(text.toStdString());
            // The field may refuse characters (numbers only, length limit).
            if (owns(edit)) {
                const QString stored = QString::fromStdString(edit->GetEditText());
                if (stored != line->text()) {
                    const int cursor = std::min<int>(line->cursorPosition(), stored.size());
                    m_syncing = true;
                    line->setText(stored);
                    line->setCursorPosition(cursor);
                    m_syncing = false;
                }
            }
        });
        connect(line, &QLineEdit::returnPressed, this, [this, edit] {
            if (!m_syncing && owns(edit)) edit->userPressEnter();
        });
        return line;
    }
    if (auto* combo = dynamic_cast<MComboBox*>(control)) {
        auto* box = new ThemedComboBox(this);
        box->installEventFilter(this);
        box->view()->setTextElideMode(Qt::ElideRight);
        connect(box, &QComboBox::activated, this, [this, combo](int index) {
            if (!m_syncing && owns(combo)) combo->userChoose(index);
        });
        return box;
    }
    return nullptr;
}

void QtWindow::syncNative(MControl* control) {
    QPointer<QWidget>& slot = m_native[control];
    if (!slot) slot = createNative(control);
    QWidget* widget = slot.data();
    if (widget == nullptr) return;
    m_syncing = true;
    const bool shown = control->IsShown() && !m_detached;
    widget->setGeometry(toQ(control->GetRect()));
    widget->setEnabled(control->IsEnabled());
    widget->setToolTip(QString::fromStdString(control->GetTooltip()));
    if (auto* edit = dynamic_cast<MEdit*>(control)) {
        auto* line = static_cast<QLineEdit*>(widget);
        line->setFont(Theme::font(
            edit->GetFontName().empty() && dialog() ? dialog()->GetFontName() : edit->GetFontName(),
            edit->GetFontWidth(), edit->IsBold()));
        const QString text = QString::fromStdString(edit->GetEditText());
        if (line->text() != text) line->setText(text);
        line->setPlaceholderText(QString::fromStdString(edit->GetTipInfo()));
        line->setMaxLength(edit->GetLimitText() > 0 ? edit->GetLimitText() : 32767);
        line->setAlignment(edit->GetAlignment() == 1   ? Qt::AlignCenter
                           : edit->GetAlignment() == 2 ? (Qt::AlignRight | Qt::AlignVCenter)
                                                       : (Qt::AlignLeft | Qt::AlignVCenter));
    } else if (auto* combo = dynamic_cast<MComboBox*>(control)) {
        auto* box = static_cast<QComboBox*>(widget);
        box->setFont(Theme::font(combo->GetFontName(), combo->GetFontWidth(), combo->IsBold()));
        const int count = combo->GetItemCount();
        bool same = box->count() == count;
        for (int i = 0; same && i < count; ++i)
            same = box->itemText(i) == QString::fromStdString(combo->GetItemText(i));
        if (!same) {
            box->clear();
            for (int i = 0; i < count; ++i) box->addItem(QString::fromStdString(combo->GetItemText(i)));
        }
        box->setCurrentIndex(combo->GetCurSel());
        // The active group of the assignment page is marked in the accent colour.
        const auto* marked = dynamic_cast<MComboBox2*>(combo);
        const QString sheet =
            marked != nullptr && marked->GetCheck() != 0
                ? QStringLiteral("QComboBox { border: 1px solid %1; border-left: 4px solid %1; }")
                      .arg(Theme::accent().name())
                : QString();
        if (box->styleSheet() != sheet) box->setStyleSheet(sheet);
    }
    widget->setVisible(shown);
    // Keyboard focus follows the dialog's focus control.
    if (shown && control->HasFocus() && !widget->hasFocus() && isVisible())
        widget->setFocus(Qt::OtherFocusReason);
    else if (!control->HasFocus() && widget->hasFocus())
        setFocus(Qt::OtherFocusReason);
    m_syncing = false;
}

void QtWindow::syncNativeWidgets() {
    MDialog* d = dialog();
    if (d == nullptr) return;
    for (MControl* control : d->GetControls())
        if (isNativeClass(*control)) syncNative(control);
}

bool QtWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut) {
        for (auto& [control, widget] : m_native) {
            if (widget.data() != watched || m_syncing || !owns(control)) continue;
            if (event->type() == QEvent::FocusIn) {
                const auto reason = static_cast<QFocusEvent*>(event)->reason();
                const bool byUser = reason == Qt::MouseFocusReason || reason == Qt::TabFocusReason ||
                                    reason == Qt::BacktabFocusReason || reason == Qt::ShortcutFocusReason;
                if (byUser) {
                    control->userFocus();
                } else if (!control->HasFocus()) {
                    // Qt hands a newly shown window's focus to its first field;
                    // the program did not ask for it, so the window keeps it.
                    QPointer<QWidget> field = widget;
                    QMetaObject::invokeMethod(
                        this,
                        [this, field, control] {
                            if (field && field->hasFocus() && owns(control) && !control->HasFocus())
                                setFocus(Qt::OtherFocusReason);
                        },
                        Qt::QueuedConnection);
                }
            } else {
                // A combo box opening its list keeps the focus.
                const auto reason = static_cast<QFocusEvent*>(event)->reason();
                if (reason != Qt::PopupFocusReason) control->userLeave();
            }
            break;
        }
    }
    if (watched == m_inlineEditor && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
        endInlineEdit(false);
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

// --- painting -------------------------------------------------------------

ControlPainter::State QtWindow::stateFor(MControl* control) const {
    ControlPainter::State s;
    s.hover = control == m_hover;
    s.pressed = control == m_pressed && control == m_hover;
    s.keyboardCurrent = control == m_keyboardCurrent && hasFocus();
    s.hoverItem = control == m_hover ? m_hoverItem : -1;
    auto it = m_firstRow.find(control);
    s.firstRow = it == m_firstRow.end() ? 0 : it->second;
    if (MDialog* d = dialog()) s.dialogFont = d->GetFontName();
    return s;
}

void QtWindow::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRect client = rect();
    MWindow* w = window();
    if (auto* menu = dynamic_cast<MenuWnd*>(w)) {
        ControlPainter::paintMenu(p, *menu, client, m_menuHover);
        return;
    }
    MDialog* d = dialog();
    bool background = false;
    if (d != nullptr && !d->GetBKImage().empty()) {
        const auto [mode, value] = d->GetBackMode();
        background = SkinImages::instance().draw(p, d->GetBKImage(), client, SkinImages::Fit::Frame,
                                                 mode == 1 ? value : -1);
    }
    if (!background) {
        QLinearGradient g(client.topLeft(), client.bottomLeft());
        if (w != nullptr && w->GetPaintManager().HasBackColor()) {
            const auto [top, bottom] = w->GetPaintManager().GetBackColor();
            g.setColorAt(0, Theme::fromColorRef(top));
            // A light bottom colour would wash out the dark theme: keep its
            // hue, darkened to the theme's range.
            QColor low = Theme::fromColorRef(bottom);
            if (low.lightness() > 90) low = low.darker(std::max(100, low.lightness() * 3));
            g.setColorAt(1, low);
        } else {
            g.setColorAt(0, Theme::window());
            g.setColorAt(1, Theme::windowBottom());
        }
        p.fillRect(client, g);
    }
    if (d != nullptr) {
        for (MControl* control : d->GetControls()) {
            if (!control->IsShown() || isNativeClass(*control)) continue;
            ControlPainter::paint(p, *control, stateFor(control));
        }
    }
    if (w != nullptr && (w->GetStyle() & WS_POPUP) && !w->IsZoomed()) {
        p.setPen(QPen(Theme::border(), 1));
        p.setBrush(Qt::NoBrush);
        p.drawRect(QRectF(client).adjusted(0.5, 0.5, -0.5, -0.5));
    }
}

// --- mouse ----------------------------------------------------------------

MControl* QtWindow::interactiveAt(QPoint point) const {
    MDialog* d = dialog();
    if (d == nullptr) return nullptr;
    const auto controls = d->GetControls();
    for (auto it = controls.rbegin(); it != controls.rend(); ++it) {
        MControl* c = *it;
        if (!c->IsShown() || isNativeClass(*c)) continue;
        if (!toQ(c->GetRect()).contains(point)) continue;
        if (ControlPainter::isInteractive(*c)) return c;
    }
    return nullptr;
}

void QtWindow::mousePressEvent(QMouseEvent* event) {
    const QPoint pos = event->position().toPoint();
    if (m_inlineEditor != nullptr && !m_inlineEditor->geometry().contains(pos)) endInlineEdit(true);
    MWindow* w = window();
    if (w == nullptr) return;
    if (auto* menu = dynamic_cast<MenuWnd*>(w)) {
        const int row = pos.y() / MenuWnd::kRowHeight;
        const auto items = menu->GetItems();
        if (event->button() == Qt::LeftButton && row >= 0 && row < static_cast<int>(items.size()))
            menu->userChoose(items[row].command);
        return;
    }
    MControl* c = interactiveAt(pos);
    if (c == nullptr) {
        // Empty space: the edit fields lose the focus, and the frameless
        // window is moved by dragging its caption (small dialogs anywhere).
        setFocus(Qt::MouseFocusReason);
        if (event->button() == Qt::LeftButton && !w->IsZoomed() && (pos.y() < 60 || height() < 400)) {
            if (windowHandle() == nullptr || !windowHandle()->startSystemMove()) {
                m_dragging = true;
                m_dragOffset = event->globalPosition().toPoint() - frameGeometry().topLeft();
            }
        }
        return;
    }
    m_pressed = c;
    m_keyboardCurrent = c;
    if (c->AcceptsFocus()) c->userFocus();
    ControlPainter::Part part = ControlPainter::Part::None;
    const int item = ControlPainter::itemAt(*c, pos, stateFor(c).firstRow, &part);
    if (event->button() == Qt::RightButton) {
        if (auto* macros = dynamic_cast<MacroList*>(c)) macros->userContextMenu(item);
        if (auto* records = dynamic_cast<CRecordList*>(c)) records->userContextMenu(item);
        m_pressed = nullptr;
        update();
        return;
    }
    if (event->button() != Qt::LeftButton) return;
    if (auto* slider = dynamic_cast<detail::SliderBase*>(c)) {
        slider->userDrag(ControlPainter::sliderPositionAt(*slider, pos));
    } else if (auto* palette = dynamic_cast<MPalette*>(c)) {
        palette->userDrag(ControlPainter::paletteColorAt(*palette, pos));
    } else if (auto* stages = dynamic_cast<DPIControl*>(c)) {
        if (item >= 0 && part == ControlPainter::Part::Swatch)
            stages->userColorClick(item);
        else if (item >= 0)
            stages->userSelect(item);
    } else if (auto* macros = dynamic_cast<MacroList*>(c)) {
        if (item >= 0) {
            macros->userChoose(item);
            if (part == ControlPainter::Part::EditButton) beginInlineEdit(c, item);
        }
    } else if (dynamic_cast<MButton*>(c) == nullptr && dynamic_cast<CDeviceList*>(c) == nullptr &&
               item >= 0) {
        selectItem(*c, item);
    }
    update();
}

void QtWindow::mouseMoveEvent(QMouseEvent* event) {
    const QPoint pos = event->position().toPoint();
    if (m_dragging) {
        move(event->globalPosition().toPoint() - m_dragOffset);
        return;
    }
    if (auto* menu = dynamic_cast<MenuWnd*>(window())) {
        const int row = pos.y() / MenuWnd::kRowHeight;
        const int hover = row < static_cast<int>(menu->GetItems().size()) ? row : -1;
        if (hover != m_menuHover) {
            m_menuHover = hover;
            update();
        }
        return;
    }
    if (m_pressed != nullptr && (event->buttons() & Qt::LeftButton) && owns(m_pressed)) {
        if (auto* slider = dynamic_cast<detail::SliderBase*>(m_pressed)) {
            const int position = ControlPainter::sliderPositionAt(*slider, pos);
            if (position != slider->GetProgress()) slider->userDrag(position);
        } else if (auto* palette = dynamic_cast<MPalette*>(m_pressed)) {
            const std::uint32_t color = ControlPainter::paletteColorAt(*palette, pos);
            if (color != palette->GetSelectColor()) palette->userDrag(color);
        }
    }
    MControl* c = interactiveAt(pos);
    const int item = c != nullptr ? ControlPainter::itemAt(*c, pos, stateFor(c).firstRow) : -1;
    if (c != m_hover || item != m_hoverItem) {
        m_hover = c;
        m_hoverItem = item;
        setToolTip(c != nullptr ? QString::fromStdString(c->GetTooltip()) : QString());
        update();
    }
}

void QtWindow::mouseReleaseEvent(QMouseEvent* event) {
    const QPoint pos = event->position().toPoint();
    m_dragging = false;
    MControl* pressed = m_pressed;
    m_pressed = nullptr;
    if (pressed == nullptr || !owns(pressed) || event->button() != Qt::LeftButton) {
        update();
        return;
    }
    const bool inside = toQ(pressed->GetRect()).contains(pos);
    if (auto* slider = dynamic_cast<detail::SliderBase*>(pressed)) {
        slider->userRelease();
    } else if (auto* palette = dynamic_cast<MPalette*>(pressed)) {
        palette->userRelease();
    } else if (auto* button = dynamic_cast<MButton*>(pressed)) {
        if (inside) button->userClick();
    } else if (auto* devices = dynamic_cast<CDeviceList*>(pressed)) {
        const int item = ControlPainter::itemAt(*devices, pos, 0);
        if (inside && item >= 0) devices->userOpen(item);
    }
    update();
}

void QtWindow::mouseDoubleClickEvent(QMouseEvent* event) {
    const QPoint pos = event->position().toPoint();
    MControl* c = interactiveAt(pos);
    if (c == nullptr || event->button() != Qt::LeftButton) {
        mousePressEvent(event);
        return;
    }
    const int item = ControlPainter::itemAt(*c, pos, stateFor(c).firstRow);
    auto* list = dynamic_cast<DListBox*>(c);
    if ((list != nullptr && list->IsEditable() && item >= 0) ||
        (dynamic_cast<MacroList*>(c) != nullptr && item >= 0)) {
        beginInlineEdit(c, item);
        return;
    }
    if (auto* stages = dynamic_cast<DPIControl*>(c); stages != nullptr && item >= 0) {
        ControlPainter::Part part = ControlPainter::Part::None;
        ControlPainter::itemAt(*c, pos, 0, &part);
        if (part != ControlPainter::Part::Swatch) {
            beginInlineEdit(c, item);
            return;
        }
    }
    // Anything else takes the second click as a click.
    mousePressEvent(event);
}

void QtWindow::wheelEvent(QWheelEvent* event) {
    MControl* c = interactiveAt(event->position().toPoint());
    if (c == nullptr) return;
    const int rows = ControlPainter::rowCount(*c);
    const int visible = ControlPainter::visibleRows(*c);
    if (rows > visible && visible > 0) {
        int& first = m_firstRow[c];
        first = std::clamp(first + (event->angleDelta().y() > 0 ? -1 : 1), 0, rows - visible);
        update();
    } else if (auto* slider = dynamic_cast<detail::SliderBase*>(c)) {
        slider->userSlideTo(slider->GetProgress() + (event->angleDelta().y() > 0 ? 1 : -1));
    }
}

void QtWindow::leaveEvent(QEvent*) {
    m_hover = nullptr;
    m_hoverItem = -1;
    m_menuHover = -1;
    update();
}

// --- in-place editing -----------------------------------------------------

void QtWindow::beginInlineEdit(MControl* control, int index) {
    endInlineEdit(true);
    QString text;
    if (auto* list = dynamic_cast<DListBox*>(control)) {
        text = QString::fromStdString(list->GetItemText(index));
    } else if (auto* macros = dynamic_cast<MacroList*>(control)) {
        text = QString::fromStdString(macros->GetItemText(index));
    } else if (auto* stages = dynamic_cast<DPIControl*>(control)) {
        if (!stages->userBeginEdit(index)) return;
        text = QString::fromStdString(stages->GetEditText());
        if (text.isEmpty()) text = QString::number(stages->GetDPIValue(index));
    } else {
        return;
    }
    scrollToShow(control, index);
    QRect row = ControlPainter::itemRect(*control, index, stateFor(control).firstRow);
    if (row.isEmpty()) return;
    if (dynamic_cast<DPIControl*>(control) != nullptr)
        row = QRect(row.left() + 40, row.top() + 4, 120, row.height() - 8);
    m_inlineEditor = new QLineEdit(this);
    m_inlineEditor->installEventFilter(this);
    m_inlineEditor->setGeometry(row.adjusted(6, 2, -36, -2));
    m_inlineEditor->setText(text);
    m_inlineEditor->selectAll();
    m_inlineEditor->setFont(Theme::font({}, 14, false));
    m_inlineTarget = control;
    m_inlineIndex = index;
    m_inlineOriginal = text;
    connect(m_inlineEditor, &QLineEdit::editingFinished, this, [this] { endInlineEdit(true); });
    m_inlineEditor->show();
    m_inlineEditor->setFocus(Qt::OtherFocusReason);
}

void QtWindow::endInlineEdit(bool commit) {
    if (m_inlineEditor == nullptr || m_inlineEnding) return;
    m_inlineEnding = true;
    QLineEdit* editor = m_inlineEditor;
    MControl* target = m_inlineTarget;
    const std::string text = (commit ? editor->text() : m_inlineOriginal).toStdString();
    m_inlineEditor = nullptr;
    m_inlineTarget = nullptr;
    editor->hide();
    editor->deleteLater();
    if (owns(target)) {
        if (auto* list = dynamic_cast<DListBox*>(target)) {
            if (commit) list->userEditItem(m_inlineIndex, text);
        } else if (auto* macros = dynamic_cast<MacroList*>(target)) {
            if (commit) macros->userRename(m_inlineIndex, text);
        } else if (auto* stages = dynamic_cast<DPIControl*>(target)) {
            // The stage editor always ends; cancelling gives back the old value.
            stages->userEndEdit(text);
        }
    }
    m_inlineEnding = false;
    setFocus(Qt::OtherFocusReason);
    update();
}

// --- keyboard -------------------------------------------------------------

void QtWindow::moveKeyboardCurrent(bool forward) {
    MDialog* d = dialog();
    if (d == nullptr) return;
    std::vector<MControl*> candidates;
    for (MControl* c : d->GetControls())
        if (c->IsShown() && c->IsEnabled() && ControlPainter::isInteractive(*c)) candidates.push_back(c);
    if (candidates.empty()) return;
    auto it = std::find(candidates.begin(), candidates.end(), m_keyboardCurrent);
    if (it == candidates.end())
        m_keyboardCurrent = forward ? candidates.front() : candidates.back();
    else if (forward)
        m_keyboardCurrent = std::next(it) == candidates.end() ? candidates.front() : *std::next(it);
    else
        m_keyboardCurrent = it == candidates.begin() ? candidates.back() : *std::prev(it);
    update();
}

void QtWindow::activateKeyboardCurrent() {
    MControl* c = m_keyboardCurrent;
    if (!owns(c)) return;
    if (auto* button = dynamic_cast<MButton*>(c)) {
        button->userClick();
    } else if (auto* devices = dynamic_cast<CDeviceList*>(c)) {
        devices->userOpen(std::max(0, devices->GetSelectIndex()));
    } else if (auto* list = dynamic_cast<DListBox*>(c); list != nullptr && list->IsEditable()) {
        if (list->GetCurSel() >= 0) beginInlineEdit(c, list->GetCurSel());
    } else if (auto* stages = dynamic_cast<DPIControl*>(c)) {
        if (stages->GetSelectItem() >= 0) beginInlineEdit(c, stages->GetSelectItem());
    } else if (auto* palette = dynamic_cast<MPalette*>(c)) {
        palette->userRelease();
    }
}

void QtWindow::stepKeyboardCurrent(int delta) {
    MControl* c = m_keyboardCurrent;
    if (!owns(c)) return;
    if (auto* slider = dynamic_cast<detail::SliderBase*>(c)) {
        const int position =
            std::clamp(slider->GetProgress() + delta, slider->GetRangeMin(), slider->GetRangeMax());
        if (position != slider->GetProgress()) slider->userSlideTo(position);
        return;
    }
    const int count = itemCount(*c);
    if (count <= 0) return;
    int index = selectionOf(*c);
    // Hidden tabs are skipped.
    auto* tabs = dynamic_cast<MTabCtrl*>(c);
    for (int tries = 0; tries < count; ++tries) {
        index = std::clamp(index + delta, 0, count - 1);
        if (tabs == nullptr || tabs->IsItemVisible(index)) break;
    }
    if (index == selectionOf(*c)) return;
    if (auto* devices = dynamic_cast<CDeviceList*>(c))
        devices->SetSelectIndex(index);
    else
        selectItem(*c, index);
    scrollToShow(c, index);
}

void QtWindow::scrollToShow(MControl* control, int index) {
    const int visible = ControlPainter::visibleRows(*control);
    if (visible <= 0) return;
    int& first = m_firstRow[control];
    if (index < first) first = index;
    if (index >= first + visible) first = index - visible + 1;
}

void QtWindow::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Tab:
            moveKeyboardCurrent(true);
            return;
        case Qt::Key_Backtab:
            moveKeyboardCurrent(false);
            return;
        case Qt::Key_Space:
        case Qt::Key_Return:
        case Qt::Key_Enter:
            activateKeyboardCurrent();
            return;
        case Qt::Key_Up:
        case Qt::Key_Left:
            stepKeyboardCurrent(-1);
            return;
        case Qt::Key_Down:
        case Qt::Key_Right:
            stepKeyboardCurrent(1);
            return;
        default:
            QWidget::keyPressEvent(event);
    }
}

bool QtWindow::focusNextPrevChild(bool next) {
    // Tab on the window itself walks the painted controls; inside an edit
    // field it moves between the Qt widgets as usual.
    if (focusWidget() == nullptr || focusWidget() == this) {
        moveKeyboardCurrent(next);
        return true;
    }
    return QWidget::focusNextPrevChild(next);
}

// --- geometry and activation ----------------------------------------------

void QtWindow::reportGeometry() {
    if (m_applying) return;
    MWindow* w = window();
    if (w == nullptr || !isVisible()) return;
    const QRect g = geometry();
    w->backendGeometryChanged(Rect{g.left(), g.top(), g.left() + g.width(), g.top() + g.height()});
}

void QtWindow::moveEvent(QMoveEvent*) {
    reportGeometry();
}
void QtWindow::resizeEvent(QResizeEvent*) {
    reportGeometry();
}

void QtWindow::changeEvent(QEvent* event) {
    if (event->type() == QEvent::ActivationChange) {
        if (MWindow* w = window()) w->backendActivated(isActiveWindow());
        update();
    }
    QWidget::changeEvent(event);
}

void QtWindow::closeEvent(QCloseEvent* event) {
    // The desktop's close request goes through the toolkit like the
    // program's own close button: WM_CLOSE, which ends a modal run with 2.
    event->ignore();
    if (window() != nullptr) MWindow::PostMessage(m_hwnd, WM_CLOSE, 2, 0);
}

}  // namespace DUI
