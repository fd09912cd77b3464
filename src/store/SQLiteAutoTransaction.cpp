// Scoped transaction over SQLiteDB::exec: "BEGIN" and "END", nothing more.
#include "store/SQLiteAutoTransaction.h"

#include "store/SQLiteDB.h"

#include <sqlite3.h>

namespace quorvik {

SQLiteAutoTransaction::SQLiteAutoTransaction(SQLiteDB* database) : m_database(database) {
    if (!m_database) return;
    if (m_database->isOpen()) m_database->exec("BEGIN");
    m_active = true;
}

SQLiteAutoTransaction::~SQLiteAutoTransaction() {
    if (m_active) commit();
}

bool SQLiteAutoTransaction::begin() {
    if (!m_database || m_active) return false;
    m_active = true;
    if (!m_database->isOpen()) return false;
    return m_database->exec("BEGIN") == SQLITE_OK;
}

bool SQLiteAutoTransaction::commit() {
    if (!m_database) return false;
    m_active = false;
    if (!m_database->isOpen()) return false;
    if (m_database->exec("END") == SQLITE_OK) return true;
    if (m_database->inTransaction()) m_database->exec("ROLLBACK");
    return false;
}

}  // namespace quorvik
