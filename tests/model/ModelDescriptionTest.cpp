// Loading a model description into the main window's state and controls: the
// database switch, the forward-only element order, switches that change only
// when their element is there, callout rects, key defaults and list geometry.
#include "model/ModelDescriptionLoader.h"

#include "ModelTestFolder.h"
#include "ui/toolkit/MPicture.h"
#include "ui/toolkit/MTabCtrl.h"
#include "ui/toolkit/MouseCtrl.h"
#include "ui/toolkit/MouseKeyCtrl.h"

#include <gtest/gtest.h>

#include <climits>

namespace quorvik {
namespace {

using test::ModelTestFolder;

// A complete description in the required order.
const char* const kLitDescription = R"(<?xml version="1.0" encoding="UTF-8"?>
<mouse>
  <image_file mouse_img="lit.png"/>
  <menu light="1"/>
  <custom show_dpitips="1" show_savetips="0" show_lod="1" show_sensor="true"/>
  <firmware url="https://example.com/fw/lit"/>
  <mouse_key>
    <key name="90" key_value="0" direction="0" rect="120#300#85" func_desc="106" func_type="1" func_value="1"/>
    <key name="91" key_value="1" direction="1" rect="280#340#130" func_desc="107" func_type="1" func_value="3"/>
    <key name="999" key_value="5" direction="1" rect="232#340#180" func_desc="142" func_type="5" func_value="3"/>
  </mouse_key>
  <mouse_info>
    <dpi_info default_dpi="1" dpi_count="4"><dpi_1 value="400" color="#FF0000"/></dpi_info>
    <report_rate default_value="1"/>
    <light_info>
      <light_1 enable="1"/><light_2 enable="0"/><light_4 enable="1"/><light_6 enable="1"/>
    </light_info>
  </mouse_info>
</mouse>
)";

// The main window's controls as a test holds them; the lighting tab is index 4.
struct Window {
    DUI::MPicture picture;
    DUI::MTabCtrl tabs;
    DUI::MouseCtrl buttons;
    DUI::MouseKeyCtrl list;
    DUI::Rect client{0, 0, 1300, 788};
    int pageLayouts = 0;
    int performanceLayouts = 0;

    Window() {
        for (int i = 0; i < 6; ++i) tabs.AddItem(i + 1, "tab", "");
    }
    ModelControls controls() {
        ModelControls c;
        c.modelPicture = &picture;
        c.tabs = &tabs;
        c.buttonPicture = &buttons;
        c.buttonList = &list;
        c.clientRect = [this] { return client; };
        c.relayoutPages = [this] { ++pageLayouts; };
        c.relayoutPerformancePage = [this] { ++performanceLayouts; };
        return c;
    }
};

class ModelDescriptionTest : public ::testing::Test {
protected:
    bool load(int deviceType) {
        return loadModelDescription(description, window.controls(), folder.sources(deviceType));
    }

    ModelTestFolder folder;
    Window window;
    DeviceDescription description;
};

TEST_F(ModelDescriptionTest, CompleteFileSetsEverything) {
    folder.writeDescription("lit", kLitDescription);
    folder.writePicture("lit.png", 200, 100);
    window.tabs.SetItemVisible(4, false);

    ASSERT_TRUE(load(1));

    EXPECT_EQ(description.modelName, "Lit Mouse");
    EXPECT_EQ(description.modelStem, "lit");
    EXPECT_EQ(SettingsStore::instance().databasePath(), folder.databasePath("lit"));
    EXPECT_TRUE(SettingsStore::instance().isOpen());

    EXPECT_EQ(window.picture.GetImage(), "device/lit.png");
    EXPECT_EQ(window.picture.GetImageMode(), 1);
    EXPECT_EQ(window.picture.GetRect(), (DUI::Rect{1300 - (200 + 150), 120, 1300 - 150, 220}));

    EXPECT_TRUE(description.lightingTabVisible);
    EXPECT_TRUE(window.tabs.IsItemVisible(4));
    EXPECT_EQ(window.pageLayouts, 1);

    EXPECT_TRUE(description.showDpiPopup);
    EXPECT_FALSE(description.showSaveWait);
    EXPECT_TRUE(description.showLiftOff);
    EXPECT_FALSE(description.showSensor) << "only the number 1 switches on";
    EXPECT_EQ(window.performanceLayouts, 1);
    EXPECT_EQ(description.firmwareLink, "https://example.com/fw/lit");

    const auto items = window.buttons.GetItems();
    ASSERT_EQ(items.size(), 3u);
    EXPECT_EQ(items[0].name, "T90");
    EXPECT_EQ(items[0].keyValue, 0);
    EXPECT_EQ(items[0].direction, 0);
    EXPECT_EQ(items[0].from, (DUI::Point{120, 85}));
    EXPECT_EQ(items[0].to, (DUI::Point{300, 85}));
    EXPECT_EQ(items[1].direction, 1);
    EXPECT_EQ(items[2].name, "") << "an id without a text gives an empty name";
    EXPECT_EQ(items[2].keyValue, 5);

    const auto rows = window.list.GetItems();
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[1].name, "T91");
    EXPECT_EQ(rows[1].desc, "T107");
    EXPECT_EQ(rows[2].desc, "T142");
    EXPECT_EQ(rows[2].keyValue, 5);
    EXPECT_EQ(window.buttons.GetSelectItem(), 0);
    EXPECT_EQ(window.list.GetSelectItem(), 0);
    EXPECT_EQ(window.list.GetRect(), buttonListRect(3, 1.0f));

    ASSERT_EQ(description.keyDefaults.size(), 3u);
    const KeyBinding& dpi = description.keyDefaults[2];
    EXPECT_EQ(dpi.key_code, 5);
    EXPECT_EQ(dpi.layout_value, 5);
    EXPECT_EQ(dpi.layout_desc, "999");
    EXPECT_EQ(dpi.macro_type, 5);
    EXPECT_EQ(dpi.macro_value, 3);
    EXPECT_EQ(dpi.macro_value2, 0);
    EXPECT_EQ(dpi.macro_value3, 0);
    EXPECT_EQ(dpi.macro_desc, "142");
    EXPECT_EQ(description.keyDefaults[0].macro_desc, "106");

    // light_3 and light_5 are absent and keep their previous (initial) value.
    EXPECT_EQ(description.lightEnabled, (std::array<bool, 6>{true, false, false, true, false, true}));
    EXPECT_TRUE(description.offersLightMode(0));
    EXPECT_TRUE(description.offersLightMode(4));
    EXPECT_FALSE(description.offersLightMode(2));
    EXPECT_FALSE(description.offersLightMode(6));
}

TEST_F(ModelDescriptionTest, LightAttributeShowsTheTabOnlyForOne) {
    struct Case {
        const char* name;
        const char* element;
        bool visible;
    };
    const Case cases[] = {
        {"zero", R"(<menu light="0"/>)", false},         {"empty", R"(<menu light=""/>)", false},
        {"word true", R"(<menu light="true"/>)", false}, {"two", R"(<menu light="2"/>)", false},
        {"missing attribute", R"(<menu/>)", false},      {"one", R"(<menu light="1"/>)", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        window.tabs.SetItemVisible(4, !c.visible);
        description.lightingTabVisible = !c.visible;
        folder.writeDescription("lit", std::string("<mouse>") + c.element + "</mouse>");
        ASSERT_TRUE(load(1));
        EXPECT_EQ(description.lightingTabVisible, c.visible);
        EXPECT_EQ(window.tabs.IsItemVisible(4), c.visible);
        EXPECT_TRUE(window.tabs.IsItemVisible(3)) << "only the lighting tab changes";
    }
}

TEST(CalloutRectTest, SplitsAtTheFirstTwoHashes) {
    struct Case {
        const char* text;
        CalloutLine line;
    };
    const Case cases[] = {
        {"120#300#85", {120, 300, 85}},
        {"85", {0, 0, 85}},        // one number: y only
        {"120#85", {120, 0, 85}},  // two numbers: x1 and y
        {"", {0, 0, 0}},
        {"##", {0, 0, 0}},
        {"-5#10#20", {-5, 10, 20}},
        {"1#2#3#4", {1, 2, 3}},  // the rest after the second '#' reads its leading digits
        {"x#y#z", {0, 0, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(parseCalloutRect(c.text), c.line);
    }
}

TEST(ButtonListRectTest, ProductsWithTheScaleAreCutTowardZero) {
    struct Case {
        const char* name;
        int count;
        float scale;
        DUI::Rect rect;
    };
    // At 1080 / 788: 10s = 13.7, 15s = 20.6, 30s = 41.1, 40s = 54.8, 50s = 68.5, 220s = 301.5.
    const float big = 1080.0f / 788.0f;
    const Case cases[] = {
        {"design size, six buttons", 6, 1.0f, {255, 170, 465, 170 + 10 + 6 * 45 + 200}},
        {"no buttons", 0, 1.0f, {255, 170, 465, 380}},
        {"1080 high, six buttons",
         6,
         big,
         {230 + 20 + 13, 80 + 68 + 54, 230 + 20 + 301, 202 + 13 + 6 * 56 + 200}},
        {"zero height", 2, 0.0f, {230, 80, 230, 80 + 2 * 15 + 200}},
        {"absurd count stays in range", INT_MAX, 1.0f, {255, 170, 465, INT_MAX}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(buttonListRect(c.count, c.scale), c.rect);
    }
    EXPECT_FLOAT_EQ(layoutScale({0, 0, 1920, 1080}), big);
}

TEST_F(ModelDescriptionTest, ListIsSizedWithTheCurrentClientHeight) {
    folder.writeDescription("lit", kLitDescription);
    window.client = {0, 0, 1920, 1080};
    ASSERT_TRUE(load(1));
    EXPECT_EQ(window.list.GetRect(), buttonListRect(3, 1080.0f / 788.0f));
}

TEST_F(ModelDescriptionTest, KeysBeforeImageFileAreBehindTheSearch) {
    // image_file is looked for first; once it is found, mouse_key lies behind
    // the forward-only search, so the previous model's buttons stay.
    folder.writeDescription("lit", kLitDescription);
    ASSERT_TRUE(load(1));
    folder.writePicture("other.png", 300, 100);
    folder.writeDescription("plain", R"(<mouse>
      <mouse_key><key name="92" key_value="2" rect="1#2#3"/></mouse_key>
      <image_file mouse_img="other.png"/>
    </mouse>)");

    ASSERT_TRUE(load(2));
    EXPECT_EQ(window.picture.GetImage(), "device/other.png");
    EXPECT_EQ(window.picture.GetRect(), (DUI::Rect{850, 120, 1150, 220}));
    EXPECT_EQ(window.buttons.GetItemCount(), 3);
    EXPECT_EQ(window.list.GetItemKeyName(0), "T90");
    EXPECT_EQ(description.keyDefaults.size(), 3u);
}

TEST_F(ModelDescriptionTest, PictureWithoutWidthIsNotMoved) {
    struct Case {
        const char* name;
        int width;  // 0: no file at all
    };
    for (const Case c : {Case{"missing picture", 0}, Case{"one pixel wide", 1}}) {
        SCOPED_TRACE(c.name);
        if (c.width) folder.writePicture("thin.png", c.width, 50);
        folder.writeDescription("lit", c.width ? R"(<mouse><image_file mouse_img="thin.png"/></mouse>)"
                                               : R"(<mouse><image_file mouse_img="none.png"/></mouse>)");
        window.picture.SetRect({5, 6, 7, 8});
        ASSERT_TRUE(load(1));
        EXPECT_EQ(window.picture.GetImageWidth(), c.width);
        EXPECT_EQ(window.picture.GetRect(), (DUI::Rect{5, 6, 7, 8}));
    }
}

TEST_F(ModelDescriptionTest, HugePictureIsPlacedWithoutOverflow) {
    folder.writePicture("huge.png", INT_MAX, INT_MAX);
    folder.writeDescription("lit", R"(<mouse><image_file mouse_img="huge.png"/></mouse>)");
    ASSERT_TRUE(load(1));
    EXPECT_EQ(window.picture.GetRect(), (DUI::Rect{1300 - 150 - INT_MAX, 120, 1150, INT_MAX}));
}

TEST_F(ModelDescriptionTest, AbsentElementsKeepThePreviousModelsState) {
    folder.writeDescription("lit", kLitDescription);
    folder.writeDescription("plain", R"(<mouse><firmware url=""/></mouse>)");
    ASSERT_TRUE(load(1));
    const DeviceDescription lit = description;
    window.pageLayouts = window.performanceLayouts = 0;

    ASSERT_TRUE(load(2));
    EXPECT_EQ(description.modelName, "Plain Mouse");
    EXPECT_EQ(SettingsStore::instance().databasePath(), folder.databasePath("plain"));
    EXPECT_TRUE(description.lightingTabVisible) << "no menu element: the tab stays as the lit model left it";
    EXPECT_TRUE(window.tabs.IsItemVisible(4));
    EXPECT_EQ(window.pageLayouts, 0);
    EXPECT_EQ(window.performanceLayouts, 0);
    EXPECT_EQ(description.showDpiPopup, lit.showDpiPopup);
    EXPECT_EQ(description.showLiftOff, lit.showLiftOff);
    EXPECT_EQ(description.firmwareLink, "") << "a present firmware element replaces the link";
    EXPECT_EQ(description.keyDefaults.size(), lit.keyDefaults.size());
    EXPECT_EQ(window.buttons.GetItemCount(), 3);
    EXPECT_EQ(description.lightEnabled, lit.lightEnabled);
    EXPECT_EQ(window.picture.GetImage(), "device/lit.png");
}

TEST_F(ModelDescriptionTest, EmptyKeyListClearsTheButtons) {
    folder.writeDescription("lit", kLitDescription);
    folder.writeDescription("plain", R"(<mouse><mouse_key/></mouse>)");
    ASSERT_TRUE(load(1));
    ASSERT_TRUE(load(2));
    EXPECT_TRUE(description.keyDefaults.empty());
    EXPECT_EQ(window.buttons.GetItemCount(), 0);
    EXPECT_EQ(window.list.GetItemCount(), 0);
    EXPECT_EQ(window.list.GetRect(), buttonListRect(0, 1.0f));
}

TEST_F(ModelDescriptionTest, UnreadableFileStillSwitchesTheDatabase) {
    struct Case {
        const char* name;
        const char* text;  // null: no file
    };
    const Case cases[] = {
        {"missing file", nullptr},
        {"empty file", ""},
        {"not well formed", R"(<mouse><menu light="0"></mouse>)"},
        {"other root", R"(<device><menu light="0"/></device>)"},
        {"binary junk", "\x01\x02\xff\xfe<<<"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        folder.writeDescription("lit", kLitDescription);
        ASSERT_TRUE(load(1));
        const DeviceDescription lit = description;
        const auto items = window.buttons.GetItems();

        if (c.text)
            folder.writeDescription("plain", c.text);
        else
            std::remove((folder.programFolder() + "device/plain.xml").c_str());
        EXPECT_FALSE(load(2));
        EXPECT_EQ(SettingsStore::instance().databasePath(), folder.databasePath("plain"));
        EXPECT_TRUE(SettingsStore::instance().isOpen());
        EXPECT_EQ(description.modelStem, "plain");
        EXPECT_EQ(description.lightingTabVisible, lit.lightingTabVisible);
        EXPECT_TRUE(window.tabs.IsItemVisible(4));
        EXPECT_EQ(description.firmwareLink, lit.firmwareLink);
        EXPECT_EQ(description.keyDefaults.size(), lit.keyDefaults.size());
        EXPECT_EQ(window.buttons.GetItems().size(), items.size());
        EXPECT_EQ(window.picture.GetImage(), "device/lit.png");
    }
}

TEST_F(ModelDescriptionTest, NoMatchingModelGivesAnEmptyStem) {
    folder.writeDescription("lit", kLitDescription);
    ASSERT_TRUE(load(1));
    EXPECT_FALSE(load(7));
    EXPECT_EQ(description.modelName, "");
    EXPECT_EQ(description.modelStem, "");
    EXPECT_EQ(SettingsStore::instance().databasePath(), folder.databasePath(""));
    EXPECT_EQ(description.firmwareLink, "https://example.com/fw/lit");
}

TEST_F(ModelDescriptionTest, FirstMatchingModelWins) {
    folder.writeDescription("lit", kLitDescription);
    ModelSources sources = folder.sources(1);
    DeviceModelEntry second = sources.models[1];
    second.device_type = 1;
    sources.models.push_back(second);
    ASSERT_TRUE(loadModelDescription(description, window.controls(), sources));
    EXPECT_EQ(description.modelStem, "lit");
}

TEST_F(ModelDescriptionTest, StemNamingAnotherFolderIsNotRead) {
    // A description outside device/ that a stem with '/' would reach.
    writeFileAtomically(folder.programFolder() + "outside.xml", kLitDescription);
    ModelSources sources = folder.sources(1);
    sources.models[0].device_attr = "../outside";
    EXPECT_FALSE(loadModelDescription(description, window.controls(), sources));
    EXPECT_EQ(description.modelStem, "../outside");
    EXPECT_FALSE(SettingsStore::instance().isOpen()) << "the store refuses the stem as well";
    EXPECT_EQ(window.buttons.GetItemCount(), 0);
    EXPECT_EQ(description.firmwareLink, "");
}

TEST_F(ModelDescriptionTest, ElementsOutOfOrderAreNotFound) {
    // firmware before menu: once menu is found, firmware lies behind the search.
    folder.writeDescription("lit", R"(<mouse>
      <firmware url="https://example.com/a"/>
      <menu light="0"/>
      <custom show_dpitips="1"/>
    </mouse>)");
    ASSERT_TRUE(load(1));
    EXPECT_FALSE(description.lightingTabVisible);
    EXPECT_TRUE(description.showDpiPopup);
    EXPECT_EQ(description.firmwareLink, "");

    // mouse_info before mouse_key: the keys are read, the lighting modes are not.
    folder.writeDescription("lit", R"(<mouse>
      <mouse_info><light_info><light_1 enable="1"/></light_info></mouse_info>
      <mouse_key><key name="90"/></mouse_key>
    </mouse>)");
    ASSERT_TRUE(load(1));
    EXPECT_EQ(window.buttons.GetItemCount(), 1);
    EXPECT_FALSE(description.lightEnabled[0]);

    // light_2 before light_1: the search for light_1 passes it, so it is never found.
    folder.writeDescription("lit", R"(<mouse>
      <mouse_info><light_info><light_2 enable="1"/><light_1 enable="1"/></light_info></mouse_info>
    </mouse>)");
    ASSERT_TRUE(load(1));
    EXPECT_EQ(description.lightEnabled, (std::array<bool, 6>{true, false, false, false, false, false}));
}

TEST_F(ModelDescriptionTest, LightInfoMayStandAnywhereInMouseInfo) {
    folder.writeDescription("lit", R"(<mouse><mouse_info>
      <light_info><light_3 enable="1"/></light_info>
      <dpi_info dpi_count="2"/>
      <report_rate default_value="1"/>
    </mouse_info></mouse>)");
    ASSERT_TRUE(load(1));
    EXPECT_TRUE(description.lightEnabled[2]);
}

TEST_F(ModelDescriptionTest, MissingControlsAndHooksAreSkipped) {
    folder.writeDescription("lit", kLitDescription);
    ASSERT_TRUE(loadModelDescription(description, ModelControls{}, folder.sources(1)));
    EXPECT_EQ(description.keyDefaults.size(), 3u);
    EXPECT_TRUE(description.showDpiPopup);
}

}  // namespace
}  // namespace quorvik
