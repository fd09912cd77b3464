// config.xml is walked forward only: each element is searched among the
// siblings after the last one found at its level, so the elements read must
// appear in the order config > language.info, device > software.
#include "app/config/ConfigLoader.h"

#include "app/config/AppFolders.h"
#include "app/config/LanguageTexts.h"
#include "base/Text.h"
#include "files/XmlDocument.h"
#include "ui/toolkit/Manager.h"

#include <climits>

namespace quorvik {
namespace {

// Opens ProgramFolder + "config.xml" and enters its config element. False when
// the file cannot be read, is not well formed or has no config element.
bool openConfigRoot(XmlDocument& doc) {
    if (!doc.readFile(ProgramFolder() + "config.xml")) return false;
    if (!doc.parse()) return false;
    return doc.findNext("config") && doc.enter();
}

// USB ids are hexadecimal text with an optional 0x; kept within int as the
// 32-bit reader of the stored files did.
int readHexId(std::string_view text) {
    const long value = hexToLong(text);
    if (value > INT_MAX) return INT_MAX;
    if (value < INT_MIN) return INT_MIN;
    return static_cast<int>(value);
}

void readModels(XmlDocument& doc, AppConfig& config, DeviceConfigSink& sink) {
    const std::string pictureFolder = SkinFolder() + "device/";
    while (doc.findNext("mouse")) {
        DeviceModelEntry entry;
        entry.name = doc.attribute("name");
        entry.device_type = wtoi(doc.attribute("device_type"));
        entry.device_attr = doc.attribute("device_attr");
        entry.image = pictureFolder + doc.attribute("image");
        config.models.push_back(entry);
        sink.addDevice(entry.name, entry.device_type, entry.image);

        if (!doc.enter()) continue;
        while (doc.findNext("mode")) {
            entry.mode = wtoi(doc.attribute("value"));
            entry.desc = doc.attribute("desc");
            entry.vid = readHexId(doc.attribute("vid"));
            entry.pid = readHexId(doc.attribute("pid"));
            entry.dev_id = doc.attribute("dev_id");
            entry.hid_interface = doc.attribute("hid_interface");
            config.modes.push_back(entry);
            sink.registerSupportedDevice(entry.vid, entry.pid, std::string(), entry.device_type, entry.mode,
                                         entry.dev_id);
        }
        doc.leave();
    }
}

// Reads the attribute of the next child with this name into `target`; a
// missing child leaves the position and the target as they were.
void readLink(XmlDocument& doc, std::string_view element, std::string_view attribute, std::string& target) {
    if (doc.findNext(element)) target = doc.attribute(attribute);
}

}  // namespace

bool loadStartupConfig(AppConfig& config) {
    config.SupportedLanguages.clear();
    XmlDocument doc;
    if (!openConfigRoot(doc)) return false;

    if (doc.findNext("language.info")) {
        setCurrentLanguageId(wtoi(doc.attribute("default_lan")));
        if (doc.enter()) {
            while (doc.findNext("lan")) config.SupportedLanguages.insert(wtoi(doc.attribute("value")));
            doc.leave();
        }
    }
    if (doc.findNext("software")) DUI::Manager::SetDeviceName(doc.attribute("caption"));
    return true;
}

bool loadStartupConfig() {
    return loadStartupConfig(appConfig());
}

bool loadDeviceConfig(AppConfig& config, DeviceConfigSink& sink) {
    config.models.clear();
    config.modes.clear();
    config.softwareVersion.clear();
    config.websiteLink.clear();
    config.feedbackLink.clear();
    config.helpLink.clear();
    config.storeLink.clear();
    config.updateServerBase.clear();
    config.legalNotice.clear();
    sink.clearDeviceList();
    sink.clearSupportedDevices();

    XmlDocument doc;
    if (!openConfigRoot(doc)) return false;

    if (doc.findNext("device")) {
        if (doc.enter()) {
            readModels(doc, config, sink);
            doc.leave();
        }
    }

    if (doc.findNext("software")) {
        config.softwareVersion = doc.attribute("version");
        sink.setVersionTitle(
            format("%s: v%s", LangString("LAN", 17).c_str(), config.softwareVersion.c_str()));
        if (doc.enter()) {
            readLink(doc, "website", "url", config.websiteLink);
            readLink(doc, "feedback", "url", config.feedbackLink);
            readLink(doc, "qa", "url", config.helpLink);
            readLink(doc, "store", "url", config.storeLink);
            readLink(doc, "upgrade", "url", config.updateServerBase);
            readLink(doc, "copyright", "info", config.legalNotice);
            doc.leave();
        }
    }

    // The input method needs no switching off on Linux: key capture reads raw
    // key events, never composed text.
    sink.registerDeviceNotifications();
    return true;
}

bool loadDeviceConfig(DeviceConfigSink& sink) {
    return loadDeviceConfig(appConfig(), sink);
}

}  // namespace quorvik
