// The toolkit backend over Qt Widgets: one QtWindow per toolkit window, modal
// runs as nested event loops, window timers as QTimers, the tray icon, file
// dialogs, links, screen queries, and every key event of the application
// handed to the toolkit with its virtual-key code. Create it on the thread
// that runs the QApplication, after the QApplication.
#pragma once

#include "ui/toolkit/Backend.h"

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>

#include <atomic>
#include <cstdint>
#include <map>
#include <utility>

class QEventLoop;
class QSystemTrayIcon;
class QTimer;

namespace DUI {

class QtWindow;

class QtBackend : public QObject, public Backend {
    Q_OBJECT
public:
    QtBackend();
    ~QtBackend() override;

    // Before the QApplication exists: "aware" keeps Qt's high-DPI scaling,
    // "unaware" draws at scale 1 whatever the screen's scale.
    static void setHighDpiAware(bool aware);

    // Before the QApplication exists: the primary screen's size in device
    // pixels and its logical DPI, read through a short-lived application
    // object. False when no screen can be reached.
    static bool probeScreen(int argc, char** argv, int& width, int& height, int& dpi);

    // The Qt widget showing a window; nullptr when it has none.
    QtWindow* widgetFor(HWND hwnd) const;

    void wakeUp() override;
    std::int64_t now() override;
    void windowCreated(MWindow& window) override;
    void windowChanged(MWindow& window) override;
    void windowDestroyed(HWND hwnd) override;
    void runModalLoop(MWindow& window) override;
    void modalEnded(MWindow& window) override;
    void setTimer(HWND hwnd, std::uintptr_t id, unsigned intervalMs) override;
    void killTimer(HWND hwnd, std::uintptr_t id) override;
    void invalidate(MWindow& window, MControl* control) override;
    FileDialogResult runFileDialog(const FileDialogRequest& request) override;
    int systemMessageBox(const std::string& caption, const std::string& text) override;
    bool trayAvailable() override;
    void updateTrayIcon(const TrayIconState& state) override;
    bool openUrl(const std::string& url) override;
    Rect workArea() override;
    Point cursorPos() override;
    Rect screenRect() override;
    int screenDpi() override;
    void raiseWindow(MWindow& window) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void deliverPending();

    Backend* m_previous = nullptr;
    QElapsedTimer m_clock;
    std::atomic<bool> m_wakePending{false};
    std::map<HWND, QPointer<QtWindow>> m_windows;
    std::map<HWND, QEventLoop*> m_modalLoops;
    std::map<std::pair<HWND, std::uintptr_t>, QTimer*> m_timers;
    QSystemTrayIcon* m_tray = nullptr;
    TrayIconState m_trayState;
};

}  // namespace DUI
