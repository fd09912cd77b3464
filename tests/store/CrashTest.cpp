// A process killed with SIGKILL in the middle of writing: the file must pass
// SQLite's integrity check, hold every write that had returned, and never hold
// half of a macro's steps.
#include "StoreTestSupport.h"

#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
#include <csignal>
#include <cstdio>
#include <map>
#include <sstream>
#include <thread>

extern char** environ;

namespace quorvik {
namespace {

using test::RawDb;
using test::TempUserFolder;

struct Child {
    pid_t pid = -1;
    int output = -1;
};

Child startWriter(const std::string& folder, const std::string& stem) {
    int pipeFds[2];
    if (::pipe(pipeFds) != 0) return {};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeFds[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, pipeFds[0]);
    posix_spawn_file_actions_addclose(&actions, pipeFds[1]);
    std::string program = QUORVIK_STORE_CRASH_WRITER;
    std::string folderArg = folder, stemArg = stem;
    char* argv[] = {program.data(), folderArg.data(), stemArg.data(), nullptr};
    Child child;
    if (posix_spawn(&child.pid, program.c_str(), &actions, nullptr, argv, environ) != 0) child.pid = -1;
    posix_spawn_file_actions_destroy(&actions);
    ::close(pipeFds[1]);
    child.output = pipeFds[0];
    return child;
}

// Reads whole lines until `lines` have arrived or the pipe ends.
void readLines(int fd, std::string& buffer, std::vector<std::string>& out, std::size_t lines) {
    char chunk[4096];
    while (out.size() < lines) {
        const auto newline = buffer.find('\n');
        if (newline != std::string::npos) {
            out.push_back(buffer.substr(0, newline));
            buffer.erase(0, newline + 1);
            continue;
        }
        const ssize_t n = ::read(fd, chunk, sizeof chunk);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return;
        buffer.append(chunk, static_cast<std::size_t>(n));
    }
}

TEST(Crash, KilledWriterLeavesAWholeFileWithEveryCompletedWrite) {
    TempUserFolder folder;
    std::map<int, bool> macrosReported;  // macro id -> its steps were reported complete
    int lastValue = 0;
    int killsInsideAWrite = 0;

    for (int round = 0; round < 8; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        Child child = startWriter(folder.path(), "crash");
        ASSERT_GT(child.pid, 0);
        std::string buffer;
        std::vector<std::string> lines;
        readLines(child.output, buffer, lines, 1);
        ASSERT_EQ(lines, std::vector<std::string>{"ready"});
        // Let it write for a varying while, then kill it wherever it is.
        readLines(child.output, buffer, lines, 1 + 15 * (round + 1));
        std::this_thread::sleep_for(std::chrono::microseconds(137 * round));
        ASSERT_EQ(::kill(child.pid, SIGKILL), 0);
        int status = 0;
        ASSERT_EQ(::waitpid(child.pid, &status, 0), child.pid);
        ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) << "writer stopped by itself";
        readLines(child.output, buffer, lines, SIZE_MAX);
        ::close(child.output);

        for (const auto& line : lines) {
            std::istringstream words(line);
            std::string what;
            int number = 0;
            words >> what >> number;
            if (what == "macro") macrosReported.emplace(number, false);
            if (what == "steps") macrosReported[number] = true;
            if (what == "value") lastValue = number;
        }

        // A journal whose header (the first 28 bytes) is not zeroed means the kill
        // came inside a write; opening rolls it back.
        if (readWholeFile(folder.dbFile("crash") + "-journal")
                .value_or("")
                .substr(0, 28)
                .find_first_not_of('\0') != std::string::npos) {
            ++killsInsideAWrite;
        }
        RawDb raw(folder.dbFile("crash"));
        ASSERT_TRUE(raw.ok());
        ASSERT_EQ(raw.text("PRAGMA integrity_check"), "ok");
        // The value is the last one reported, or the one after it when the kill
        // came between the update and its report.
        const long long stored =
            raw.number("SELECT value FROM t_configdata WHERE profile = 1 AND key = 'dpi_group0_value'");
        EXPECT_TRUE(stored == lastValue || stored == lastValue + 1) << stored << " vs " << lastValue;
        lastValue = static_cast<int>(stored);  // the next writer continues from what is stored
        for (const auto& [macroId, stepsReported] : macrosReported) {
            EXPECT_EQ(
                raw.number("SELECT count(*) FROM t_macro_data WHERE macro_id = " + std::to_string(macroId)),
                1);
            const long long steps =
                raw.number("SELECT count(*) FROM t_macrorecord WHERE macro_id = " + std::to_string(macroId));
            if (stepsReported) {
                EXPECT_EQ(steps, 200) << "macro " << macroId;
            } else {
                EXPECT_TRUE(steps == 0 || steps == 200) << "macro " << macroId << " has " << steps;
            }
        }
        // Nothing half-written anywhere: every macro has none or all of its steps.
        EXPECT_EQ(raw.number("SELECT count(*) FROM (SELECT macro_id, count(*) c FROM t_macrorecord "
                             "GROUP BY macro_id HAVING c <> 200)"),
                  0);
        EXPECT_EQ(raw.number("SELECT count(*) FROM t_configdata"), 40);
    }
    EXPECT_GT(macrosReported.size(), 8u);
    std::printf("kills inside a write: %d of 8\n", killsInsideAWrite);
}

// Only one process at a time can use a model's file: the store of a second
// process (the crash writer started while this one has the file) opens it, but
// every operation is refused, so it gives up without writing anything, and this
// process goes on as if it had not been there.
TEST(Crash, SecondProcessIsRefusedWhileTheStoreHasTheFile) {
    TempUserFolder folder;
    auto& store = SettingsStore::instance();
    ASSERT_TRUE(store.openForModel(folder.path(), "shared"));
    ASSERT_EQ(store.addProfile({.name = "Profile 1"}), 1);
    ASSERT_TRUE(store.setConfigValue(1, "dpi_group0_value", "1234"));

    Child child = startWriter(folder.path(), "shared");
    ASSERT_GT(child.pid, 0);
    std::string buffer;
    std::vector<std::string> lines;
    readLines(child.output, buffer, lines, 1);
    // A writer that got as far as "ready" would write forever: stop it.
    if (!lines.empty()) ::kill(child.pid, SIGKILL);
    ::close(child.output);
    int status = 0;
    ASSERT_EQ(::waitpid(child.pid, &status, 0), child.pid);
    EXPECT_TRUE(lines.empty()) << "the second process could use the file: " << lines.front();
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 1) << "status " << status;

    std::string value;
    ASSERT_TRUE(store.getConfigValue(1, "dpi_group0_value", value));
    EXPECT_EQ(value, "1234");
    ASSERT_TRUE(store.setConfigValue(1, "dpi_group0_value", "1235"));
    ASSERT_TRUE(store.close());
    RawDb raw(folder.dbFile("shared"));
    EXPECT_EQ(raw.text("PRAGMA integrity_check"), "ok");
    EXPECT_EQ(raw.number("SELECT count(*) FROM t_profile_data"), 1);
    EXPECT_EQ(raw.number("SELECT count(*) FROM t_configdata"), 40);
    EXPECT_EQ(raw.text("SELECT value FROM t_configdata WHERE profile = 1 AND key = 'dpi_group0_value'"),
              "1235");
}

}  // namespace
}  // namespace quorvik
