// The quorvik program itself, as separate processes off-screen over the
// simulated mice: a second launch hands over to the first and ends with 0,
// and the first ends with 0 when asked to exit from outside.
#include "app/startup/SingleInstance.h"
#include "base/FileIo.h"

#include <gtest/gtest.h>

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

namespace quorvik::test {
namespace {

class ProgramTest : public testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/quorvik-program-XXXXXX";
        ASSERT_NE(::mkdtemp(pattern), nullptr);
        m_root = pattern;
        ASSERT_TRUE(createFolderPath(m_root + "/runtime"));
        ::chmod((m_root + "/runtime").c_str(), 0700);
    }
    void TearDown() override {
        for (pid_t pid : m_started) {
            ::kill(pid, SIGKILL);
            ::waitpid(pid, nullptr, 0);
        }
        std::system(("rm -rf '" + m_root + "'").c_str());
    }

    // Starts the program with its own home, off-screen.
    pid_t launch(const std::vector<std::string>& arguments) {
        std::vector<std::string> env = {"XDG_CONFIG_HOME=" + m_root + "/config", "XDG_DATA_HOME=" + m_root + "/data",
                                        "XDG_RUNTIME_DIR=" + m_root + "/runtime", "QT_QPA_PLATFORM=offscreen",
                                        "HOME=" + m_root, "PATH=/usr/bin:/bin"};
        for (char** e = environ; *e != nullptr; ++e) {
            const std::string entry = *e;
            if (entry.rfind("ASAN_", 0) == 0 || entry.rfind("TSAN_", 0) == 0 || entry.rfind("LSAN_", 0) == 0 ||
                entry.rfind("UBSAN_", 0) == 0)
                env.push_back(entry);
        }
        std::vector<std::string> args = {QUORVIK_PROGRAM};
        args.insert(args.end(), arguments.begin(), arguments.end());
        std::vector<char*> argv, envp;
        for (std::string& a : args) argv.push_back(a.data());
        argv.push_back(nullptr);
        for (std::string& e : env) envp.push_back(e.data());
        envp.push_back(nullptr);
        pid_t pid = 0;
        if (::posix_spawn(&pid, QUORVIK_PROGRAM, nullptr, nullptr, argv.data(), envp.data()) != 0) return -1;
        m_started.push_back(pid);
        return pid;
    }

    // The exit status of `pid`, or -1 when it has not ended within `ms`.
    int waitForExit(pid_t pid, int ms) {
        const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
        while (std::chrono::steady_clock::now() < until) {
            int status = 0;
            if (::waitpid(pid, &status, WNOHANG) == pid) {
                std::erase(m_started, pid);
                return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return -1;
    }

    bool waitForFile(const std::string& path, int ms) {
        const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
        while (std::chrono::steady_clock::now() < until) {
            if (::access(path.c_str(), F_OK) == 0) return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return false;
    }

    std::string m_root;
    std::vector<pid_t> m_started;
};

TEST_F(ProgramTest, SecondLaunchHandsOverAndTheFirstEndsOnRequest) {
    const pid_t first = launch({"--simulate", "-hide"});
    ASSERT_GT(first, 0);
    SingleInstance probe("Quorvik", m_root + "/runtime");
    ASSERT_TRUE(waitForFile(probe.socketPath(), 30000)) << "the first copy never listened";

    // Any command line: the later launch asks the first to show itself and ends with 0.
    const pid_t second = launch({"--simulate", "some", "words"});
    ASSERT_GT(second, 0);
    EXPECT_EQ(waitForExit(second, 30000), 0);
    EXPECT_EQ(waitForExit(first, 200), -1) << "the first copy must keep running";

    // The settings file and the model's database exist by now.
    EXPECT_TRUE(fileExists(m_root + "/config/Quorvik/settings.conf"));

    ASSERT_TRUE(probe.sendRequest(InstanceRequest::Exit));
    EXPECT_EQ(waitForExit(first, 30000), 0);
    EXPECT_NE(::access(probe.socketPath().c_str(), F_OK), 0) << "the socket is removed on the way out";
}

}  // namespace
}  // namespace quorvik::test
