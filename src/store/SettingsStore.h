// The process-wide settings store: one SQLite database file per mouse model
// holding profiles, configuration values, button bindings, macros and lighting.
// Every operation holds the store's recursive lock, so the user interface
// thread and the device worker can share it; failures are results (false, 0,
// empty text or list), never exceptions.
#pragma once

#include "store/KeyBinding.h"
#include "store/LightRecord.h"
#include "store/MacroRecord.h"
#include "store/MacroStep.h"
#include "store/ProfileRecord.h"
#include "store/SQLiteDB.h"
#include "store/SQLiteStatement.h"

#include <mutex>
#include <string>
#include <vector>

namespace quorvik {

class SettingsStore {
public:
    // The single store, created on first use and destroyed at process exit.
    static SettingsStore& instance();

    // userDataFolder + "db/" + modelStem + "_data1.db". A missing '/' at the end
    // of the folder is added.
    static std::string databasePathFor(const std::string& userDataFolder, const std::string& modelStem);

    // Closes the current database (under the store lock, so a table operation on
    // another thread never sees a half-switched connection), then opens the
    // model's file: an existing file is opened as it is, a missing one is created
    // with the schema. The "db" folder is not created here. False for a stem that
    // names another folder ('/'), for a file that is not a readable database, or
    // when the file cannot be created; nothing is written to an existing file
    // then. The result is also kept as the open flag.
    bool openForModel(const std::string& userDataFolder, const std::string& modelStem);
    // The same with the full path of the database file.
    bool openDatabaseFile(const std::string& path);

    // Opens the stored path with creation and runs the fifteen schema statements
    // (all of them, even after a failure). True when every one succeeded; true at
    // once when a connection is already open.
    bool createDatabase();

    // Closes the connection and clears the open flag. False when SQLite refused
    // to close it (the connection then stays as it was).
    bool close();

    bool isOpen() const;
    std::string databasePath() const;

    // --- Profiles and configuration values -------------------------------
    // Clears `value`; true and the first matching row's value when the profile
    // has the key.
    bool getConfigValue(int profile, const std::string& key, std::string& value);
    // Updates an existing row; true when the statement ran, also when the key does
    // not exist for the profile (nothing is inserted then).
    bool setConfigValue(int profile, const std::string& key, const std::string& value);
    // Inserts the 40 default rows for `profile`; a failing row does not stop the others.
    void insertDefaultConfig(int profile);
    // Inserts a profile (name and app of the record, status 0, type 0) with its
    // default rows, as one transaction. The new identifier, 0 on failure.
    int addProfile(const ProfileRecord& record);
    bool renameProfile(int profile, const std::string& name);
    // Clears `name`; true when the profile exists.
    bool getProfileName(int profile, std::string& name);
    // Clears the list, then appends every profile by ascending identifier.
    int listProfiles(std::vector<ProfileRecord>& list);
    // Clears status on every profile, then sets it on `profile`; true when the
    // second update ran.
    bool setActiveProfile(int profile);
    // The first profile with status 1, 0 when none.
    int getActiveProfile();

    // --- Key bindings ------------------------------------------------------
    // Deletes the binding of (profile, fn_layer, key_code), then inserts the record
    // when macro_value or macro_value2 is non-zero. The new key_id, or 0 when only
    // deleted or when the insert failed.
    int storeKeyBinding(const KeyBinding& binding);
    // Layer 0. True and `binding` filled when a row exists; otherwise untouched.
    bool getKeyBinding(int profile, int keyCode, KeyBinding& binding);
    bool setKeyBindingDesc(int profile, int keyCode, const std::string& description);
    int listKeyBindings(int profile, std::vector<KeyBinding>& list);
    bool deleteProfileBindings(int profile);

    // --- Macros and their steps ---------------------------------------------
    // New macro with play_type 0, play_times 1, delay_type 1, delay_time 0.
    int addMacro(const std::string& name);
    int insertMacro(const MacroRecord& macro);
    bool renameMacro(int macroId, const std::string& name);
    bool updateMacro(const MacroRecord& macro);
    bool getMacro(int macroId, MacroRecord& macro);
    int listMacros(std::vector<MacroRecord>& list);
    // Deletes the macro row and, only when that ran, its steps.
    bool deleteMacro(int macroId);
    int insertMacroStep(const MacroStep& step);
    // All steps in one transaction, in list order; a failing step does not stop
    // the others.
    void insertMacroSteps(const std::vector<MacroStep>& steps);
    // Steps of the macro by ascending record_index.
    int listMacroSteps(int macroId, std::vector<MacroStep>& list);
    bool deleteMacroSteps(int macroId);

    // --- Lighting --------------------------------------------------------------
    int countLights(int profile);
    int addLight(const LightRecord& light);
    // Updates the row of (light.profile, mode); name and status are never changed.
    bool updateLight(int mode, const LightRecord& light);
    bool setActiveLight(int profile, int mode);
    int getActiveLightMode(int profile);
    bool getLight(int profile, int mode, LightRecord& light);
    int listLights(int profile, std::vector<LightRecord>& list);

    ~SettingsStore();
    SettingsStore(const SettingsStore&) = delete;
    SettingsStore& operator=(const SettingsStore&) = delete;

private:
    SettingsStore() = default;

    bool openExistingLocked();
    bool createDatabaseLocked();
    bool insertDefaultConfigLocked(int profile);
    void configureConnection();
    // Prepares a kept statement unless it still holds its compiled text from an
    // earlier call on this connection.
    int prepareKept(SQLiteStatement& statement, const char* sql);
    // Before every close: the connection refuses to close while they live.
    void finalizeKeptStatements();

    SQLiteDB m_db;
    mutable std::recursive_mutex m_lock;
    std::string m_path;
    bool m_open = false;
    // The value read and the value update are what the pages and the device
    // worker run for every single setting, so they are compiled once per
    // connection instead of for every call. Used only under the store lock and
    // reset at the end of each operation, so no run stays open in between.
    SQLiteStatement m_getConfigStatement;
    SQLiteStatement m_setConfigStatement;
};

}  // namespace quorvik
