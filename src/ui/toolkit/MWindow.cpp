// Top-level toolkit window (see MWindow.h). State sits under one mutex so the
// worker thread may read it; changes from other threads are marshalled to the
// user-interface thread and applied there in posting order.
#include "ui/toolkit/MWindow.h"

#include "ui/toolkit/Backend.h"
#include "ui/toolkit/Dispatcher.h"
#include "ui/toolkit/detail/WindowRegistry.h"

#include <algorithm>
#include <optional>
#include <vector>

namespace DUI {
namespace {

using detail::WindowRegistry;

// The key event being delivered on this thread, found by its handle.
struct CurrentKey {
    LPARAM handle = 0;
    KeyInput input;
};
thread_local CurrentKey t_currentKey;
std::atomic<LPARAM> g_nextKeyHandle{1};

Rect defaultWorkArea() {
    if (Backend* backend = Dispatcher::GetBackend()) return backend->workArea();
    return {0, 0, 1920, 1040};
}

}  // namespace

MWindow::MWindow() = default;

MWindow::~MWindow() {
    destroyNow();
}

HWND MWindow::Create(HWND owner, const std::string& title, std::uint32_t style, std::uint32_t exStyle,
                     const Rect& rect) {
    if (m_hwnd.load() != 0 || !Dispatcher::IsUiThread()) return 0;
    {
        std::lock_guard lock(m_mutex);
        m_owner = owner;
        m_title = title;
        m_style = style;
        m_exStyle = exStyle;
        m_rect = rect;
        m_restoreRect = rect;
        m_visible = false;
        m_zoomed = false;
        m_iconic = false;
    }
    m_modalEnded = false;
    m_modalResult = 0;
    const HWND hwnd = WindowRegistry::instance().add(this, kWindowClassName, title);
    m_hwnd = hwnd;
    if (Backend* backend = Dispatcher::GetBackend()) backend->windowCreated(*this);
    OnInitDialog();
    if ((style & WS_VISIBLE) != 0 && m_hwnd.load() == hwnd) ShowWindow(SW_SHOW);
    return m_hwnd.load();
}

void MWindow::CenterWindow() {
    Rect area = defaultWorkArea();
    const HWND owner = GetOwner();
    if (owner != 0) {
        if (MWindow* o = FromHandle(owner)) area = o->GetWindowRect();
    }
    const Rect r = GetWindowRect();
    const int x = area.left + (area.Width() - r.Width()) / 2;
    const int y = area.top + (area.Height() - r.Height()) / 2;
    MoveWindow(x, y, r.Width(), r.Height());
}

int MWindow::ShowModal(int showCmd) {
    if (m_hwnd.load() == 0 || !Dispatcher::IsUiThread() || m_inModal.load()) return -1;
    Backend* backend = Dispatcher::GetBackend();
    if (backend == nullptr) return -1;
    m_inModal = true;
    m_modalEnded = false;
    m_modalResult = 0;
    ShowWindow(showCmd);
    backend->runModalLoop(*this);
    const int result = m_modalResult.load();
    m_inModal = false;
    if (m_hwnd.load() != 0) ShowWindow(SW_HIDE);
    return result;
}

void MWindow::EndModal(int result) {
    const HWND hwnd = m_hwnd.load();
    if (hwnd == 0) {
        // No window (never created or destroyed): only the result is kept.
        m_modalResult = result;
        return;
    }
    if (!Dispatcher::IsUiThread()) {
        Dispatcher::Post(hwnd, [this, result] { EndModal(result); });
        return;
    }
    if (!m_inModal.load()) {
        m_modalResult = result;
        ShowWindow(SW_HIDE);
        return;
    }
    if (m_modalEnded.load()) return;  // the first ending wins
    m_modalResult = result;
    m_modalEnded = true;
    if (Backend* backend = Dispatcher::GetBackend()) backend->modalEnded(*this);
}

HWND MWindow::GetOwner() const {
    std::lock_guard lock(m_mutex);
    return m_owner;
}

std::string MWindow::GetTitle() const {
    std::lock_guard lock(m_mutex);
    return m_title;
}

void MWindow::SetWindowText(const std::string& title) {
    {
        std::lock_guard lock(m_mutex);
        if (m_title == title) return;
        m_title = title;
    }
    WindowRegistry::instance().setTitle(m_hwnd.load(), title);
    notifyChanged();
}

std::uint32_t MWindow::GetStyle() const {
    std::lock_guard lock(m_mutex);
    return m_style;
}

std::uint32_t MWindow::GetExStyle() const {
    std::lock_guard lock(m_mutex);
    return m_exStyle;
}

Rect MWindow::GetClientRect() const {
    std::lock_guard lock(m_mutex);
    return {0, 0, m_rect.Width(), m_rect.Height()};
}

Rect MWindow::GetWindowRect() const {
    std::lock_guard lock(m_mutex);
    return m_rect;
}

void MWindow::ClientToScreen(Point& point) const {
    std::lock_guard lock(m_mutex);
    point.x += m_rect.left;
    point.y += m_rect.top;
}

void MWindow::ClientToScreen(Rect& rect) const {
    std::lock_guard lock(m_mutex);
    rect = rect.Offset(m_rect.left, m_rect.top);
}

bool MWindow::ShowWindow(int showCmd) {
    const HWND hwnd = m_hwnd.load();
    if (hwnd == 0) return false;
    if (!Dispatcher::IsUiThread()) {
        const bool wasVisible = IsWindowVisible();
        Dispatcher::Post(hwnd, [this, showCmd] { ShowWindow(showCmd); });
        return wasVisible;
    }
    bool wasVisible = false;
    bool changed = false;
    std::optional<bool> zoom;
    {
        std::lock_guard lock(m_mutex);
        wasVisible = m_visible;
        const bool visible = showCmd != SW_HIDE;
        bool iconic = m_iconic;
        if (showCmd == SW_MINIMIZE || showCmd == SW_SHOWMINIMIZED) iconic = true;
        if (showCmd == SW_SHOWNORMAL || showCmd == SW_RESTORE) {
            iconic = false;
            if (m_zoomed) zoom = false;
        }
        if (showCmd == SW_SHOWMAXIMIZED) {
            iconic = false;
            if (!m_zoomed) zoom = true;
        }
        changed = visible != m_visible || iconic != m_iconic;
        m_visible = visible;
        m_iconic = iconic;
    }
    if (zoom.has_value()) setZoomed(*zoom, *zoom ? defaultWorkArea() : restoreRect());
    if (changed) notifyChanged();
    return wasVisible;
}

bool MWindow::IsWindowVisible() const {
    std::lock_guard lock(m_mutex);
    return m_visible;
}

bool MWindow::IsZoomed() const {
    std::lock_guard lock(m_mutex);
    return m_zoomed;
}

bool MWindow::IsIconic() const {
    std::lock_guard lock(m_mutex);
    return m_iconic;
}

bool MWindow::IsTopmost() const {
    std::lock_guard lock(m_mutex);
    return m_topmost;
}

bool MWindow::SetWindowPos(HWND insertAfter, int x, int y, int cx, int cy, UINT flags) {
    const HWND hwnd = m_hwnd.load();
    if (hwnd == 0) return false;
    if (!Dispatcher::IsUiThread()) {
        Dispatcher::Post(hwnd, [=, this] { SetWindowPos(insertAfter, x, y, cx, cy, flags); });
        return true;
    }
    if ((flags & SWP_NOZORDER) == 0) {
        std::lock_guard lock(m_mutex);
        if (insertAfter == HWND_TOPMOST) m_topmost = true;
        if (insertAfter == HWND_NOTOPMOST) m_topmost = false;
    }
    Rect r = GetWindowRect();
    if ((flags & SWP_NOMOVE) == 0) r = {x, y, x + r.Width(), y + r.Height()};
    if ((flags & SWP_NOSIZE) == 0) r.right = r.left + cx, r.bottom = r.top + cy;
    applyGeometry(r);
    if ((flags & SWP_SHOWWINDOW) != 0) ShowWindow(SW_SHOW);
    if ((flags & SWP_HIDEWINDOW) != 0) ShowWindow(SW_HIDE);
    notifyChanged();
    return true;
}

void MWindow::MoveWindow(int x, int y, int width, int height, bool /*repaint*/) {
    MoveWindow(Rect{x, y, x + width, y + height});
}

void MWindow::MoveWindow(const Rect& rect, bool /*repaint*/) {
    const HWND hwnd = m_hwnd.load();
    if (hwnd == 0) return;
    if (!Dispatcher::IsUiThread()) {
        Dispatcher::Post(hwnd, [this, rect] { MoveWindow(rect); });
        return;
    }
    applyGeometry(rect);
    notifyChanged();
}

void MWindow::applyGeometry(const Rect& rect) {
    bool resized = false;
    {
        std::lock_guard lock(m_mutex);
        const Rect fixed{rect.left, rect.top, rect.left + std::max(0, rect.Width()),
                         rect.top + std::max(0, rect.Height())};
        resized = fixed.Width() != m_rect.Width() || fixed.Height() != m_rect.Height();
        m_rect = fixed;
        if (!m_zoomed) m_restoreRect = fixed;
    }
    if (resized) UISize(GetClientRect());
}

void MWindow::InvalidateRect(const Rect* /*rect*/) {
    const HWND hwnd = m_hwnd.load();
    if (hwnd == 0) return;
    Dispatcher::Post(hwnd, [this] {
        if (Backend* backend = Dispatcher::GetBackend()) backend->invalidate(*this, nullptr);
    });
}

void MWindow::UpdateWindow() {
    InvalidateRect(nullptr);
}

void MWindow::SetForegroundWindow() {
    const HWND hwnd = m_hwnd.load();
    if (hwnd == 0) return;
    Dispatcher::RunOnUiThread(hwnd, [this] {
        if (Backend* backend = Dispatcher::GetBackend()) backend->raiseWindow(*this);
    });
}

void MWindow::BringWindowToTop() {
    SetForegroundWindow();
}

void MWindow::SetIcon(HICON icon) {
    {
        std::lock_guard lock(m_mutex);
        m_icon = icon;
    }
    notifyChanged();
}

HICON MWindow::GetIcon() const {
    std::lock_guard lock(m_mutex);
    return m_icon;
}

bool MWindow::SetTimer(std::uintptr_t id, unsigned intervalMs) {
    const HWND hwnd = m_hwnd.load();
    if (hwnd == 0) return false;
    {
        std::lock_guard lock(m_mutex);
        m_timers.insert(id);
    }
    Dispatcher::RunOnUiThread(hwnd, [hwnd, id, intervalMs] {
        if (Backend* backend = Dispatcher::GetBackend()) backend->setTimer(hwnd, id, intervalMs);
    });
    return true;
}

void MWindow::KillTimer(std::uintptr_t id) {
    const HWND hwnd = m_hwnd.load();
    {
        std::lock_guard lock(m_mutex);
        m_timers.erase(id);
    }
    if (hwnd == 0) return;
    Dispatcher::RunOnUiThread(hwnd, [hwnd, id] {
        if (Backend* backend = Dispatcher::GetBackend()) backend->killTimer(hwnd, id);
    });
}

bool MWindow::PostMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return Dispatcher::PostMessage(m_hwnd.load(), message, wParam, lParam);
}

LRESULT MWindow::SendMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (m_hwnd.load() == 0) return 0;
    if (!Dispatcher::IsUiThread()) {
        PostMessage(message, wParam, lParam);
        return 0;
    }
    return OnWindowMessage(message, wParam, lParam);
}

void MWindow::RegisterKeyInput() {
    WindowRegistry::instance().setKeyTarget(m_hwnd.load());
}

bool MWindow::GetKeyInput(LPARAM handle, KeyInput& out) {
    if (handle == 0 || handle != t_currentKey.handle) return false;
    out = t_currentKey.input;
    return true;
}

void MWindow::DispatchKeyInput(const KeyInput& input) {
    // The window registered when the key was pressed receives it.
    const HWND target = WindowRegistry::instance().keyTarget();
    if (target == 0) return;
    Dispatcher::Post(target, [target, input] {
        if (MWindow* window = FromHandle(target)) window->deliverKeyInput(input);
    });
}

void MWindow::deliverKeyInput(const KeyInput& input) {
    const CurrentKey saved = t_currentKey;
    t_currentKey = {g_nextKeyHandle.fetch_add(1), input};
    OnWindowMessage(WM_INPUT, 0, t_currentKey.handle);
    t_currentKey = saved;
}

HWND MWindow::FindWindow(const std::string& className, const std::string& title) {
    return WindowRegistry::instance().findByTitle(className, title);
}

bool MWindow::PostMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (!WindowRegistry::instance().contains(hwnd)) return false;
    return Dispatcher::PostMessage(hwnd, message, wParam, lParam);
}

void MWindow::ShowWindow(HWND hwnd, int showCmd) {
    Dispatcher::RunOnUiThread(hwnd, [hwnd, showCmd] {
        if (MWindow* window = FromHandle(hwnd)) window->ShowWindow(showCmd);
    });
}

MWindow* MWindow::FromHandle(HWND hwnd) {
    return WindowRegistry::instance().find(hwnd);
}

LRESULT MWindow::OnWindowMessage(UINT message, WPARAM wParam, LPARAM /*lParam*/) {
    switch (message) {
        case WM_CLOSE:
            // From outside (closing helper windows): a modal run ends with the
            // result asked for, OK or Cancel; any other value counts as Cancel.
            if (m_inModal.load())
                EndModal(wParam == IDOK ? IDOK : IDCANCEL);
            else
                ShowWindow(SW_HIDE);
            return 0;
        case WM_TIMER:
            OnTimer(wParam);
            return 0;
        case WM_NCACTIVATE:
            return OnNcActivate(wParam != 0);
        default:
            return 0;
    }
}

int MWindow::OnInitDialog() {
    InitUI();
    UISize(GetClientRect());
    return 1;
}

void MWindow::InitUI() {}

void MWindow::UISize(const Rect& /*client*/) {}

int MWindow::OnMessage(int /*id*/, int /*code*/, std::intptr_t /*param*/) {
    return 0;
}

int MWindow::OnNcActivate(bool /*active*/) {
    return 1;
}

void MWindow::OnTimer(std::uintptr_t /*id*/) {}

void MWindow::DestroyWindow() {
    const HWND hwnd = m_hwnd.load();
    if (hwnd == 0) return;
    if (!Dispatcher::IsUiThread()) {
        Dispatcher::Post(hwnd, [this] { DestroyWindow(); });
        return;
    }
    destroyNow();
}

void MWindow::destroyNow() {
    const HWND hwnd = m_hwnd.load();
    if (hwnd == 0) return;
    std::vector<std::uintptr_t> timers;
    {
        std::lock_guard lock(m_mutex);
        timers.assign(m_timers.begin(), m_timers.end());
        m_timers.clear();
        m_visible = false;
    }
    Backend* backend = Dispatcher::GetBackend();
    for (std::uintptr_t id : timers)
        if (backend) backend->killTimer(hwnd, id);
    if (m_inModal.load() && !m_modalEnded.load()) {
        m_modalEnded = true;
        if (backend) backend->modalEnded(*this);
    }
    // Forget the handle first so queued work can no longer reach this window.
    WindowRegistry::instance().remove(hwnd);
    m_hwnd = 0;
    if (backend) backend->windowDestroyed(hwnd);
}

void MWindow::backendGeometryChanged(const Rect& windowRect) {
    applyGeometry(windowRect);
}

void MWindow::backendActivated(bool active) {
    // A window the program has hidden (a pop-up that closed itself) hears no
    // more about activation, so its closing handlers do not run twice.
    if (!IsWindowVisible()) return;
    OnWindowMessage(WM_NCACTIVATE, active ? 1 : 0, 0);
}

void MWindow::setZoomed(bool zoomed, const Rect& rect) {
    {
        std::lock_guard lock(m_mutex);
        if (zoomed && !m_zoomed) m_restoreRect = m_rect;
        m_zoomed = zoomed;
    }
    applyGeometry(rect);
    notifyChanged();
}

Rect MWindow::restoreRect() const {
    std::lock_guard lock(m_mutex);
    return m_restoreRect;
}

void MWindow::notifyChanged() {
    const HWND hwnd = m_hwnd.load();
    if (hwnd == 0) return;
    Dispatcher::RunOnUiThread(hwnd, [this] {
        if (m_hwnd.load() == 0) return;
        if (Backend* backend = Dispatcher::GetBackend()) backend->windowChanged(*this);
    });
}

}  // namespace DUI
