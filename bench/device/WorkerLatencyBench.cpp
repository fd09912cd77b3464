// How long a queued task waits before its routine starts on the device worker:
// median and 99th percentile, with no idle routine, with an idle read of 2 ms,
// and with the 100 ms notification read the worker does while a device is
// present. Also the CPU an idle worker costs.
#include <benchmark/benchmark.h>
#include <time.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <chrono>
#include <memory>
#include <random>
#include <thread>
#include <vector>

#include "device/CThreadBasic.h"
#include "device/HidDevice.h"
#include "device/TaskQueue.h"
#include "device/TaskRoutineTable.h"
#include "sim/SimulatedHidBackend.h"

namespace quorvik {
namespace {

using Clock = std::chrono::steady_clock;

std::int64_t nowNs() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(Clock::now().time_since_epoch()).count();
}

// The simulated mouse's vendor command collection, opened; it sends nothing
// unasked, so every idle read runs to its timeout.
std::unique_ptr<HidDevice> openVendorCollection(SimulatedHidBackend& backend) {
    for (const HidInterfaceInfo& info : backend.enumerate())
        if (info.usagePage == 1 && info.usage == 0) return backend.openPath(info.path);
    return nullptr;
}

// state.range(0): the idle read's timeout in ms, 0 for no idle routine.
void BM_EnqueueToRoutineStart(benchmark::State& state) {
    const int idleReadMs = static_cast<int>(state.range(0));
    SimulatedHidBackend backend;
    std::shared_ptr<HidDevice> device = openVendorCollection(backend);
    if (!device) {
        state.SkipWithError("no simulated vendor collection");
        return;
    }

    std::atomic<std::int64_t> startedAt{0};
    TaskRoutineTable table;
    table.setRoutine(9, [&] {
        startedAt.store(nowNs());
        startedAt.notify_one();
    });
    if (idleReadMs > 0) {
        table.setIdle([device, idleReadMs] {
            std::array<std::uint8_t, 65> report{};
            device->readTimeout(report.data(), report.size(), idleReadMs);
        });
    }
    TaskQueue queue;
    CThreadBasic worker(queue, std::move(table));
    worker.Start();

    std::mt19937 random(12345);
    std::uniform_int_distribution<int> phaseUs(0, 3000 + 1000 * idleReadMs);
    std::vector<double> latenciesUs;
    for (auto _ : state) {
        // Queue at a random point of the worker's cycle.
        std::this_thread::sleep_for(std::chrono::microseconds(phaseUs(random)));
        startedAt.store(0);
        const std::int64_t queuedAt = nowNs();
        queue.enqueueTask(9);
        startedAt.wait(0);
        const double latency = static_cast<double>(startedAt.load() - queuedAt) / 1e3;
        latenciesUs.push_back(latency);
        state.SetIterationTime(latency / 1e6);
    }
    worker.Stop();

    std::sort(latenciesUs.begin(), latenciesUs.end());
    const auto at = [&](double q) {
        return latenciesUs[std::min(latenciesUs.size() - 1,
                                    static_cast<std::size_t>(q * latenciesUs.size()))];
    };
    state.counters["median_us"] = at(0.5);
    state.counters["p99_us"] = at(0.99);
    state.counters["max_us"] = latenciesUs.back();
}
BENCHMARK(BM_EnqueueToRoutineStart)->Arg(0)->Iterations(2000)->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_EnqueueToRoutineStart)->Arg(2)->Iterations(2000)->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_EnqueueToRoutineStart)
    ->Arg(100)
    ->Iterations(100)
    ->UseManualTime()
    ->Unit(benchmark::kMicrosecond);

double processCpuSeconds() {
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) / 1e9;
}

// One second of an idle worker with no device: its turns and CPU share.
void BM_IdleWorkerCpu(benchmark::State& state) {
    for (auto _ : state) {
        TaskQueue queue;
        std::atomic<int> turns{0};
        TaskRoutineTable table;
        table.setIdle([&] { ++turns; });
        CThreadBasic worker(queue, std::move(table));
        const double cpuBefore = processCpuSeconds();
        worker.Start();
        std::this_thread::sleep_for(std::chrono::seconds(1));
        worker.Stop();
        const double cpu = processCpuSeconds() - cpuBefore;
        state.counters["turns_per_s"] = turns.load();
        state.counters["cpu_percent"] = cpu * 100.0;
    }
}
BENCHMARK(BM_IdleWorkerCpu)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace quorvik
