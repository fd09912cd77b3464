// Prepared statement wrapper: forwards to the SQLite C interface and turns a
// missing handle into SQLITE_MISUSE so callers only ever see result codes.
#include "store/SQLiteStatement.h"

#include <sqlite3.h>

namespace quorvik {

SQLiteStatement::~SQLiteStatement() {
    finalize();
}

void SQLiteStatement::finalize() {
    if (m_handle) sqlite3_finalize(m_handle);
    m_handle = nullptr;
}

int SQLiteStatement::reset() {
    if (!m_handle) return SQLITE_MISUSE;
    const int rc = sqlite3_reset(m_handle);
    sqlite3_clear_bindings(m_handle);
    return rc;
}

int SQLiteStatement::bindInt(int index, int value) {
    if (!m_handle) return SQLITE_MISUSE;
    return sqlite3_bind_int(m_handle, index, value);
}

int SQLiteStatement::bindText(int index, const char* bytes, int length) {
    if (!m_handle) return SQLITE_MISUSE;
    return sqlite3_bind_text(m_handle, index, bytes, length, SQLITE_STATIC);
}

int SQLiteStatement::step() {
    if (!m_handle) return SQLITE_MISUSE;
    return sqlite3_step(m_handle);
}

int SQLiteStatement::columnInt(int column) const {
    if (!m_handle) return 0;
    return sqlite3_column_int(m_handle, column);
}

const unsigned char* SQLiteStatement::columnText(int column) const {
    if (!m_handle) return nullptr;
    return sqlite3_column_text(m_handle, column);
}

}  // namespace quorvik
