// The program's icon in the desktop's tray. Clicks arrive as the callback
// message posted to the owner window with lParam = the mouse message
// (WM_LBUTTONDOWN, WM_LBUTTONDBLCLK, WM_RBUTTONUP).
#pragma once

#include "ui/toolkit/Backend.h"

namespace DUI {

class TrayIcon {
public:
    // Whether the desktop shows tray icons at all.
    static bool IsAvailable();
    // Adds or updates the icon; false when there is no tray.
    static bool Show(HWND owner, unsigned id, UINT callbackMessage, HICON icon, const std::string& tip);
    static void Remove(HWND owner, unsigned id);
};

}  // namespace DUI
