// One SQLite connection. Owns the connection handle (null while closed); every
// call without a connection answers SQLITE_MISUSE (21) so a store that failed to
// open reports failures instead of touching any file.
#pragma once

#include <cstdint>
#include <string>

struct sqlite3;

namespace quorvik {

class SQLiteStatement;

class SQLiteDB {
public:
    // sqlite3_exec row callback: context, column count, values, column names.
    using RowCallback = int (*)(void*, int, char**, char**);

    SQLiteDB() = default;
    virtual ~SQLiteDB();
    SQLiteDB(const SQLiteDB&) = delete;
    SQLiteDB& operator=(const SQLiteDB&) = delete;

    // Closes any current connection first (false, nothing opened, when SQLite
    // refuses to close it), then sqlite3_open_v2 with `flags`. On success sets
    // "PRAGMA synchronous = OFF;" and returns true.
    bool open(const std::string& path, int flags);

    // True when nothing was open or SQLite closed it; false keeps the handle.
    bool close();

    bool isOpen() const { return m_handle != nullptr; }

    // sqlite3_exec; 21 without a connection or text.
    int exec(const char* sql, RowCallback callback = nullptr, void* context = nullptr);

    // Finalizes the statement's previous handle, then sqlite3_prepare_v2 into it.
    // `length` < 0: `sql` is NUL-terminated. 21 without a connection or text; a
    // failed prepare leaves the statement empty.
    int prepare(SQLiteStatement& statement, const char* sql, int length = -1);

    // Row id of the last successful insert on this connection; -1 without one.
    std::int64_t lastInsertRowId() const;

    // True while the connection is inside an explicit transaction.
    bool inTransaction() const;

private:
    sqlite3* m_handle = nullptr;
};

}  // namespace quorvik
