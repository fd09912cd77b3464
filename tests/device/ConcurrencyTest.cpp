// The window thread asks the manager while the worker refreshes it: queries
// must never read entries a refresh is destroying (run under TSan too).
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "DeviceTestSupport.h"

namespace quorvik::devicetest {
namespace {

TEST(DeviceManagerConcurrency, QueriesWhileTheWorkerEnumeratesAndSendsCommands) {
    auto backend = std::make_shared<SimulatedHidBackend>();
    DeviceManager manager(backend);
    registerDefaultModels(manager);
    refresh(manager);
    manager.SetCurrentType(1);

    std::atomic<bool> done{false};
    std::atomic<int> refreshes{0};
    std::thread worker([&] {
        std::array<std::uint8_t, 33> request{};
        request[1] = 0x12;
        for (int i = 0; i < 60; ++i) {
            refresh(manager);
            auto buffer = request;
            manager.SendCommand(buffer.data(), buffer.size());
            std::array<std::uint8_t, 65> report{};
            int type = 0;
            manager.SetConnectionState(1, 1, i % 2 == 0 ? kEntryOnline : kEntryOfflineByNotice);
            manager.PollDongleConnection();
            if (i % 6 == 0) (void)manager.ReadNotification(report.data(), type);  // 100 ms each
            ++refreshes;
        }
        done = true;
    });

    // The window thread: every query of the device list and the open-model check.
    int answered = 0;
    while (!done) {
        std::vector<DeviceEntry> list;
        if (manager.EntriesOfCurrentType(list)) {
            for (const DeviceEntry& e : list) {
                EXPECT_EQ(e.deviceType, 1);
                EXPECT_FALSE(e.path.empty());
            }
        }
        manager.OnlineEntriesOfCurrentType(list);
        const int mode = manager.CurrentMode();
        EXPECT_TRUE(mode >= -1 && mode <= 1);
        manager.IsTypeConnected(1);
        std::uint32_t release = 0;
        manager.ReleaseOfMode(release, 0);
        int vid = 0, pid = 0;
        manager.CurrentVidPid(vid, pid);
        for (const DeviceEntry& e : manager.entries()) EXPECT_LT(e.index, 4);
        manager.SetCurrentType(1);
        ++answered;
    }
    worker.join();
    EXPECT_EQ(refreshes.load(), 60);
    EXPECT_GT(answered, 0);
}

TEST(DeviceManagerConcurrency, DeviceUnpluggedWhileTheWorkerSendsNeverCrashes) {
    auto backend = std::make_shared<SimulatedHidBackend>();
    DeviceManager manager(backend);
    registerDefaultModels(manager);
    refresh(manager);
    manager.SetCurrentType(2);
    std::shared_ptr<VirtualDevice> wired = backend->findDevice(kVid, kM2Wired);

    std::atomic<bool> done{false};
    std::thread plugger([&] {
        for (int i = 0; i < 20; ++i) {
            wired->unplug();
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
            wired->plug();
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        done = true;
    });
    int sent = 0;
    while (!done) {
        std::array<std::uint8_t, 33> buffer{};
        buffer[1] = 0x12;
        manager.SendCommand(buffer.data(), buffer.size());
        if (++sent % 10 == 0) refresh(manager);
    }
    plugger.join();
    wired->plug();
    refresh(manager);
    std::array<std::uint8_t, 33> buffer{};
    buffer[1] = 0x12;
    EXPECT_TRUE(manager.SendCommand(buffer.data(), buffer.size()));
}

}  // namespace
}  // namespace quorvik::devicetest
