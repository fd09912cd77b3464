// Handle table of the live toolkit windows, in creation order. Handles are
// never reused, so a message posted to a window that has gone finds nothing
// instead of a stranger. Also remembers which window receives keyboard input.
#pragma once

#include "ui/toolkit/Messages.h"

#include <mutex>
#include <string>
#include <vector>

namespace DUI {
class MWindow;
}

namespace DUI::detail {

class WindowRegistry {
public:
    static WindowRegistry& instance();

    HWND add(MWindow* window, const std::string& className, const std::string& title);
    void remove(HWND hwnd);
    // UI thread: the window object, nullptr when the handle is not live.
    MWindow* find(HWND hwnd) const;
    bool contains(HWND hwnd) const;
    void setTitle(HWND hwnd, const std::string& title);
    // First live window (creation order) of that class and title; 0 when none.
    HWND findByTitle(const std::string& className, const std::string& title) const;
    std::vector<HWND> handles() const;

    void setKeyTarget(HWND hwnd);
    HWND keyTarget() const;

private:
    struct Entry {
        HWND hwnd = 0;
        MWindow* window = nullptr;
        std::string className;
        std::string title;
    };
    mutable std::mutex m_mutex;
    std::vector<Entry> m_entries;
    HWND m_nextHandle = 0x1000;
    HWND m_keyTarget = 0;
};

}  // namespace DUI::detail
