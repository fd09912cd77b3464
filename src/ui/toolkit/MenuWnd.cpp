// Pop-up menu (see MenuWnd.h).
#include "ui/toolkit/MenuWnd.h"

#include "ui/toolkit/Dispatcher.h"

#include <algorithm>

namespace DUI {

HWND MenuWnd::Create(HWND notify, UINT message, Point position, int width) {
    if (GetSafeHwnd() != 0) DestroyWindow();
    {
        std::lock_guard lock(m_itemsMutex);
        m_items.clear();
        m_notify = notify;
        m_message = message;
    }
    return MWindow::Create(
        notify, kTitle, WS_POPUP, WS_EX_TOOLWINDOW,
        Rect{position.x, position.y, position.x + std::max(1, width), position.y + kRowHeight});
}

void MenuWnd::AddMenu(int command, const std::string& text) {
    std::lock_guard lock(m_itemsMutex);
    m_items.push_back({command, text});
}

std::vector<MenuWnd::Item> MenuWnd::GetItems() const {
    std::lock_guard lock(m_itemsMutex);
    return m_items;
}

HWND MenuWnd::GetNotifyWindow() const {
    std::lock_guard lock(m_itemsMutex);
    return m_notify;
}

void MenuWnd::TrackMenu() {
    if (GetSafeHwnd() == 0) return;
    const Rect r = GetWindowRect();
    const int rows = std::max<int>(1, static_cast<int>(GetItems().size()));
    SetWindowPos(HWND_TOPMOST, r.left, r.top, r.Width(), rows * kRowHeight, 0);
    ShowWindow(SW_SHOW);
}

bool MenuWnd::userChoose(int command) {
    if (GetSafeHwnd() == 0 || !IsWindowVisible()) return false;
    HWND notify = 0;
    UINT message = 0;
    {
        std::lock_guard lock(m_itemsMutex);
        const bool found = std::any_of(m_items.begin(), m_items.end(),
                                       [command](const Item& item) { return item.command == command; });
        if (!found) return false;
        notify = m_notify;
        message = m_message;
    }
    ShowWindow(SW_HIDE);
    Dispatcher::PostMessage(notify, message, static_cast<WPARAM>(command), 0);
    return true;
}

int MenuWnd::OnNcActivate(bool active) {
    if (!active) ShowWindow(SW_HIDE);
    return 1;
}

}  // namespace DUI
