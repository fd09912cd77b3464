// How long a queued task waits on the device worker, measured on the real
// chain: the worker thread, the task queue, and a routine that sends a report
// rate command through DeviceManager::SendCommand to a simulated mouse. The
// time runs from enqueueTask to the mouse receiving the command's report.
// Worker setups:
//   none        no idle routine
//   wired       the idle routine is the real notification handling on a wired
//               mouse (100 ms reads), the queue's read interrupt wired in
//   unwired     the same without the interrupt (what a task waited before)
//   listening   a receiver whose mouse is off, so the idle routine listens to
//               the receivers (10 ms each); no command interface exists, so the
//               time runs to the routine's start instead
//   sliced      the idle routine is a 100 ms interruptible read on a handle that
//               waits in poll(2) on a silent pipe, the way a hidraw handle waits:
//               the sliced read real devices use; time to the routine's start
// Counters: median_us, p99_us, max_us. Also the CPU the idle worker costs over
// 10 s, with no device (with and without the idle gate), with a wired mouse and
// while listening, and for the sliced read; setup numbers: 1 wired, 3 listening,
// 4 no device, 5 sliced.
#include <benchmark/benchmark.h>
#include <poll.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <memory>
#include <random>
#include <thread>
#include <vector>

#include "QuietEvents.h"
#include "device/CThreadBasic.h"
#include "device/DeviceEvents.h"
#include "device/DeviceManager.h"
#include "device/DeviceSession.h"
#include "device/DeviceSettingsCommands.h"
#include "device/DeviceTask.h"
#include "device/NotificationHandler.h"
#include "device/TaskQueue.h"
#include "device/TaskRoutineTable.h"
#include "protocol/SettingsCommands.h"
#include "sim/SimulatedHidBackend.h"
#include "store/SettingsStore.h"

namespace quorvik {
namespace {

using Clock = std::chrono::steady_clock;

constexpr std::uint16_t kVid = 0x1209;
constexpr std::uint16_t kWired = 0x0001;
constexpr std::uint16_t kReceiver = 0x0002;
constexpr std::uint16_t kOtherWired = 0x0003;
constexpr std::uint16_t kOtherReceiver = 0x0004;

std::int64_t nowNs() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(Clock::now().time_since_epoch()).count();
}


enum Setup : int { kNone = 0, kWiredIdle = 1, kUnwiredIdle = 2, kListening = 3, kNoDevice = 4, kSliced = 5 };

// A handle that never receives anything and waits for it in poll(2).
class SilentPollDevice : public HidDevice {
public:
    SilentPollDevice() {
        if (pipe(m_pipe) != 0) m_pipe[0] = m_pipe[1] = -1;
    }
    ~SilentPollDevice() override {
        for (int fd : m_pipe)
            if (fd >= 0) ::close(fd);
    }
    int write(const std::uint8_t*, std::size_t length) override { return static_cast<int>(length); }
    int readTimeout(std::uint8_t* data, std::size_t length, int timeoutMs) override {
        pollfd fd{m_pipe[0], POLLIN, 0};
        const int ready = poll(&fd, 1, timeoutMs);
        if (ready <= 0) return ready;
        return static_cast<int>(::read(m_pipe[0], data, length));
    }
    std::string productString() override { return {}; }
    void close() override {}

private:
    int m_pipe[2] = {-1, -1};
};

// A store in a temporary folder, the simulated set, the manager with both
// models registered and the notification handler over them.
struct Rig {
    explicit Rig(Setup setup)
        : folder((std::filesystem::temp_directory_path() / "quorvik-bench-worker").string()),
          backend(std::make_shared<SimulatedHidBackend>(configsFor(setup))),
          manager(backend) {
        std::filesystem::remove_all(folder);
        std::filesystem::create_directories(folder);
        SettingsStore& store = SettingsStore::instance();
        ok = store.openDatabaseFile(folder + "/bench_worker.db");
        ProfileRecord profile;
        profile.name = "bench";
        ok = ok && store.addProfile(profile) == 1;
        manager.AddSupportedDevice({kVid, kWired, "", 1, 0, "QV01"});
        manager.AddSupportedDevice({kVid, kReceiver, "", 1, 1, "QV01"});
        manager.AddSupportedDevice({kVid, kOtherWired, "", 2, 0, "QV02"});
        manager.AddSupportedDevice({kVid, kOtherReceiver, "", 2, 1, "QV02"});
        manager.Enumerate();
        manager.SetReady();
        manager.SetCurrentType(1);
        devicePresent = manager.CurrentMode() != -1;
        sliced = setup == kSliced;
        if (setup != kUnwiredIdle) manager.setReadInterrupt(queue.readInterrupt());
    }
    ~Rig() {
        manager.setReadInterrupt(nullptr);
        SettingsStore::instance().close();
        std::filesystem::remove_all(folder);
    }

    static std::vector<VirtualMouseConfig> configsFor(Setup setup) {
        std::vector<VirtualMouseConfig> configs = defaultVirtualMouseConfigs();
        for (VirtualMouseConfig& c : configs) {
            switch (setup) {
                case kNone:
                case kWiredIdle:
                case kUnwiredIdle: c.plugged = c.pid == kWired; break;
                case kListening:
                    c.plugged = c.pid == kReceiver || c.pid == kOtherReceiver;
                    c.mouseOnline = false;
                    break;
                case kNoDevice:
                case kSliced: c.plugged = false; break;
            }
        }
        return configs;
    }

    // The worker's table: code 11 sends a report rate command; the idle turn
    // runs the notification handling while a device is present.
    TaskRoutineTable table(bool withIdle, std::atomic<std::int64_t>* routineStart) {
        TaskRoutineTable t;
        t.setRoutine(kTaskSendReportRate, [this, routineStart] {
            if (routineStart) {
                routineStart->store(nowNs());
                routineStart->notify_one();
            }
            const CommandPacket packet = encodeReportRate(0x01);
            std::array<std::uint8_t, 65> buffer{};
            std::memcpy(buffer.data(), packet.bytes().data(), packet.size());
            manager.SendCommand(buffer.data(), packet.size());
        });
        if (withIdle && sliced) {
            t.setIdle([this] {
                std::array<std::uint8_t, 65> report{};
                silent.readInterruptible(report.data(), report.size(), DeviceManager::kNotificationTimeoutMs,
                                         queue.readInterrupt().get());
            });
        } else if (withIdle) {
            t.setIdle([this] { notifications.HandleNotification(); }, [this] { return devicePresent; });
        }
        return t;
    }

    std::string folder;
    bool ok = false;
    std::shared_ptr<SimulatedHidBackend> backend;
    DeviceManager manager;
    QuietEvents events;
    DeviceSession session{manager, SettingsStore::instance(), events};
    DeviceSettingsCommands settings{session};
    NotificationHandler notifications{session, settings};
    TaskQueue queue;
    bool devicePresent = false;
    bool sliced = false;
    SilentPollDevice silent;
};

void reportPercentiles(benchmark::State& state, std::vector<double>& samplesUs) {
    if (samplesUs.empty()) return;
    std::sort(samplesUs.begin(), samplesUs.end());
    const auto at = [&](double q) {
        return samplesUs[std::min(samplesUs.size() - 1, static_cast<std::size_t>(q * samplesUs.size()))];
    };
    state.counters["median_us"] = at(0.5);
    state.counters["p99_us"] = at(0.99);
    state.counters["max_us"] = samplesUs.back();
}

// state.range(0): the Setup.
void BM_EnqueueToMouse(benchmark::State& state) {
    const Setup setup = static_cast<Setup>(state.range(0));
    Rig rig(setup);
    if (!rig.ok || (!rig.devicePresent && setup != kSliced)) {
        state.SkipWithError("no store or no simulated device");
        return;
    }
    const bool toMouse = setup != kListening && setup != kSliced;
    std::atomic<std::int64_t> arrivedAt{0};
    if (toMouse) {
        rig.backend->findDevice(kVid, kWired)->setCommandListener([&arrivedAt](std::uint8_t) {
            arrivedAt.store(nowNs());
            arrivedAt.notify_one();
        });
    }
    CThreadBasic worker(rig.queue, rig.table(setup != kNone, toMouse ? nullptr : &arrivedAt));
    worker.Start();

    // Queue at a random point of the idle turn: up to its longest read.
    const int idleMs = setup == kNone ? 3 : setup == kListening ? 25 : 110;
    if (setup == kSliced) rig.devicePresent = true;  // nothing to send to: the time runs to the routine
    std::mt19937 random(12345);
    std::uniform_int_distribution<int> phaseUs(0, idleMs * 1000);
    std::vector<double> latenciesUs;
    for (auto _ : state) {
        std::this_thread::sleep_for(std::chrono::microseconds(phaseUs(random)));
        arrivedAt.store(0);
        const std::int64_t queuedAt = nowNs();
        rig.queue.enqueueTask(kTaskSendReportRate);
        arrivedAt.wait(0);
        const double latency = static_cast<double>(arrivedAt.load() - queuedAt) / 1e3;
        latenciesUs.push_back(latency);
        state.SetIterationTime(latency / 1e6);
    }
    worker.Stop();
    if (toMouse) rig.backend->findDevice(kVid, kWired)->setCommandListener(nullptr);
    reportPercentiles(state, latenciesUs);
}
BENCHMARK(BM_EnqueueToMouse)
    ->ArgName("none")
    ->Arg(kNone)
    ->Iterations(2000)
    ->UseManualTime()
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_EnqueueToMouse)
    ->ArgName("wired")
    ->Arg(kWiredIdle)
    ->Iterations(300)
    ->UseManualTime()
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_EnqueueToMouse)
    ->ArgName("unwired")
    ->Arg(kUnwiredIdle)
    ->Iterations(100)
    ->UseManualTime()
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_EnqueueToMouse)
    ->ArgName("listening")
    ->Arg(kListening)
    ->Iterations(500)
    ->UseManualTime()
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_EnqueueToMouse)
    ->ArgName("sliced")
    ->Arg(kSliced)
    ->Iterations(300)
    ->UseManualTime()
    ->Unit(benchmark::kMicrosecond);

double processCpuSeconds() {
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) / 1e9;
}

// Ten seconds of an idle worker (the benchmark thread only sleeps): the share
// of one core the process used, and the idle turns per second.
// state.range(0): kNoDevice, kWiredIdle or kListening.
void BM_IdleWorkerCpu(benchmark::State& state) {
    const Setup setup = static_cast<Setup>(state.range(0));
    Rig rig(setup);
    if (!rig.ok || rig.devicePresent != (setup != kNoDevice && setup != kSliced)) {
        state.SkipWithError("unexpected device set");
        return;
    }
    const bool gated = state.range(1) != 0;
    for (auto _ : state) {
        std::atomic<int> turns{0};
        TaskRoutineTable counted;
        if (setup == kSliced) {
            counted.setIdle([&turns, &rig] {
                ++turns;
                std::array<std::uint8_t, 65> report{};
                rig.silent.readInterruptible(report.data(), report.size(), DeviceManager::kNotificationTimeoutMs,
                                             rig.queue.readInterrupt().get());
            });
        } else if (gated) {
            counted.setIdle(
                [&turns, &rig] {
                    ++turns;
                    rig.notifications.HandleNotification();
                },
                [&rig] { return rig.devicePresent; });
        } else {
            // The gate inside the routine: the worker wakes every period.
            counted.setIdle([&turns, &rig] {
                ++turns;
                if (rig.devicePresent) rig.notifications.HandleNotification();
            });
        }
        CThreadBasic worker(rig.queue, std::move(counted));
        constexpr double kSeconds = 10.0;
        const double cpuBefore = processCpuSeconds();
        worker.Start();
        std::this_thread::sleep_for(std::chrono::duration<double>(kSeconds));
        worker.Stop();
        const double cpu = processCpuSeconds() - cpuBefore;
        state.counters["turns_per_s"] = turns.load() / kSeconds;
        state.counters["cpu_percent"] = cpu / kSeconds * 100.0;
    }
}
// Args: the Setup, and 1 when the device-present check is the idle gate (0:
// inside the routine, as a window that does not wire the gate has it).
BENCHMARK(BM_IdleWorkerCpu)->ArgNames({"setup", "gated"})->Args({kNoDevice, 1})->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_IdleWorkerCpu)->ArgNames({"setup", "gated"})->Args({kNoDevice, 0})->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_IdleWorkerCpu)->ArgNames({"setup", "gated"})->Args({kWiredIdle, 1})->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_IdleWorkerCpu)->ArgNames({"setup", "gated"})->Args({kListening, 1})->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_IdleWorkerCpu)->ArgNames({"setup", "gated"})->Args({kSliced, 1})->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace quorvik
