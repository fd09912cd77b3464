// The process-wide configuration and its model lookup.
#include "app/config/AppConfig.h"

namespace quorvik {

const DeviceModelEntry* AppConfig::findModel(int deviceType) const {
    for (const DeviceModelEntry& model : models)
        if (model.device_type == deviceType) return &model;
    return nullptr;
}

AppConfig& appConfig() {
    static AppConfig config;
    return config;
}

}  // namespace quorvik
