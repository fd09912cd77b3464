// Connection wrapper over the SQLite C interface. Opening always switches
// synchronous writes off: the settings are small and written often from the
// user interface thread; SQLite's rollback journal still keeps the file whole
// when the process dies in the middle of a write.
#include "store/SQLiteDB.h"

#include "store/SQLiteStatement.h"

#include <sqlite3.h>

namespace quorvik {

SQLiteDB::~SQLiteDB() {
    if (m_handle) sqlite3_interrupt(m_handle);
    close();
}

bool SQLiteDB::open(const std::string& path, int flags) {
    if (m_handle) {
        sqlite3_interrupt(m_handle);
        if (!close()) return false;
    }
    sqlite3* handle = nullptr;
    if (sqlite3_open_v2(path.c_str(), &handle, flags, nullptr) != SQLITE_OK) {
        // SQLite hands back a handle even when opening fails; it must be closed.
        if (handle) sqlite3_close(handle);
        return false;
    }
    m_handle = handle;
    exec("PRAGMA synchronous = OFF;");
    return true;
}

bool SQLiteDB::close() {
    if (!m_handle) return true;
    if (sqlite3_close(m_handle) != SQLITE_OK) return false;
    m_handle = nullptr;
    return true;
}

int SQLiteDB::exec(const char* sql, RowCallback callback, void* context) {
    if (!m_handle || !sql) return SQLITE_MISUSE;
    return sqlite3_exec(m_handle, sql, callback, context, nullptr);
}

int SQLiteDB::prepare(SQLiteStatement& statement, const char* sql, int length) {
    statement.finalize();
    if (!m_handle || !sql) return SQLITE_MISUSE;
    const int rc = sqlite3_prepare_v2(m_handle, sql, length, &statement.m_handle, nullptr);
    if (rc != SQLITE_OK) statement.finalize();
    return rc;
}

std::int64_t SQLiteDB::lastInsertRowId() const {
    if (!m_handle) return -1;
    return sqlite3_last_insert_rowid(m_handle);
}

bool SQLiteDB::inTransaction() const {
    return m_handle && sqlite3_get_autocommit(m_handle) == 0;
}

}  // namespace quorvik
