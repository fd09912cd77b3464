// The main window's start and idle cost:
// - the program itself (Qt off-screen, --simulate): process start until the
//   device list holds the simulated mice (seen as the chosen model written to
//   the settings file, which the refresh does right after filling the rows);
// - the same window headless, in-process: creation until the list is filled;
// - CPU used by the idle program over 10 seconds, with the simulated mice and
//   with no device at all.
#include "app/DeviceMainDlg.h"
#include "app/Simulation.h"
#include "app/config/AppFolders.h"
#include "app/config/ConfigLoader.h"
#include "app/config/LanguageTexts.h"
#include "app/config/RegistryValues.h"
#include "app/startup/SingleInstance.h"
#include "base/FileIo.h"
#include "store/SettingsStore.h"
#include "ui/toolkit/CDeviceList.h"
#include "ui/toolkit/Manager.h"
#include "ui/toolkit/headless/HeadlessBackend.h"

#include <benchmark/benchmark.h>

#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace quorvik {
namespace {

using Clock = std::chrono::steady_clock;

std::string makeTempFolder() {
    char pattern[] = "/tmp/quorvik-bench-XXXXXX";
    return ::mkdtemp(pattern) != nullptr ? std::string(pattern) : std::string();
}

struct Program {
    std::string root;
    pid_t pid = -1;

    explicit Program(bool simulate) : root(makeTempFolder()) {
        createFolderPath(root + "/runtime");
        ::chmod((root + "/runtime").c_str(), 0700);
        std::vector<std::string> env = {"XDG_CONFIG_HOME=" + root + "/config", "XDG_DATA_HOME=" + root + "/data",
                                        "XDG_RUNTIME_DIR=" + root + "/runtime", "QT_QPA_PLATFORM=offscreen",
                                        "HOME=" + root, "PATH=/usr/bin:/bin"};
        std::vector<std::string> args = {QUORVIK_PROGRAM, "-hide"};
        if (simulate) args.push_back("--simulate");
        std::vector<char*> argv, envp;
        for (std::string& a : args) argv.push_back(a.data());
        argv.push_back(nullptr);
        for (std::string& e : env) envp.push_back(e.data());
        envp.push_back(nullptr);
        if (::posix_spawn(&pid, QUORVIK_PROGRAM, nullptr, nullptr, argv.data(), envp.data()) != 0) pid = -1;
    }

    ~Program() {
        if (pid > 0) {
            SingleInstance(DUI::Manager::GetDeviceName(), root + "/runtime").sendRequest(InstanceRequest::Exit);
            for (int i = 0; i < 300 && ::waitpid(pid, nullptr, WNOHANG) == 0; ++i)
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
            ::kill(pid, SIGKILL);
            ::waitpid(pid, nullptr, 0);
        }
        std::system(("rm -rf '" + root + "'").c_str());
    }

    // True once the settings file names the model chosen from the list.
    bool listFilled() const {
        const std::optional<std::string> read = readWholeFile(root + "/config/Quorvik/settings.conf");
        if (!read) return false;
        const std::string& text = *read;
        return text.find("DeviceType=1\n") != std::string::npos || text.find("DeviceType=1\r") != std::string::npos ||
               text.ends_with("DeviceType=1");
    }

    bool listening() const {
        return ::access(SingleInstance(DUI::Manager::GetDeviceName(), root + "/runtime").socketPath().c_str(), F_OK) == 0;
    }

    // CPU time (user + system) of the process so far, in clock ticks.
    long cpuTicks() const {
        std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
        std::string line;
        std::getline(stat, line);
        const std::size_t close = line.rfind(')');
        if (close == std::string::npos) return 0;
        std::istringstream fields(line.substr(close + 2));
        std::string field;
        long utime = 0, stime = 0;
        for (int i = 3; fields >> field; ++i) {
            if (i == 14) utime = std::stol(field);
            if (i == 15) {
                stime = std::stol(field);
                break;
            }
        }
        return utime + stime;
    }
};

bool waitUntil(const std::function<bool()>& done, int ms) {
    const auto until = Clock::now() + std::chrono::milliseconds(ms);
    while (Clock::now() < until) {
        if (done()) return true;
        std::this_thread::sleep_for(std::chrono::microseconds(500));
    }
    return done();
}

void BM_ProgramStartToDeviceList(benchmark::State& state) {
    DUI::Manager::SetDeviceName("Quorvik");
    for (auto _ : state) {
        const auto started = Clock::now();
        Program program(true);
        if (!waitUntil([&] { return program.listFilled(); }, 20000)) {
            state.SkipWithError("the device list was never filled");
            return;
        }
        state.SetIterationTime(std::chrono::duration<double>(Clock::now() - started).count());
    }
}
BENCHMARK(BM_ProgramStartToDeviceList)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);

void BM_IdleProgramCpu(benchmark::State& state) {
    DUI::Manager::SetDeviceName("Quorvik");
    const bool simulate = state.range(0) != 0;
    for (auto _ : state) {
        Program program(simulate);
        if (!waitUntil([&] { return program.listening() && (!simulate || program.listFilled()); }, 20000)) {
            state.SkipWithError("the program did not come up");
            return;
        }
        std::this_thread::sleep_for(std::chrono::seconds(1));  // let start-up work settle
        const long before = program.cpuTicks();
        const auto from = Clock::now();
        std::this_thread::sleep_for(std::chrono::seconds(10));
        const double seconds = std::chrono::duration<double>(Clock::now() - from).count();
        const double cpu = static_cast<double>(program.cpuTicks() - before) / static_cast<double>(::sysconf(_SC_CLK_TCK));
        state.counters["cpu_percent_of_one_core"] = 100.0 * cpu / seconds;
    }
}
BENCHMARK(BM_IdleProgramCpu)->Arg(0)->Arg(1)->ArgName("simulated_mice")->Iterations(1)->Unit(benchmark::kSecond);

void BM_HeadlessWindowToDeviceList(benchmark::State& state) {
    const std::string root = makeTempFolder();
    ::setenv("XDG_CONFIG_HOME", (root + "/config").c_str(), 1);
    ::setenv("XDG_DATA_HOME", (root + "/data").c_str(), 1);
    setProgramFolderOverride(std::string(QUORVIK_SOURCE_DIR) + "/data/");
    DUI::Manager::SetTheme("default");
    loadStartupConfig();
    setCurrentLanguageId(1033);
    readRegistryInt("LCID");
    DUI::HeadlessBackend backend;
    for (auto _ : state) {
        const auto started = Clock::now();
        auto sim = std::make_shared<SimulatedHidBackend>(simulatedMice());
        DeviceManager manager(sim);
        MainWindowServices services = simulatedServices(sim, manager);
        services.store = &SettingsStore::instance();
        DeviceMainDlg window(services);
        window.Create(0, "Quorvik", DeviceMainDlg::kWindowStyle, 0, {0, 0, 1300, 788});
        auto* list = window.GetControlAs<DUI::CDeviceList>(mainwnd::kDeviceList);
        const bool filled = waitUntil([&] { return list->GetOnlineDevCount() == 2 && readRegistryInt("DeviceType") == 1; }, 20000);
        state.SetIterationTime(std::chrono::duration<double>(Clock::now() - started).count());
        window.DestroyWindow();
        backend.processEvents();
        SettingsStore::instance().close();
        writeRegistryInt("DeviceType", 0);
        if (!filled) {
            state.SkipWithError("the device list was never filled");
            break;
        }
    }
    setProgramFolderOverride("");
    std::system(("rm -rf '" + root + "'").c_str());
}
BENCHMARK(BM_HeadlessWindowToDeviceList)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(20);

}  // namespace
}  // namespace quorvik
