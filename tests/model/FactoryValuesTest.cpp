// Factory values of a model written into a profile: DPI stages with colours,
// count and selection; report rate and power options on request; the
// report-rate reset that writes both rate keys.
#include "model/FactoryValues.h"

#include "ModelTestFolder.h"

#include <gtest/gtest.h>

#include <map>

namespace quorvik {
namespace {

using test::ModelTestFolder;

const char* const kFullInfo = R"(<?xml version="1.0" encoding="UTF-8"?>
<mouse>
  <menu light="1"/>
  <mouse_info>
    <dpi_info default_dpi="2" dpi_count="5">
      <dpi_1 value="400" color="#FF0000"/>
      <dpi_2 value="800" color="#00FF00"/>
      <dpi_3 value="1600" color="#0000FF"/>
      <dpi_4 value="3200" color="#FF8000"/>
      <dpi_5 value="6400" color="#12"/>
      <dpi_6 value="12000" color="#00FFFF"/>
    </dpi_info>
    <report_rate default_value="4"/>
    <sleep_light value="36"/>
    <move_wakeup value="0"/>
    <move_closelight value="0"/>
  </mouse_info>
</mouse>
)";

class FactoryValuesTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(store().openForModel(folder.userFolder(), "lit"));
        profile = store().addProfile(ProfileRecord{0, "Profile 1", "", 0, 0});
        ASSERT_GT(profile, 0);
    }

    static SettingsStore& store() { return SettingsStore::instance(); }

    std::string value(const std::string& key) {
        std::string text;
        store().getConfigValue(profile, key, text);
        return text;
    }

    // Every key with its stored text, to compare whole profiles.
    std::map<std::string, std::string> values() {
        std::map<std::string, std::string> all;
        for (const char* key : {"dpi_index", "dpi_flag", "dpi_count", "report_rate", "report_rate_wireless",
                                "sleep_light", "move_wakeup", "move_closelight"})
            all[key] = value(key);
        for (int n = 0; n < 6; ++n) {
            all["dpi_group" + std::to_string(n) + "_value"] =
                value("dpi_group" + std::to_string(n) + "_value");
            all["dpi_group" + std::to_string(n) + "_rgb"] = value("dpi_group" + std::to_string(n) + "_rgb");
        }
        return all;
    }

    ModelTestFolder folder;
    int profile = 0;
};

TEST_F(FactoryValuesTest, NewProfileGetsStagesRateAndPowerOptions) {
    folder.writeDescription("lit", kFullInfo);
    const FactoryValuesResult result = writeFactoryValues(profile, true, folder.sources(1));

    EXPECT_TRUE(result.fileRead);
    EXPECT_TRUE(result.dpiWritten);
    EXPECT_EQ(result.reportRate, 4);
    EXPECT_EQ(value("dpi_index"), "2");
    EXPECT_EQ(value("dpi_flag"), "5");
    EXPECT_EQ(value("dpi_count"), "5");
    const char* stages[] = {"400", "800", "1600", "3200", "6400", "12000"};
    const char* colours[] = {"255", "65280", "16711680", "33023", "18", "16776960"};
    for (int n = 0; n < 6; ++n) {
        SCOPED_TRACE(n);
        EXPECT_EQ(value("dpi_group" + std::to_string(n) + "_value"), stages[n]);
        EXPECT_EQ(value("dpi_group" + std::to_string(n) + "_rgb"), colours[n]);
    }
    EXPECT_EQ(value("report_rate"), "4");
    EXPECT_EQ(value("report_rate_wireless"), "1") << "a new profile's reset writes report_rate alone";
    EXPECT_EQ(value("sleep_light"), "36");
    EXPECT_EQ(value("move_wakeup"), "0");
    EXPECT_EQ(value("move_closelight"), "0");
}

TEST_F(FactoryValuesTest, DpiOnlyResetLeavesRateAndPowerOptions) {
    folder.writeDescription("lit", kFullInfo);
    const FactoryValuesResult result = writeFactoryValues(profile, false, folder.sources(1));
    EXPECT_TRUE(result.dpiWritten);
    EXPECT_FALSE(result.reportRate.has_value());
    EXPECT_EQ(value("dpi_group5_value"), "12000");
    EXPECT_EQ(value("report_rate"), "2");
    EXPECT_EQ(value("sleep_light"), "1");
    EXPECT_EQ(value("move_wakeup"), "1");
}

TEST_F(FactoryValuesTest, AbsentStagesKeepTheirValues) {
    struct Case {
        const char* name;
        const char* stages;
        std::map<std::string, std::string> changed;  // against the profile defaults
    };
    const Case cases[] = {
        {"five stages leave the sixth",
         R"(<dpi_1 value="100" color="#000001"/><dpi_2 value="200" color="#000002"/>
            <dpi_3 value="300" color="#000003"/><dpi_4 value="400" color="#000004"/>
            <dpi_5 value="500" color="#000005"/>)",
         {{"dpi_group0_value", "100"},
          {"dpi_group0_rgb", "65536"},
          {"dpi_group1_value", "200"},
          {"dpi_group1_rgb", "131072"},
          {"dpi_group2_value", "300"},
          {"dpi_group2_rgb", "196608"},
          {"dpi_group3_value", "400"},
          {"dpi_group3_rgb", "262144"},
          {"dpi_group4_value", "500"},
          {"dpi_group4_rgb", "327680"}}},
        {"a gap in the middle",
         R"(<dpi_2 value="200" color="#FF0000"/><dpi_5 value="500" color="#FF0000"/>)",
         {{"dpi_group1_value", "200"},
          {"dpi_group1_rgb", "255"},
          {"dpi_group4_value", "500"},
          {"dpi_group4_rgb", "255"}}},
        {"stages out of order: dpi_1 behind dpi_2 is passed",
         R"(<dpi_2 value="200" color="#FF0000"/><dpi_1 value="100" color="#FF0000"/>)",
         {{"dpi_group0_value", "100"}, {"dpi_group0_rgb", "255"}}},
        {"missing or empty attributes keep the stored texts",
         R"(<dpi_1/><dpi_2 value="" color=""/><dpi_3 value="700"/><dpi_4 color="#0000FF"/>)",
         {{"dpi_group2_value", "700"}, {"dpi_group3_rgb", "16711680"}}},
        {"texts are written as found",
         R"(<dpi_1 value="800abc" color="#GG"/>)",
         {{"dpi_group0_value", "800abc"}, {"dpi_group0_rgb", "0"}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SetUp();  // a fresh profile with the defaults
        std::map<std::string, std::string> expected = values();
        folder.writeDescription("lit", std::string("<mouse><mouse_info><dpi_info>") + c.stages +
                                           "</dpi_info></mouse_info></mouse>");
        EXPECT_TRUE(writeFactoryValues(profile, true, folder.sources(1)).dpiWritten);
        for (const auto& [key, text] : c.changed) expected[key] = text;
        EXPECT_EQ(values(), expected);
    }
}

TEST_F(FactoryValuesTest, RateAndPowerAreSearchedAfterDpiInfo) {
    struct Case {
        const char* name;
        const char* info;
        const char* reportRate;
        const char* sleep;
    };
    const Case cases[] = {
        {"after dpi_info",
         R"(<dpi_info dpi_count="3"/><report_rate default_value="8"/><sleep_light value="60"/>)", "8", "60"},
        {"before dpi_info",
         R"(<report_rate default_value="8"/><sleep_light value="60"/><dpi_info dpi_count="3"/>)", "2", "1"},
        {"no dpi_info: from the first child", R"(<report_rate default_value="8"/><sleep_light value="60"/>)",
         "8", "60"},
        {"sleep_light before report_rate", R"(<sleep_light value="60"/><report_rate default_value="8"/>)",
         "8", "1"},
        {"empty default_value", R"(<report_rate default_value=""/><sleep_light value="60"/>)", "2", "60"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SetUp();
        folder.writeDescription("lit", std::string("<mouse><mouse_info>") + c.info + "</mouse_info></mouse>");
        const FactoryValuesResult result = writeFactoryValues(profile, true, folder.sources(1));
        EXPECT_TRUE(result.fileRead);
        EXPECT_EQ(value("report_rate"), c.reportRate);
        EXPECT_EQ(result.reportRate.has_value(), std::string(c.reportRate) == "8");
        EXPECT_EQ(value("sleep_light"), c.sleep);
    }
}

TEST_F(FactoryValuesTest, NothingIsWrittenWithoutAUsableFile) {
    struct Case {
        const char* name;
        const char* text;  // null: no file
        int deviceType;
    };
    const Case cases[] = {
        {"missing file", nullptr, 1},
        {"not well formed", "<mouse><mouse_info><dpi_info dpi_count=\"3\"></mouse_info>", 1},
        {"no mouse_info", R"(<mouse><dpi_info dpi_count="3"/></mouse>)", 1},
        {"no matching model", kFullInfo, 9},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SetUp();
        const auto before = values();
        std::remove((folder.programFolder() + "device/lit.xml").c_str());
        if (c.text) folder.writeDescription("lit", c.text);
        const FactoryValuesResult result = writeFactoryValues(profile, true, folder.sources(c.deviceType));
        EXPECT_FALSE(result.fileRead);
        EXPECT_FALSE(writeFactoryReportRate(profile, folder.sources(c.deviceType)).has_value());
        EXPECT_EQ(values(), before);
    }
}

TEST_F(FactoryValuesTest, ReportRateResetWritesBothKeysFromTheFirstChild) {
    struct Case {
        const char* name;
        const char* info;
        std::optional<int> code;
    };
    const Case cases[] = {
        {"before dpi_info", R"(<report_rate default_value="16"/><dpi_info dpi_count="3"/>)", 16},
        {"after dpi_info", R"(<dpi_info dpi_count="3"/><report_rate default_value="8"/>)", 8},
        {"no report_rate", R"(<dpi_info dpi_count="3"/>)", std::nullopt},
        {"no default_value", R"(<report_rate/>)", std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SetUp();
        folder.writeDescription("lit", std::string("<mouse><mouse_info>") + c.info + "</mouse_info></mouse>");
        EXPECT_EQ(writeFactoryReportRate(profile, folder.sources(1)), c.code);
        const std::string expected = c.code ? std::to_string(*c.code) : std::string();
        EXPECT_EQ(value("report_rate"), c.code ? expected : "2");
        EXPECT_EQ(value("report_rate_wireless"), c.code ? expected : "1");
        EXPECT_EQ(value("dpi_count"), "6") << "the report-rate reset writes nothing else";
    }
}

}  // namespace
}  // namespace quorvik
