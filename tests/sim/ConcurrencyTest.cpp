// The simulated devices under the threads of the real program: a worker
// reading and writing while other threads switch the mouse, change the
// battery, press the DPI button and pull the device out. Run under TSan too.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <ctime>
#include <thread>

#include "SimHost.h"
#include "sim/SimulatedHidBackend.h"

namespace quorvik {
namespace {

using simtest::Bytes;
using Clock = std::chrono::steady_clock;

long long millisSince(Clock::time_point start) {
    return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
}

TEST(SimConcurrency, ReadWakesWhenAReportIsQueued) {
    SimulatedHidBackend backend;
    auto hid = simtest::openCommands(backend, 0x0002);
    auto device = backend.findDevice(0x1209, 0x0002);
    Bytes buffer(65);
    int result = 0;
    long long waited = 0;
    std::thread reader([&] {
        const auto start = Clock::now();
        result = hid->readTimeout(buffer.data(), buffer.size(), 5000);
        waited = millisSince(start);
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    device->pressDpiButton();
    reader.join();
    EXPECT_EQ(result, 32);
    EXPECT_EQ(buffer[0], 0xC2);
    EXPECT_LT(waited, 2000);
}

TEST(SimConcurrency, ReadTimesOutWithoutSpinning) {
    SimulatedHidBackend backend;
    auto hid = simtest::openCommands(backend, 0x0001);
    Bytes buffer(65);
    const std::clock_t cpuStart = std::clock();
    const auto start = Clock::now();
    EXPECT_EQ(hid->readTimeout(buffer.data(), buffer.size(), 300), 0);
    const long long waited = millisSince(start);
    const double cpuMs = 1000.0 * static_cast<double>(std::clock() - cpuStart) / CLOCKS_PER_SEC;
    EXPECT_GE(waited, 300);
    EXPECT_LT(cpuMs, 100.0) << "a blocked read must sleep, not poll";
}

TEST(SimConcurrency, UnplugWakesABlockedRead) {
    SimulatedHidBackend backend;
    auto hid = simtest::openCommands(backend, 0x0001);
    auto device = backend.findDevice(0x1209, 0x0001);
    int result = 0;
    long long waited = 0;
    std::thread reader([&] {
        Bytes buffer(65);
        const auto start = Clock::now();
        result = hid->readTimeout(buffer.data(), buffer.size(), -1);  // no timeout at all
        waited = millisSince(start);
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    device->unplug();
    reader.join();
    EXPECT_EQ(result, -1);
    EXPECT_LT(waited, 2000);
}

// A worker runs transactions the way the device layer does (write, then read
// until the status-0 reply, skipping notices) while two other threads change
// the device's state and unplug it now and then. Every reply the worker takes
// must be whole and consistent; nothing may race.
TEST(SimConcurrency, WorkerAndUserThreadsShareADevice) {
    SimulatedHidBackend backend;
    std::vector<HidHotPlugEvent> events;
    std::mutex eventsMutex;
    backend.setHotPlugCallback([&](const HidHotPlugEvent& e) {
        std::lock_guard lock(eventsMutex);
        events.push_back(e);
    });
    auto device = backend.findDevice(0x1209, 0x0002);
    std::atomic<bool> stop{false};
    std::atomic<int> replies{0}, notices{0}, reopened{0}, badReplies{0};

    std::thread worker([&] {
        std::unique_ptr<HidDevice> hid;
        std::uint8_t rate = 0x08;
        while (!stop) {
            if (!hid) {
                hid = simtest::openCommands(backend, 0x0002);
                if (!hid) {
                    std::this_thread::sleep_for(std::chrono::milliseconds(1));
                    continue;
                }
                ++reopened;
            }
            rate = rate == 0x08 ? 0x01 : 0x08;
            const Bytes req = simtest::request(0x02, 0x01, 0x01, {rate}, 65);
            if (hid->write(req.data(), req.size()) < 0) {
                hid.reset();
                continue;
            }
            for (int attempt = 0; attempt < 50; ++attempt) {
                Bytes reply(65, 0);
                const int n = hid->readTimeout(reply.data(), reply.size(), 30);
                if (n < 0) {
                    hid.reset();
                    break;
                }
                if (n == 0) break;  // mouse switched off: no reply
                if (reply[0] == 0xC0 || reply[0] == 0xC2) {
                    ++notices;
                    continue;
                }
                if (reply[1] == 0) {
                    // Notices may push a reply past the 50 attempts, so a later
                    // transaction can take an earlier one's reply (as on real
                    // hardware); what must never happen is a torn or mixed report.
                    const bool whole = n == 32 && reply[0] == 0x02 && reply[3] == 0x01 &&
                                       (reply[4] == 0x01 || reply[4] == 0x08) && reply[31] == reply[4];
                    if (!whole) ++badReplies;
                    ++replies;
                    break;
                }
            }
        }
    });
    std::thread user([&] {
        for (int i = 0; i < 300 && !stop; ++i) {
            device->switchMouse(i % 7 != 0);
            device->setBattery(static_cast<std::uint8_t>(i % 101), static_cast<std::uint8_t>(i % 2));
            device->pressDpiButton();
            (void)device->settings();
            std::this_thread::sleep_for(std::chrono::microseconds(300));
        }
    });
    std::thread plugger([&] {
        for (int i = 0; i < 5; ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
            device->unplug();
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
            device->plug();
        }
    });
    user.join();
    plugger.join();
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    stop = true;
    worker.join();

    EXPECT_GT(replies.load(), 0);
    EXPECT_GT(notices.load(), 0);
    EXPECT_EQ(badReplies.load(), 0);
    EXPECT_GE(reopened.load(), 2);
    std::lock_guard lock(eventsMutex);
    EXPECT_EQ(events.size(), 2 * 5 * standardCollections().size());
}

}  // namespace
}  // namespace quorvik
