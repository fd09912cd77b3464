// A pop-up menu: a top-level "Menu Window" at a screen point with one row per
// command. Choosing a row posts (message, command, 0) to the window to notify
// and closes the menu; losing activation or WM_CLOSE closes it without a post.
// The caller owns the object and may reuse it for the next menu.
#pragma once

#include "ui/toolkit/MWindow.h"

#include <string>
#include <vector>

namespace DUI {

class MenuWnd : public MWindow {
public:
    static constexpr const char* kTitle = "Menu Window";
    static constexpr int kRowHeight = 32;

    struct Item {
        int command = 0;
        std::string text;
    };

    // UI thread. Creates the (hidden) menu window at `position`, `width` wide;
    // a menu created before is destroyed first. Returns the handle, 0 on failure.
    HWND Create(HWND notify, UINT message, Point position, int width);
    void AddMenu(int command, const std::string& text);
    std::vector<Item> GetItems() const;
    HWND GetNotifyWindow() const;
    // Sizes the window for its rows and shows it on top.
    void TrackMenu();

    // The user chose `command`: false when the menu is not showing or has no
    // such row.
    bool userChoose(int command);

    int OnNcActivate(bool active) override;

private:
    mutable std::mutex m_itemsMutex;
    std::vector<Item> m_items;
    HWND m_notify = 0;
    UINT m_message = 0;
};

}  // namespace DUI
