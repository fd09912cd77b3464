// Message numbers, show commands and notification codes of the toolkit. The
// numbers are the ones the program's windows exchange (WM_USER + n and the
// standard messages keep their usual values), so handlers read like the rules.
#pragma once

#include <cstdint>

namespace DUI {

using HWND = std::uintptr_t;  // window handle; 0 = no window
using UINT = unsigned int;
using WPARAM = std::uintptr_t;
using LPARAM = std::intptr_t;
using LRESULT = std::intptr_t;
using HICON = std::uintptr_t;  // icon handle from MRender::LoadIconFromFile; 0 = none

// Messages.
inline constexpr UINT WM_CREATE = 0x0001;
inline constexpr UINT WM_DESTROY = 0x0002;
inline constexpr UINT WM_SIZE = 0x0005;
inline constexpr UINT WM_ACTIVATE = 0x0006;
inline constexpr UINT WM_CLOSE = 0x0010;
inline constexpr UINT WM_NCACTIVATE = 0x0086;
inline constexpr UINT WM_INPUT = 0x00FF;
inline constexpr UINT WM_KEYDOWN = 0x0100;
inline constexpr UINT WM_KEYUP = 0x0101;
inline constexpr UINT WM_SYSKEYDOWN = 0x0104;
inline constexpr UINT WM_SYSKEYUP = 0x0105;
inline constexpr UINT WM_COMMAND = 0x0111;
inline constexpr UINT WM_TIMER = 0x0113;
inline constexpr UINT WM_MOUSEMOVE = 0x0200;
inline constexpr UINT WM_LBUTTONDOWN = 0x0201;
inline constexpr UINT WM_LBUTTONUP = 0x0202;
inline constexpr UINT WM_LBUTTONDBLCLK = 0x0203;
inline constexpr UINT WM_RBUTTONDOWN = 0x0204;
inline constexpr UINT WM_RBUTTONUP = 0x0205;
inline constexpr UINT WM_DEVICECHANGE = 0x0219;
inline constexpr UINT WM_USER = 0x0400;

// Show commands.
inline constexpr int SW_HIDE = 0;
inline constexpr int SW_SHOWNORMAL = 1;
inline constexpr int SW_SHOWMINIMIZED = 2;
inline constexpr int SW_SHOWMAXIMIZED = 3;
inline constexpr int SW_SHOWNOACTIVATE = 4;
inline constexpr int SW_SHOW = 5;
inline constexpr int SW_MINIMIZE = 6;
inline constexpr int SW_RESTORE = 9;

// SetWindowPos.
inline constexpr HWND HWND_TOP = 0;
inline constexpr HWND HWND_TOPMOST = static_cast<HWND>(-1);
inline constexpr HWND HWND_NOTOPMOST = static_cast<HWND>(-2);
inline constexpr UINT SWP_NOSIZE = 0x0001;
inline constexpr UINT SWP_NOMOVE = 0x0002;
inline constexpr UINT SWP_NOZORDER = 0x0004;
inline constexpr UINT SWP_NOACTIVATE = 0x0010;
inline constexpr UINT SWP_SHOWWINDOW = 0x0040;
inline constexpr UINT SWP_HIDEWINDOW = 0x0080;

// Window styles the program passes (kept, only WS_VISIBLE acts).
inline constexpr std::uint32_t WS_POPUP = 0x80000000u;
inline constexpr std::uint32_t WS_VISIBLE = 0x10000000u;
inline constexpr std::uint32_t WS_EX_TOOLWINDOW = 0x00000080u;

// Modal results.
inline constexpr int IDOK = 1;
inline constexpr int IDCANCEL = 2;

// Control notification codes (OnMessage's second argument).
inline constexpr int kNotifyClick = 2;          // click or choice
inline constexpr int kNotifyContextMenu = 5;    // context menu asked for (macro list)
inline constexpr int kNotifySliderMoving = 8;   // slider dragged, not yet released
inline constexpr int kNotifyItemMenu = 9;       // record list menu, DPI stage colour request
inline constexpr int kNotifyTextChanged = 26;   // edit field text changed
inline constexpr int kNotifyColorChanged = 27;  // palette colour moved
inline constexpr int kNotifyKillFocus = 29;     // edit lost focus / in-place edit ended / number text changed
inline constexpr int kNotifySetFocus = 30;      // edit got focus

}  // namespace DUI
