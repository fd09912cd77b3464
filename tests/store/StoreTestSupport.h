// Test support for the store: a throw-away user data folder with its db/
// sub-folder, and a second, raw SQLite connection to look at the file from the
// outside (what was really written, not what the store says it wrote).
#pragma once

#include "base/FileIo.h"
#include "store/SettingsStore.h"

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
class RawDb {
public:
    explicit RawDb(const std::string& path, int flags = SQLITE_OPEN_READWRITE) {
        if (sqlite3_open_v2(path.c_str(), &m_db, flags, nullptr) != SQLITE_OK) {
            sqlite3_close(m_db);
            m_db = nullptr;
        }
    }
    ~RawDb() { sqlite3_close(m_db); }
    RawDb(const RawDb&) = delete;
    RawDb& operator=(const RawDb&) = delete;

    bool ok() const { return m_db != nullptr; }

    int exec(const std::string& sql) { return sqlite3_exec(m_db, sql.c_str(), nullptr, nullptr, nullptr); }

    std::vector<std::vector<std::string>> rows(const std::string& sql) {
        std::vector<std::vector<std::string>> result;
        sqlite3_stmt* statement = nullptr;
        if (sqlite3_prepare_v2(m_db, sql.c_str(), -1, &statement, nullptr) != SQLITE_OK) return result;
        while (sqlite3_step(statement) == SQLITE_ROW) {
            std::vector<std::string> row;
            for (int i = 0; i < sqlite3_column_count(statement); ++i) {
                const auto* text = sqlite3_column_text(statement, i);
                row.push_back(text ? reinterpret_cast<const char*>(text) : "NULL");
            }
            result.push_back(std::move(row));
        }
        sqlite3_finalize(statement);
        return result;
    }

    // First column of the first row as a number; -1 when the query gives nothing.
    long long number(const std::string& sql) {
        const auto result = rows(sql);
        return result.empty() || result[0].empty() ? -1 : std::atoll(result[0][0].c_str());
    }

    sqlite3* handle() { return m_db; }

private:
    sqlite3* m_db = nullptr;
};

}  // namespace quorvik::test
