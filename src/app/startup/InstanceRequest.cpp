// Requests from outside (see InstanceRequest.h).
#include "app/startup/InstanceRequest.h"

#include "ui/toolkit/Dispatcher.h"
#include "ui/toolkit/MWindow.h"

namespace quorvik {

std::optional<InstanceRequest> parseInstanceRequest(std::string_view line) {
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line == "show") return InstanceRequest::Show;
    if (line == "exit") return InstanceRequest::Exit;
    if (line == "language") return InstanceRequest::Language;
    return std::nullopt;
}

std::string_view instanceRequestLine(InstanceRequest request) {
    switch (request) {
        case InstanceRequest::Show:
            return "show";
        case InstanceRequest::Exit:
            return "exit";
        case InstanceRequest::Language:
            return "language";
    }
    return {};
}

bool deliverInstanceRequest(DUI::HWND mainWindow, InstanceRequest request) {
    switch (request) {
        case InstanceRequest::Show:
            if (mainWindow == 0) return false;
            DUI::Dispatcher::Post(mainWindow, [mainWindow] {
                DUI::MWindow* window = DUI::MWindow::FromHandle(mainWindow);
                if (window == nullptr) return;
                // Even from the tray or minimised: shown normally and in front.
                window->SetForegroundWindow();
                window->ShowWindow(DUI::SW_SHOWNORMAL);
                window->UpdateWindow();
                window->BringWindowToTop();
            });
            return true;
        case InstanceRequest::Exit:
            return DUI::MWindow::PostMessage(mainWindow, kExitRequestMessage, 0, kExitRequestParam);
        case InstanceRequest::Language:
            return DUI::MWindow::PostMessage(mainWindow, kReapplyLanguageMessage, 0, 0);
    }
    return false;
}

}  // namespace quorvik
