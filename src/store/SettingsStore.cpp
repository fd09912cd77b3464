// SettingsStore lifecycle: the singleton, choosing the model's file, opening an
// existing file as it is and creating a new one with the schema.
#include "store/SettingsStore.h"

#include "store/DatabaseSchema.h"
#include "store/SQLiteAutoTransaction.h"
#include "store/SQLiteStatement.h"

#include <sqlite3.h>
#include <sys/stat.h>

namespace quorvik {
namespace {

constexpr int kOpenExistingFlags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_FULLMUTEX;                 // 0x10002
constexpr int kCreateFlags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_FULLMUTEX;  // 0x10006

// Anything at the path (file, folder, other) counts: only a free path is created.
bool pathExists(const std::string& path) {
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0;
}

}  // namespace

SettingsStore& SettingsStore::instance() {
    static SettingsStore store;
    return store;
}

SettingsStore::~SettingsStore() {
    std::lock_guard lock(m_lock);
    finalizeKeptStatements();
    if (m_open) m_db.close();
    m_open = false;
}

std::string SettingsStore::databasePathFor(const std::string& userDataFolder, const std::string& modelStem) {
    std::string path = userDataFolder;
    if (!path.empty() && path.back() != '/') path += '/';
    return path + "db/" + modelStem + "_data1.db";
}

bool SettingsStore::openForModel(const std::string& userDataFolder, const std::string& modelStem) {
    if (modelStem.find('/') != std::string::npos || modelStem.find('\0') != std::string::npos) {
        // A stem is a file name from config.xml; one that walks into another
        // folder is refused rather than followed.
        std::lock_guard lock(m_lock);
        close();
        return false;
    }
    return openDatabaseFile(databasePathFor(userDataFolder, modelStem));
}

bool SettingsStore::openDatabaseFile(const std::string& path) {
    std::lock_guard lock(m_lock);
    if (!close()) return false;
    m_path = path;
    m_open = pathExists(m_path) ? openExistingLocked() : createDatabaseLocked();
    return m_open;
}

bool SettingsStore::openExistingLocked() {
    if (!m_db.open(m_path, kOpenExistingFlags)) return false;
    configureConnection();

    // Opening is lazy in SQLite; reading the schema shows whether the file is a
    // database at all. A file that is not one is closed again untouched, so the
    // operations keep reporting failure and nothing ever writes into it.
    int objects = -1;
    {
        SQLiteStatement probe;
        int rc = m_db.prepare(probe, "SELECT count(*) FROM sqlite_master");
        if (rc == SQLITE_OK) rc = probe.step();
        if (rc == SQLITE_ROW) {
            objects = probe.columnInt(0);
        } else if (rc == SQLITE_BUSY || rc == SQLITE_LOCKED) {
            // Another process holds the file (in the middle of a write, or a
            // second copy of the program, which keeps it while it has it open):
            // keep it open, the operations report failure until it lets go.
            return true;
        }
    }
    if (objects < 0) {
        finalizeKeptStatements();
        m_db.close();
        return false;
    }
    // A database without a single table or index is what a creation interrupted
    // before its first statement leaves behind (SQLite creates the file on open).
    // Giving it the schema loses nothing and makes the model usable again.
    if (objects == 0) return createDatabaseLocked();
    return true;
}

// Settings for the connection, none of which writes to the file.
//
// The rollback journal is truncated at each commit instead of being created and
// deleted by every single update; that file churn was a quarter of the cost of
// one value update, and an empty journal costs reads nothing.
//
// The connection keeps its file lock from its first read (shared) and first
// write (exclusive) until it closes, instead of taking and dropping locks and
// re-checking the file for changes by others around every statement: that
// bookkeeping was more than half of the cost of a value update and most of a
// read. The program runs as a single instance and nothing else writes the
// database, so no one waits for these locks; another process that opens the
// file anyway gets "database is locked" results and cannot change it, as it
// would while any write was in progress. Every commit still writes the pages
// and truncates the journal at once, so a killed process leaves a file that
// holds each completed write and is recovered as with the default mode.
//
// Both settings belong to the connection, not to the file.
void SettingsStore::configureConnection() {
    m_db.exec("PRAGMA journal_mode = TRUNCATE;");
    m_db.exec("PRAGMA locking_mode = EXCLUSIVE;");
}

bool SettingsStore::createDatabase() {
    std::lock_guard lock(m_lock);
    if (m_db.isOpen()) return true;
    m_open = createDatabaseLocked();
    return m_open;
}

// Runs the schema on the open connection, opening the stored path with creation
// first when there is none.
bool SettingsStore::createDatabaseLocked() {
    // An empty path would make SQLite open a private temporary database.
    if (!m_db.isOpen()) {
        if (m_path.empty() || !m_db.open(m_path, kCreateFlags)) return false;
        configureConnection();
    }
    // One transaction: a crash while creating leaves either the whole schema or
    // an empty file (which the next open completes), never half the tables.
    SQLiteAutoTransaction transaction(&m_db);
    bool allSucceeded = true;
    for (const char* statement : databaseSchema()) {
        if (m_db.exec(statement) != SQLITE_OK) allSucceeded = false;
    }
    return transaction.commit() && allSucceeded;
}

bool SettingsStore::close() {
    std::lock_guard lock(m_lock);
    finalizeKeptStatements();
    if (!m_db.close()) return false;
    m_open = false;
    return true;
}

int SettingsStore::prepareKept(SQLiteStatement& statement, const char* sql) {
    if (statement.isPrepared()) return SQLITE_OK;
    return m_db.prepare(statement, sql);
}

void SettingsStore::finalizeKeptStatements() {
    m_getConfigStatement.finalize();
    m_setConfigStatement.finalize();
}

bool SettingsStore::isOpen() const {
    std::lock_guard lock(m_lock);
    return m_open;
}

std::string SettingsStore::databasePath() const {
    std::lock_guard lock(m_lock);
    return m_path;
}

}  // namespace quorvik
