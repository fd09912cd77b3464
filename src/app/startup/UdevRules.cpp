// udev rules from config.xml (see UdevRules.h). The identities come from the
// same loader the program uses, so the rules and the device list agree.
#include "app/startup/UdevRules.h"

#include "app/config/AppConfig.h"
#include "app/config/AppFolders.h"
#include "app/config/ConfigLoader.h"
#include "base/Text.h"

#include <algorithm>
#include <utility>

namespace quorvik {
namespace {

bool validUsbId(int id) {
    return id > 0 && id <= 0xFFFF;
}

}  // namespace

std::string buildUdevRules(const std::vector<DeviceModelEntry>& modes) {
    std::string text =
        "# Generated from config.xml: the logged-in user may open the hidraw nodes of the\n"
        "# supported mice (and their receivers). Numbered below 73 so the seat rules see the tag.\n";
    std::vector<std::pair<int, int>> seen;
    for (const DeviceModelEntry& mode : modes) {
        if (!validUsbId(mode.vid) || !validUsbId(mode.pid)) continue;
        const std::pair<int, int> id{mode.vid, mode.pid};
        if (std::find(seen.begin(), seen.end(), id) != seen.end()) continue;
        seen.push_back(id);
        text += format(
            "SUBSYSTEM==\"hidraw\", ATTRS{idVendor}==\"%04x\", ATTRS{idProduct}==\"%04x\", "
            "TAG+=\"uaccess\"\n",
            mode.vid, mode.pid);
    }
    return text;
}

std::optional<std::string> udevRulesForProgramFolder(const std::string& programFolder) {
    setProgramFolderOverride(programFolder);
    AppConfig config;
    IgnoringDeviceConfigSink sink;
    const bool loaded = loadDeviceConfig(config, sink);
    setProgramFolderOverride("");
    if (!loaded) return std::nullopt;
    return buildUdevRules(config.modes);
}

}  // namespace quorvik
