// The two passes over config.xml: what they keep, what they hand to the
// window (device list, registrations, version title, notifications), the
// forward-only element order, and damaged or missing files.
#include "TempHome.h"
#include "app/config/ConfigLoader.h"
#include "app/config/LanguageTexts.h"
#include "base/Text.h"

#include <gtest/gtest.h>
#include <vector>

namespace quorvik {
namespace {

// Records every call as one line, in order.
class RecordingSink : public DeviceConfigSink {
public:
    void clearDeviceList() override { calls.push_back("clearDeviceList"); }
    void addDevice(const std::string& name, int deviceType, const std::string& imagePath) override {
        calls.push_back(format("addDevice %s %d %s", name.c_str(), deviceType, imagePath.c_str()));
    }
    void clearSupportedDevices() override { calls.push_back("clearSupportedDevices"); }
    void registerSupportedDevice(int vid, int pid, const std::string& name, int deviceType, int mode,
                                 const std::string& devId) override {
        calls.push_back(format("register %04X %04X '%s' %d %d %s", vid, pid, name.c_str(), deviceType, mode,
                               devId.c_str()));
    }
    void setVersionTitle(const std::string& title) override { calls.push_back("title " + title); }
    void registerDeviceNotifications() override { calls.push_back("notifications"); }

    int count(std::string_view prefix) const {
        int n = 0;
        for (const std::string& call : calls) n += call.starts_with(prefix) ? 1 : 0;
        return n;
    }

    std::vector<std::string> calls;
};

const char* const kLanguageInfo =
    "  <language.info default_lan=\"2052\">\n"
    "    <lan value=\"1033\"/>\n"
    "    <lan value=\"2052\"/>\n"
    "  </language.info>\n";

const char* const kDevice =
    "  <device>\n"
    "    <mouse name=\"Alpha\" device_type=\"1\" device_attr=\"alpha\" image=\"alpha.svg\">\n"
    "      <mode value=\"0\" desc=\"Wired\" vid=\"0x1209\" pid=\"0x0001\" dev_id=\"QA01\" "
    "hid_interface=\"mi_01\"/>\n"
    "      <mode value=\"1\" desc=\"Receiver\" vid=\"1209\" pid=\"0002\" dev_id=\"QA01\" "
    "hid_interface=\"mi_02\"/>\n"
    "    </mouse>\n"
    "    <mouse name=\"Beta\" device_type=\"2\" device_attr=\"beta\" image=\"beta.png\">\n"
    "      <mode value=\"0\" desc=\"Wired\" vid=\"0x1209\" pid=\"0x0003\" dev_id=\"QB02\" "
    "hid_interface=\"\"/>\n"
    "    </mouse>\n"
    "  </device>\n";

const char* const kSoftware =
    "  <software caption=\"Mouse Lab\" version=\"2.3.4\">\n"
    "    <website url=\"https://example.com/w\"/>\n"
    "    <feedback url=\"https://example.com/f\"/>\n"
    "    <qa url=\"https://example.com/q\"/>\n"
    "    <store url=\"https://example.com/s\"/>\n"
    "    <upgrade url=\"https://example.com/u\"/>\n"
    "    <copyright info=\"(c) us\"/>\n"
    "  </software>\n";

std::string configXml(const std::string& body) {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<config>\n" + body + "</config>\n";
}

class ConfigLoaderTest : public testing::Test {
protected:
    void SetUp() override {
        m_home.writeProgramFile("language/1033.lan", "[LAN]\n17=Software version\n");
        m_savedLanguage = CurrentLanguageId();
        setCurrentLanguageId(1033);
    }
    void TearDown() override { setCurrentLanguageId(m_savedLanguage); }

    void writeConfig(const std::string& text) { ASSERT_TRUE(m_home.writeProgramFile("config.xml", text)); }

    test::TempHome m_home;
    int m_savedLanguage = 1033;
};

TEST_F(ConfigLoaderTest, EarlyPassReadsLanguagesAndDeviceName) {
    writeConfig(configXml(std::string(kLanguageInfo) + kDevice + kSoftware));
    AppConfig config;
    config.SupportedLanguages = {1041};
    EXPECT_TRUE(loadStartupConfig(config));
    EXPECT_EQ(config.SupportedLanguages, (std::set<int>{1033, 2052}));
    EXPECT_EQ(CurrentLanguageId(), 2052);
    EXPECT_EQ(DUI::Manager::GetDeviceName(), "Mouse Lab");
    EXPECT_TRUE(config.models.empty());
}

TEST_F(ConfigLoaderTest, LatePassFillsModelsModesAndTheWindow) {
    writeConfig(configXml(std::string(kLanguageInfo) + kDevice + kSoftware));
    AppConfig config;
    RecordingSink sink;
    EXPECT_TRUE(loadDeviceConfig(config, sink));

    const std::string pictures = SkinFolder() + "device/";
    const std::vector<std::string> expectedCalls = {
        "clearDeviceList",
        "clearSupportedDevices",
        "addDevice Alpha 1 " + pictures + "alpha.svg",
        "register 1209 0001 '' 1 0 QA01",
        "register 1209 0002 '' 1 1 QA01",
        "addDevice Beta 2 " + pictures + "beta.png",
        "register 1209 0003 '' 2 0 QB02",
        "title Software version: v2.3.4",
        "notifications",
    };
    EXPECT_EQ(sink.calls, expectedCalls);

    ASSERT_EQ(config.models.size(), 2u);
    const DeviceModelEntry alpha{"Alpha", 1, "alpha", pictures + "alpha.svg", 0, 0, 0, "", "", ""};
    EXPECT_EQ(config.models[0], alpha);
    ASSERT_EQ(config.modes.size(), 3u);
    const DeviceModelEntry alphaReceiver{"Alpha", 1,          "alpha", pictures + "alpha.svg", 1, 0x1209, 2,
                                         "QA01",  "Receiver", "mi_02"};
    EXPECT_EQ(config.modes[1], alphaReceiver);
    EXPECT_EQ(config.modes[2].hid_interface, "");
    EXPECT_EQ(config.findModel(2), &config.models[1]);
    EXPECT_EQ(config.findModel(101), nullptr);

    EXPECT_EQ(config.softwareVersion, "2.3.4");
    EXPECT_EQ(config.websiteLink, "https://example.com/w");
    EXPECT_EQ(config.feedbackLink, "https://example.com/f");
    EXPECT_EQ(config.helpLink, "https://example.com/q");
    EXPECT_EQ(config.storeLink, "https://example.com/s");
    EXPECT_EQ(config.updateServerBase, "https://example.com/u");
    EXPECT_EQ(config.legalNotice, "(c) us");
}

TEST_F(ConfigLoaderTest, ElementOrderDecidesWhatIsFound) {
    struct Case {
        const char* name;
        std::string body;
        bool deviceNameSet;
        std::size_t languages;
        std::size_t models;
        bool softwareFound;
    };
    const Case cases[] = {
        {"usual order", std::string(kLanguageInfo) + kDevice + kSoftware, true, 2, 2, true},
        {"device before languages", std::string(kDevice) + kLanguageInfo + kSoftware, true, 2, 2, true},
        {"software before device", std::string(kLanguageInfo) + kSoftware + kDevice, true, 2, 2, false},
        {"software before everything", std::string(kSoftware) + kLanguageInfo + kDevice, false, 2, 2, false},
        {"languages last", std::string(kDevice) + kSoftware + kLanguageInfo, false, 2, 2, true},
        {"only software", kSoftware, true, 0, 0, true},
        {"nothing", "", false, 0, 0, false},
    };
    for (const Case& c : cases) {
        writeConfig(configXml(c.body));
        DUI::Manager::SetDeviceName("unchanged");
        AppConfig config;
        RecordingSink sink;
        EXPECT_TRUE(loadStartupConfig(config)) << c.name;
        EXPECT_TRUE(loadDeviceConfig(config, sink)) << c.name;
        EXPECT_EQ(DUI::Manager::GetDeviceName(), c.deviceNameSet ? "Mouse Lab" : "unchanged") << c.name;
        EXPECT_EQ(config.SupportedLanguages.size(), c.languages) << c.name;
        EXPECT_EQ(config.models.size(), c.models) << c.name;
        EXPECT_EQ(sink.count("addDevice"), static_cast<int>(c.models)) << c.name;
        EXPECT_EQ(config.softwareVersion, c.softwareFound ? "2.3.4" : "") << c.name;
        EXPECT_EQ(config.updateServerBase, c.softwareFound ? "https://example.com/u" : "") << c.name;
        EXPECT_EQ(sink.count("title"), c.softwareFound ? 1 : 0) << c.name;
    }
}

TEST_F(ConfigLoaderTest, SoftwareChildrenAreReadInTheirOrderOnly) {
    // qa stands before website, so after website has been found qa is not
    // found any more; the children after it still are.
    writeConfig(
        configXml("  <software caption=\"X\" version=\"1\">\n"
                  "    <qa url=\"q\"/>\n"
                  "    <website url=\"w\"/>\n"
                  "    <upgrade url=\"u\"/>\n"
                  "    <copyright info=\"c\"/>\n"
                  "  </software>\n"));
    AppConfig config;
    RecordingSink sink;
    ASSERT_TRUE(loadDeviceConfig(config, sink));
    EXPECT_EQ(config.websiteLink, "w");
    EXPECT_EQ(config.feedbackLink, "");
    EXPECT_EQ(config.helpLink, "");
    EXPECT_EQ(config.storeLink, "");
    EXPECT_EQ(config.updateServerBase, "u");
    EXPECT_EQ(config.legalNotice, "c");
}

TEST_F(ConfigLoaderTest, MouseWithThreeModes) {
    writeConfig(
        configXml("  <device>\n"
                  "    <mouse name=\"Tri\" device_type=\"7\" device_attr=\"tri\" image=\"tri.svg\">\n"
                  "      <mode value=\"0\" vid=\"0x1209\" pid=\"0x0005\" dev_id=\"QT07\"/>\n"
                  "      <mode value=\"1\" vid=\"0x1209\" pid=\"0x0006\" dev_id=\"QT07\"/>\n"
                  "      <mode value=\"1\" vid=\"0x1209\" pid=\"0x0007\" dev_id=\"QT07\"/>\n"
                  "    </mouse>\n"
                  "  </device>\n"));
    AppConfig config;
    RecordingSink sink;
    ASSERT_TRUE(loadDeviceConfig(config, sink));
    EXPECT_EQ(config.models.size(), 1u);
    EXPECT_EQ(sink.count("addDevice"), 1);
    ASSERT_EQ(config.modes.size(), 3u);
    EXPECT_EQ(sink.count("register"), 3);
    EXPECT_EQ(config.modes[2].pid, 7);
    EXPECT_EQ(config.modes[2].mode, 1);
}

TEST_F(ConfigLoaderTest, UsbIdsAndNumbers) {
    struct Case {
        const char* name;
        const char* vid;
        const char* deviceType;
        int expectedVid;
        int expectedType;
    };
    const Case cases[] = {
        {"0x prefix lower case", "0x1a2b", "3", 0x1A2B, 3},
        {"0X prefix upper case", "0X1A2B", "3", 0x1A2B, 3},
        {"no prefix", "1A2B", "3", 0x1A2B, 3},
        {"no prefix lower case", "1a2b", "3", 0x1A2B, 3},
        {"leading blank", " 0x1a2b", " 3", 0x1A2B, 3},
        {"trailing junk", "1a2bzz", "3abc", 0x1A2B, 3},
        {"not a number", "zz", "abc", 0, 0},
        {"missing", nullptr, nullptr, 0, 0},
        {"too large for an int", "FFFFFFFFFF", "99999999999", 0x7FFFFFFF, 0x7FFFFFFF},
    };
    for (const Case& c : cases) {
        std::string mouse = "    <mouse name=\"M\"";
        if (c.deviceType != nullptr) mouse += format(" device_type=\"%s\"", c.deviceType);
        mouse += ">\n      <mode value=\"1\" pid=\"2\"";
        if (c.vid != nullptr) mouse += format(" vid=\"%s\"", c.vid);
        mouse += "/>\n    </mouse>\n";
        writeConfig(configXml("  <device>\n" + mouse + "  </device>\n"));
        AppConfig config;
        RecordingSink sink;
        ASSERT_TRUE(loadDeviceConfig(config, sink)) << c.name;
        ASSERT_EQ(config.modes.size(), 1u) << c.name;
        EXPECT_EQ(config.modes[0].vid, c.expectedVid) << c.name;
        EXPECT_EQ(config.modes[0].device_type, c.expectedType) << c.name;
        EXPECT_EQ(config.modes[0].dev_id, "") << c.name;
    }
}

TEST_F(ConfigLoaderTest, MissingOrDamagedFileLeavesEverythingEmpty) {
    struct Case {
        const char* name;
        std::optional<std::string> text;  // nullopt: no file at all
    };
    const Case cases[] = {
        {"missing", std::nullopt},
        {"empty", ""},
        {"not xml", "this is not xml"},
        {"unclosed root", "<config>" + std::string(kLanguageInfo) + kSoftware},
        {"mismatched tags", "<config><device></config></device>"},
        {"other root", "<settings>" + std::string(kLanguageInfo) + kDevice + kSoftware + "</settings>"},
    };
    for (const Case& c : cases) {
        if (c.text)
            writeConfig(*c.text);
        else
            ::unlink((m_home.programFolder() + "config.xml").c_str());
        DUI::Manager::SetDeviceName("unchanged");
        setCurrentLanguageId(1033);
        AppConfig config;
        config.SupportedLanguages = {1033};
        config.models.push_back(DeviceModelEntry{});
        config.softwareVersion = "old";
        RecordingSink sink;
        loadStartupConfig(config);
        loadDeviceConfig(config, sink);
        EXPECT_TRUE(config.SupportedLanguages.empty()) << c.name;
        EXPECT_EQ(CurrentLanguageId(), 1033) << c.name;
        EXPECT_EQ(DUI::Manager::GetDeviceName(), "unchanged") << c.name;
        EXPECT_TRUE(config.models.empty()) << c.name;
        EXPECT_TRUE(config.modes.empty()) << c.name;
        EXPECT_EQ(config.softwareVersion, "") << c.name;
        EXPECT_EQ(sink.calls, (std::vector<std::string>{"clearDeviceList", "clearSupportedDevices"}))
            << c.name;
    }
}

TEST_F(ConfigLoaderTest, SoftwareWithoutCaptionSetsAnEmptyName) {
    writeConfig(configXml("  <software version=\"1\"/>\n"));
    DUI::Manager::SetDeviceName("unchanged");
    AppConfig config;
    ASSERT_TRUE(loadStartupConfig(config));
    EXPECT_EQ(DUI::Manager::GetDeviceName(), "");
}

// Every cut of a real file is read without harm: the lists and the window
// always agree, whatever part of the file survived.
TEST_F(ConfigLoaderTest, EveryTruncatedPrefixIsHandled) {
    const std::string full = configXml(std::string(kLanguageInfo) + kDevice + kSoftware);
    for (std::size_t length = 0; length <= full.size(); length += 3) {
        writeConfig(full.substr(0, length));
        AppConfig config;
        RecordingSink sink;
        loadStartupConfig(config);
        loadDeviceConfig(config, sink);
        EXPECT_EQ(sink.count("addDevice"), static_cast<int>(config.models.size())) << length;
        EXPECT_EQ(sink.count("register"), static_cast<int>(config.modes.size())) << length;
        EXPECT_LE(config.models.size(), 2u);
    }
}

TEST_F(ConfigLoaderTest, ShippedConfigurationDescribesTheSimulatedModels) {
    setProgramFolderOverride(QUORVIK_SOURCE_DIR "/data");
    AppConfig config;
    RecordingSink sink;
    ASSERT_TRUE(loadStartupConfig(config));
    ASSERT_TRUE(loadDeviceConfig(config, sink));
    EXPECT_EQ(DUI::Manager::GetDeviceName(), "Quorvik");
    EXPECT_EQ(config.SupportedLanguages, (std::set<int>{1033, 2052}));
    ASSERT_EQ(config.models.size(), 2u);
    ASSERT_EQ(config.modes.size(), 4u);
    std::set<std::pair<int, int>> identities;
    for (const DeviceModelEntry& mode : config.modes) {
        EXPECT_EQ(mode.vid, 0x1209);
        EXPECT_GE(mode.pid, 0x0001);
        EXPECT_LE(mode.pid, 0x0010);
        EXPECT_EQ(mode.dev_id.size(), 4u);
        EXPECT_TRUE(mode.mode == 0 || mode.mode == 1);
        EXPECT_NE(mode.device_type, 101);
        identities.insert({mode.vid, mode.pid});
    }
    EXPECT_EQ(identities.size(), 4u);
    EXPECT_EQ(config.softwareVersion, "1.0.0");
    EXPECT_TRUE(config.updateServerBase.starts_with("https://"));
    EXPECT_EQ(sink.count("notifications"), 1);
}

}  // namespace
}  // namespace quorvik
