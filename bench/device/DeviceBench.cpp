// The device layer's own cost against a simulated mouse that answers at once:
// one SendCommand, the same exchange done directly on the simulator (its share
// of the time), and a full write of one profile from the settings store (key
// table, lighting, DPI stages, colours, report rate, lift-off, power).
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <functional>

#include "QuietEvents.h"
#include "device/BindingTransfer.h"
#include "device/DeviceEvents.h"
#include "device/DeviceManager.h"
#include "device/DeviceSession.h"
#include "device/DeviceSettingsCommands.h"
#include "sim/SimulatedHidBackend.h"
#include "store/SettingsStore.h"

namespace quorvik {
namespace {


struct Bench {
    Bench() : backend(std::make_shared<SimulatedHidBackend>()), manager(backend) {
        manager.AddSupportedDevice({0x1209, 0x0001, "", 1, 0, "QV01"});
        manager.Enumerate();
        manager.SetReady();
        manager.SetCurrentType(1);
    }
    std::shared_ptr<SimulatedHidBackend> backend;
    DeviceManager manager;
};

void BM_SimulatorExchangeAlone(benchmark::State& state) {
    auto backend = std::make_shared<SimulatedHidBackend>();
    std::string path;
    for (const HidInterfaceInfo& info : backend->enumerate())
        if (info.pid == 0x0001 && info.usagePage == 1 && info.usage == 0) path = info.path;
    std::unique_ptr<HidDevice> hid = backend->openPath(path);
    std::array<std::uint8_t, 33> request{};
    request[1] = 0x12;
    std::array<std::uint8_t, 33> reply{};
    for (auto _ : state) {
        hid->write(request.data(), request.size());
        benchmark::DoNotOptimize(hid->readTimeout(reply.data(), reply.size(), 30));
    }
}
BENCHMARK(BM_SimulatorExchangeAlone);

void BM_SendCommand(benchmark::State& state) {
    Bench bench;
    std::array<std::uint8_t, 33> request{};
    request[1] = 0x12;
    for (auto _ : state) {
        auto buffer = request;
        if (!bench.manager.SendCommand(buffer.data(), buffer.size())) state.SkipWithError("no reply");
        benchmark::DoNotOptimize(buffer);
    }
}
BENCHMARK(BM_SendCommand);

// A store with one profile: nine keyboard bindings and a lighting record of mode 2.
struct StoreFixture {
    StoreFixture() : folder((std::filesystem::temp_directory_path() / "quorvik-bench-device").string()) {
        std::filesystem::remove_all(folder);
        std::filesystem::create_directories(folder);
        SettingsStore& store = SettingsStore::instance();
        ok = store.openDatabaseFile(folder + "/bench_data1.db");
        ProfileRecord profile;
        profile.name = "bench";
        ok = ok && store.addProfile(profile) == 1;
        for (int key = 0; key < 9; ++key) {
            KeyBinding b;
            b.profile = 1;
            b.key_code = key;
            b.macro_type = 2;
            b.macro_value = 4 + key;
            store.storeKeyBinding(b);
        }
        LightRecord light;
        light.profile = 1;
        light.mode = 2;
        light.brightness = 4;
        light.speed = 2;
        store.addLight(light);
    }
    ~StoreFixture() {
        SettingsStore::instance().close();
        std::filesystem::remove_all(folder);
    }
    std::string folder;
    bool ok = false;
};

// Routine 0: the whole profile in the order of the write-all task; 1..7 one routine each.
void BM_WriteProfile(benchmark::State& state) {
    StoreFixture fixture;
    if (!fixture.ok) {
        state.SkipWithError("store");
        return;
    }
    Bench bench;
    QuietEvents events;
    DeviceSession session(bench.manager, SettingsStore::instance(), events);
    session.setLightMode(2);
    DeviceSettingsCommands settings(session);
    BindingTransfer bindings(session);
    const std::function<bool()> routines[] = {
        [&] { return bindings.SendKeyTable(); },     [&] { return bindings.SendLighting(); },
        [&] { return settings.SendDpiStages(); },    [&] { return settings.SendDpiColors(); },
        [&] { return settings.SendReportRate(); },   [&] { return settings.SendLiftOffAndSensor(); },
        [&] { return settings.SendPowerOptions(); },
    };
    const auto which = state.range(0);
    for (auto _ : state) {
        if (which == 0) {
            for (const auto& routine : routines) routine();
        } else {
            routines[which - 1]();
        }
    }
    if (events.failures != 0) state.SkipWithError("a command failed");
}
BENCHMARK(BM_WriteProfile)->ArgName("routine")->DenseRange(0, 7)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace quorvik
