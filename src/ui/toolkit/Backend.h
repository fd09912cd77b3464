// The seam between the toolkit and whatever shows it. The headless backend
// (tests, CI runs) and the Qt backend implement it; nothing above the toolkit
// talks to a backend directly. Every call except wakeUp() and now() is made on
// the user-interface thread.
#pragma once

#include "ui/toolkit/Geometry.h"
#include "ui/toolkit/Messages.h"

#include <cstdint>
#include <string>

namespace DUI {

class MControl;
class MWindow;

struct FileDialogRequest {
    HWND owner = 0;
    bool save = false;             // save dialog (with overwrite prompt) or open dialog
    std::string filterName;        // "Profile (*.xml)"
    std::string pattern;           // "*.xml"
    std::string defaultExtension;  // "*.*"
    bool overwritePrompt = true;   // only for save dialogs
    std::string initialPath;
};

struct FileDialogResult {
    bool accepted = false;  // false: cancelled
    std::string path;       // full path as chosen
    std::string title;      // the file's name without its folder
};

struct TrayIconState {
    HWND owner = 0;            // window that receives the callback message
    unsigned id = 0;           // icon identifier (109)
    UINT callbackMessage = 0;  // posted with lParam = WM_LBUTTONDOWN, WM_RBUTTONUP...
    HICON icon = 0;
    std::string tip;
    bool shown = false;  // false removes the icon
};

class Backend {
public:
    virtual ~Backend() = default;

    // Any thread: work was queued (posted message, marshalled call). The
    // backend arranges for Dispatcher::ProcessPending() on the UI thread.
    virtual void wakeUp() = 0;
    // Any thread: monotonic milliseconds (virtual in the headless backend).
    virtual std::int64_t now() = 0;

    virtual void windowCreated(MWindow& window) = 0;
    // Title, geometry, visibility, z-order, icon or background changed.
    virtual void windowChanged(MWindow& window) = 0;
    virtual void windowDestroyed(HWND hwnd) = 0;

    // Runs a nested loop that delivers queued work until window.IsModalEnded().
    virtual void runModalLoop(MWindow& window) = 0;
    // The window's modal run was ended (DoOK, DoCancel, WM_CLOSE, destroy).
    virtual void modalEnded(MWindow& window) = 0;

    // Repeating window timer; setting an existing (hwnd, id) restarts it. On
    // expiry the backend posts WM_TIMER (wParam = id) to the window.
    virtual void setTimer(HWND hwnd, std::uintptr_t id, unsigned intervalMs) = 0;
    virtual void killTimer(HWND hwnd, std::uintptr_t id) = 0;

    // A control (or, with nullptr, the whole window) must be drawn again.
    virtual void invalidate(MWindow& window, MControl* control) = 0;

    virtual FileDialogResult runFileDialog(const FileDialogRequest& request) = 0;
    // A plain system message box outside the program's own dialogs; 1 = OK.
    virtual int systemMessageBox(const std::string& caption, const std::string& text) = 0;

    virtual bool trayAvailable() = 0;
    virtual void updateTrayIcon(const TrayIconState& state) = 0;

    virtual bool openUrl(const std::string& url) = 0;
    virtual Rect workArea() = 0;    // available geometry of the primary screen
    virtual Point cursorPos() = 0;  // screen coordinates
    virtual Rect screenRect() = 0;  // whole primary screen, in pixels
    virtual int screenDpi() = 0;    // effective DPI of the primary screen (96 = 100 %)

    // Bring the window to the front and give it the keyboard focus.
    virtual void raiseWindow(MWindow& window) = 0;
};

}  // namespace DUI
