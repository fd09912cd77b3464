// Where reading a model description gets its inputs: the program and user data
// folders, the model list of config.xml, the stored "DeviceType", the language
// texts and the settings store. current() gathers the process-wide ones; tests
// build their own.
#pragma once

#include "app/config/DeviceModelEntry.h"

#include <functional>
#include <string>
#include <vector>

namespace quorvik {

class SettingsStore;

struct ModelSources {
    std::string programFolder;   // holds device/<stem>.xml; ends with '/'
    std::string userDataFolder;  // holds db/; ends with '/'
    std::vector<DeviceModelEntry> models;
    int deviceType = 0;
    // Text of an id in section "LAN" of the current language; empty when missing.
    std::function<std::string(int)> text;
    SettingsStore* store = nullptr;

    // ProgramFolder(), UserDataFolder(), appConfig().models, the stored
    // "DeviceType", LangString("LAN", id) and the process-wide store.
    static ModelSources current();

    // The first model whose device_type equals deviceType; null when none.
    const DeviceModelEntry* findModel() const;
    // device_attr of that model; empty when none matched.
    std::string modelStem() const;
    // programFolder + "device/" + stem + ".xml"; empty for a stem that would
    // leave the device folder (it holds '/').
    std::string descriptionPath(const std::string& stem) const;
};

}  // namespace quorvik
