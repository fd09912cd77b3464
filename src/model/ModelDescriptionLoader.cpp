// Reading a model's description file into the main window's state and controls
// (see ModelDescriptionLoader.h).
#include "model/ModelDescriptionLoader.h"

#include "base/Text.h"
#include "base/Trace.h"
#include "files/XmlDocument.h"
#include "store/SettingsStore.h"
#include "ui/toolkit/MPicture.h"
#include "ui/toolkit/MTabCtrl.h"
#include "ui/toolkit/MouseCtrl.h"
#include "ui/toolkit/MouseKeyCtrl.h"

#include <algorithm>
#include <climits>

namespace quorvik {
namespace {

constexpr float kDesignHeight = 788.0f;
constexpr long long kPictureRightMargin = 150;
constexpr int kPictureTop = 120;

// k * s cut toward zero.
int scaled(int k, float s) {
    return static_cast<int>(static_cast<float>(k) * s);
}

int clampToInt(long long value) {
    return static_cast<int>(std::clamp<long long>(value, INT_MIN, INT_MAX));
}

// Splits at the first '#': the part before it and the rest. Without '#', the
// part before is empty and the whole text is the rest.
std::pair<std::string_view, std::string_view> splitAtHash(std::string_view text) {
    const std::size_t hash = text.find('#');
    if (hash == std::string_view::npos) return {std::string_view(), text};
    return {text.substr(0, hash), text.substr(hash + 1)};
}

DUI::Rect currentClient(const ModelControls& controls) {
    return controls.clientRect ? controls.clientRect() : DUI::Rect{};
}

std::string textOf(const ModelSources& sources, int id) {
    return sources.text ? sources.text(id) : std::string();
}

void switchDatabase(const ModelSources& sources, const std::string& stem) {
    if (!sources.store) return;
    if (sources.store->isOpen()) sources.store->close();
    if (!sources.store->openForModel(sources.userDataFolder, stem)) trace("OpenModelDatabase failed!");
}

void loadPicture(XmlDocument& doc, const ModelControls& controls) {
    if (!controls.modelPicture) return;
    DUI::MPicture& picture = *controls.modelPicture;
    picture.SetImage("device/" + doc.attribute("mouse_img"), 1);
    const int width = picture.GetImageWidth();
    if (width <= 1) return;  // no picture: leave it where it was
    const long long height = picture.GetImageHeight();
    // In 64 bits: a picture header may claim a size near the int limit.
    const long long left =
        static_cast<long long>(currentClient(controls).right) - (width + kPictureRightMargin);
    picture.SetRect(
        {clampToInt(left), kPictureTop, clampToInt(left + width), clampToInt(kPictureTop + height)});
}

void loadKeys(XmlDocument& doc, DeviceDescription& description, const ModelControls& controls,
              const ModelSources& sources) {
    if (controls.buttonPicture) controls.buttonPicture->DeleteAllItems();
    if (controls.buttonList) controls.buttonList->DeleteAllItems();
    description.keyDefaults.clear();

    doc.enter();
    while (doc.findNext("key")) {
        const std::string nameId = doc.attribute("name");
        const std::string descId = doc.attribute("func_desc");
        const int keyValue = wtoi(doc.attribute("key_value"));
        const int direction = wtoi(doc.attribute("direction"));
        const CalloutLine line = parseCalloutRect(doc.attribute("rect"));
        const std::string name = textOf(sources, wtoi(nameId));

        if (controls.buttonPicture)
            controls.buttonPicture->AddItem(name, keyValue, direction, {line.x1, line.y}, {line.x2, line.y});
        if (controls.buttonList) controls.buttonList->AddItem(name, textOf(sources, wtoi(descId)), keyValue);

        KeyBinding binding;
        binding.key_code = keyValue;
        binding.layout_value = keyValue;
        binding.layout_desc = nameId;
        binding.macro_type = wtoi(doc.attribute("func_type"));
        binding.macro_value = wtoi(doc.attribute("func_value"));
        binding.macro_desc = descId;
        description.keyDefaults.push_back(std::move(binding));
    }

    const int count = static_cast<int>(description.keyDefaults.size());
    if (controls.buttonPicture) controls.buttonPicture->SetSelectItem(0);
    if (controls.buttonList) {
        controls.buttonList->SetSelectItem(0);
        controls.buttonList->SetRect(buttonListRect(count, layoutScale(currentClient(controls))));
    }
    doc.leave();
}

void loadLightModes(XmlDocument& doc, DeviceDescription& description) {
    if (!doc.enter()) return;
    if (doc.findNext("light_info") && doc.enter()) {
        for (int n = 1; n <= DeviceDescription::kLightElementCount; ++n)
            if (doc.findNext(format("light_%d", n)))
                description.lightEnabled[static_cast<std::size_t>(n - 1)] =
                    descriptionFlag(doc.attribute("enable"));
        doc.leave();
    }
    doc.leave();
}

}  // namespace

CalloutLine parseCalloutRect(std::string_view text) {
    const auto [first, rest] = splitAtHash(text);
    const auto [second, third] = splitAtHash(rest);
    return {wtoi(first), wtoi(second), wtoi(third)};
}

float layoutScale(const DUI::Rect& client) {
    return static_cast<float>(client.bottom - client.top) / kDesignHeight;
}

DUI::Rect buttonListRect(int itemCount, float scale) {
    const long long left = 230LL + scaled(15, scale) + scaled(10, scale);
    const long long top = 80LL + scaled(50, scale) + scaled(40, scale);
    const long long right = 230LL + scaled(15, scale) + scaled(220, scale);
    const long long rowHeight = 15LL + scaled(30, scale);
    const long long bottom = top + scaled(10, scale) + static_cast<long long>(itemCount) * rowHeight + 200;
    return {clampToInt(left), clampToInt(top), clampToInt(right), clampToInt(bottom)};
}

bool descriptionFlag(std::string_view text) {
    return wtoi(text) == 1;
}

bool loadModelDescription(DeviceDescription& description, const ModelControls& controls,
                          const ModelSources& sources) {
    const DeviceModelEntry* entry = sources.findModel();
    description.modelName = entry ? entry->name : std::string();
    description.modelStem = entry ? entry->device_attr : std::string();

    switchDatabase(sources, description.modelStem);

    const std::string path = sources.descriptionPath(description.modelStem);
    XmlDocument doc;
    if (path.empty() || !doc.readFile(path) || !doc.parse() || !doc.findNext("mouse") || !doc.enter()) {
        trace("LoadModelDescription: no description!");
        return false;
    }

    if (doc.findNext("image_file")) loadPicture(doc, controls);

    if (doc.findNext("menu")) {
        description.lightingTabVisible = descriptionFlag(doc.attribute("light"));
        if (controls.tabs)
            controls.tabs->SetItemVisible(ModelControls::kLightingTabIndex, description.lightingTabVisible);
        if (controls.relayoutPages) controls.relayoutPages();
    }

    if (doc.findNext("custom")) {
        description.showDpiPopup = descriptionFlag(doc.attribute("show_dpitips"));
        description.showSaveWait = descriptionFlag(doc.attribute("show_savetips"));
        description.showLiftOff = descriptionFlag(doc.attribute("show_lod"));
        description.showSensor = descriptionFlag(doc.attribute("show_sensor"));
        if (controls.relayoutPerformancePage) controls.relayoutPerformancePage();
    }

    if (doc.findNext("firmware")) description.firmwareLink = doc.attribute("url");

    if (doc.findNext("mouse_key")) loadKeys(doc, description, controls, sources);

    if (doc.findNext("mouse_info")) loadLightModes(doc, description);
    return true;
}

bool loadModelDescription(DeviceDescription& description, const ModelControls& controls) {
    return loadModelDescription(description, controls, ModelSources::current());
}

}  // namespace quorvik
