// The udev rules that let the logged-in user open the supported mice's hidraw
// nodes without root: one line per USB identity of config.xml, tagged
// "uaccess" so the seat rules (73-seat-late) grant the user access. Never a
// world-writable mode.
#pragma once

#include "app/config/DeviceModelEntry.h"

#include <optional>
#include <string>
#include <vector>

namespace quorvik {

inline constexpr const char* kUdevRulesFileName = "70-quorvik.rules";

// The rules text for these identities, in their order, each (vid, pid) once;
// identities outside 1..0xFFFF are left out.
std::string buildUdevRules(const std::vector<DeviceModelEntry>& modes);

// The rules for the config.xml in `programFolder`; empty when that file
// cannot be read or is not well formed. Points ProgramFolder there while it
// loads and removes the override afterwards (a build tool runs it once).
std::optional<std::string> udevRulesForProgramFolder(const std::string& programFolder);

}  // namespace quorvik
