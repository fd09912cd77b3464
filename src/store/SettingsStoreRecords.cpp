// SettingsStore operations on the record tables: button bindings
// (t_key_macro_data), macros and their steps (t_macro_data, t_macrorecord) and
// lighting modes (t_light_data). Rows are read by column position in table order.
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

KeyBinding readKeyBinding(const SQLiteStatement& row) {
    KeyBinding binding;
    binding.key_id = row.columnInt(0);
    binding.profile = row.columnInt(1);
    binding.fn_layer = row.columnInt(2);
    binding.key_code = row.columnInt(3);
    binding.layout_value = row.columnInt(4);
    binding.layout_desc = fromUtf8(row.columnText(5));
    binding.macro_type = row.columnInt(6);
    binding.macro_value = row.columnInt(7);
    binding.macro_value2 = row.columnInt(8);
    binding.macro_value3 = row.columnInt(9);
    binding.macro_desc = fromUtf8(row.columnText(10));
    return binding;
}

MacroRecord readMacro(const SQLiteStatement& row) {
    MacroRecord macro;
    macro.macro_id = row.columnInt(0);
    macro.name = fromUtf8(row.columnText(1));
    macro.play_type = row.columnInt(2);
    macro.play_times = row.columnInt(3);
    macro.delay_type = row.columnInt(4);
    macro.delay_time = row.columnInt(5);
    return macro;
}

// Columns: record_id, macro_id, type, record_index, desc, value, delay_time.
MacroStep readMacroStep(const SQLiteStatement& row) {
    MacroStep step;
    step.record_id = row.columnInt(0);
    step.macro_id = row.columnInt(1);
    step.type = row.columnInt(2);
    step.record_index = row.columnInt(3);
    step.desc = fromUtf8(row.columnText(4));
    step.value = row.columnInt(5);
    step.delay_time = row.columnInt(6);
    return step;
}

LightRecord readLight(const SQLiteStatement& row) {
    LightRecord light;
    light.light_id = row.columnInt(0);
    light.profile = row.columnInt(1);
    light.name = fromUtf8(row.columnText(2));
    light.mode = row.columnInt(3);
    light.brightness = row.columnInt(4);
    light.speed = row.columnInt(5);
    light.direction = row.columnInt(6);
    light.colorful = row.columnInt(7);
    light.colorindex = row.columnInt(8);
    light.color_value1 = row.columnInt(9);
    light.color_value2 = row.columnInt(10);
    light.color_value3 = row.columnInt(11);
    light.color_value4 = row.columnInt(12);
    light.color_value5 = row.columnInt(13);
    light.color_value6 = row.columnInt(14);
    light.color_value7 = row.columnInt(15);
    light.config_func = row.columnInt(16);
    light.reserved = row.columnInt(17);
    light.status = row.columnInt(18);
    return light;
}

constexpr const char* kInsertMacro =
    "INSERT INTO t_macro_data(name, play_type, play_times, delay_type, delay_time) VALUES (?, ?, ?, ?, ?);";
constexpr const char* kInsertMacroStep =
    "INSERT INTO t_macrorecord(macro_id, type, record_index, desc, value, delay_time) VALUES (?, ?, ?, ?, ?, "
    "?);";

// Name, play_type, play_times, delay_type and delay_time at 1 to 5, as both
// the insert and the update of a macro list them; `name` is the stored text.
void bindMacro(SQLiteStatement& statement, const MacroRecord& macro, const std::string& name) {
    bindText(statement, 1, name);
    statement.bindInt(2, macro.play_type);
    statement.bindInt(3, macro.play_times);
    statement.bindInt(4, macro.delay_type);
    statement.bindInt(5, macro.delay_time);
}

// The values of kInsertMacroStep; `desc` is the stored text of the step.
void bindMacroStep(SQLiteStatement& statement, const MacroStep& step, const std::string& desc) {
    statement.bindInt(1, step.macro_id);
    statement.bindInt(2, step.type);
    statement.bindInt(3, step.record_index);
    bindText(statement, 4, desc);
    statement.bindInt(5, step.value);
    statement.bindInt(6, step.delay_time);
}

// The fourteen lighting settings, brightness to reserved in table order, bound
// from index `first` on (the insert and the update place them differently).
void bindLightSettings(SQLiteStatement& statement, int first, const LightRecord& light) {
    const int values[] = {light.brightness,   light.speed,        light.direction,    light.colorful,
                          light.colorindex,   light.color_value1, light.color_value2, light.color_value3,
                          light.color_value4, light.color_value5, light.color_value6, light.color_value7,
                          light.config_func,  light.reserved};
    for (int value : values) statement.bindInt(first++, value);
}

// The first row of a query into `record`; false when there is none.
template <class Record>
bool readFirstRow(SQLiteStatement& statement, Record& record, Record (*read)(const SQLiteStatement&)) {
    if (statement.step() != SQLITE_ROW) return false;
    record = read(statement);
    return true;
}

// Appends every row of a query to `list`; returns the list's size.
template <class Record>
int readAllRows(SQLiteStatement& statement, std::vector<Record>& list, Record (*read)(const SQLiteStatement&)) {
    while (statement.step() == SQLITE_ROW) list.push_back(read(statement));
    return static_cast<int>(list.size());
}

}  // namespace

// --- Key bindings -------------------------------------------------------------

int SettingsStore::storeKeyBinding(const KeyBinding& binding) {
    std::lock_guard lock(m_lock);
    const std::string layoutDesc = toUtf8(binding.layout_desc);
    const std::string macroDesc = toUtf8(binding.macro_desc);
    // Delete and insert commit together: a crash between them must not leave the
    // button without its binding.
    SQLiteAutoTransaction transaction(&m_db);
    int keyId = 0;
    {
        SQLiteStatement statement;
        m_db.prepare(statement,
                     "DELETE FROM t_key_macro_data WHERE profile = ? and fn_layer = ? and key_code = ?");
        statement.bindInt(1, binding.profile);
        statement.bindInt(2, binding.fn_layer);
        statement.bindInt(3, binding.key_code);
        statement.step();
        if (binding.macro_value == 0 && binding.macro_value2 == 0) return 0;

        m_db.prepare(statement,
                     "INSERT INTO t_key_macro_data(profile, fn_layer, key_code, layout_value, layout_desc, "
                     "macro_type, macro_value, macro_value2, macro_value3, macro_desc) "
                     "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?);");
        statement.bindInt(1, binding.profile);
        statement.bindInt(2, binding.fn_layer);
        statement.bindInt(3, binding.key_code);
        statement.bindInt(4, binding.layout_value);
        bindText(statement, 5, layoutDesc);
        statement.bindInt(6, binding.macro_type);
        statement.bindInt(7, binding.macro_value);
        statement.bindInt(8, binding.macro_value2);
        statement.bindInt(9, binding.macro_value3);
        bindText(statement, 10, macroDesc);
        if (isWriteSuccess(statement.step())) keyId = static_cast<int>(m_db.lastInsertRowId());
    }
    if (!transaction.commit()) return 0;
    return keyId;
}

bool SettingsStore::getKeyBinding(int profile, int keyCode, KeyBinding& binding) {
    std::lock_guard lock(m_lock);
    SQLiteStatement statement;
    m_db.prepare(statement,
                 "SELECT * FROM t_key_macro_data WHERE profile = ? and fn_layer = ? and key_code = ?");
    statement.bindInt(1, profile);
    statement.bindInt(2, 0);
    statement.bindInt(3, keyCode);
    return readFirstRow(statement, binding, readKeyBinding);
}

bool SettingsStore::setKeyBindingDesc(int profile, int keyCode, const std::string& description) {
    std::lock_guard lock(m_lock);
    const std::string descText = toUtf8(description);
    SQLiteStatement statement;
    m_db.prepare(
        statement,
        "UPDATE t_key_macro_data SET macro_desc = ? WHERE profile = ? and fn_layer = ? and key_code = ?");
    bindText(statement, 1, descText);
    statement.bindInt(2, profile);
    statement.bindInt(3, 0);
    statement.bindInt(4, keyCode);
    return isWriteSuccess(statement.step());
}

int SettingsStore::listKeyBindings(int profile, std::vector<KeyBinding>& list) {
    std::lock_guard lock(m_lock);
    list.clear();
    SQLiteStatement statement;
    m_db.prepare(statement, "SELECT * FROM t_key_macro_data WHERE profile = ? and fn_layer = ?");
    statement.bindInt(1, profile);
    statement.bindInt(2, 0);
    return readAllRows(statement, list, readKeyBinding);
}

bool SettingsStore::deleteProfileBindings(int profile) {
    std::lock_guard lock(m_lock);
    SQLiteStatement statement;
    m_db.prepare(statement, "DELETE FROM t_key_macro_data WHERE profile = ?");
    statement.bindInt(1, profile);
    return isWriteSuccess(statement.step());
}

// --- Macros and their steps ---------------------------------------------------

int SettingsStore::addMacro(const std::string& name) {
    MacroRecord macro;
    macro.name = name;
    macro.play_type = 0;
    macro.play_times = 1;
    macro.delay_type = 1;
    macro.delay_time = 0;
    return insertMacro(macro);
}

int SettingsStore::insertMacro(const MacroRecord& macro) {
    std::lock_guard lock(m_lock);
    const std::string name = toUtf8(macro.name);
    SQLiteStatement statement;
    m_db.prepare(statement, kInsertMacro);
    bindMacro(statement, macro, name);
    if (!isWriteSuccess(statement.step())) return 0;
    return static_cast<int>(m_db.lastInsertRowId());
}

bool SettingsStore::renameMacro(int macroId, const std::string& name) {
    std::lock_guard lock(m_lock);
    const std::string nameText = toUtf8(name);
    SQLiteStatement statement;
    m_db.prepare(statement, "UPDATE t_macro_data SET name = ? WHERE macro_id = ?");
    bindText(statement, 1, nameText);
    statement.bindInt(2, macroId);
    return isWriteSuccess(statement.step());
}

bool SettingsStore::updateMacro(const MacroRecord& macro) {
    std::lock_guard lock(m_lock);
    const std::string name = toUtf8(macro.name);
    SQLiteStatement statement;
    m_db.prepare(
        statement,
        "UPDATE t_macro_data SET name = ?, play_type = ?, play_times = ?, delay_type = ?,delay_time = ? "
        "WHERE macro_id = ?");
    bindMacro(statement, macro, name);
    statement.bindInt(6, macro.macro_id);
    return isWriteSuccess(statement.step());
}

bool SettingsStore::getMacro(int macroId, MacroRecord& macro) {
    std::lock_guard lock(m_lock);
    SQLiteStatement statement;
    m_db.prepare(statement, "SELECT * FROM t_macro_data WHERE macro_id = ?");
    statement.bindInt(1, macroId);
    return readFirstRow(statement, macro, readMacro);
}

int SettingsStore::listMacros(std::vector<MacroRecord>& list) {
    std::lock_guard lock(m_lock);
    list.clear();
    SQLiteStatement statement;
    m_db.prepare(statement, "SELECT * FROM t_macro_data");
    return readAllRows(statement, list, readMacro);
}

bool SettingsStore::deleteMacro(int macroId) {
    std::lock_guard lock(m_lock);
    // Both deletes commit together, so a crash cannot leave steps behind whose
    // macro no longer exists.
    SQLiteAutoTransaction transaction(&m_db);
    bool deleted = false;
    {
        SQLiteStatement statement;
        m_db.prepare(statement, "DELETE FROM t_macro_data WHERE macro_id = ?");
        statement.bindInt(1, macroId);
        if (isWriteSuccess(statement.step())) {
            m_db.prepare(statement, "DELETE FROM t_macrorecord WHERE macro_id = ?");
            statement.bindInt(1, macroId);
            deleted = isWriteSuccess(statement.step());
        }
    }
    return transaction.commit() && deleted;
}

int SettingsStore::insertMacroStep(const MacroStep& step) {
    std::lock_guard lock(m_lock);
    const std::string desc = toUtf8(step.desc);
    SQLiteStatement statement;
    m_db.prepare(statement, kInsertMacroStep);
    bindMacroStep(statement, step, desc);
    if (!isWriteSuccess(statement.step())) return 0;
    return static_cast<int>(m_db.lastInsertRowId());
}

void SettingsStore::insertMacroSteps(const std::vector<MacroStep>& steps) {
    std::lock_guard lock(m_lock);
    SQLiteAutoTransaction transaction(&m_db);
    {
        SQLiteStatement statement;
        for (const MacroStep& step : steps) {
            const std::string desc = toUtf8(step.desc);
            m_db.prepare(statement, kInsertMacroStep);
            bindMacroStep(statement, step, desc);
            statement.step();
        }
    }
    transaction.commit();
}

int SettingsStore::listMacroSteps(int macroId, std::vector<MacroStep>& list) {
    std::lock_guard lock(m_lock);
    list.clear();
    SQLiteStatement statement;
    m_db.prepare(statement, "SELECT * FROM t_macrorecord WHERE macro_id = ? ORDER BY record_index ASC");
    statement.bindInt(1, macroId);
    return readAllRows(statement, list, readMacroStep);
}

bool SettingsStore::deleteMacroSteps(int macroId) {
    std::lock_guard lock(m_lock);
    SQLiteStatement statement;
    m_db.prepare(statement, "DELETE FROM t_macrorecord WHERE macro_id = ?");
    statement.bindInt(1, macroId);
    return isWriteSuccess(statement.step());
}

// --- Lighting -----------------------------------------------------------------

int SettingsStore::countLights(int profile) {
    std::lock_guard lock(m_lock);
    SQLiteStatement statement;
    m_db.prepare(statement, "select count(*) FROM t_light_data WHERE profile = ?");
    statement.bindInt(1, profile);
    if (statement.step() != SQLITE_ROW) return 0;
    return statement.columnInt(0);
}

int SettingsStore::addLight(const LightRecord& light) {
    std::lock_guard lock(m_lock);
    const std::string name = toUtf8(light.name);
    SQLiteStatement statement;
    m_db.prepare(
        statement,
        "INSERT INTO t_light_data(profile, name, mode, brightness, speed, direction, colorful, colorindex, "
        "color_value1, color_value2, color_value3, color_value4, color_value5, color_value6, color_value7, "
        "config_func, reserved, status) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?);");
    statement.bindInt(1, light.profile);
    bindText(statement, 2, name);
    statement.bindInt(3, light.mode);
    bindLightSettings(statement, 4, light);
    statement.bindInt(18, light.status);
    if (!isWriteSuccess(statement.step())) return 0;
    return static_cast<int>(m_db.lastInsertRowId());
}

bool SettingsStore::updateLight(int mode, const LightRecord& light) {
    std::lock_guard lock(m_lock);
    SQLiteStatement statement;
    m_db.prepare(
        statement,
        "UPDATE t_light_data SET brightness = ?, speed = ?, direction = ?, colorful = ?, colorindex = ?, "
        "color_value1 = ?, color_value2 = ?, color_value3 = ?, color_value4 = ?, color_value5 = ?, "
        "color_value6 = ?, color_value7 = ?, config_func = ?, reserved = ? WHERE profile = ? AND mode = ?");
    bindLightSettings(statement, 1, light);
    statement.bindInt(15, light.profile);
    statement.bindInt(16, mode);
    return isWriteSuccess(statement.step());
}

bool SettingsStore::setActiveLight(int profile, int mode) {
    std::lock_guard lock(m_lock);
    // Both updates commit together, so the profile always keeps an active mode.
    SQLiteAutoTransaction transaction(&m_db);
    bool activated = false;
    {
        SQLiteStatement statement;
        m_db.prepare(statement, "UPDATE t_light_data SET status = ? WHERE profile = ?");
        statement.bindInt(1, 0);
        statement.bindInt(2, profile);
        statement.step();
        m_db.prepare(statement, "UPDATE t_light_data SET status = ? WHERE profile = ? and mode = ?");
        statement.bindInt(1, 1);
        statement.bindInt(2, profile);
        statement.bindInt(3, mode);
        activated = isWriteSuccess(statement.step());
    }
    return transaction.commit() && activated;
}

int SettingsStore::getActiveLightMode(int profile) {
    std::lock_guard lock(m_lock);
    SQLiteStatement statement;
    m_db.prepare(statement, "SELECT mode FROM t_light_data WHERE profile = ? and status = ?");
    statement.bindInt(1, profile);
    statement.bindInt(2, 1);
    if (statement.step() != SQLITE_ROW) return 0;
    return statement.columnInt(0);
}

bool SettingsStore::getLight(int profile, int mode, LightRecord& light) {
    std::lock_guard lock(m_lock);
    SQLiteStatement statement;
    m_db.prepare(statement, "SELECT * FROM t_light_data WHERE profile = ? AND mode = ?");
    statement.bindInt(1, profile);
    statement.bindInt(2, mode);
    return readFirstRow(statement, light, readLight);
}

int SettingsStore::listLights(int profile, std::vector<LightRecord>& list) {
    std::lock_guard lock(m_lock);
    list.clear();
    SQLiteStatement statement;
    m_db.prepare(statement, "SELECT * FROM t_light_data WHERE profile = ?");
    statement.bindInt(1, profile);
    return readAllRows(statement, list, readLight);
}

}  // namespace quorvik
