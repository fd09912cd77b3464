// The backend without a display (see HeadlessBackend.h). Everything happens
// on the test's thread except posting, which other threads may do; a modal
// loop drains the queue, applies its scripted answer and, when nothing ends
// the window, waits for other threads as long as allowed, then cancels it.
#include "ui/toolkit/headless/HeadlessBackend.h"

#include "ui/toolkit/Dispatcher.h"
#include "ui/toolkit/MDialog.h"
#include "ui/toolkit/MWindow.h"

#include <limits>

namespace DUI {

HeadlessBackend::HeadlessBackend() : m_previous(Dispatcher::GetBackend()) {
    Dispatcher::Clear();
    Dispatcher::SetBackend(this);
}

HeadlessBackend::~HeadlessBackend() {
    Dispatcher::Clear();
    Dispatcher::SetBackend(m_previous);
}

std::size_t HeadlessBackend::processEvents() {
    return Dispatcher::ProcessPending();
}

void HeadlessBackend::advance(std::int64_t ms) {
    const std::int64_t target = m_now.load() + (ms > 0 ? ms : 0);
    processEvents();
    for (;;) {
        std::pair<HWND, std::uintptr_t> due{};
        bool found = false;
        {
            std::lock_guard lock(m_mutex);
            std::int64_t best = std::numeric_limits<std::int64_t>::max();
            std::uint64_t bestOrder = 0;
            for (const auto& [key, timer] : m_timers) {
                if (timer.deadline > target) continue;
                if (timer.deadline < best || (timer.deadline == best && timer.order < bestOrder)) {
                    best = timer.deadline;
                    bestOrder = timer.order;
                    due = key;
                    found = true;
                }
            }
            if (!found) break;
            Timer& timer = m_timers[due];
            m_now = timer.deadline;
            timer.deadline += timer.interval;
        }
        Dispatcher::PostMessage(due.first, WM_TIMER, due.second, 0);
        processEvents();
    }
    m_now = target;
    processEvents();
}

int HeadlessBackend::activeTimerCount() const {
    std::lock_guard lock(m_mutex);
    return static_cast<int>(m_timers.size());
}

void HeadlessBackend::answerModal(const std::string& title, int result) {
    std::lock_guard lock(m_mutex);
    m_modalAnswers[title].push_back({result, {}});
}

void HeadlessBackend::answerModal(const std::string& title, ModalAction action) {
    std::lock_guard lock(m_mutex);
    m_modalAnswers[title].push_back({std::nullopt, std::move(action)});
}

void HeadlessBackend::setModalWaitTimeout(std::chrono::milliseconds timeout) {
    std::lock_guard lock(m_mutex);
    m_modalWait = timeout;
}

std::vector<HeadlessBackend::ModalRecord> HeadlessBackend::modalLog() const {
    std::lock_guard lock(m_mutex);
    return m_modalLog;
}

void HeadlessBackend::answerFileDialog(std::optional<std::string> path) {
    std::lock_guard lock(m_mutex);
    m_fileAnswers.push_back(std::move(path));
}

std::vector<FileDialogRequest> HeadlessBackend::fileDialogLog() const {
    std::lock_guard lock(m_mutex);
    return m_fileLog;
}

void HeadlessBackend::answerSystemMessageBox(int result) {
    std::lock_guard lock(m_mutex);
    m_messageBoxAnswers.push_back(result);
}

std::vector<std::string> HeadlessBackend::systemMessageBoxLog() const {
    std::lock_guard lock(m_mutex);
    return m_messageBoxLog;
}

void HeadlessBackend::injectKey(int vk, const std::string& name, bool released) {
    KeyInput input;
    input.kind = 2;
    input.vk = vk;
    input.name = name;
    input.released = released;
    MWindow::DispatchKeyInput(input);
}

void HeadlessBackend::setTrayAvailable(bool available) {
    std::lock_guard lock(m_mutex);
    m_trayAvailable = available;
}

std::optional<TrayIconState> HeadlessBackend::trayIcon() const {
    std::lock_guard lock(m_mutex);
    return m_tray;
}

bool HeadlessBackend::clickTray(UINT mouseMessage) {
    std::optional<TrayIconState> tray = trayIcon();
    if (!tray || !tray->shown) return false;
    return Dispatcher::PostMessage(tray->owner, tray->callbackMessage, tray->id,
                                   static_cast<LPARAM>(mouseMessage));
}

std::vector<std::string> HeadlessBackend::openedUrls() const {
    std::lock_guard lock(m_mutex);
    return m_urls;
}

void HeadlessBackend::setWorkArea(const Rect& area) {
    std::lock_guard lock(m_mutex);
    m_workArea = area;
}

void HeadlessBackend::setCursorPos(Point pos) {
    std::lock_guard lock(m_mutex);
    m_cursor = pos;
}

void HeadlessBackend::setScreen(const Rect& screen, int dpi) {
    std::lock_guard lock(m_mutex);
    m_screen = screen;
    m_dpi = dpi;
}

std::vector<HWND> HeadlessBackend::raisedWindows() const {
    std::lock_guard lock(m_mutex);
    return m_raised;
}

void HeadlessBackend::activate(MWindow& window) {
    HWND previous = 0;
    {
        std::lock_guard lock(m_mutex);
        previous = m_active;
        m_active = window.GetSafeHwnd();
    }
    if (previous == window.GetSafeHwnd()) return;
    if (MWindow* old = MWindow::FromHandle(previous)) old->backendActivated(false);
    window.backendActivated(true);
    processEvents();
}

void HeadlessBackend::deactivate(MWindow& window) {
    {
        std::lock_guard lock(m_mutex);
        if (m_active == window.GetSafeHwnd()) m_active = 0;
    }
    window.backendActivated(false);
    processEvents();
}

int HeadlessBackend::invalidationCount(const MControl* control) const {
    std::lock_guard lock(m_mutex);
    auto it = m_invalidations.find(control);
    return it == m_invalidations.end() ? 0 : it->second;
}

void HeadlessBackend::wakeUp() {}

std::int64_t HeadlessBackend::now() {
    return m_now.load();
}

void HeadlessBackend::windowCreated(MWindow& /*window*/) {}

void HeadlessBackend::windowChanged(MWindow& /*window*/) {}

void HeadlessBackend::windowDestroyed(HWND hwnd) {
    std::lock_guard lock(m_mutex);
    std::erase_if(m_timers, [hwnd](const auto& entry) { return entry.first.first == hwnd; });
    if (m_active == hwnd) m_active = 0;
    if (m_tray && m_tray->owner == hwnd) m_tray.reset();
}

void HeadlessBackend::runModalLoop(MWindow& window) {
    const auto ended = [&window] { return window.IsModalEnded(); };
    std::size_t record = 0;
    std::optional<Answer> answer;
    std::chrono::milliseconds wait{0};
    {
        std::lock_guard lock(m_mutex);
        record = m_modalLog.size();
        m_modalLog.push_back({window.GetTitle(), 0, false});
        auto it = m_modalAnswers.find(window.GetTitle());
        if (it != m_modalAnswers.end() && !it->second.empty()) {
            answer = std::move(it->second.front());
            it->second.pop_front();
        }
        wait = m_modalWait;
    }
    Dispatcher::ProcessPending(ended);
    if (answer && !ended()) {
        if (answer->result)
            window.EndModal(*answer->result);
        else if (answer->action)
            answer->action(window);
    }
    while (!ended()) {
        if (Dispatcher::ProcessPending(ended) > 0) continue;
        if (ended()) break;
        if (!Dispatcher::WaitForPending(wait)) break;
    }
    const bool answered = ended();
    if (!answered) window.EndModal(IDCANCEL);
    std::lock_guard lock(m_mutex);
    m_modalLog[record].answered = answered;
    m_modalLog[record].result = window.GetModalResult();
}

void HeadlessBackend::modalEnded(MWindow& /*window*/) {}

void HeadlessBackend::setTimer(HWND hwnd, std::uintptr_t id, unsigned intervalMs) {
    std::lock_guard lock(m_mutex);
    const unsigned interval = intervalMs == 0 ? 1 : intervalMs;
    m_timers[{hwnd, id}] = {m_now.load() + interval, interval, ++m_timerOrder};
}

void HeadlessBackend::killTimer(HWND hwnd, std::uintptr_t id) {
    std::lock_guard lock(m_mutex);
    m_timers.erase({hwnd, id});
}

void HeadlessBackend::invalidate(MWindow& /*window*/, MControl* control) {
    std::lock_guard lock(m_mutex);
    ++m_invalidations[control];
}

FileDialogResult HeadlessBackend::runFileDialog(const FileDialogRequest& request) {
    std::optional<std::string> answer;
    {
        std::lock_guard lock(m_mutex);
        m_fileLog.push_back(request);
        if (!m_fileAnswers.empty()) {
            answer = std::move(m_fileAnswers.front());
            m_fileAnswers.pop_front();
        }
    }
    FileDialogResult result;
    if (answer && !answer->empty()) {
        result.accepted = true;
        result.path = *answer;
    }
    return result;
}

int HeadlessBackend::systemMessageBox(const std::string& caption, const std::string& text) {
    std::lock_guard lock(m_mutex);
    m_messageBoxLog.push_back(caption + ": " + text);
    if (m_messageBoxAnswers.empty()) return 1;
    const int result = m_messageBoxAnswers.front();
    m_messageBoxAnswers.pop_front();
    return result;
}

bool HeadlessBackend::trayAvailable() {
    std::lock_guard lock(m_mutex);
    return m_trayAvailable;
}

void HeadlessBackend::updateTrayIcon(const TrayIconState& state) {
    std::lock_guard lock(m_mutex);
    if (state.shown)
        m_tray = state;
    else if (m_tray && m_tray->owner == state.owner && m_tray->id == state.id)
        m_tray.reset();
}

bool HeadlessBackend::openUrl(const std::string& url) {
    std::lock_guard lock(m_mutex);
    m_urls.push_back(url);
    return true;
}

Rect HeadlessBackend::workArea() {
    std::lock_guard lock(m_mutex);
    return m_workArea;
}

Point HeadlessBackend::cursorPos() {
    std::lock_guard lock(m_mutex);
    return m_cursor;
}

Rect HeadlessBackend::screenRect() {
    std::lock_guard lock(m_mutex);
    return m_screen;
}

int HeadlessBackend::screenDpi() {
    std::lock_guard lock(m_mutex);
    return m_dpi;
}

void HeadlessBackend::raiseWindow(MWindow& window) {
    {
        std::lock_guard lock(m_mutex);
        m_raised.push_back(window.GetSafeHwnd());
    }
    activate(window);
}

}  // namespace DUI
