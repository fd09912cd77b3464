// Desktop services (see Desktop.h): forwards to the backend.
#include "ui/toolkit/Desktop.h"

#include "ui/toolkit/Backend.h"
#include "ui/toolkit/Dispatcher.h"

namespace DUI {

bool Desktop::OpenUrl(const std::string& url) {
    Backend* backend = Dispatcher::GetBackend();
    return backend != nullptr && !url.empty() && backend->openUrl(url);
}

Rect Desktop::GetWorkArea() {
    Backend* backend = Dispatcher::GetBackend();
    return backend ? backend->workArea() : Rect{0, 0, 1920, 1040};
}

Point Desktop::GetCursorPos() {
    Backend* backend = Dispatcher::GetBackend();
    return backend ? backend->cursorPos() : Point{};
}

Rect Desktop::GetScreenRect() {
    Backend* backend = Dispatcher::GetBackend();
    return backend ? backend->screenRect() : Rect{0, 0, 1920, 1080};
}

int Desktop::GetScreenDpi() {
    Backend* backend = Dispatcher::GetBackend();
    return backend ? backend->screenDpi() : 96;
}

int Desktop::MessageBox(const std::string& caption, const std::string& text) {
    Backend* backend = Dispatcher::GetBackend();
    return backend ? backend->systemMessageBox(caption, text) : 0;
}

}  // namespace DUI
