// One running copy: claims across processes, a later launch reaching the
// running copy, a crashed copy's leftovers, the request lines on the socket,
// and the folder and file names.
#include "app/startup/SingleInstance.h"

#include <gtest/gtest.h>
#include <poll.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

namespace quorvik {
namespace {

using namespace std::chrono_literals;
using Claim = SingleInstance::Claim;

constexpr const char* kName = "QuorvikTest";

// The helper program as a child process with its standard output on a pipe.
class Helper {
public:
    Helper(const std::string& folder, const std::string& name, const char* mode) {
        int out[2];
        if (::pipe(out) != 0) return;
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, out[1], 1);
        posix_spawn_file_actions_addclose(&actions, out[0]);
        std::vector<char*> argv{const_cast<char*>(QUORVIK_INSTANCE_HELPER), const_cast<char*>(folder.c_str()),
                                const_cast<char*>(name.c_str()), const_cast<char*>(mode), nullptr};
        if (posix_spawn(&m_pid, QUORVIK_INSTANCE_HELPER, &actions, nullptr, argv.data(), environ) != 0)
            m_pid = -1;
        posix_spawn_file_actions_destroy(&actions);
        ::close(out[1]);
        m_out = out[0];
    }
    ~Helper() {
        if (m_pid > 0 && !m_reaped) {
            ::kill(m_pid, SIGKILL);
            ::waitpid(m_pid, nullptr, 0);
        }
        if (m_out >= 0) ::close(m_out);
    }

    bool started() const { return m_pid > 0; }

    // The next line it prints; empty optional after `timeout` or at its end.
    std::optional<std::string> readLine(std::chrono::milliseconds timeout = 5s) {
        const auto deadline = std::chrono::steady_clock::now() + timeout;
        for (;;) {
            if (auto end = m_buffer.find('\n'); end != std::string::npos) {
                std::string line = m_buffer.substr(0, end);
                m_buffer.erase(0, end + 1);
                return line;
            }
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                deadline - std::chrono::steady_clock::now());
            if (left.count() <= 0) return std::nullopt;
            pollfd fd{m_out, POLLIN, 0};
            if (::poll(&fd, 1, static_cast<int>(left.count())) <= 0) continue;
            char chunk[256];
            const ssize_t got = ::read(m_out, chunk, sizeof(chunk));
            if (got <= 0) return std::nullopt;
            m_buffer.append(chunk, static_cast<std::size_t>(got));
        }
    }

    // Its exit code; -1 when it did not end within `timeout` or was killed.
    int wait(std::chrono::milliseconds timeout = 5s) {
        const auto deadline = std::chrono::steady_clock::now() + timeout;
        while (std::chrono::steady_clock::now() < deadline) {
            int status = 0;
            const pid_t done = ::waitpid(m_pid, &status, WNOHANG);
            if (done == m_pid) {
                m_reaped = true;
                return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
            }
            std::this_thread::sleep_for(5ms);
        }
        return -1;
    }

    void crash() {
        ::kill(m_pid, SIGKILL);
        ::waitpid(m_pid, nullptr, 0);
        m_reaped = true;
    }

private:
    pid_t m_pid = -1;
    int m_out = -1;
    bool m_reaped = false;
    std::string m_buffer;
};

// Requests as the main window would receive them, from the listening thread.
class Received {
public:
    SingleInstance::Handler handler() {
        return [this](InstanceRequest request) {
            std::lock_guard lock(m_mutex);
            m_requests.push_back(request);
            m_changed.notify_all();
        };
    }
    // Waits until `count` requests have come (or 5 s) and returns them all.
    std::vector<InstanceRequest> waitFor(std::size_t count) {
        std::unique_lock lock(m_mutex);
        m_changed.wait_for(lock, 5s, [&] { return m_requests.size() >= count; });
        return m_requests;
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::vector<InstanceRequest> m_requests;
};

class SingleInstanceTest : public testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/quorvik-instance-XXXXXX";
        ASSERT_NE(::mkdtemp(pattern), nullptr);
        m_folder = std::string(pattern) + "/";
    }
    void TearDown() override { std::system(("rm -rf '" + m_folder + "'").c_str()); }

    // Writes raw bytes to the running copy's socket, as a foreign client would.
    bool sendRaw(const std::string& socketPath, const std::string& bytes, bool keepOpen = false) {
        const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::strncpy(address.sun_path, socketPath.c_str(), sizeof(address.sun_path) - 1);
        bool ok = ::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof(address)) == 0 &&
                  ::send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL) == static_cast<ssize_t>(bytes.size());
        if (keepOpen && ok) {
            m_openClients.push_back(fd);
            return true;
        }
        ::close(fd);
        return ok;
    }

    std::string m_folder;
    std::vector<int> m_openClients;

    ~SingleInstanceTest() override {
        for (int fd : m_openClients) ::close(fd);
    }
};

TEST_F(SingleInstanceTest, SecondLaunchAsksTheRunningCopyToShowItselfAndEndsWithZero) {
    SingleInstance first(kName, m_folder);
    ASSERT_EQ(first.claim(), Claim::Only);
    Received received;
    ASSERT_TRUE(first.listen(received.handler()));

    Helper second(m_folder, kName, "second");
    ASSERT_TRUE(second.started());
    EXPECT_EQ(second.wait(), 0);
    EXPECT_EQ(received.waitFor(1), std::vector<InstanceRequest>{InstanceRequest::Show});
}

TEST_F(SingleInstanceTest, RunningCopyInAnotherProcessReceivesEveryRequestInOrder) {
    Helper first(m_folder, kName, "first");
    ASSERT_TRUE(first.started());
    ASSERT_EQ(first.readLine(), "ready");

    SingleInstance later(kName, m_folder);
    EXPECT_EQ(later.claim(), Claim::AnotherRunning);
    EXPECT_TRUE(later.sendRequest(InstanceRequest::Show));
    EXPECT_EQ(first.readLine(), "show");
    EXPECT_TRUE(later.sendRequest(InstanceRequest::Language));
    EXPECT_EQ(first.readLine(), "language");
    EXPECT_TRUE(later.sendRequest(InstanceRequest::Exit));
    EXPECT_EQ(first.readLine(), "exit");
    EXPECT_EQ(first.wait(), 0);

    // Once it has ended, the next launch is the running copy.
    EXPECT_EQ(later.claim(), Claim::Only);
}

TEST_F(SingleInstanceTest, CrashedCopyDoesNotBlockTheNextStart) {
    Helper crashed(m_folder, kName, "first");
    ASSERT_TRUE(crashed.started());
    ASSERT_EQ(crashed.readLine(), "ready");
    crashed.crash();

    SingleInstance next(kName, m_folder);
    struct stat st {};
    ASSERT_EQ(::lstat(next.socketPath().c_str(), &st), 0) << "the crashed copy should have left its socket";
    EXPECT_FALSE(next.sendRequest(InstanceRequest::Show)) << "nobody listens on a stale socket";

    ASSERT_EQ(next.claim(), Claim::Only);
    Received received;
    ASSERT_TRUE(next.listen(received.handler()));
    Helper second(m_folder, kName, "second");
    EXPECT_EQ(second.wait(), 0);
    EXPECT_EQ(received.waitFor(1), std::vector<InstanceRequest>{InstanceRequest::Show});
}

TEST_F(SingleInstanceTest, SecondLaunchWhileTheFirstIsStillStartingEndsQuietly) {
    SingleInstance first(kName, m_folder);
    ASSERT_EQ(first.claim(), Claim::Only);  // claimed, not listening yet
    Helper second(m_folder, kName, "second");
    EXPECT_EQ(second.wait(), 0);
}

TEST_F(SingleInstanceTest, SocketLinesMapToRequests) {
    SingleInstance first(kName, m_folder);
    ASSERT_EQ(first.claim(), Claim::Only);
    Received received;
    ASSERT_TRUE(first.listen(received.handler()));

    // A client holding a connection open without a line break keeps no one else out.
    ASSERT_TRUE(sendRaw(first.socketPath(), "sho", true));
    ASSERT_TRUE(sendRaw(first.socketPath(), "show\nlanguage\r\nexit\n"));
    const std::vector<InstanceRequest> lines{InstanceRequest::Show, InstanceRequest::Language,
                                             InstanceRequest::Exit};
    EXPECT_EQ(received.waitFor(lines.size()), lines);

    ASSERT_TRUE(sendRaw(first.socketPath(), "SHOW\nquit\n\nexit now\n"));           // none of these
    ASSERT_TRUE(sendRaw(first.socketPath(), std::string(5000, 'x') + "\nshow\n"));  // junk: dropped whole
    ASSERT_TRUE(sendRaw(first.socketPath(), "language"));  // last line without its break
    std::vector<InstanceRequest> expected = lines;
    expected.push_back(InstanceRequest::Language);
    EXPECT_EQ(received.waitFor(expected.size()), expected);
    std::this_thread::sleep_for(100ms);
    EXPECT_EQ(received.waitFor(0), expected);
}

TEST_F(SingleInstanceTest, StaleFilesAreReplacedButOtherFilesAreLeftAlone) {
    SingleInstance probe(kName, m_folder);
    // A socket file nobody listens on, as a crash leaves it.
    {
        const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::strncpy(address.sun_path, probe.socketPath().c_str(), sizeof(address.sun_path) - 1);
        ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof(address)), 0);
        ::close(fd);
    }
    {
        SingleInstance first(kName, m_folder);
        ASSERT_EQ(first.claim(), Claim::Only);
        Received received;
        ASSERT_TRUE(first.listen(received.handler()));
        EXPECT_TRUE(probe.sendRequest(InstanceRequest::Show));
        EXPECT_EQ(received.waitFor(1).size(), 1u);
    }
    // Ending removes the socket.
    struct stat st {};
    EXPECT_NE(::lstat(probe.socketPath().c_str(), &st), 0);

    // A regular file where the socket goes is not deleted.
    {
        FILE* file = std::fopen(probe.socketPath().c_str(), "w");
        ASSERT_NE(file, nullptr);
        std::fputs("keep", file);
        std::fclose(file);
    }
    SingleInstance first(kName, m_folder);
    ASSERT_EQ(first.claim(), Claim::Only);
    EXPECT_FALSE(first.listen({}));
    ASSERT_EQ(::lstat(probe.socketPath().c_str(), &st), 0);
    EXPECT_TRUE(S_ISREG(st.st_mode));
}

TEST_F(SingleInstanceTest, ClaimsInOneProcessExcludeEachOther) {
    SingleInstance a(kName, m_folder);
    SingleInstance b(kName, m_folder);
    SingleInstance other("AnotherDevice", m_folder);
    EXPECT_EQ(a.claim(), Claim::Only);
    EXPECT_EQ(b.claim(), Claim::AnotherRunning);
    EXPECT_EQ(other.claim(), Claim::Only) << "another device name is another program";
    EXPECT_FALSE(b.listen({})) << "only the claimed copy listens";
}

TEST_F(SingleInstanceTest, FolderModes) {
    // A missing folder is made private; an existing one keeps its mode.
    SingleInstance fresh(kName, m_folder + "fresh");
    EXPECT_EQ(fresh.claim(), Claim::Only);
    struct stat st {};
    ASSERT_EQ(::stat((m_folder + "fresh").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);

    ASSERT_EQ(::chmod(m_folder.c_str(), 0750), 0);
    SingleInstance existing(kName, m_folder);
    EXPECT_EQ(existing.claim(), Claim::Only);
    ASSERT_EQ(::stat(m_folder.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0750u);
    ASSERT_EQ(::stat(existing.lockPath().c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0077, 0u) << "the lock file is the user's alone";
}

TEST_F(SingleInstanceTest, FileNames) {
    struct Case {
        const char* name;
        std::string deviceName;
        std::string expectedStem;  // empty: a hashed name
    };
    const std::vector<Case> cases = {
        {"plain", "Quorvik", "Quorvik"},
        {"slash made safe", "A/B", "A_B"},
        {"parent folder name", "..", "_.."},
        {"long name hashed", std::string(300, 'n'), ""},
    };
    for (const Case& c : cases) {
        SingleInstance instance(c.deviceName, m_folder);
        const std::string lock = instance.lockPath();
        const std::string sock = instance.socketPath();
        ASSERT_EQ(lock.rfind(m_folder, 0), 0u) << c.name;
        EXPECT_EQ(lock.find('/', m_folder.size()), std::string::npos) << c.name;
        EXPECT_LT(sock.size(), sizeof(sockaddr_un{}.sun_path)) << c.name;
        if (!c.expectedStem.empty()) {
            EXPECT_EQ(lock, m_folder + c.expectedStem + ".lock") << c.name;
            EXPECT_EQ(sock, m_folder + c.expectedStem + ".sock") << c.name;
        }
        EXPECT_EQ(instance.claim(), Claim::Only) << c.name;
        Received received;
        EXPECT_TRUE(instance.listen(received.handler())) << c.name;
    }
    // The same long name always finds the same files.
    EXPECT_EQ(SingleInstance(std::string(300, 'n'), m_folder).socketPath(),
              SingleInstance(std::string(300, 'n'), m_folder).socketPath());
    EXPECT_NE(SingleInstance(std::string(300, 'n'), m_folder).socketPath(),
              SingleInstance(std::string(301, 'n'), m_folder).socketPath());
}

TEST_F(SingleInstanceTest, RuntimeFolder) {
    const char* saved = std::getenv("XDG_RUNTIME_DIR");
    const std::string savedValue = saved ? saved : "";
    const char* savedTmp = std::getenv("TMPDIR");
    const std::string savedTmpValue = savedTmp ? savedTmp : "";

    ::setenv("XDG_RUNTIME_DIR", m_folder.c_str(), 1);
    EXPECT_EQ(SingleInstance::runtimeFolder(), m_folder);

    // Without a runtime folder: a private folder with the user id in the temp folder.
    ::unsetenv("XDG_RUNTIME_DIR");
    ::setenv("TMPDIR", m_folder.c_str(), 1);
    const std::string expected = m_folder + "quorvik-" + std::to_string(::geteuid()) + "/";
    EXPECT_EQ(SingleInstance::runtimeFolder(), expected);
    struct stat st {};
    ASSERT_EQ(::stat(expected.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);
    SingleInstance fallback(kName);
    EXPECT_EQ(fallback.lockPath(), expected + kName + ".lock");
    EXPECT_EQ(fallback.claim(), Claim::Only);

    // A runtime variable naming no folder is not used.
    ::setenv("XDG_RUNTIME_DIR", (m_folder + "missing").c_str(), 1);
    EXPECT_EQ(SingleInstance::runtimeFolder(), expected);

    // A file where the private folder goes: no folder, and the claim says so.
    ::unsetenv("XDG_RUNTIME_DIR");
    const std::string blocked = m_folder + "blocked";
    ASSERT_EQ(::mkdir(blocked.c_str(), 0700), 0);
    ::setenv("TMPDIR", blocked.c_str(), 1);
    FILE* file = std::fopen((blocked + "/quorvik-" + std::to_string(::geteuid())).c_str(), "w");
    ASSERT_NE(file, nullptr);
    std::fclose(file);
    EXPECT_EQ(SingleInstance::runtimeFolder(), "");
    EXPECT_EQ(SingleInstance(kName).claim(), Claim::Unavailable);

    if (saved)
        ::setenv("XDG_RUNTIME_DIR", savedValue.c_str(), 1);
    else
        ::unsetenv("XDG_RUNTIME_DIR");
    if (savedTmp)
        ::setenv("TMPDIR", savedTmpValue.c_str(), 1);
    else
        ::unsetenv("TMPDIR");
}

}  // namespace
}  // namespace quorvik
