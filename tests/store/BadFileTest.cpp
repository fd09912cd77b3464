// Files the store cannot use as they are: not a database, read-only, a folder,
// locked by another process. Every operation must report its failure result,
// nothing may crash, and whatever the file held before must still be there.
#include "StoreTestSupport.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>
#include <algorithm>
#include <functional>

namespace quorvik {
namespace {

using test::RawDb;
using test::TempUserFolder;

enum class Kind { Read, Write };

struct Operation {
    const char* name;
    Kind kind;
    std::function<bool(SettingsStore&)> reportsSuccess;
};

// Every table operation, phrased as "did it report success". Reads ask for the
// rows that seed() puts in the file.
std::vector<Operation> allOperations() {
    const KeyBinding binding{.profile = 1, .key_code = 5, .macro_value = 1};
    const LightRecord light{.profile = 1, .mode = 3};
    return {
        {"getConfigValue", Kind::Read,
         [](SettingsStore& s) {
             std::string value = "stale";
             const bool found = s.getConfigValue(1, "dpi_count", value);
             EXPECT_EQ(found, !value.empty());
             return found;
         }},
        {"getProfileName", Kind::Read,
         [](SettingsStore& s) {
             std::string name = "stale";
             const bool found = s.getProfileName(1, name);
             EXPECT_EQ(found, !name.empty());
             return found;
         }},
        {"listProfiles", Kind::Read,
         [](SettingsStore& s) {
             std::vector<ProfileRecord> list(2);
             const int count = s.listProfiles(list);
             EXPECT_EQ(static_cast<std::size_t>(count), list.size());
             return count > 0;
         }},
        {"getActiveProfile", Kind::Read, [](SettingsStore& s) { return s.getActiveProfile() > 0; }},
        {"getKeyBinding", Kind::Read,
         [](SettingsStore& s) {
             KeyBinding b;
             return s.getKeyBinding(1, 4, b);
         }},
        {"listKeyBindings", Kind::Read,
         [](SettingsStore& s) {
             std::vector<KeyBinding> l(1);
             return s.listKeyBindings(1, l) > 0;
         }},
        {"getMacro", Kind::Read,
         [](SettingsStore& s) {
             MacroRecord m;
             return s.getMacro(1, m);
         }},
        {"listMacros", Kind::Read,
         [](SettingsStore& s) {
             std::vector<MacroRecord> l(1);
             return s.listMacros(l) > 0;
         }},
        {"listMacroSteps", Kind::Read,
         [](SettingsStore& s) {
             std::vector<MacroStep> l(1);
             return s.listMacroSteps(1, l) > 0;
         }},
        {"countLights", Kind::Read, [](SettingsStore& s) { return s.countLights(1) > 0; }},
        {"getActiveLightMode", Kind::Read, [](SettingsStore& s) { return s.getActiveLightMode(1) > 0; }},
        {"getLight", Kind::Read,
         [](SettingsStore& s) {
             LightRecord l;
             return s.getLight(1, 2, l);
         }},
        {"listLights", Kind::Read,
         [](SettingsStore& s) {
             std::vector<LightRecord> l(1);
             return s.listLights(1, l) > 0;
         }},

        {"setConfigValue", Kind::Write,
         [](SettingsStore& s) { return s.setConfigValue(1, "dpi_count", "2"); }},
        {"addProfile", Kind::Write, [](SettingsStore& s) { return s.addProfile({.name = "new"}) > 0; }},
        {"renameProfile", Kind::Write, [](SettingsStore& s) { return s.renameProfile(1, "renamed"); }},
        {"setActiveProfile", Kind::Write, [](SettingsStore& s) { return s.setActiveProfile(2); }},
        {"storeKeyBinding", Kind::Write,
         [binding](SettingsStore& s) { return s.storeKeyBinding(binding) > 0; }},
        {"setKeyBindingDesc", Kind::Write, [](SettingsStore& s) { return s.setKeyBindingDesc(1, 4, "d"); }},
        {"deleteProfileBindings", Kind::Write, [](SettingsStore& s) { return s.deleteProfileBindings(1); }},
        {"addMacro", Kind::Write, [](SettingsStore& s) { return s.addMacro("m") > 0; }},
        {"insertMacro", Kind::Write, [](SettingsStore& s) { return s.insertMacro({.name = "m"}) > 0; }},
        {"renameMacro", Kind::Write, [](SettingsStore& s) { return s.renameMacro(1, "r"); }},
        {"updateMacro", Kind::Write,
         [](SettingsStore& s) { return s.updateMacro({.macro_id = 1, .name = "u"}); }},
        {"insertMacroStep", Kind::Write,
         [](SettingsStore& s) { return s.insertMacroStep({.macro_id = 1, .record_index = 9}) > 0; }},
        {"deleteMacroSteps", Kind::Write, [](SettingsStore& s) { return s.deleteMacroSteps(1); }},
        {"deleteMacro", Kind::Write, [](SettingsStore& s) { return s.deleteMacro(1); }},
        {"addLight", Kind::Write, [light](SettingsStore& s) { return s.addLight(light) > 0; }},
        {"updateLight", Kind::Write, [light](SettingsStore& s) { return s.updateLight(2, light); }},
        {"setActiveLight", Kind::Write, [](SettingsStore& s) { return s.setActiveLight(1, 3); }},
        // No result of their own: they must simply not change the file.
        {"insertMacroSteps", Kind::Write,
         [](SettingsStore& s) {
             s.insertMacroSteps({{.macro_id = 1}, {.macro_id = 1}});
             return false;
         }},
        {"insertDefaultConfig", Kind::Write,
         [](SettingsStore& s) {
             s.insertDefaultConfig(5);
             return false;
         }},
    };
}

// A model file with one row in every table the reads look at.
void seed(const TempUserFolder& folder, const std::string& stem) {
    auto& store = SettingsStore::instance();
    ASSERT_TRUE(store.openForModel(folder.path(), stem));
    ASSERT_EQ(store.addProfile({.name = "Profile 1"}), 1);
    ASSERT_TRUE(store.setActiveProfile(1));
    ASSERT_GT(store.storeKeyBinding({.profile = 1, .key_code = 4, .macro_value = 3}), 0);
    ASSERT_EQ(store.addMacro("Macro"), 1);
    store.insertMacroSteps({{.macro_id = 1, .record_index = 0}, {.macro_id = 1, .record_index = 1}});
    ASSERT_GT(store.addLight({.profile = 1, .mode = 2}), 0);
    ASSERT_TRUE(store.setActiveLight(1, 2));
    ASSERT_TRUE(store.close());
}

// Runs every operation; reads are expected to report `readsSucceed`, writes to fail.
void expectOperations(bool readsSucceed) {
    auto& store = SettingsStore::instance();
    for (const auto& operation : allOperations()) {
        const bool expected = operation.kind == Kind::Read ? readsSucceed : false;
        EXPECT_EQ(operation.reportsSuccess(store), expected) << operation.name;
    }
}

std::string fileBytes(const std::string& path) {
    return readWholeFile(path).value_or("<unreadable>");
}

// Drops root's privileges for the scope, so file permissions apply to the test
// as they would to a user; does nothing for an ordinary user.
class AsOrdinaryUser {
public:
    AsOrdinaryUser() {
        if (::geteuid() == 0) m_switched = ::seteuid(65534) == 0;
    }
    ~AsOrdinaryUser() {
        if (m_switched) {
            EXPECT_EQ(::seteuid(0), 0);
        }
    }
    AsOrdinaryUser(const AsOrdinaryUser&) = delete;
    AsOrdinaryUser& operator=(const AsOrdinaryUser&) = delete;

private:
    bool m_switched = false;
};

TEST(BadFile, FileThatIsNotADatabaseIsNeverWritten) {
    struct Case {
        const char* name;
        std::string bytes;
    } cases[] = {
        {"text", "these are somebody's notes\n"},
        {"binary", std::string(4096, '\xA5')},
        {"damaged header",
         std::string("SQLite format 3\0", 16) + std::string(84, '\xFF') + std::string(4000, '\0')},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TempUserFolder folder;
        const std::string path = folder.dbFile("m");
        ASSERT_TRUE(writeFileAtomically(path, c.bytes));
        auto& store = SettingsStore::instance();
        EXPECT_FALSE(store.openForModel(folder.path(), "m"));
        EXPECT_FALSE(store.isOpen());
        expectOperations(false);
        EXPECT_FALSE(store.createDatabase());
        EXPECT_EQ(fileBytes(path), c.bytes);
        EXPECT_FALSE(fileExists(path + "-journal"));
    }
}

TEST(BadFile, FolderWhereTheFileShouldBe) {
    TempUserFolder folder;
    const std::string path = folder.dbFile("m");
    ASSERT_TRUE(createFolderPath(path));
    ASSERT_TRUE(writeFileAtomically(path + "/keep.txt", "kept"));
    auto& store = SettingsStore::instance();
    EXPECT_FALSE(store.openForModel(folder.path(), "m"));
    EXPECT_FALSE(store.isOpen());
    expectOperations(false);
    EXPECT_TRUE(folderExists(path));
    EXPECT_EQ(fileBytes(path + "/keep.txt"), "kept");
}

TEST(BadFile, ReadOnlyFileAnswersReadsAndRefusesWrites) {
    TempUserFolder folder;
    seed(folder, "m");
    const std::string path = folder.dbFile("m");
    const std::string before = fileBytes(path);
    ASSERT_EQ(::chmod(path.c_str(), 0444), 0);
    ASSERT_EQ(::chmod((folder.path() + "db").c_str(), 0555), 0);
    ASSERT_EQ(::chmod(folder.path().c_str(), 0755), 0);  // reachable for the ordinary user
    {
        AsOrdinaryUser user;
        auto& store = SettingsStore::instance();
        EXPECT_TRUE(store.openForModel(folder.path(), "m"));
        expectOperations(true);
        store.close();
    }
    EXPECT_EQ(fileBytes(path), before);
}

TEST(BadFile, UnreadableFileIsRefused) {
    TempUserFolder folder;
    seed(folder, "m");
    const std::string path = folder.dbFile("m");
    const std::string before = fileBytes(path);
    ASSERT_EQ(::chmod(path.c_str(), 0000), 0);
    ASSERT_EQ(::chmod(folder.path().c_str(), 0755), 0);
    {
        AsOrdinaryUser user;
        auto& store = SettingsStore::instance();
        EXPECT_FALSE(store.openForModel(folder.path(), "m"));
        expectOperations(false);
    }
    ASSERT_EQ(::chmod(path.c_str(), 0644), 0);
    EXPECT_EQ(fileBytes(path), before);
}

TEST(BadFile, NewFileInAFolderThatCannotBeWrittenIsNotCreated) {
    TempUserFolder folder;
    ASSERT_EQ(::chmod((folder.path() + "db").c_str(), 0555), 0);
    ASSERT_EQ(::chmod(folder.path().c_str(), 0755), 0);
    {
        AsOrdinaryUser user;
        auto& store = SettingsStore::instance();
        EXPECT_FALSE(store.openForModel(folder.path(), "m"));
        EXPECT_FALSE(store.isOpen());
        expectOperations(false);
    }
    EXPECT_FALSE(fileExists(folder.dbFile("m")));
}

TEST(BadFile, DamagedTableFailsWhileTheOtherTablesKeepWorking) {
    TempUserFolder folder;
    seed(folder, "m");
    const std::string path = folder.dbFile("m");
    {
        // Overwrite the first page of t_configdata with garbage.
        RawDb raw(path);
        const long long pageSize = raw.number("PRAGMA page_size");
        const long long rootPage =
            raw.number("SELECT rootpage FROM sqlite_master WHERE name = 't_configdata'");
        ASSERT_GT(rootPage, 1);
        std::string bytes = readWholeFile(path).value_or("");
        ASSERT_GE(static_cast<long long>(bytes.size()), rootPage * pageSize);
        std::fill_n(bytes.begin() + (rootPage - 1) * pageSize, pageSize, '\xEE');
        ASSERT_TRUE(writeFileAtomically(path, bytes));
    }
    auto& store = SettingsStore::instance();
    ASSERT_TRUE(store.openForModel(folder.path(), "m"));
    std::string value = "stale";
    EXPECT_FALSE(store.getConfigValue(1, "dpi_count", value));
    EXPECT_EQ(value, "");
    EXPECT_FALSE(store.setConfigValue(1, "dpi_count", "3"));
    EXPECT_EQ(store.addProfile({.name = "needs the damaged table"}), 0);

    std::vector<ProfileRecord> profiles;
    EXPECT_EQ(store.listProfiles(profiles), 1);
    std::vector<MacroStep> steps;
    EXPECT_EQ(store.listMacroSteps(1, steps), 2);
    EXPECT_TRUE(store.renameMacro(1, "still writable"));
    MacroRecord macro;
    ASSERT_TRUE(store.getMacro(1, macro));
    EXPECT_EQ(macro.name, "still writable");
    EXPECT_EQ(store.getActiveLightMode(1), 2);
}

TEST(BadFile, DatabaseLockedByAnotherProcessFailsEverythingUntilReleased) {
    TempUserFolder folder;
    seed(folder, "m");
    const std::string path = folder.dbFile("m");
    const std::string before = fileBytes(path);

    RawDb other(path);
    ASSERT_EQ(other.exec("BEGIN EXCLUSIVE"), SQLITE_OK);
    auto& store = SettingsStore::instance();
    EXPECT_TRUE(store.openForModel(folder.path(), "m"));  // kept open: the lock is temporary
    expectOperations(false);
    ASSERT_EQ(other.exec("END"), SQLITE_OK);
    EXPECT_EQ(fileBytes(path), before);

    // Released: the same connection works and the seeded rows are all there.
    std::string value;
    EXPECT_TRUE(store.getConfigValue(1, "dpi_count", value));
    EXPECT_EQ(value, "6");
    std::vector<MacroStep> steps;
    EXPECT_EQ(store.listMacroSteps(1, steps), 2);
    EXPECT_EQ(store.getActiveLightMode(1), 2);
}

TEST(BadFile, WritesRefusedWhileAnotherProcessReadsDoNotSwallowLaterWrites) {
    TempUserFolder folder;
    seed(folder, "m");
    const std::string path = folder.dbFile("m");
    auto& store = SettingsStore::instance();
    ASSERT_TRUE(store.openForModel(folder.path(), "m"));
    {
        RawDb reader(path);
        ASSERT_EQ(reader.exec("BEGIN; SELECT count(*) FROM t_configdata;"), SQLITE_OK);
        expectOperations(true);  // reads work, every write is refused at commit
        ASSERT_EQ(reader.exec("END"), SQLITE_OK);
    }
    // After the reader is gone a single write commits on its own and survives
    // closing the connection.
    ASSERT_TRUE(store.setConfigValue(1, "dpi_index", "4"));
    ASSERT_TRUE(store.close());
    RawDb raw(path);
    EXPECT_EQ(raw.text("SELECT value FROM t_configdata WHERE profile = 1 AND key = 'dpi_index'"), "4");
    EXPECT_EQ(raw.text("SELECT value FROM t_configdata WHERE profile = 1 AND key = 'dpi_count'"), "6");
    EXPECT_EQ(raw.number("SELECT count(*) FROM t_profile_data"), 1);
    EXPECT_EQ(raw.number("SELECT count(*) FROM t_macrorecord"), 2);
    EXPECT_EQ(raw.text("PRAGMA integrity_check"), "ok");
}

// The store keeps the file locked while it has it open. Another connection (a
// second copy of the program, any other tool) may read only until the store's
// first write, never changes the file, and gets "database is locked" instead;
// the store goes on working, and once it closes the file holds its writes.
TEST(BadFile, AnotherProcessCannotChangeTheFileWhileTheStoreHasIt) {
    TempUserFolder folder;
    seed(folder, "m");
    const std::string path = folder.dbFile("m");
    auto& store = SettingsStore::instance();
    ASSERT_TRUE(store.openForModel(folder.path(), "m"));

    struct Case {
        const char* name;
        const char* sql;
        int beforeTheStoreWrites;
        int afterTheStoreWrote;
    } cases[] = {
        {"read", "SELECT count(*) FROM t_configdata", SQLITE_OK, SQLITE_BUSY},
        {"update", "UPDATE t_configdata SET value = 'other'", SQLITE_BUSY, SQLITE_BUSY},
        {"insert", "INSERT INTO t_profile_data(name) VALUES ('other')", SQLITE_BUSY, SQLITE_BUSY},
        {"schema change", "DROP TABLE t_light_data", SQLITE_BUSY, SQLITE_BUSY},
    };
    RawDb other(path);
    ASSERT_TRUE(other.ok());
    for (const auto& c : cases) EXPECT_EQ(other.exec(c.sql), c.beforeTheStoreWrites) << c.name;
    ASSERT_TRUE(store.setConfigValue(1, "dpi_index", "3"));
    for (const auto& c : cases) EXPECT_EQ(other.exec(c.sql), c.afterTheStoreWrote) << c.name;

    std::string value;
    ASSERT_TRUE(store.getConfigValue(1, "dpi_index", value));
    EXPECT_EQ(value, "3");
    ASSERT_TRUE(store.setConfigValue(1, "dpi_count", "4"));
    ASSERT_TRUE(store.close());

    EXPECT_EQ(other.text("SELECT group_concat(value) FROM (SELECT value FROM t_configdata WHERE profile = 1 "
                         "AND key IN ('dpi_index', 'dpi_count') ORDER BY key)"),
              "4,3");
    EXPECT_EQ(other.number("SELECT count(*) FROM t_configdata WHERE value = 'other'"), 0);
    EXPECT_EQ(other.number("SELECT count(*) FROM t_profile_data"), 1);
    EXPECT_EQ(other.number("SELECT count(*) FROM t_light_data"), 1);
    EXPECT_EQ(other.text("PRAGMA integrity_check"), "ok");
}

}  // namespace
}  // namespace quorvik
