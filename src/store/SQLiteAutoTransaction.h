// A scoped transaction: "BEGIN" on construction, "END" when it leaves the scope.
// Leaving the scope always commits; the only rollback is the clean-up after an
// "END" that SQLite refused (see commit()).
#pragma once

namespace quorvik {

class SQLiteDB;

class SQLiteAutoTransaction {
public:
    // A null database gives an inactive transaction that does nothing. Otherwise
    // runs "BEGIN" when a connection is open and becomes active either way.
    explicit SQLiteAutoTransaction(SQLiteDB* database);
    virtual ~SQLiteAutoTransaction();
    SQLiteAutoTransaction(const SQLiteAutoTransaction&) = delete;
    SQLiteAutoTransaction& operator=(const SQLiteAutoTransaction&) = delete;

    // False without effect for a null database or an active transaction. Without
    // a connection: becomes active, false. Otherwise "BEGIN", active, true when it
    // succeeded.
    bool begin();

    // False without effect for a null database. Otherwise becomes inactive; runs
    // "END" when a connection is open and returns whether it succeeded. When SQLite
    // refuses the "END" (another process still reads the file) the connection
    // would stay inside the transaction and swallow every later write until the
    // connection closes and discards them all; this transaction's writes are
    // rolled back instead, so later writes commit on their own.
    bool commit();

    bool isActive() const { return m_active; }

private:
    SQLiteDB* m_database = nullptr;
    bool m_active = false;
};

}  // namespace quorvik
