// A top-level toolkit window: title, geometry, visibility, timers, modal runs
// and the virtual operations the program's dialogs override. Windows are of
// class "MWindow" and can be found by title from any thread.
#pragma once

#include "ui/toolkit/Geometry.h"
#include "ui/toolkit/KeyInput.h"
#include "ui/toolkit/Messages.h"
#include "ui/toolkit/PaintManager.h"

#include <atomic>
#include <cstdint>
#include <mutex>
#include <set>
#include <string>

namespace DUI {

inline constexpr const char* kWindowClassName = "MWindow";

class MWindow {
public:
    MWindow();
    MWindow(const MWindow&) = delete;
    MWindow& operator=(const MWindow&) = delete;
    virtual ~MWindow();

    // UI thread. Creates the window (hidden unless style has WS_VISIBLE), runs
    // OnInitDialog and returns the handle; 0 when it already exists or when
    // called from another thread.
    HWND Create(HWND owner, const std::string& title, std::uint32_t style, std::uint32_t exStyle,
                const Rect& rect);
    // Centres on the owner window, or on the screen's work area without one.
    void CenterWindow();
    // UI thread. Shows the window with `showCmd` and runs it modally: 1 after
    // DoOK, 2 after DoCancel or WM_CLOSE, the EndModal value otherwise; -1 when
    // the window does not exist, is already modal or this is not the UI thread.
    int ShowModal(int showCmd = SW_SHOWNORMAL);
    // Any thread (marshalled). Ends the modal run with `result`; a window that
    // is not running modally is hidden instead.
    void EndModal(int result);
    bool IsModal() const { return m_inModal.load(); }
    bool IsModalEnded() const { return m_modalEnded.load(); }
    // The value the last modal run ended with (or EndModal set).
    int GetModalResult() const { return m_modalResult.load(); }

    HWND GetSafeHwnd() const { return m_hwnd.load(); }
    HWND GetOwner() const;
    std::string GetTitle() const;
    void SetWindowText(const std::string& title);
    std::uint32_t GetStyle() const;
    std::uint32_t GetExStyle() const;

    Rect GetClientRect() const;  // (0, 0, width, height)
    Rect GetWindowRect() const;  // screen coordinates
    void ClientToScreen(Point& point) const;
    void ClientToScreen(Rect& rect) const;

    // Geometry and visibility: any thread (marshalled to the UI thread).
    bool ShowWindow(int showCmd);
    bool IsWindowVisible() const;
    bool IsZoomed() const;
    bool IsIconic() const;
    bool IsTopmost() const;
    bool SetWindowPos(HWND insertAfter, int x, int y, int cx, int cy, UINT flags);
    void MoveWindow(int x, int y, int width, int height, bool repaint = true);
    void MoveWindow(const Rect& rect, bool repaint = true);
    void InvalidateRect(const Rect* rect = nullptr);
    // Repaint now (the whole window).
    void UpdateWindow();
    // Front of the other windows, with the keyboard focus (the tray click and
    // a second launch bring the main window forward this way).
    void SetForegroundWindow();
    void BringWindowToTop();
    void SetIcon(HICON icon);
    HICON GetIcon() const;

    // Repeating timer delivered to OnTimer; the same id restarts it.
    bool SetTimer(std::uintptr_t id, unsigned intervalMs);
    void KillTimer(std::uintptr_t id);

    // Any thread: queue a message for this window.
    bool PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    // UI thread: deliver now; from another thread it is posted and 0 returned.
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);

    PaintManager& GetPaintManager() { return m_paintManager; }

    // Keyboard: the last window that registered receives every key event as
    // WM_INPUT whatever has the focus; lParam is a handle for GetKeyInput.
    void RegisterKeyInput();
    static bool GetKeyInput(LPARAM handle, KeyInput& out);
    // Any thread (backends, tests): hand a key event to the registered window.
    static void DispatchKeyInput(const KeyInput& input);

    // Top-level windows by handle, from any thread.
    static HWND FindWindow(const std::string& className, const std::string& title);
    static bool PostMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    static void ShowWindow(HWND hwnd, int showCmd);
    // UI thread only: the live window of a handle, nullptr when gone.
    static MWindow* FromHandle(HWND hwnd);

    // Virtual operations, in slot order.
    virtual LRESULT OnWindowMessage(UINT message, WPARAM wParam, LPARAM lParam);
    virtual int OnInitDialog();
    virtual void InitUI();
    virtual void UISize(const Rect& client);
    virtual int OnMessage(int id, int code, std::intptr_t param);
    virtual int OnNcActivate(bool active);
    virtual void OnTimer(std::uintptr_t id);
    virtual void DestroyWindow();

    // Backend side (UI thread): the user moved or sized the window, or its
    // activation changed (ignored while the window is hidden).
    void backendGeometryChanged(const Rect& windowRect);
    void backendActivated(bool active);

protected:
    // Destroys the window on the calling thread (destructors use it).
    void destroyNow();
    void setZoomed(bool zoomed, const Rect& rect);
    void deliverKeyInput(const KeyInput& input);
    void notifyChanged();
    Rect restoreRect() const;

private:
    void applyGeometry(const Rect& rect);

    mutable std::mutex m_mutex;
    std::atomic<HWND> m_hwnd{0};
    HWND m_owner = 0;
    std::string m_title;
    std::uint32_t m_style = 0;
    std::uint32_t m_exStyle = 0;
    Rect m_rect;
    Rect m_restoreRect;
    bool m_visible = false;
    bool m_topmost = false;
    bool m_zoomed = false;
    bool m_iconic = false;
    HICON m_icon = 0;
    std::set<std::uintptr_t> m_timers;
    std::atomic<bool> m_inModal{false};
    std::atomic<bool> m_modalEnded{false};
    std::atomic<int> m_modalResult{0};
    PaintManager m_paintManager;
};

}  // namespace DUI
