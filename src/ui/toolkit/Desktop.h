// Desktop services the program asks for: opening a link with the default
// handler, the primary screen's work area, the pointer position and a plain
// system message box.
#pragma once

#include "ui/toolkit/Geometry.h"

#include <string>

namespace DUI {

class Desktop {
public:
    // False when nothing could open it (or the link is empty).
    static bool OpenUrl(const std::string& url);
    static Rect GetWorkArea();
    static Point GetCursorPos();
    // The primary screen and its effective DPI (the start-up DPI rule reads them).
    static Rect GetScreenRect();
    static int GetScreenDpi();
    // 1 once acknowledged; 0 without a backend.
    static int MessageBox(const std::string& caption, const std::string& text);
};

}  // namespace DUI
