// Factory values of the model written into a profile (see FactoryValues.h).
#include "model/FactoryValues.h"

#include "base/Text.h"
#include "files/XmlDocument.h"
#include "protocol/ColorText.h"
#include "store/SettingsStore.h"

namespace quorvik {
namespace {

constexpr int kStageCount = 6;

// Opens the selected model's description and stands inside mouse_info.
bool enterModelInfo(XmlDocument& doc, const ModelSources& sources) {
    const std::string path = sources.descriptionPath(sources.modelStem());
    return !path.empty() && doc.readFile(path) && doc.parse() && doc.findNext("mouse") && doc.enter() &&
           doc.findNext("mouse_info") && doc.enter();
}

// Writes the attribute's text under `key`. A file that lacks the attribute
// (or leaves it empty) must not wipe what the profile holds: the stored text
// would then read back as 0, a stage of 0 DPI or a stage count of 0.
bool writeAttribute(const ModelSources& sources, int profile, const std::string& key, const XmlDocument& doc,
                    std::string_view attribute) {
    const std::string value = doc.attribute(attribute);
    if (value.empty()) return false;
    sources.store->setConfigValue(profile, key, value);
    return true;
}

void writeStages(XmlDocument& doc, const ModelSources& sources, int profile) {
    writeAttribute(sources, profile, "dpi_index", doc, "default_dpi");
    writeAttribute(sources, profile, "dpi_flag", doc, "dpi_count");
    writeAttribute(sources, profile, "dpi_count", doc, "dpi_count");
    if (!doc.enter()) return;
    for (int n = 1; n <= kStageCount; ++n) {
        if (!doc.findNext(format("dpi_%d", n))) continue;
        writeAttribute(sources, profile, format("dpi_group%d_value", n - 1), doc, "value");
        const std::string color = doc.attribute("color");
        if (!color.empty())
            sources.store->setConfigValue(profile, format("dpi_group%d_rgb", n - 1),
                                          format("%d", parseColorText(color)));
    }
    doc.leave();
}

}  // namespace

FactoryValuesResult writeFactoryValues(int profile, bool withRateAndPower, const ModelSources& sources) {
    FactoryValuesResult result;
    XmlDocument doc;
    if (!sources.store || !enterModelInfo(doc, sources)) return result;
    result.fileRead = true;

    if (doc.findNext("dpi_info")) {
        result.dpiWritten = true;
        writeStages(doc, sources, profile);
    }
    if (!withRateAndPower) return result;

    // Searched after dpi_info when it was found, from the first child otherwise.
    if (doc.findNext("report_rate") && writeAttribute(sources, profile, "report_rate", doc, "default_value"))
        result.reportRate = wtoi(doc.attribute("default_value"));
    for (const char* name : {"sleep_light", "move_wakeup", "move_closelight"})
        if (doc.findNext(name)) writeAttribute(sources, profile, name, doc, "value");
    return result;
}

std::optional<int> writeFactoryReportRate(int profile, const ModelSources& sources) {
    XmlDocument doc;
    if (!sources.store || !enterModelInfo(doc, sources) || !doc.findNext("report_rate")) return std::nullopt;
    const std::string value = doc.attribute("default_value");
    if (value.empty()) return std::nullopt;
    sources.store->setConfigValue(profile, "report_rate", value);
    sources.store->setConfigValue(profile, "report_rate_wireless", value);
    return wtoi(value);
}

}  // namespace quorvik
