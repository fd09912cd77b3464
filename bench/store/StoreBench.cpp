// Timing of the store's hot paths, each beside the same statements issued
// straight through the SQLite C interface, so the cost of the wrappers, the
// store lock and the text handling shows as the difference between the pairs.
// Goals: new file with four profiles < 30 ms, one value update < 50 us,
// 200 macro steps < 5 ms.
#include "store/ConfigDefaults.h"
#include "store/DatabaseSchema.h"
#include "store/SettingsStore.h"

#include <benchmark/benchmark.h>
#include <sqlite3.h>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace quorvik {
namespace {

constexpr int kCreateFlags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_FULLMUTEX;

// A user data folder with db/ for the run; removed at exit.
struct BenchFolder {
    BenchFolder() {
        std::string pattern = (std::filesystem::temp_directory_path() / "quorvik-bench-XXXXXX").string();
        if (::mkdtemp(pattern.data())) path = pattern + "/";
        std::filesystem::create_directories(path + "db");
    }
    ~BenchFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path, ignored);
    }
    std::string file(const std::string& stem) const { return SettingsStore::databasePathFor(path, stem); }
    void remove(const std::string& stem) const {
        std::filesystem::remove(file(stem));
        std::filesystem::remove(file(stem) + "-journal");
    }
    std::string path;
};

const BenchFolder& folder() {
    static BenchFolder instance;
    return instance;
}

// --- The same statements through the raw C interface ---------------------------

void rawExec(sqlite3* db, const char* sql) {
    sqlite3_exec(db, sql, nullptr, nullptr, nullptr);
}

// How the raw connection locks the file: as the store does (kept from the first
// read and write until the connection closes) or SQLite's default (taken and
// dropped around every statement, the cache checked against the file each time).
enum class Locking { KeptByConnection, PerStatement };

sqlite3* rawCreateFile(const std::string& path, Locking locking = Locking::KeptByConnection) {
    sqlite3* db = nullptr;
    sqlite3_open_v2(path.c_str(), &db, kCreateFlags, nullptr);
    rawExec(db, "PRAGMA synchronous = OFF;");
    rawExec(db, "PRAGMA journal_mode = TRUNCATE;");
    if (locking == Locking::KeptByConnection) rawExec(db, "PRAGMA locking_mode = EXCLUSIVE;");
    rawExec(db, "BEGIN");
    for (const char* statement : databaseSchema()) rawExec(db, statement);
    rawExec(db, "END");
    return db;
}

int rawAddProfile(sqlite3* db, const char* name) {
    rawExec(db, "BEGIN");
    sqlite3_stmt* statement = nullptr;
    sqlite3_prepare_v2(db, "INSERT INTO t_profile_data(name, status, app, type) VALUES (?, ?, ?, ?);", -1,
                       &statement, nullptr);
    sqlite3_bind_text(statement, 1, name, -1, SQLITE_STATIC);
    sqlite3_bind_int(statement, 2, 0);
    sqlite3_bind_text(statement, 3, "", 0, SQLITE_STATIC);
    sqlite3_bind_int(statement, 4, 0);
    sqlite3_step(statement);
    sqlite3_finalize(statement);
    const int profile = static_cast<int>(sqlite3_last_insert_rowid(db));
    for (const ConfigDefault& row : configDefaults()) {
        sqlite3_prepare_v2(db, "INSERT INTO t_configdata(profile, key, value) VALUES (?, ?, ?);", -1,
                           &statement, nullptr);
        sqlite3_bind_int(statement, 1, profile);
        sqlite3_bind_text(statement, 2, row.key.data(), static_cast<int>(row.key.size()), SQLITE_STATIC);
        sqlite3_bind_text(statement, 3, row.value.data(), static_cast<int>(row.value.size()), SQLITE_STATIC);
        sqlite3_step(statement);
        sqlite3_finalize(statement);
    }
    rawExec(db, "END");
    return profile;
}

// --- New file with the four default profiles -------------------------------------

void BM_Store_NewFileWithFourProfiles(benchmark::State& state) {
    auto& store = SettingsStore::instance();
    for (auto _ : state) {
        state.PauseTiming();
        store.close();
        folder().remove("bench_new");
        state.ResumeTiming();
        store.openForModel(folder().path, "bench_new");
        for (int i = 1; i <= 4; ++i)
            benchmark::DoNotOptimize(store.addProfile({.name = "Profile " + std::to_string(i)}));
        store.setActiveProfile(1);
    }
    store.close();
}
BENCHMARK(BM_Store_NewFileWithFourProfiles)->Unit(benchmark::kMillisecond);

void BM_Raw_NewFileWithFourProfiles(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        folder().remove("bench_raw_new");
        state.ResumeTiming();
        sqlite3* db = rawCreateFile(folder().file("bench_raw_new"));
        for (int i = 1; i <= 4; ++i)
            benchmark::DoNotOptimize(rawAddProfile(db, ("Profile " + std::to_string(i)).c_str()));
        rawExec(db, "UPDATE t_profile_data SET status = 0");
        rawExec(db, "UPDATE t_profile_data SET status = 1 WHERE profile = 1");
        state.PauseTiming();
        sqlite3_close(db);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_Raw_NewFileWithFourProfiles)->Unit(benchmark::kMillisecond);

void BM_Store_CreateFileOnly(benchmark::State& state) {
    auto& store = SettingsStore::instance();
    for (auto _ : state) {
        state.PauseTiming();
        store.close();
        folder().remove("bench_schema");
        state.ResumeTiming();
        benchmark::DoNotOptimize(store.openForModel(folder().path, "bench_schema"));
    }
    store.close();
}
BENCHMARK(BM_Store_CreateFileOnly)->Unit(benchmark::kMillisecond);

// --- One value: update and read back ------------------------------------------

void openWithOneProfile(const std::string& stem) {
    auto& store = SettingsStore::instance();
    folder().remove(stem);
    store.openForModel(folder().path, stem);
    store.addProfile({.name = "Profile 1"});
}

void BM_Store_SetConfigValue(benchmark::State& state) {
    openWithOneProfile("bench_value");
    auto& store = SettingsStore::instance();
    int i = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(store.setConfigValue(1, "dpi_group2_value", std::to_string(++i)));
    store.close();
}
BENCHMARK(BM_Store_SetConfigValue)->Unit(benchmark::kMicrosecond);

// Whether the raw loop compiles its statement once and resets it after each run,
// as the store does for these two operations, or prepares and finalizes it
// every time.
enum class Compiling { Once, EveryTime };

void BM_Raw_SetConfigValue(benchmark::State& state, Locking locking, Compiling compiling) {
    folder().remove("bench_raw_value");
    sqlite3* db = rawCreateFile(folder().file("bench_raw_value"), locking);
    rawAddProfile(db, "Profile 1");
    const char* sql = "UPDATE t_configdata SET value = ? WHERE profile = ? and key = ?";
    sqlite3_stmt* statement = nullptr;
    if (compiling == Compiling::Once) sqlite3_prepare_v2(db, sql, -1, &statement, nullptr);
    int i = 0;
    for (auto _ : state) {
        const std::string value = std::to_string(++i);
        if (compiling == Compiling::EveryTime) sqlite3_prepare_v2(db, sql, -1, &statement, nullptr);
        sqlite3_bind_text(statement, 1, value.data(), static_cast<int>(value.size()), SQLITE_STATIC);
        sqlite3_bind_int(statement, 2, 1);
        sqlite3_bind_text(statement, 3, "dpi_group2_value", -1, SQLITE_STATIC);
        benchmark::DoNotOptimize(sqlite3_step(statement));
        if (compiling == Compiling::EveryTime) {
            sqlite3_finalize(statement);
        } else {
            sqlite3_reset(statement);
            sqlite3_clear_bindings(statement);
        }
    }
    if (compiling == Compiling::Once) sqlite3_finalize(statement);
    sqlite3_close(db);
}
BENCHMARK_CAPTURE(BM_Raw_SetConfigValue, kept_lock_compiled_once, Locking::KeptByConnection, Compiling::Once)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_Raw_SetConfigValue, kept_lock, Locking::KeptByConnection, Compiling::EveryTime)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_Raw_SetConfigValue, lock_per_statement, Locking::PerStatement, Compiling::EveryTime)
    ->Unit(benchmark::kMicrosecond);

void BM_Store_GetConfigValue(benchmark::State& state) {
    openWithOneProfile("bench_get");
    auto& store = SettingsStore::instance();
    std::string value;
    for (auto _ : state) {
        benchmark::DoNotOptimize(store.getConfigValue(1, "dpi_group2_value", value));
        benchmark::DoNotOptimize(value.data());
    }
    store.close();
}
BENCHMARK(BM_Store_GetConfigValue)->Unit(benchmark::kMicrosecond);

void BM_Raw_GetConfigValue(benchmark::State& state, Locking locking, Compiling compiling) {
    folder().remove("bench_raw_get");
    sqlite3* db = rawCreateFile(folder().file("bench_raw_get"), locking);
    rawAddProfile(db, "Profile 1");
    const char* sql = "SELECT value FROM t_configdata WHERE profile = ? and key = ?";
    sqlite3_stmt* statement = nullptr;
    if (compiling == Compiling::Once) sqlite3_prepare_v2(db, sql, -1, &statement, nullptr);
    std::string value;
    for (auto _ : state) {
        if (compiling == Compiling::EveryTime) sqlite3_prepare_v2(db, sql, -1, &statement, nullptr);
        sqlite3_bind_int(statement, 1, 1);
        sqlite3_bind_text(statement, 2, "dpi_group2_value", -1, SQLITE_STATIC);
        if (sqlite3_step(statement) == SQLITE_ROW)
            value = reinterpret_cast<const char*>(sqlite3_column_text(statement, 0));
        if (compiling == Compiling::EveryTime) {
            sqlite3_finalize(statement);
        } else {
            sqlite3_reset(statement);
            sqlite3_clear_bindings(statement);
        }
        benchmark::DoNotOptimize(value.data());
    }
    if (compiling == Compiling::Once) sqlite3_finalize(statement);
    sqlite3_close(db);
}
BENCHMARK_CAPTURE(BM_Raw_GetConfigValue, kept_lock_compiled_once, Locking::KeptByConnection, Compiling::Once)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_Raw_GetConfigValue, kept_lock, Locking::KeptByConnection, Compiling::EveryTime)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_Raw_GetConfigValue, lock_per_statement, Locking::PerStatement, Compiling::EveryTime)
    ->Unit(benchmark::kMicrosecond);

// --- 200 recorded macro steps in one transaction ---------------------------------

std::vector<MacroStep> recordedSteps(int macroId) {
    std::vector<MacroStep> steps;
    for (int k = 0; k < 200; ++k) {
        steps.push_back({.macro_id = macroId,
                         .type = k % 2,
                         .record_index = k,
                         .value = 0x41 + k % 26,
                         .delay_time = 12,
                         .desc = std::string(1, static_cast<char>('A' + k % 26))});
    }
    return steps;
}

void BM_Store_InsertMacroSteps200(benchmark::State& state) {
    openWithOneProfile("bench_macro");
    auto& store = SettingsStore::instance();
    const int macroId = store.addMacro("bench");
    const std::vector<MacroStep> steps = recordedSteps(macroId);
    for (auto _ : state) store.insertMacroSteps(steps);
    store.close();
}
BENCHMARK(BM_Store_InsertMacroSteps200)->Unit(benchmark::kMillisecond);

void BM_Raw_InsertMacroSteps200(benchmark::State& state) {
    folder().remove("bench_raw_macro");
    sqlite3* db = rawCreateFile(folder().file("bench_raw_macro"));
    const std::vector<MacroStep> steps = recordedSteps(1);
    for (auto _ : state) {
        rawExec(db, "BEGIN");
        for (const MacroStep& step : steps) {
            sqlite3_stmt* statement = nullptr;
            sqlite3_prepare_v2(
                db,
                "INSERT INTO t_macrorecord(macro_id, type, record_index, desc, value, delay_time) "
                "VALUES (?, ?, ?, ?, ?, ?);",
                -1, &statement, nullptr);
            sqlite3_bind_int(statement, 1, step.macro_id);
            sqlite3_bind_int(statement, 2, step.type);
            sqlite3_bind_int(statement, 3, step.record_index);
            sqlite3_bind_text(statement, 4, step.desc.data(), static_cast<int>(step.desc.size()),
                              SQLITE_STATIC);
            sqlite3_bind_int(statement, 5, step.value);
            sqlite3_bind_int(statement, 6, step.delay_time);
            sqlite3_step(statement);
            sqlite3_finalize(statement);
        }
        rawExec(db, "END");
    }
    sqlite3_close(db);
}
BENCHMARK(BM_Raw_InsertMacroSteps200)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace quorvik
