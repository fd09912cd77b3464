// What the program keeps of config.xml: the languages, the models and their
// USB identities, the software version and the links. One process-wide
// instance, filled at start-up and by the main window's initialisation before
// the device worker starts; afterwards it is only read.
#pragma once

#include "app/config/DeviceModelEntry.h"

#include <set>
#include <string>
#include <vector>

namespace quorvik {

struct AppConfig {
    std::set<int> SupportedLanguages;      // value of every lan of language.info
    std::vector<DeviceModelEntry> models;  // one per device/mouse, in file order
    std::vector<DeviceModelEntry> modes;   // one per device/mouse/mode, in file order
    std::string softwareVersion;           // version of software
    std::string websiteLink;               // url of website
    std::string feedbackLink;              // url of feedback
    std::string helpLink;                  // url of qa
    std::string storeLink;                 // url of store (kept, not shown)
    std::string updateServerBase;          // url of upgrade
    std::string legalNotice;               // info of copyright (kept, not shown)

    // The first model whose device_type equals `deviceType`; null when none.
    const DeviceModelEntry* findModel(int deviceType) const;
};

// The process-wide configuration.
AppConfig& appConfig();

}  // namespace quorvik
