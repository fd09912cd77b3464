// Test support for the store: a throw-away user data folder with its db/
// sub-folder, and a second, raw SQLite connection to look at the file from the
// outside (what was really written, not what the store says it wrote).
#pragma once

#include "base/FileIo.h"
#include "store/SettingsStore.h"

#include <gtest/gtest.h>
#include <sqlite3.h>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace quorvik::test {

class TempUserFolder {
public:
    TempUserFolder() {
        std::string pattern = (std::filesystem::temp_directory_path() / "quorvik-store-XXXXXX").string();
        if (::mkdtemp(pattern.data())) m_path = pattern + "/";
        createFolderPath(m_path + "db");
    }
    ~TempUserFolder() {
        SettingsStore::instance().close();
        std::error_code ignored;
        std::filesystem::permissions(m_path + "db", std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ignored);
        std::filesystem::remove_all(m_path, ignored);
    }
    TempUserFolder(const TempUserFolder&) = delete;
    TempUserFolder& operator=(const TempUserFolder&) = delete;

    const std::string& path() const { return m_path; }
    std::string dbFile(const std::string& stem) const { return m_path + "db/" + stem + "_data1.db"; }

private:
    std::string m_path;
};

// Rows as text ("NULL" for a NULL value), through a connection of its own.
// A query that SQLite refuses (locked file, missing table, damaged page) is a
// test failure naming the statement and SQLite's message, and the accessors
// answer with placeholders instead of handing out rows that do not exist.
class RawDb {
public:
    explicit RawDb(const std::string& path, int flags = SQLITE_OPEN_READWRITE) {
        if (sqlite3_open_v2(path.c_str(), &m_db, flags, nullptr) != SQLITE_OK) {
            sqlite3_close(m_db);
            m_db = nullptr;
        }
    }
    ~RawDb() { sqlite3_close(m_db); }
    RawDb(RawDb&& other) noexcept : m_db(other.m_db) { other.m_db = nullptr; }
    RawDb(const RawDb&) = delete;
    RawDb& operator=(const RawDb&) = delete;
    RawDb& operator=(RawDb&&) = delete;

    // Reads the file as it lies on disk without taking SQLite's file locks, so a
    // test can look at what the store has written while the store still holds
    // the file for itself. Between two store operations every write has been
    // committed to the file and the journal is empty, so what this sees is what
    // a crash at that moment would leave. Never used for writing.
    static RawDb peek(const std::string& path) {
        return RawDb("file:" + path + "?nolock=1", SQLITE_OPEN_READONLY | SQLITE_OPEN_URI);
    }

    bool ok() const { return m_db != nullptr; }

    int exec(const std::string& sql) { return sqlite3_exec(m_db, sql.c_str(), nullptr, nullptr, nullptr); }

    std::vector<std::vector<std::string>> rows(const std::string& sql) {
        std::vector<std::vector<std::string>> result;
        if (!m_db) {
            ADD_FAILURE() << "no connection for: " << sql;
            return result;
        }
        sqlite3_stmt* statement = nullptr;
        if (sqlite3_prepare_v2(m_db, sql.c_str(), -1, &statement, nullptr) != SQLITE_OK) {
            ADD_FAILURE() << sql << ": " << sqlite3_errmsg(m_db);
            return result;
        }
        int rc = SQLITE_ROW;
        while ((rc = sqlite3_step(statement)) == SQLITE_ROW) {
            std::vector<std::string> row;
            for (int i = 0; i < sqlite3_column_count(statement); ++i) {
                const auto* text = sqlite3_column_text(statement, i);
                row.push_back(text ? reinterpret_cast<const char*>(text) : "NULL");
            }
            result.push_back(std::move(row));
        }
        if (rc != SQLITE_DONE) ADD_FAILURE() << sql << ": " << sqlite3_errmsg(m_db);
        sqlite3_finalize(statement);
        return result;
    }

    // The first row; empty when the query gives none.
    std::vector<std::string> row(const std::string& sql) {
        auto result = rows(sql);
        return result.empty() ? std::vector<std::string>{} : std::move(result[0]);
    }

    // The first column of the first row; "<no row>" when the query gives none.
    std::string text(const std::string& sql) {
        const auto first = row(sql);
        return first.empty() ? "<no row>" : first[0];
    }

    // First column of the first row as a number; -1 when the query gives nothing.
    long long number(const std::string& sql) {
        const auto first = row(sql);
        return first.empty() ? -1 : std::atoll(first[0].c_str());
    }

    sqlite3* handle() { return m_db; }

private:
    sqlite3* m_db = nullptr;
};

// A store opened on a fresh model file for each test, with the two ways of
// looking at the file from outside.
class OpenStoreTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(store.openForModel(folder.path(), "model")); }
    // What the file holds, looked at while the store keeps it open.
    RawDb raw() { return RawDb::peek(folder.dbFile("model")); }
    // Changes the file as another program would: only while the store has it
    // closed. The store opens it again afterwards.
    int editFromOutside(const std::string& sql) {
        EXPECT_TRUE(store.close());
        const int rc = RawDb(folder.dbFile("model")).exec(sql);
        EXPECT_TRUE(store.openForModel(folder.path(), "model"));
        return rc;
    }

    TempUserFolder folder;
    SettingsStore& store = SettingsStore::instance();
};

}  // namespace quorvik::test
