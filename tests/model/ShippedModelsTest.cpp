// The description files shipped in data/device/ for the models of
// data/config.xml: they load, every text id they use exists in each language
// file, their pictures exist, their key defaults are the simulated mouse's
// built-in key table, and their factory values are valid on the sensor the
// simulated mouse of that model reports.
#include "model/FactoryValues.h"
#include "model/ModelDescriptionLoader.h"

#include "ModelTestFolder.h"
#include "app/config/AppFolders.h"
#include "app/config/ConfigLoader.h"
#include "app/config/IniFile.h"
#include "base/Text.h"
#include "protocol/ColorText.h"
#include "protocol/DpiScale.h"
#include "protocol/KeyTable.h"
#include "sim/VirtualMouseConfig.h"
#include "ui/toolkit/MPicture.h"
#include "ui/toolkit/MTabCtrl.h"
#include "ui/toolkit/MouseCtrl.h"
#include "ui/toolkit/MouseKeyCtrl.h"

#include <gtest/gtest.h>

namespace quorvik {
namespace {

const std::string kDataFolder = std::string(QUORVIK_SOURCE_DIR) + "/data/";

IniFile languageFile(int id) {
    return IniFile::parse(
        readWholeFile(kDataFolder + "language/" + std::to_string(id) + ".lan").value_or(""));
}

class ShippedModelsTest : public ::testing::Test {
protected:
    void SetUp() override {
        setProgramFolderOverride(kDataFolder);
        IgnoringDeviceConfigSink sink;
        ASSERT_TRUE(loadDeviceConfig(config, sink));
        setProgramFolderOverride("");
        ASSERT_EQ(config.models.size(), 2u);
        DUI::Manager::SetSkinFolder(kDataFolder + "skins/default/");
    }

    ModelSources sourcesFor(const DeviceModelEntry& model, const IniFile* texts) {
        ModelSources sources;
        sources.programFolder = kDataFolder;
        sources.userDataFolder = folder.userFolder();
        sources.models = config.models;
        sources.deviceType = model.device_type;
        sources.text = [texts](int id) {
            return texts ? texts->value("LAN", std::to_string(id)).value_or("") : "";
        };
        sources.store = &SettingsStore::instance();
        return sources;
    }

    // The simulated wired mouse of the model (same dev_id as its modes).
    const VirtualMouseConfig* simulatedMouse(const DeviceModelEntry& model) {
        for (const DeviceModelEntry& mode : config.modes) {
            if (mode.device_type != model.device_type) continue;
            for (const VirtualMouseConfig& mouse : simulated)
                if (mouse.devId == mode.dev_id) return &mouse;
        }
        return nullptr;
    }

    test::ModelTestFolder folder;  // sets and restores the skin folder
    AppConfig config;
    std::vector<VirtualMouseConfig> simulated = defaultVirtualMouseConfigs();
};

TEST_F(ShippedModelsTest, BothDescriptionsLoadCompletely) {
    struct Case {
        int deviceType;
        bool lighting;
    };
    for (const Case c : {Case{1, true}, Case{2, false}}) {
        SCOPED_TRACE(c.deviceType);
        const DeviceModelEntry* model = config.findModel(c.deviceType);
        ASSERT_NE(model, nullptr);
        const IniFile english = languageFile(1033);

        DUI::MPicture picture;
        DUI::MTabCtrl tabs;
        for (int i = 0; i < 6; ++i) tabs.AddItem(i + 1, "tab", "");
        DUI::MouseCtrl buttons;
        DUI::MouseKeyCtrl list;
        ModelControls controls{&picture, &tabs, &buttons, &list, [] { return DUI::Rect{0, 0, 1300, 788}; },
                               {},       {}};
        DeviceDescription description;
        description.lightingTabVisible = !c.lighting;
        description.lightEnabled.fill(!c.lighting);

        ASSERT_TRUE(loadModelDescription(description, controls, sourcesFor(*model, &english)));
        EXPECT_EQ(description.modelStem, model->device_attr);
        EXPECT_EQ(SettingsStore::instance().databasePath(), folder.databasePath(model->device_attr));

        // The description names the picture config.xml names (a .png beside its .svg).
        const std::string image = model->image.substr(model->image.rfind('/') + 1);
        EXPECT_EQ(picture.GetImage(), "device/" + image.substr(0, image.rfind('.')) + ".png");
        EXPECT_GT(picture.GetImageWidth(), 1);
        EXPECT_EQ(picture.GetRect().top, 120);

        EXPECT_EQ(description.lightingTabVisible, c.lighting);
        EXPECT_EQ(tabs.IsItemVisible(4), c.lighting);
        for (bool enabled : description.lightEnabled) EXPECT_EQ(enabled, c.lighting);
        EXPECT_TRUE(description.showDpiPopup);
        EXPECT_TRUE(description.showSaveWait);
        EXPECT_EQ(description.firmwareLink.rfind("https://example.com/", 0), 0u);

        ASSERT_EQ(description.keyDefaults.size(), 6u);
        const int width = picture.GetImageWidth();
        const int height = picture.GetImageHeight();
        std::vector<bool> seen(6, false);
        for (const DUI::MouseCtrl::Item& item : buttons.GetItems()) {
            ASSERT_TRUE(item.keyValue >= 0 && item.keyValue < 6) << item.keyValue;
            EXPECT_FALSE(seen[static_cast<std::size_t>(item.keyValue)]) << "key code used twice";
            seen[static_cast<std::size_t>(item.keyValue)] = true;
            EXPECT_FALSE(item.name.empty());
            for (const DUI::Point p : {item.from, item.to}) {
                EXPECT_TRUE(p.x >= 0 && p.x < width && p.y >= 0 && p.y < height) << item.name;
            }
        }
        EXPECT_EQ(list.GetItemCount(), 6);
        EXPECT_EQ(list.GetRect(), buttonListRect(6, 1.0f));
    }
}

TEST_F(ShippedModelsTest, EveryTextIdHasATextInEachLanguage) {
    for (const int language : {1033, 2052}) {
        const IniFile texts = languageFile(language);
        for (const DeviceModelEntry& model : config.models) {
            DeviceDescription description;
            ASSERT_TRUE(loadModelDescription(description, ModelControls{}, sourcesFor(model, &texts)));
            for (const KeyBinding& key : description.keyDefaults) {
                for (const std::string& id : {key.layout_desc, key.macro_desc}) {
                    SCOPED_TRACE(model.device_attr + " language " + std::to_string(language) + " id " + id);
                    ASSERT_EQ(std::to_string(wtoi(id)), id);
                    EXPECT_FALSE(texts.value("LAN", id).value_or("").empty());
                }
            }
        }
    }
}

TEST_F(ShippedModelsTest, KeyDefaultsAreTheMousesBuiltInKeyTable) {
    const auto builtIn = factoryKeyTable();
    for (const DeviceModelEntry& model : config.models) {
        DeviceDescription description;
        ASSERT_TRUE(loadModelDescription(description, ModelControls{}, sourcesFor(model, nullptr)));
        for (const KeyBinding& key : description.keyDefaults) {
            SCOPED_TRACE(model.device_attr + " key " + std::to_string(key.key_code));
            const KeyEntry entry = keyTableEntry(
                {key.key_code, key.macro_type, key.macro_value, key.macro_value2}, KeyEntry{}, nullptr);
            const std::size_t at = static_cast<std::size_t>(3 * key.key_code);
            EXPECT_EQ(entry, (KeyEntry{builtIn[at], builtIn[at + 1], builtIn[at + 2]}));
        }
    }
}

TEST_F(ShippedModelsTest, FactoryValuesFitTheSimulatedSensor) {
    for (const DeviceModelEntry& model : config.models) {
        SCOPED_TRACE(model.device_attr);
        const VirtualMouseConfig* mouse = simulatedMouse(model);
        ASSERT_NE(mouse, nullptr);
        SettingsStore& store = SettingsStore::instance();
        ASSERT_TRUE(store.openForModel(folder.userFolder(), model.device_attr));
        const int profile = store.addProfile(ProfileRecord{0, "Profile 1", "", 0, 0});
        ASSERT_GT(profile, 0);

        const FactoryValuesResult result = writeFactoryValues(profile, true, sourcesFor(model, nullptr));
        ASSERT_TRUE(result.dpiWritten);
        auto number = [&](const std::string& key) {
            std::string text;
            EXPECT_TRUE(store.getConfigValue(profile, key, text)) << key;
            EXPECT_EQ(std::to_string(wtoi(text)), text) << key << " must be a plain decimal number";
            return wtoi(text);
        };

        const MouseSettings& factory = mouse->factory;
        const int count = number("dpi_count");
        EXPECT_TRUE(count >= 1 && count <= 6);
        EXPECT_EQ(count, factory.stageCount);
        EXPECT_EQ(number("dpi_flag"), count);
        EXPECT_EQ(number("dpi_index"), factory.currentStage);
        EXPECT_LT(number("dpi_index"), count);
        for (int n = 0; n < 6; ++n) {
            SCOPED_TRACE(n);
            const int dpi = number("dpi_group" + std::to_string(n) + "_value");
            EXPECT_EQ(normalizeTypedDpi(mouse->sensorId, dpi), dpi) << "not a value the page offers";
            EXPECT_EQ(dpi, deviceCodeToDpi(mouse->sensorId, factory.stages[static_cast<std::size_t>(n)].x));
            EXPECT_EQ(number("dpi_group" + std::to_string(n) + "_rgb"),
                      static_cast<int>(factory.stageColors[static_cast<std::size_t>(n)]));
        }
        EXPECT_EQ(result.reportRate, factory.reportRate);
        EXPECT_EQ(number("report_rate"), factory.reportRate);
        EXPECT_EQ(number("sleep_light"), factory.sleepLight);
        EXPECT_EQ(number("move_wakeup"), factory.moveWakeup);
        EXPECT_EQ(number("move_closelight"), factory.moveCloseLight);
    }
}

}  // namespace
}  // namespace quorvik
