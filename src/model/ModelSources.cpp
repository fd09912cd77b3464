// Gathering the inputs of a model description load (see ModelSources.h).
#include "model/ModelSources.h"

#include "app/config/AppConfig.h"
#include "app/config/AppFolders.h"
#include "app/config/LanguageTexts.h"
#include "app/config/RegistryValues.h"
#include "store/SettingsStore.h"

namespace quorvik {

ModelSources ModelSources::current() {
    ModelSources sources;
    sources.programFolder = ProgramFolder();
    sources.userDataFolder = UserDataFolder();
    sources.models = appConfig().models;
    sources.deviceType = readRegistryInt("DeviceType");
    sources.text = [](int id) { return LangString("LAN", id); };
    sources.store = &SettingsStore::instance();
    return sources;
}

const DeviceModelEntry* ModelSources::findModel() const {
    for (const DeviceModelEntry& entry : models)
        if (entry.device_type == deviceType) return &entry;
    return nullptr;
}

std::string ModelSources::modelStem() const {
    const DeviceModelEntry* entry = findModel();
    return entry ? entry->device_attr : std::string();
}

std::string ModelSources::descriptionPath(const std::string& stem) const {
    // The stem comes from config.xml; never let it name a file outside device/.
    if (stem.find('/') != std::string::npos || stem.find('\0') != std::string::npos) return {};
    std::string folder = programFolder;
    if (!folder.empty() && folder.back() != '/') folder += '/';
    return folder + "device/" + stem + ".xml";
}

}  // namespace quorvik
