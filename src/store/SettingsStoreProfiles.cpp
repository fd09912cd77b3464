// SettingsStore operations on t_profile_data and t_configdata: profiles and the
// per-profile configuration values (decimal text under a text key).
#include "store/ConfigDefaults.h"
#include "store/SQLiteAutoTransaction.h"
#include "store/SQLiteStatement.h"
#include "store/SettingsStore.h"
#include "store/detail/StoreText.h"

#include <sqlite3.h>

namespace quorvik {

using detail::bindText;
using detail::fromUtf8;
using detail::isWriteSuccess;
using detail::toUtf8;

namespace {

// Resets a kept statement when the operation leaves. Declared after the texts
// bound to the statement, so the bindings are dropped before those texts are
// freed, and the run ends before the store lock is released.
class ResetOnExit {
public:
    explicit ResetOnExit(SQLiteStatement& statement) : m_statement(statement) {}
    ~ResetOnExit() { m_statement.reset(); }
    ResetOnExit(const ResetOnExit&) = delete;
    ResetOnExit& operator=(const ResetOnExit&) = delete;

private:
    SQLiteStatement& m_statement;
};

}  // namespace

bool SettingsStore::getConfigValue(int profile, const std::string& key, std::string& value) {
    std::lock_guard lock(m_lock);
    value.clear();
    const std::string keyText = toUtf8(key);
    SQLiteStatement& statement = m_getConfigStatement;
    prepareKept(statement, "SELECT value FROM t_configdata WHERE profile = ? and key = ?");
    const ResetOnExit resetOnExit(statement);
    statement.bindInt(1, profile);
    bindText(statement, 2, keyText);
    if (statement.step() != SQLITE_ROW) return false;
    value = fromUtf8(statement.columnText(0));
    return true;
}

bool SettingsStore::setConfigValue(int profile, const std::string& key, const std::string& value) {
    std::lock_guard lock(m_lock);
    const std::string keyText = toUtf8(key);
    const std::string valueText = toUtf8(value);
    SQLiteStatement& statement = m_setConfigStatement;
    prepareKept(statement, "UPDATE t_configdata SET value = ? WHERE profile = ? and key = ?");
    const ResetOnExit resetOnExit(statement);
    bindText(statement, 1, valueText);
    statement.bindInt(2, profile);
    bindText(statement, 3, keyText);
    return isWriteSuccess(statement.step());
}

void SettingsStore::insertDefaultConfig(int profile) {
    std::lock_guard lock(m_lock);
    insertDefaultConfigLocked(profile);
}

bool SettingsStore::insertDefaultConfigLocked(int profile) {
    bool allInserted = true;
    SQLiteStatement statement;
    for (const ConfigDefault& row : configDefaults()) {
        const std::string key(row.key);
        const std::string value(row.value);
        m_db.prepare(statement, "INSERT INTO t_configdata(profile, key, value) VALUES (?, ?, ?);");
        statement.bindInt(1, profile);
        bindText(statement, 2, key);
        bindText(statement, 3, value);
        if (!isWriteSuccess(statement.step())) allInserted = false;
    }
    return allInserted;
}

int SettingsStore::addProfile(const ProfileRecord& record) {
    std::lock_guard lock(m_lock);
    const std::string name = toUtf8(record.name);
    const std::string app = toUtf8(record.app);
    // The profile row and its 40 values commit together: a profile that lost some
    // of its rows to a crash could never store those settings again, because
    // values are only ever updated.
    SQLiteAutoTransaction transaction(&m_db);
    int profile = 0;
    {
        SQLiteStatement statement;
        m_db.prepare(statement, "INSERT INTO t_profile_data(name, status, app, type) VALUES (?, ?, ?, ?);");
        bindText(statement, 1, name);
        statement.bindInt(2, 0);
        bindText(statement, 3, app);
        statement.bindInt(4, 0);
        if (isWriteSuccess(statement.step())) profile = static_cast<int>(m_db.lastInsertRowId());
    }
    if (profile == 0) return 0;
    insertDefaultConfigLocked(profile);
    if (!transaction.commit()) return 0;
    return profile;
}

bool SettingsStore::renameProfile(int profile, const std::string& name) {
    std::lock_guard lock(m_lock);
    const std::string nameText = toUtf8(name);
    SQLiteStatement statement;
    m_db.prepare(statement, "UPDATE t_profile_data SET name = ? WHERE profile = ?");
    bindText(statement, 1, nameText);
    statement.bindInt(2, profile);
    return isWriteSuccess(statement.step());
}

bool SettingsStore::getProfileName(int profile, std::string& name) {
    std::lock_guard lock(m_lock);
    name.clear();
    SQLiteStatement statement;
    m_db.prepare(statement, "SELECT name FROM t_profile_data WHERE profile = ?");
    statement.bindInt(1, profile);
    if (statement.step() != SQLITE_ROW) return false;
    name = fromUtf8(statement.columnText(0));
    return true;
}

int SettingsStore::listProfiles(std::vector<ProfileRecord>& list) {
    std::lock_guard lock(m_lock);
    list.clear();
    SQLiteStatement statement;
    m_db.prepare(statement, "SELECT * FROM t_profile_data");
    while (statement.step() == SQLITE_ROW) {
        // Columns: profile, name, status, app, type.
        ProfileRecord record;
        record.profile = statement.columnInt(0);
        record.name = fromUtf8(statement.columnText(1));
        record.status = statement.columnInt(2);
        record.app = fromUtf8(statement.columnText(3));
        record.type = statement.columnInt(4);
        list.push_back(std::move(record));
    }
    return static_cast<int>(list.size());
}

bool SettingsStore::setActiveProfile(int profile) {
    std::lock_guard lock(m_lock);
    // Both updates commit together, so a crash between them cannot leave the
    // file without an active profile.
    SQLiteAutoTransaction transaction(&m_db);
    bool activated = false;
    {
        SQLiteStatement statement;
        m_db.prepare(statement, "UPDATE t_profile_data SET status = ?");
        statement.bindInt(1, 0);
        statement.step();
        m_db.prepare(statement, "UPDATE t_profile_data SET status = ? WHERE profile = ?");
        statement.bindInt(1, 1);
        statement.bindInt(2, profile);
        activated = isWriteSuccess(statement.step());
    }
    return transaction.commit() && activated;
}

int SettingsStore::getActiveProfile() {
    std::lock_guard lock(m_lock);
    SQLiteStatement statement;
    m_db.prepare(statement, "SELECT profile FROM t_profile_data WHERE status = ?");
    statement.bindInt(1, 1);
    if (statement.step() != SQLITE_ROW) return 0;
    return statement.columnInt(0);
}

}  // namespace quorvik
