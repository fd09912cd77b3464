// What a later launch (or a script) may ask of the running program over the
// single-instance socket, one line each: "show" brings the main window
// forward, "exit" ends the program, "language" applies the language again.
#pragma once

#include "ui/toolkit/Messages.h"

#include <optional>
#include <string_view>

namespace quorvik {

enum class InstanceRequest {
    Show,      // "show": the main window in its normal state, in front
    Exit,      // "exit": message 1691 with lParam 610
    Language,  // "language": message 2022
};

// The main window's messages for requests from outside.
inline constexpr DUI::UINT kExitRequestMessage = DUI::WM_USER + 667;  // 1691
inline constexpr DUI::LPARAM kExitRequestParam = 610;
inline constexpr DUI::UINT kReapplyLanguageMessage = DUI::WM_USER + 998;  // 2022

// The request of one line (without its line break; a trailing CR is
// ignored); empty for anything else. Case-sensitive.
std::optional<InstanceRequest> parseInstanceRequest(std::string_view line);

// The line that asks for `request`, without the line break.
std::string_view instanceRequestLine(InstanceRequest request);

// Any thread: hands the request to the main window `mainWindow`. Show is run
// on the UI thread (shown normally, repainted, raised); Exit and Language are
// posted as the main window's messages. False when there is no window
// (a Show for a window that has gone by then is dropped).
bool deliverInstanceRequest(DUI::HWND mainWindow, InstanceRequest request);

}  // namespace quorvik
