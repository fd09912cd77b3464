// Qt Widgets backend of the toolkit (see QtBackend.h).
#include "ui/qt/QtBackend.h"

#include "ui/qt/KeyMap.h"
#include "ui/qt/QtWindow.h"
#include "ui/qt/SkinImages.h"
#include "ui/toolkit/Dispatcher.h"
#include "ui/toolkit/MRender.h"
#include "ui/toolkit/MWindow.h"

#include <QApplication>
#include <QCursor>
#include <QDesktopServices>
#include <QEventLoop>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMessageBox>
#include <QScreen>
#include <QSystemTrayIcon>
#include <QTimer>
#include <QUrl>

namespace DUI {

QtBackend::QtBackend() : m_previous(Dispatcher::GetBackend()) {
    m_clock.start();
    Dispatcher::SetBackend(this);
    // Raw keyboard input: every key event of the application, whatever has
    // the focus, before the widgets see it.
    if (QCoreApplication::instance() != nullptr) QCoreApplication::instance()->installEventFilter(this);
    // Work queued before the backend existed is delivered once the loop runs.
    if (Dispatcher::PendingCount() > 0) wakeUp();
}

QtBackend::~QtBackend() {
    if (QCoreApplication::instance() != nullptr) QCoreApplication::instance()->removeEventFilter(this);
    for (auto& [key, timer] : m_timers) delete timer;
    m_timers.clear();
    for (auto& [hwnd, widget] : m_windows) delete widget.data();
    m_windows.clear();
    delete m_tray;
    Dispatcher::SetBackend(m_previous);
}

void QtBackend::setHighDpiAware(bool aware) {
    if (aware) {
        qunsetenv("QT_ENABLE_HIGHDPI_SCALING");
        return;
    }
    qputenv("QT_ENABLE_HIGHDPI_SCALING", "0");
    qputenv("QT_SCALE_FACTOR", "1");
}

bool QtBackend::probeScreen(int argc, char** argv, int& width, int& height, int& dpi) {
    if (QCoreApplication::instance() != nullptr) return false;
    QGuiApplication probe(argc, argv);
    QScreen* screen = QGuiApplication::primaryScreen();
    if (screen == nullptr) return false;
    const qreal ratio = screen->devicePixelRatio();
    const QRect geometry = screen->geometry();
    width = qRound(geometry.width() * ratio);
    height = qRound(geometry.height() * ratio);
    dpi = qRound(screen->logicalDotsPerInch() * ratio);
    return true;
}

QtWindow* QtBackend::widgetFor(HWND hwnd) const {
    auto it = m_windows.find(hwnd);
    return it == m_windows.end() ? nullptr : it->second.data();
}

void QtBackend::wakeUp() {
    // One delivery in flight is enough: it drains everything queued by then
    // and anything queued while it runs.
    if (m_wakePending.exchange(true)) return;
    QMetaObject::invokeMethod(this, &QtBackend::deliverPending, Qt::QueuedConnection);
}

void QtBackend::deliverPending() {
    m_wakePending = false;
    Dispatcher::ProcessPending();
}

std::int64_t QtBackend::now() {
    return m_clock.elapsed();
}

void QtBackend::windowCreated(MWindow& window) {
    const HWND hwnd = window.GetSafeHwnd();
    if (hwnd == 0 || widgetFor(hwnd) != nullptr) return;
    m_windows[hwnd] = new QtWindow(hwnd);
}

void QtBackend::windowChanged(MWindow& window) {
    if (QtWindow* widget = widgetFor(window.GetSafeHwnd())) widget->applyWindowState();
}

void QtBackend::windowDestroyed(HWND hwnd) {
    for (auto it = m_timers.begin(); it != m_timers.end();) {
        if (it->first.first == hwnd) {
            it->second->stop();
            it->second->deleteLater();
            it = m_timers.erase(it);
        } else {
            ++it;
        }
    }
    if (auto loop = m_modalLoops.find(hwnd); loop != m_modalLoops.end()) loop->second->quit();
    auto it = m_windows.find(hwnd);
    if (it == m_windows.end()) return;
    // The widget may be inside one of its own event handlers (a close
    // button's click): detach now, delete once the handler has returned.
    if (QtWindow* widget = it->second.data()) {
        widget->detach();
        widget->deleteLater();
    }
    m_windows.erase(it);
}

void QtBackend::runModalLoop(MWindow& window) {
    const HWND hwnd = window.GetSafeHwnd();
    Dispatcher::ProcessPending([&window] { return window.IsModalEnded(); });
    if (window.IsModalEnded()) return;
    QtWindow* widget = widgetFor(hwnd);
    if (widget != nullptr) widget->setModal(true);
    QEventLoop loop;
    m_modalLoops[hwnd] = &loop;
    // EndModal quits the loop through modalEnded; a message handled in a
    // nested delivery may already have ended it.
    if (!window.IsModalEnded()) loop.exec(QEventLoop::DialogExec);
    m_modalLoops.erase(hwnd);
    // ShowModal hides the window next; it is shown without modality later.
}

void QtBackend::modalEnded(MWindow& window) {
    auto it = m_modalLoops.find(window.GetSafeHwnd());
    if (it != m_modalLoops.end()) it->second->quit();
}

void QtBackend::setTimer(HWND hwnd, std::uintptr_t id, unsigned intervalMs) {
    QTimer*& timer = m_timers[{hwnd, id}];
    if (timer == nullptr) {
        timer = new QTimer(this);
        timer->setTimerType(intervalMs < 50 ? Qt::PreciseTimer : Qt::CoarseTimer);
        connect(timer, &QTimer::timeout, this,
                [hwnd, id] { Dispatcher::PostMessage(hwnd, WM_TIMER, static_cast<WPARAM>(id), 0); });
    }
    timer->start(static_cast<int>(std::max(1u, intervalMs)));
}

void QtBackend::killTimer(HWND hwnd, std::uintptr_t id) {
    auto it = m_timers.find({hwnd, id});
    if (it == m_timers.end()) return;
    it->second->stop();
    it->second->deleteLater();
    m_timers.erase(it);
}

void QtBackend::invalidate(MWindow& window, MControl* control) {
    if (QtWindow* widget = widgetFor(window.GetSafeHwnd())) widget->controlChanged(control);
}

FileDialogResult QtBackend::runFileDialog(const FileDialogRequest& request) {
    QString filter = QString::fromStdString(request.filterName);
    const QString pattern = QString::fromStdString(request.pattern);
    if (!filter.contains(QLatin1Char('(')))
        filter += QStringLiteral(" (%1)").arg(pattern.isEmpty() ? "*" : pattern);
    QtWindow* owner = widgetFor(request.owner);
    QFileDialog dialog(owner, QString(), QString::fromStdString(request.initialPath), filter);
    dialog.setAcceptMode(request.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(request.save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    if (request.save && !request.overwritePrompt) dialog.setOption(QFileDialog::DontConfirmOverwrite);
    // "*.xml" or "xml" adds the extension to a typed name without one; "*.*" adds nothing.
    QString suffix = QString::fromStdString(request.defaultExtension);
    if (suffix.startsWith(QStringLiteral("*."))) suffix = suffix.mid(2);
    if (suffix.startsWith(QLatin1Char('.'))) suffix = suffix.mid(1);
    if (!suffix.isEmpty() && !suffix.contains(QLatin1Char('*'))) dialog.setDefaultSuffix(suffix);
    FileDialogResult result;
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return result;
    const QString path = dialog.selectedFiles().front();
    result.accepted = true;
    result.path = path.toStdString();
    result.title = QFileInfo(path).fileName().toStdString();
    return result;
}

int QtBackend::systemMessageBox(const std::string& caption, const std::string& text) {
    QMessageBox::information(nullptr, QString::fromStdString(caption), QString::fromStdString(text));
    return 1;
}

bool QtBackend::trayAvailable() {
    return QSystemTrayIcon::isSystemTrayAvailable();
}

void QtBackend::updateTrayIcon(const TrayIconState& state) {
    if (!state.shown) {
        if (m_tray != nullptr) m_tray->hide();
        m_trayState = state;
        return;
    }
    if (m_tray == nullptr) {
        m_tray = new QSystemTrayIcon(this);
        // Clicks go to the owner window as its callback message, lParam the
        // mouse message; the program opens its own menu on the right click.
        connect(m_tray, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
            LPARAM mouse = 0;
            switch (reason) {
                case QSystemTrayIcon::Trigger:
                    mouse = WM_LBUTTONDOWN;
                    break;
                case QSystemTrayIcon::DoubleClick:
                    mouse = WM_LBUTTONDBLCLK;
                    break;
                case QSystemTrayIcon::Context:
                    mouse = WM_RBUTTONUP;
                    break;
                default:
                    return;
            }
            Dispatcher::PostMessage(m_trayState.owner, m_trayState.callbackMessage, m_trayState.id, mouse);
        });
    }
    m_trayState = state;
    const QPixmap icon = SkinImages::instance().pixmap(MRender::GetIconPath(state.icon), QSize(64, 64));
    if (!icon.isNull()) m_tray->setIcon(QIcon(icon));
    m_tray->setToolTip(QString::fromStdString(state.tip));
    m_tray->show();
}

bool QtBackend::openUrl(const std::string& url) {
    if (url.empty()) return false;
    const QUrl target = QUrl::fromUserInput(QString::fromStdString(url));
    return target.isValid() && QDesktopServices::openUrl(target);
}

Rect QtBackend::workArea() {
    QScreen* screen = QGuiApplication::primaryScreen();
    if (screen == nullptr) return {};
    const QRect r = screen->availableGeometry();
    return Rect{r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
}

Point QtBackend::cursorPos() {
    const QPoint p = QCursor::pos();
    return Point{p.x(), p.y()};
}

Rect QtBackend::screenRect() {
    QScreen* screen = QGuiApplication::primaryScreen();
    if (screen == nullptr) return {};
    const QRect r = screen->geometry();
    return Rect{r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
}

int QtBackend::screenDpi() {
    QScreen* screen = QGuiApplication::primaryScreen();
    if (screen == nullptr) return 96;
    // Qt's logical DPI times its scale is what the desktop's scale setting
    // asks for (96 at 100 %).
    return qRound(screen->logicalDotsPerInch() * screen->devicePixelRatio());
}

void QtBackend::raiseWindow(MWindow& window) {
    if (QtWindow* widget = widgetFor(window.GetSafeHwnd())) {
        if (widget->isMinimized()) widget->showNormal();
        widget->raise();
        widget->activateWindow();
    }
}

bool QtBackend::eventFilter(QObject* watched, QEvent* event) {
    // Qt delivers a key event to the focus widget and again up its parents;
    // the focus window's own copy is the one taken.
    if ((event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease) &&
        watched->isWindowType()) {
        auto* key = static_cast<QKeyEvent*>(event);
        const KeyInput input =
            KeyMap::translate(static_cast<int>(key->nativeScanCode()), key->key(),
                              key->modifiers().testFlag(Qt::KeypadModifier), key->text().toStdString(),
                              event->type() == QEvent::KeyRelease);
        if (input.kind != 0) MWindow::DispatchKeyInput(input);
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace DUI
