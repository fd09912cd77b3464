// The two passes over config.xml. The early pass runs before any window
// exists and yields the device name and the languages; the late pass runs in
// the main window's initialisation and yields the models and the software
// block. A missing or malformed file leaves everything empty.
#pragma once

#include "app/config/AppConfig.h"
#include "app/config/DeviceConfigSink.h"

namespace quorvik {

// Early pass: empties SupportedLanguages, then reads language.info
// (CurrentLanguageId from default_lan, the lan values) and the device name from
// software's caption. False when config.xml cannot be read or is not well formed.
bool loadStartupConfig(AppConfig& config);
bool loadStartupConfig();

// Late pass: empties the model and mode lists, the device list and the
// supported identities, then fills them from device/mouse/mode, reads the
// software block and registers for device notifications. False when
// config.xml cannot be read or is not well formed.
bool loadDeviceConfig(AppConfig& config, DeviceConfigSink& sink);
bool loadDeviceConfig(DeviceConfigSink& sink);

}  // namespace quorvik
