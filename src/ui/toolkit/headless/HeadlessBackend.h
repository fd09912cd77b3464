// The backend without a display, for tests and CI runs: a queue the test
// drains, a virtual clock the test advances (timers fire in deadline order),
// scripted answers for modal windows by title, for file dialogs and for system
// message boxes, injected key events, and a record of what was shown. Creating
// it installs it and makes the calling thread the UI thread; destroying it puts
// back the backend installed before.
#pragma once

#include "ui/toolkit/Backend.h"
#include "ui/toolkit/KeyInput.h"

#include <atomic>
#include <chrono>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace DUI {

class HeadlessBackend : public Backend {
public:
    using ModalAction = std::function<void(MWindow&)>;

    struct ModalRecord {
        std::string title;
        int result = 0;
        bool answered = false;  // false: nothing ended it, it was cancelled
    };

    HeadlessBackend();
    ~HeadlessBackend() override;

    // Delivers all queued work (and work it queues); returns how many items.
    std::size_t processEvents();
    // Moves the virtual clock on by `ms`, firing due timers in deadline order
    // (ties in the order they were set) and draining the queue after each.
    void advance(std::int64_t ms);
    int activeTimerCount() const;

    // The next modal window with this title ends with `result` (1 = DoOK,
    // 2 = DoCancel), or has `action` run on it as a user would act. Answers for
    // one title are used in the order given.
    void answerModal(const std::string& title, int result);
    void answerModal(const std::string& title, ModalAction action);
    // How long an unanswered modal window waits for another thread to end it
    // before it is cancelled (default 0: at once).
    void setModalWaitTimeout(std::chrono::milliseconds timeout);
    std::vector<ModalRecord> modalLog() const;

    // Next file dialog answer: a path, or std::nullopt for Cancel. Unanswered
    // dialogs are cancelled.
    void answerFileDialog(std::optional<std::string> path);
    std::vector<FileDialogRequest> fileDialogLog() const;

    void answerSystemMessageBox(int result);
    std::vector<std::string> systemMessageBoxLog() const;

    // A key press or release as the keyboard would send it; delivered in order
    // to the window registered for key input.
    void injectKey(int vk, const std::string& name, bool released);

    // Tray.
    void setTrayAvailable(bool available);
    std::optional<TrayIconState> trayIcon() const;
    // The user clicked the tray icon: posts the callback message.
    bool clickTray(UINT mouseMessage);

    std::vector<std::string> openedUrls() const;
    void setWorkArea(const Rect& area);
    void setCursorPos(Point pos);
    void setScreen(const Rect& screen, int dpi);
    // Windows brought to the front, oldest first.
    std::vector<HWND> raisedWindows() const;

    // Activation: the window becomes active, the previous one is told first.
    void activate(MWindow& window);
    void deactivate(MWindow& window);

    // Redraw requests seen for a control (or, with nullptr, whole windows).
    int invalidationCount(const MControl* control) const;

    // Backend
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

private:
    struct Timer {
        std::int64_t deadline = 0;
        unsigned interval = 0;
        std::uint64_t order = 0;
    };
    struct Answer {
        std::optional<int> result;
        ModalAction action;
    };

    Backend* m_previous = nullptr;
    mutable std::mutex m_mutex;
    std::atomic<std::int64_t> m_now{0};
    std::map<std::pair<HWND, std::uintptr_t>, Timer> m_timers;
    std::uint64_t m_timerOrder = 0;
    std::map<std::string, std::deque<Answer>> m_modalAnswers;
    std::vector<ModalRecord> m_modalLog;
    std::chrono::milliseconds m_modalWait{0};
    std::deque<std::optional<std::string>> m_fileAnswers;
    std::vector<FileDialogRequest> m_fileLog;
    std::deque<int> m_messageBoxAnswers;
    std::vector<std::string> m_messageBoxLog;
    bool m_trayAvailable = true;
    std::optional<TrayIconState> m_tray;
    std::vector<std::string> m_urls;
    Rect m_workArea{0, 0, 1920, 1040};
    Point m_cursor;
    Rect m_screen{0, 0, 1920, 1080};
    int m_dpi = 96;
    std::vector<HWND> m_raised;
    HWND m_active = 0;
    std::map<const MControl*, int> m_invalidations;
};

}  // namespace DUI
