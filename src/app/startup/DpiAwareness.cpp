// DPI-awareness rule (see DpiAwareness.h).
#include "app/startup/DpiAwareness.h"

#include "ui/toolkit/Desktop.h"

namespace quorvik {

int monitorScaleForDpi(int dpi) {
    if (dpi <= 96) return 100;
    if (dpi == 120) return 125;
    if (dpi == 144 || dpi == 168 || dpi == 192) return dpi;
    return 100;
}

int queryMonitorScale() {
    return monitorScaleForDpi(DUI::Desktop::GetScreenDpi());
}

bool shouldDeclareDpiAware(int screenWidth, int screenHeight, int monitorScale) {
    if (screenWidth < 1400 || screenHeight < 800) return true;
    return screenWidth == 1920 && screenHeight == 1080 && monitorScale > 125;
}

bool decideDpiAwareness() {
    const DUI::Rect screen = DUI::Desktop::GetScreenRect();
    const int width = screen.Width();
    const int height = screen.Height();
    if (width < 1400 || height < 800) return true;
    if (width != 1920 || height != 1080) return false;
    return shouldDeclareDpiAware(width, height, queryMonitorScale());
}

}  // namespace quorvik
