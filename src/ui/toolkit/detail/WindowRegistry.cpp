// Handle table of the live toolkit windows (see WindowRegistry.h).
#include "ui/toolkit/detail/WindowRegistry.h"

#include <algorithm>

namespace DUI::detail {

WindowRegistry& WindowRegistry::instance() {
    static WindowRegistry registry;
    return registry;
}

HWND WindowRegistry::add(MWindow* window, const std::string& className, const std::string& title) {
    std::lock_guard lock(m_mutex);
    const HWND hwnd = m_nextHandle;
    m_nextHandle += 4;
    m_entries.push_back({hwnd, window, className, title});
    return hwnd;
}

void WindowRegistry::remove(HWND hwnd) {
    std::lock_guard lock(m_mutex);
    std::erase_if(m_entries, [hwnd](const Entry& e) { return e.hwnd == hwnd; });
    if (m_keyTarget == hwnd) m_keyTarget = 0;
}

MWindow* WindowRegistry::find(HWND hwnd) const {
    std::lock_guard lock(m_mutex);
    for (const Entry& e : m_entries)
        if (e.hwnd == hwnd) return e.window;
    return nullptr;
}

bool WindowRegistry::contains(HWND hwnd) const {
    return find(hwnd) != nullptr;
}

void WindowRegistry::setTitle(HWND hwnd, const std::string& title) {
    std::lock_guard lock(m_mutex);
    for (Entry& e : m_entries)
        if (e.hwnd == hwnd) e.title = title;
}

HWND WindowRegistry::findByTitle(const std::string& className, const std::string& title) const {
    std::lock_guard lock(m_mutex);
    for (const Entry& e : m_entries)
        if (e.className == className && e.title == title) return e.hwnd;
    return 0;
}

std::vector<HWND> WindowRegistry::handles() const {
    std::lock_guard lock(m_mutex);
    std::vector<HWND> out;
    for (const Entry& e : m_entries) out.push_back(e.hwnd);
    return out;
}

void WindowRegistry::setKeyTarget(HWND hwnd) {
    std::lock_guard lock(m_mutex);
    m_keyTarget = hwnd;
}

HWND WindowRegistry::keyTarget() const {
    std::lock_guard lock(m_mutex);
    return m_keyTarget;
}

}  // namespace DUI::detail
