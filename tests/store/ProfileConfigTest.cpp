// Profiles and configuration values: the 40 default rows of a new profile,
// update-only values, the active profile rule and text handling.
#include "StoreTestSupport.h"

#include <gtest/gtest.h>

namespace quorvik {
namespace {

using test::RawDb;

class ProfileConfig : public test::OpenStoreTest {};

// The row set every new profile receives, in insert order.
const std::pair<const char*, const char*> kExpectedDefaults[] = {
    {"version", "1.0.1"},
    {"lightmode", "3"},
    {"sleep_light", "1"},
    {"move_wakeup", "1"},
    {"move_closelight", "1"},
    {"report_rate", "2"},
    {"report_rate_wireless", "1"},
    {"report_count", "4"},
    {"report_flag", "127"},
    {"button_respondtime", "8"},
    {"sensor_flag", "53"},
    {"liftoff_height", "1"},
    {"scroll_flag", "1"},
    {"e-sports_flag", "0"},
    {"leftbtn_lock", "1"},
    {"dpi_flag", "6"},
    {"dpi_index", "1"},
    {"dpi_count", "6"},
    {"dpi_group0_value", "800"},
    {"dpi_group1_value", "1600"},
    {"dpi_group2_value", "2400"},
    {"dpi_group3_value", "3200"},
    {"dpi_group4_value", "6400"},
    {"dpi_group5_value", "26000"},
    {"dpi_group6_value", "26000"},
    {"dpi_group7_value", "0"},
    {"dpi_group0_rgb", "255"},
    {"dpi_group1_rgb", "16711680"},
    {"dpi_group2_rgb", "65280"},
    {"dpi_group3_rgb", "65535"},
    {"dpi_group4_rgb", "16711935"},
    {"dpi_group5_rgb", "16776960"},
    {"dpi_group6_rgb", "16712191"},
    {"dpi_group7_rgb", "16777215"},
    {"dpi_group8_rgb", "2139135"},
    {"mouse_speed", "10"},
    {"mouse_sensitivity", "1"},
    {"wheel_scrollflag", "0"},
    {"wheel_scrolllines", "3"},
    {"doubleclick_time", "550"},
};

TEST_F(ProfileConfig, NewProfileHasTheFortyDefaultRowsInOrder) {
    const int first = store.addProfile({.name = "Profile 1"});
    const int second = store.addProfile({.name = "Profile 2"});
    ASSERT_EQ(first, 1);
    ASSERT_EQ(second, 2);

    for (int profile : {first, second}) {
        const auto rows =
            raw().rows("SELECT key, value FROM t_configdata WHERE profile = " + std::to_string(profile) +
                       " ORDER BY config_id");
        ASSERT_EQ(rows.size(), std::size(kExpectedDefaults));
        for (std::size_t i = 0; i < rows.size(); ++i) {
            EXPECT_EQ(rows[i][0], kExpectedDefaults[i].first) << "row " << i + 1;
            EXPECT_EQ(rows[i][1], kExpectedDefaults[i].second) << kExpectedDefaults[i].first;
        }
    }
    std::string value = "stale";
    ASSERT_TRUE(store.getConfigValue(first, "dpi_group7_value", value));
    EXPECT_EQ(value, "0");
    ASSERT_TRUE(store.getConfigValue(second, "dpi_group8_rgb", value));
    EXPECT_EQ(value, "2139135");

    // The profile row itself: name, status 0, empty app, type 0.
    EXPECT_EQ(raw().row("SELECT name, status, app, type FROM t_profile_data WHERE profile = 1"),
              (std::vector<std::string>{"Profile 1", "0", "", "0"}));
}

TEST_F(ProfileConfig, ValuesAreUpdatedNeverInserted) {
    const int profile = store.addProfile({.name = "p"});
    struct Case {
        const char* name;
        int profile;
        const char* key;
        bool exists;
    } cases[] = {
        {"existing key", profile, "dpi_count", true},
        {"key the profile lacks", profile, "no_such_key", false},
        {"profile that does not exist", 99, "dpi_count", false},
        {"empty key", profile, "", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_TRUE(store.setConfigValue(c.profile, c.key, "4"));  // success even when no row matched
        std::string value = "stale";
        EXPECT_EQ(store.getConfigValue(c.profile, c.key, value), c.exists);
        EXPECT_EQ(value, c.exists ? "4" : "");
    }
    EXPECT_EQ(raw().number("SELECT count(*) FROM t_configdata"), 40);
}

// The value read and update are compiled once per connection: they must follow
// the connection when the store closes, switches files or opens one that lacks
// the table, and never answer from the file that was open before.
TEST_F(ProfileConfig, ValueOperationsFollowTheFileThatIsOpen) {
    ASSERT_EQ(store.addProfile({.name = "p"}), 1);
    ASSERT_TRUE(store.setConfigValue(1, "dpi_count", "2"));
    {
        // Another model's file from an older program: profile 1 has dpi_count 5,
        // and there is no t_profile_data.
        RawDb other(folder.dbFile("other"), SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
        ASSERT_EQ(other.exec("CREATE TABLE t_configdata (config_id INTEGER PRIMARY KEY AUTOINCREMENT, "
                             "profile INTEGER, key TEXT, value TEXT);"
                             "INSERT INTO t_configdata(profile, key, value) VALUES (1, 'dpi_count', '5');"),
                  SQLITE_OK);
    }
    // Without the configuration table at all.
    ASSERT_TRUE(writeFileAtomically(folder.dbFile("bare"), ""));
    {
        RawDb bare(folder.dbFile("bare"));
        ASSERT_EQ(bare.exec("CREATE TABLE unrelated (a)"), SQLITE_OK);
    }

    struct Step {
        const char* stem;  // nullptr: close the store
        const char* expected;
        bool setWorks;
    } steps[] = {
        {"model", "2", true}, {"other", "5", true}, {"bare", nullptr, false}, {nullptr, nullptr, false},
        {"model", "2", true}, {"model", "2", true}, {"other", "5", true},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.stem ? step.stem : "closed");
        if (step.stem) {
            ASSERT_TRUE(store.openForModel(folder.path(), step.stem));
        } else {
            ASSERT_TRUE(store.close());
        }
        std::string value = "stale";
        EXPECT_EQ(store.getConfigValue(1, "dpi_count", value), step.expected != nullptr);
        EXPECT_EQ(value, step.expected ? step.expected : "");
        // Written and read back, then the file's own value restored.
        EXPECT_EQ(store.setConfigValue(1, "dpi_count", "9"), step.setWorks);
        EXPECT_EQ(store.getConfigValue(1, "dpi_count", value), step.setWorks);
        EXPECT_EQ(value, step.setWorks ? "9" : "");
        if (step.setWorks) {
            ASSERT_TRUE(store.setConfigValue(1, "dpi_count", step.expected));
        }
    }
    EXPECT_EQ(RawDb::peek(folder.dbFile("other")).text("SELECT group_concat(value) FROM t_configdata"), "5");
    EXPECT_EQ(RawDb::peek(folder.dbFile("bare")).number("SELECT count(*) FROM sqlite_master"), 1);
}

TEST_F(ProfileConfig, TextIsStoredAsUtf8AndCutAtAnEmbeddedNul) {
    const int profile = store.addProfile({.name = std::string("Gr\xC3\xBC\xC3\x9F") + '\0' + "hidden"});
    std::string name;
    ASSERT_TRUE(store.getProfileName(profile, name));
    EXPECT_EQ(name, "Gr\xC3\xBC\xC3\x9F");
    EXPECT_EQ(raw().row("SELECT length(name), hex(name) FROM t_profile_data"),
              (std::vector<std::string>{"4", "4772C3BCC39F"}));

    ASSERT_TRUE(store.setConfigValue(profile, "version", std::string("2.0") + '\0' + "x"));
    std::string value;
    ASSERT_TRUE(store.getConfigValue(profile, std::string("version") + '\0' + "ignored", value));
    EXPECT_EQ(value, "2.0");

    ASSERT_TRUE(store.renameProfile(profile, "\xE9\x85\x8D\xE7\xBD\xAE 1"));  // CJK text
    ASSERT_TRUE(store.getProfileName(profile, name));
    EXPECT_EQ(name, "\xE9\x85\x8D\xE7\xBD\xAE 1");
    EXPECT_TRUE(store.renameProfile(42, "nobody"));  // no row matched: still success
    EXPECT_FALSE(store.getProfileName(42, name));
    EXPECT_EQ(name, "");
}

TEST_F(ProfileConfig, NullAndMalformedStoredTextReadSafely) {
    const int profile = store.addProfile({.name = "p"});
    ASSERT_EQ(editFromOutside("UPDATE t_configdata SET value = NULL WHERE key = 'dpi_count';"
                              "UPDATE t_configdata SET value = x'41FF42' WHERE key = 'dpi_index';"
                              "UPDATE t_profile_data SET name = NULL, status = NULL, type = NULL;"),
              SQLITE_OK);
    std::string value = "stale";
    EXPECT_TRUE(store.getConfigValue(profile, "dpi_count", value));
    EXPECT_EQ(value, "");
    EXPECT_TRUE(store.getConfigValue(profile, "dpi_index", value));
    EXPECT_EQ(value,
              "A\xEF\xBF\xBD"
              "B");  // the stray byte becomes U+FFFD
    std::vector<ProfileRecord> profiles;
    ASSERT_EQ(store.listProfiles(profiles), 1);
    EXPECT_EQ(profiles[0].name, "");
    EXPECT_EQ(profiles[0].status, 0);
    EXPECT_EQ(profiles[0].type, 0);
}

TEST_F(ProfileConfig, ActiveProfileIsAtMostOneRow) {
    EXPECT_EQ(store.getActiveProfile(), 0);  // no profiles yet
    for (int i = 1; i <= 4; ++i) ASSERT_EQ(store.addProfile({.name = "Profile " + std::to_string(i)}), i);
    EXPECT_EQ(store.getActiveProfile(), 0);  // new profiles are inactive

    ASSERT_TRUE(store.setActiveProfile(1));
    ASSERT_TRUE(store.setActiveProfile(3));
    EXPECT_EQ(store.getActiveProfile(), 3);
    EXPECT_EQ(raw().text("SELECT group_concat(profile) FROM t_profile_data WHERE status = 1"), "3");

    // An unknown profile: the statements succeed and no profile is active.
    EXPECT_TRUE(store.setActiveProfile(77));
    EXPECT_EQ(store.getActiveProfile(), 0);
}

TEST_F(ProfileConfig, ListProfilesReplacesTheListInIdentifierOrder) {
    std::vector<ProfileRecord> profiles(3, ProfileRecord{.profile = 9, .name = "old"});
    EXPECT_EQ(store.listProfiles(profiles), 0);
    EXPECT_TRUE(profiles.empty());

    ASSERT_EQ(store.addProfile({.name = "A", .app = "ignored app"}), 1);
    ASSERT_EQ(store.addProfile({.name = "B"}), 2);
    ASSERT_TRUE(store.setActiveProfile(2));
    profiles.assign(5, ProfileRecord{.profile = 9});
    ASSERT_EQ(store.listProfiles(profiles), 2);
    ASSERT_EQ(profiles.size(), 2u);
    EXPECT_EQ(profiles[0].profile, 1);
    EXPECT_EQ(profiles[0].name, "A");
    EXPECT_EQ(profiles[0].app, "ignored app");
    EXPECT_EQ(profiles[0].status, 0);
    EXPECT_EQ(profiles[1].profile, 2);
    EXPECT_EQ(profiles[1].status, 1);
}

TEST_F(ProfileConfig, FailedProfileInsertAddsNoConfigurationRows) {
    ASSERT_EQ(editFromOutside("DROP TABLE t_profile_data"), SQLITE_OK);
    EXPECT_EQ(store.addProfile({.name = "p"}), 0);
    EXPECT_EQ(raw().number("SELECT count(*) FROM t_configdata"), 0);
}

TEST_F(ProfileConfig, ProfileIdentifiersAreNeverReused) {
    ASSERT_EQ(store.addProfile({.name = "a"}), 1);
    ASSERT_EQ(editFromOutside("DELETE FROM t_profile_data"), SQLITE_OK);
    EXPECT_EQ(store.addProfile({.name = "b"}), 2);
}

TEST_F(ProfileConfig, InsertDefaultConfigAddsTheRowSetForAnyIdentifier) {
    store.insertDefaultConfig(12);
    EXPECT_EQ(raw().number("SELECT count(*) FROM t_configdata WHERE profile = 12"), 40);
    std::string value;
    ASSERT_TRUE(store.getConfigValue(12, "doubleclick_time", value));
    EXPECT_EQ(value, "550");
}

}  // namespace
}  // namespace quorvik
