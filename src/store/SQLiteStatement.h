// One prepared SQLite statement. A thin owner of the statement handle: it is
// filled by SQLiteDB::prepare and finalized by the destructor, and every call on
// an empty handle answers SQLITE_MISUSE (21) or a null value instead of crashing.
#pragma once

struct sqlite3_stmt;

namespace quorvik {

class SQLiteDB;

class SQLiteStatement {
public:
    SQLiteStatement() = default;
    virtual ~SQLiteStatement();
    SQLiteStatement(const SQLiteStatement&) = delete;
    SQLiteStatement& operator=(const SQLiteStatement&) = delete;

    // 1-based parameter index. Results are SQLite codes; 21 when there is no handle.
    int bindInt(int index, int value);
    // Binds without copying: the bytes must stay alive until the statement has been
    // stepped for the last time.
    int bindText(int index, const char* bytes, int length);

    // 100 when a row is ready, 101 when done, another SQLite code on failure.
    int step();

    // 0-based column. NULL reads as 0; 0 without a handle.
    int columnInt(int column) const;
    // Null for a NULL value or without a handle. Valid until the next step or finalize.
    const unsigned char* columnText(int column) const;

    bool isPrepared() const { return m_handle != nullptr; }

    // Ends the current run (a read's transaction ends with it) and drops the
    // bindings, so the compiled statement can be bound and stepped again. Its
    // result is the one of the last step; 21 when there is no handle.
    int reset();

    // Frees the compiled statement; the handle is empty afterwards. A connection
    // refuses to close while statements compiled on it are alive.
    void finalize();

private:
    friend class SQLiteDB;

    sqlite3_stmt* m_handle = nullptr;
};

}  // namespace quorvik
