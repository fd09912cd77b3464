// Tray icon (see TrayIcon.h): forwards to the backend.
#include "ui/toolkit/TrayIcon.h"

#include "ui/toolkit/Dispatcher.h"

namespace DUI {

bool TrayIcon::IsAvailable() {
    Backend* backend = Dispatcher::GetBackend();
    return backend != nullptr && backend->trayAvailable();
}

bool TrayIcon::Show(HWND owner, unsigned id, UINT callbackMessage, HICON icon, const std::string& tip) {
    if (!IsAvailable()) return false;
    TrayIconState state{owner, id, callbackMessage, icon, tip, true};
    Dispatcher::RunOnUiThread(0, [state] {
        if (Backend* backend = Dispatcher::GetBackend()) backend->updateTrayIcon(state);
    });
    return true;
}

void TrayIcon::Remove(HWND owner, unsigned id) {
    TrayIconState state;
    state.owner = owner;
    state.id = id;
    state.shown = false;
    Dispatcher::RunOnUiThread(0, [state] {
        if (Backend* backend = Dispatcher::GetBackend()) backend->updateTrayIcon(state);
    });
}

}  // namespace DUI
