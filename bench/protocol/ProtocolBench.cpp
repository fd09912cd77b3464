// Costs of the protocol work the device worker does per task: splitting a 64 KiB firmware image
// into loader reports, encoding and chunking the longest macro, building a full key table, and
// converting every stage of every sensor scale.
#include <benchmark/benchmark.h>

#include <vector>

#include "protocol/DpiScale.h"
#include "protocol/KeyTable.h"
#include "protocol/Loader.h"
#include "protocol/MacroEvents.h"
#include "protocol/MacroUpload.h"
#include "protocol/SettingsCommands.h"

namespace quorvik {
namespace {

void loaderReportsFor64KiB(benchmark::State& state) {
    std::vector<std::uint8_t> image(64 * 1024);
    for (std::size_t i = 0; i < image.size(); ++i) image[i] = static_cast<std::uint8_t>(i * 31);
    for (auto _ : state) {
        auto reports = loaderDataReports(image);
        benchmark::DoNotOptimize(reports.data());
        state.counters["reports"] = static_cast<double>(reports.size());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * image.size()));
}
BENCHMARK(loaderReportsFor64KiB);

void longestMacroUpload(benchmark::State& state) {
    std::vector<MacroEncodeStep> steps;
    for (int i = 0; i < 300; ++i) {
        steps.push_back({i % 2 ? kStepKeyRelease : kStepKeyPress, 65 + i % 26});
        steps.push_back({kStepDelay, 10 + i});
    }
    for (auto _ : state) {
        const auto events = encodeMacroEvents(steps);
        const auto packets = macroUploadPackets(macroUploadData(4, events));
        benchmark::DoNotOptimize(packets.data());
    }
}
BENCHMARK(longestMacroUpload);

void fullKeyTable(benchmark::State& state) {
    const MacroPlayback macro{0, 3};
    for (auto _ : state) {
        KeyTable table;
        for (int key = 0; key < KeyTable::kButtonCount; ++key)
            table.apply({key, 1 + key % 9, key, key * 3}, &macro);
        auto packet = table.packet();
        benchmark::DoNotOptimize(packet);
    }
}
BENCHMARK(fullKeyTable);

void dpiStagesRoundTripEveryScale(benchmark::State& state) {
    const int sensors[] = {4, 5, 16, 17, 25, 37, 38, 53, 0};
    for (auto _ : state) {
        int sum = 0;
        for (int s : sensors)
            for (int dpi : dpiScaleValues(s)) sum += deviceCodeToDpi(s, dpiToDeviceCode(s, dpi));
        benchmark::DoNotOptimize(sum);
    }
}
BENCHMARK(dpiStagesRoundTripEveryScale);

}  // namespace
}  // namespace quorvik
