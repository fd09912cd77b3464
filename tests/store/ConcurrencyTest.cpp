// The user interface thread and the device worker share the store. These runs
// hammer it from both sides at once; every result must be what a single thread
// would see, and the ThreadSanitizer build must stay quiet.
#include "StoreTestSupport.h"

#include <gtest/gtest.h>
#include <algorithm>
#include <atomic>
#include <thread>

namespace quorvik {
namespace {

using test::RawDb;
using test::TempUserFolder;

constexpr int kRounds = 300;

class Concurrency : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(store.openForModel(folder.path(), "model"));
        for (int i = 1; i <= 4; ++i) ASSERT_EQ(store.addProfile({.name = "Profile " + std::to_string(i)}), i);
        ASSERT_EQ(store.addMacro("recorded"), 1);
        for (int mode = 1; mode <= 3; ++mode) ASSERT_GT(store.addLight({.profile = 2, .mode = mode}), 0);
    }

    TempUserFolder folder;
    SettingsStore& store = SettingsStore::instance();
};

TEST_F(Concurrency, WindowAndWorkerThreadsSeeTheirOwnWrites) {
    std::atomic<int> failures{0};
    auto check = [&failures](bool ok) {
        if (!ok) ++failures;
    };

    std::thread worker([&] {
        for (int i = 0; i < kRounds; ++i) {
            check(store.setConfigValue(2, "dpi_index", std::to_string(i)));
            std::string value;
            check(store.getConfigValue(2, "dpi_index", value) && value == std::to_string(i));
            std::vector<MacroStep> steps;
            for (int k = 0; k < 10; ++k) steps.push_back({.macro_id = 1, .record_index = i * 10 + k});
            store.insertMacroSteps(steps);
            check(store.storeKeyBinding({.profile = 2, .key_code = i % 5, .macro_value = i + 1}) > 0);
            check(store.setActiveLight(2, 1 + i % 3));
            check(store.getActiveLightMode(2) == 1 + i % 3);
        }
    });
    for (int i = 0; i < kRounds; ++i) {
        check(store.setConfigValue(1, "dpi_index", std::to_string(i)));
        std::string value;
        check(store.getConfigValue(1, "dpi_index", value) && value == std::to_string(i));
        std::vector<ProfileRecord> profiles;
        check(store.listProfiles(profiles) == 4);
        check(store.renameProfile(1, "Name " + std::to_string(i)));
        check(store.getProfileName(1, value) && value == "Name " + std::to_string(i));
        std::vector<MacroStep> steps;
        const int count = store.listMacroSteps(1, steps);
        // A listing sees whole batches only: the worker's batches are transactions.
        check(count % 10 == 0);
        for (int k = 1; k < count; ++k) check(steps[k].record_index == steps[k - 1].record_index + 1);
    }
    worker.join();
    EXPECT_EQ(failures.load(), 0);

    RawDb raw = RawDb::peek(folder.dbFile("model"));
    EXPECT_EQ(raw.number("SELECT count(*) FROM t_macrorecord"), kRounds * 10);
    EXPECT_EQ(raw.number("SELECT count(*) FROM t_key_macro_data"), 5);  // one row per button
    EXPECT_EQ(raw.number("SELECT count(*) FROM t_light_data WHERE status = 1"), 1);
    EXPECT_EQ(raw.text("PRAGMA integrity_check"), "ok");
}

TEST_F(Concurrency, ProfilesAddedFromBothThreadsGetDistinctIdentifiersAndAllRows) {
    std::vector<int> fromWorker, fromWindow;
    std::thread worker([&] {
        for (int i = 0; i < 20; ++i) fromWorker.push_back(store.addProfile({.name = "w"}));
    });
    for (int i = 0; i < 20; ++i) fromWindow.push_back(store.addProfile({.name = "u"}));
    worker.join();

    std::vector<int> all = fromWorker;
    all.insert(all.end(), fromWindow.begin(), fromWindow.end());
    std::sort(all.begin(), all.end());
    for (std::size_t i = 0; i < all.size(); ++i) EXPECT_EQ(all[i], static_cast<int>(i) + 5);
    RawDb raw = RawDb::peek(folder.dbFile("model"));
    EXPECT_EQ(raw.number("SELECT count(*) FROM t_configdata"), 44 * 40);
    EXPECT_EQ(raw.number("SELECT count(DISTINCT profile) FROM t_configdata"), 44);
}

TEST_F(Concurrency, ReopeningOnOneThreadNeverBreaksAnOperationOnTheOther) {
    std::atomic<bool> done{false};
    std::atomic<int> reopenFailures{0};
    std::thread selector([&] {
        // The worker re-selects the device over and over (same model each time).
        while (!done) {
            if (!store.openForModel(folder.path(), "model")) ++reopenFailures;
        }
    });
    int failures = 0;
    for (int i = 0; i < 5 * kRounds; ++i) {
        if (!store.setConfigValue(3, "report_rate", std::to_string(i))) ++failures;
        std::string value;
        if (!store.getConfigValue(3, "report_rate", value) || value != std::to_string(i)) ++failures;
    }
    done = true;
    selector.join();
    EXPECT_EQ(failures, 0);
    EXPECT_EQ(reopenFailures.load(), 0);
}

}  // namespace
}  // namespace quorvik
