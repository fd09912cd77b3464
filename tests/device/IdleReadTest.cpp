// The worker's idle read gives way to a queued task: the queue's read interrupt
// follows the queue, a raised interrupt ends a pending read (sliced hidapi-like
// handles and the simulated devices alike) without taking a report, a raise
// just before the read begins is not lost, and with nothing queued the idle
// read still waits its time and still hands out a notice. Runs under TSan too.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <random>
#include <thread>
#include <vector>

#include "DeviceTestSupport.h"
#include "device/CThreadBasic.h"
#include "device/DeviceTask.h"
#include "device/ReadInterrupt.h"
#include "device/TaskQueue.h"
#include "device/TaskRoutineTable.h"
#include "protocol/Notification.h"

namespace quorvik::devicetest {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

// --- The queue's interrupt ----------------------------------------------------------

TEST(TaskQueueInterrupt, IsRaisedExactlyWhileACodeIsQueued) {
    std::shared_ptr<const ReadInterrupt> interrupt;
    {
        TaskQueue queue;
        interrupt = queue.readInterrupt();
        EXPECT_FALSE(interrupt->isRaised());
        queue.enqueueTask(9);
        queue.enqueueTask(10);
        EXPECT_TRUE(interrupt->isRaised());
        std::int32_t code = 0;
        ASSERT_TRUE(queue.tryPop(code));
        EXPECT_TRUE(interrupt->isRaised()) << "one code is still queued";
        ASSERT_TRUE(queue.tryPop(code));
        EXPECT_FALSE(interrupt->isRaised()) << "a raised signal over an empty queue makes the worker spin";
        EXPECT_FALSE(queue.tryPop(code));
        EXPECT_FALSE(interrupt->isRaised());
        queue.enqueueTask(11);
        EXPECT_TRUE(interrupt->isRaised());
    }
    EXPECT_FALSE(interrupt->isRaised()) << "a queue that is gone holds no code";
}

TEST(ReadInterrupt, WakesItsSubscribersUntilTheirSubscriptionEnds) {
    ReadInterrupt interrupt;
    int woken = 0;
    {
        ReadInterrupt::Subscription subscription = interrupt.subscribe([&woken] { ++woken; });
        interrupt.raise();
        EXPECT_EQ(woken, 1);
        interrupt.clear();
        EXPECT_EQ(woken, 1) << "lowering wakes nobody";
        ReadInterrupt::Subscription moved = std::move(subscription);
        interrupt.wake();
        EXPECT_EQ(woken, 2) << "a moved subscription stays registered";
    }
    interrupt.raise();
    EXPECT_EQ(woken, 2) << "an ended subscription is not called";
}

// --- The sliced read of handles that cannot wait on the interrupt -----------------------

// A handle that waits like hidraw does: each read sleeps for its timeout unless
// a scripted report is due. Records the timeouts it was asked for.
class SlicedDevice : public HidDevice {
public:
    int write(const std::uint8_t*, std::size_t length) override { return static_cast<int>(length); }
    int readTimeout(std::uint8_t* data, std::size_t length, int timeoutMs) override {
        const Clock::time_point until = Clock::now() + std::chrono::milliseconds(timeoutMs);
        for (;;) {
            {
                std::lock_guard lock(m_mutex);
                m_timeouts.push_back(timeoutMs);
                if (!m_reports.empty() && m_reports.front().first <= Clock::now()) {
                    const std::vector<std::uint8_t> report = m_reports.front().second;
                    m_reports.pop_front();
                    const std::size_t n = std::min(length, report.size());
                    std::copy(report.begin(), report.begin() + static_cast<long>(n), data);
                    return static_cast<int>(n);
                }
            }
            if (Clock::now() >= until) return 0;
            std::this_thread::sleep_for(1ms);
        }
    }
    std::string productString() override { return {}; }
    void close() override {}

    void queueReport(std::vector<std::uint8_t> report, Clock::duration after = 0ms) {
        std::lock_guard lock(m_mutex);
        m_reports.emplace_back(Clock::now() + after, std::move(report));
    }
    std::size_t pendingReports() {
        std::lock_guard lock(m_mutex);
        return m_reports.size();
    }
    int largestTimeoutAsked() {
        std::lock_guard lock(m_mutex);
        int largest = 0;
        for (int t : m_timeouts) largest = std::max(largest, t);
        return largest;
    }

private:
    std::mutex m_mutex;
    std::deque<std::pair<Clock::time_point, std::vector<std::uint8_t>>> m_reports;
    std::vector<int> m_timeouts;
};

TEST(SlicedInterruptibleRead, EndsOnARaiseAndOtherwiseBehavesAsAPlainRead) {
    struct Case {
        const char* name;
        bool raisedBefore;
        bool raiseWhileWaiting;
        bool reportArrives;  // 30 ms into the read
        int timeoutMs;
        int expected;  // result of the read
        bool fullWait;  // whether it must have waited its whole timeout
    };
    const Case cases[] = {
        {"raised before the read: nothing taken", true, false, true, 2000, 0, false},
        {"raised while waiting: ends early", false, true, false, 2000, 0, false},
        {"not raised: waits its time", false, false, false, 120, 0, true},
        {"not raised: a report arrives", false, false, true, 2000, 3, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SlicedDevice device;
        ReadInterrupt interrupt;
        if (c.raisedBefore) interrupt.raise();
        if (c.reportArrives) device.queueReport({0xC2, 0x24, 0x00}, 30ms);
        std::thread raiser;
        if (c.raiseWhileWaiting) raiser = std::thread([&] {
            std::this_thread::sleep_for(30ms);
            interrupt.raise();
        });
        std::array<std::uint8_t, 65> buffer{};
        const Clock::time_point start = Clock::now();
        const int result = device.readInterruptible(buffer.data(), buffer.size(), c.timeoutMs, &interrupt);
        const Clock::duration took = Clock::now() - start;
        if (raiser.joinable()) raiser.join();

        EXPECT_EQ(result, c.expected);
        if (c.fullWait) {
            EXPECT_GE(took, std::chrono::milliseconds(c.timeoutMs));
        } else {
            EXPECT_LT(took, std::chrono::milliseconds(c.timeoutMs));
        }
        EXPECT_LE(device.largestTimeoutAsked(), HidDevice::kInterruptSliceMs)
            << "a long slice would keep a queued task waiting";
        if (c.raisedBefore) {
            EXPECT_EQ(device.pendingReports(), 1u) << "the report stays for the next read";
            EXPECT_EQ(buffer[0], 0);
        }
        if (c.expected > 0) {
            EXPECT_EQ(buffer[1], 0x24);
        }
    }
}

TEST(SlicedInterruptibleRead, WithoutAnInterruptIsOneReadOfTheWholeTimeout) {
    SlicedDevice device;
    std::array<std::uint8_t, 65> buffer{};
    EXPECT_EQ(device.readInterruptible(buffer.data(), buffer.size(), 30, nullptr), 0);
    EXPECT_EQ(device.largestTimeoutAsked(), 30);
}

// --- The simulated devices ----------------------------------------------------------

// The wired mouse's command collection, opened on its own.
std::unique_ptr<HidDevice> openCommands(SimulatedHidBackend& backend) {
    for (const HidInterfaceInfo& info : backend.enumerate())
        if (info.pid == kM1Wired && info.usagePage == 1 && info.usage == 0) return backend.openPath(info.path);
    return nullptr;
}

TEST(SimulatedInterruptibleRead, ARaiseWhileWaitingEndsTheReadAndLeavesTheReportQueued) {
    SimulatedHidBackend backend;
    std::unique_ptr<HidDevice> hid = openCommands(backend);
    ASSERT_NE(hid, nullptr);
    ReadInterrupt interrupt;

    std::thread raiser([&] {
        std::this_thread::sleep_for(30ms);
        interrupt.raise();
    });
    std::array<std::uint8_t, 65> buffer{};
    const Clock::time_point start = Clock::now();
    EXPECT_EQ(hid->readInterruptible(buffer.data(), buffer.size(), 10000, &interrupt), 0);
    EXPECT_LT(Clock::now() - start, 10s) << "the raise did not end the wait";
    raiser.join();

    // A notice that is ready while the signal is raised is not taken ...
    backend.findDevice(kVid, kM1Wired)->pressDpiButton();
    EXPECT_EQ(hid->readInterruptible(buffer.data(), buffer.size(), 10000, &interrupt), 0);
    EXPECT_EQ(buffer[0], 0);
    // ... and is read whole once the signal is lowered.
    interrupt.clear();
    EXPECT_GT(hid->readInterruptible(buffer.data(), buffer.size(), 1000, &interrupt), 2);
    EXPECT_EQ(buffer[0], kNotifyDpiChange);
}

// Raises at random moments around the start of each read, many times over: a
// raise that lands between the read's look at the signal and its wait must
// still end the wait. A lost wake-up shows as a read that runs its full 10 s.
TEST(SimulatedInterruptibleRead, ARaiseAsTheReadBeginsIsNeverLost) {
    SimulatedHidBackend backend;
    std::unique_ptr<HidDevice> hid = openCommands(backend);
    ASSERT_NE(hid, nullptr);
    ReadInterrupt interrupt;
    std::mt19937 random(7);
    std::uniform_int_distribution<int> delayUs(0, 60);

    for (int round = 0; round < 300; ++round) {
        interrupt.clear();
        std::atomic<bool> go{false};
        const int delay = delayUs(random);
        std::thread raiser([&] {
            while (!go.load()) std::this_thread::yield();
            const Clock::time_point until = Clock::now() + std::chrono::microseconds(delay);
            while (Clock::now() < until) {
            }
            interrupt.raise();
        });
        std::array<std::uint8_t, 65> buffer{};
        go = true;
        const Clock::time_point start = Clock::now();
        const int result = hid->readInterruptible(buffer.data(), buffer.size(), 10000, &interrupt);
        const Clock::duration took = Clock::now() - start;
        raiser.join();
        ASSERT_EQ(result, 0) << "round " << round;
        ASSERT_LT(took, 10s) << "round " << round << ": the wake-up was lost";
    }
}

// --- The manager's idle reads ---------------------------------------------------------

class IdleReadTest : public DeviceFixture {
protected:
    void SetUp() override {
        DeviceFixture::SetUp();
        m_manager.setReadInterrupt(m_queue.readInterrupt());
    }
    void TearDown() override {
        m_manager.setReadInterrupt(nullptr);
        DeviceFixture::TearDown();
    }
    // Model 1 through its wired mouse, or through its receiver with the
    // mouse switched off (no command interface: the receivers are listened to).
    void chooseWired() {
        m_manager.SetCurrentType(1);
        ASSERT_NE(m_manager.CurrentDevice(), nullptr);
    }
    void chooseListening() {
        device(kM1Wired)->unplug();
        device(kM1Receiver)->switchMouse(false);
        device(kM2Receiver)->switchMouse(false);
        refresh(m_manager);
        m_manager.SetCurrentType(1);
        ASSERT_EQ(m_manager.CurrentMode(), kModeReceiver);
        ASSERT_EQ(m_manager.CurrentDevice(), nullptr);
    }
    void drainQueue() {
        std::int32_t code = 0;
        while (m_queue.tryPop(code)) {
        }
    }
    DeviceEntry entryOf(std::uint16_t pid) {
        for (const DeviceEntry& e : m_manager.entries())
            if (e.pid == pid) return e;
        return {};
    }

    TaskQueue m_queue;
};

TEST_F(IdleReadTest, ATaskQueuedDuringThePendingReadEndsIt) {
    chooseWired();
    std::thread window([&] {
        std::this_thread::sleep_for(20ms);
        m_queue.enqueueTask(kTaskSendReportRate);
    });
    std::array<std::uint8_t, DeviceManager::kNotificationSize> report{};
    int type = 0;
    const Clock::time_point start = Clock::now();
    EXPECT_FALSE(m_manager.ReadNotification(report.data(), type));
    const Clock::duration took = Clock::now() - start;
    window.join();
    EXPECT_LT(took, std::chrono::milliseconds(DeviceManager::kNotificationTimeoutMs))
        << "the read ran to its timeout although a task was queued";
    EXPECT_EQ(report[0], 0);
}

// The notice that is due when a task is queued stays with the device and is
// handled at the next idle turn: through the current interface, while
// listening to the receivers, and by the receiver poll.
enum class NoticePath { Current, Listening, Poll };

class DueNoticeTest : public IdleReadTest, public ::testing::WithParamInterface<NoticePath> {};

TEST_P(DueNoticeTest, AQueuedTaskLeavesTheDueNoticeForTheNextIdleTurn) {
    const NoticePath path = GetParam();
    if (path == NoticePath::Current) {
        chooseWired();
        device(kM1Wired)->pressDpiButton();
    } else {
        chooseListening();
        device(kM1Receiver)->switchMouse(true);  // C0 01 ...
    }
    const int stateBefore = entryOf(kM1Receiver).state;
    if (path != NoticePath::Current) {
        ASSERT_NE(stateBefore, kEntryOnline);
    }
    m_queue.enqueueTask(kTaskSendReportRate);

    std::array<std::uint8_t, DeviceManager::kNotificationSize> report{};
    int type = 0;
    if (path == NoticePath::Poll) {
        m_manager.PollDongleConnection();
    } else {
        EXPECT_FALSE(m_manager.ReadNotification(report.data(), type));
        EXPECT_EQ(report[0], 0) << "nothing is read while a task waits";
    }
    EXPECT_EQ(entryOf(kM1Receiver).state, stateBefore) << "the notice is not applied yet";

    drainQueue();
    if (path == NoticePath::Poll) {
        m_manager.PollDongleConnection();
        EXPECT_EQ(entryOf(kM1Receiver).state, kEntryOnline);
        return;
    }
    const bool throughCurrent = m_manager.ReadNotification(report.data(), type);
    EXPECT_EQ(throughCurrent, path == NoticePath::Current);
    if (path == NoticePath::Current) {
        EXPECT_EQ(report[0], kNotifyDpiChange);
    } else {
        EXPECT_EQ(report[0], kNotifyConnection);
        EXPECT_EQ(report[1], 1);
        EXPECT_EQ(entryOf(kM1Receiver).state, kEntryOnline);
    }
}

INSTANTIATE_TEST_SUITE_P(Paths, DueNoticeTest,
                         ::testing::Values(NoticePath::Current, NoticePath::Listening, NoticePath::Poll),
                         [](const ::testing::TestParamInfo<NoticePath>& info) {
                             switch (info.param) {
                                 case NoticePath::Current: return "CurrentInterface";
                                 case NoticePath::Listening: return "ListeningToReceivers";
                                 case NoticePath::Poll: return "ReceiverPoll";
                             }
                             return "Unknown";
                         });

TEST_F(IdleReadTest, WithNothingQueuedTheReadWaitsItsTimeAndHandsOutANotice) {
    chooseWired();
    std::array<std::uint8_t, DeviceManager::kNotificationSize> report{};
    int type = 0;
    const Clock::time_point start = Clock::now();
    EXPECT_FALSE(m_manager.ReadNotification(report.data(), type));
    EXPECT_GE(Clock::now() - start, std::chrono::milliseconds(DeviceManager::kNotificationTimeoutMs));

    std::thread user([&] {
        std::this_thread::sleep_for(20ms);
        device(kM1Wired)->pressDpiButton();
    });
    EXPECT_TRUE(m_manager.ReadNotification(report.data(), type));
    user.join();
    EXPECT_EQ(report[0], kNotifyDpiChange);
    EXPECT_EQ(type, 1);
}

// The worker found the queue empty and is about to read when the window
// queues a task: the read that follows must not wait. The idle routine queues
// the task itself, which puts the append exactly into that gap.
TEST_F(IdleReadTest, ATaskQueuedBetweenTheQueueCheckAndTheReadIsNotLost) {
    chooseWired();
    Clock::duration readTook{};
    TaskRoutineTable table;
    table.setRoutine(kTaskSendReportRate, [] {});
    table.setIdle([&] {
        m_queue.enqueueTask(kTaskSendReportRate);
        const Clock::time_point start = Clock::now();
        m_notifications.HandleNotification();
        readTook = Clock::now() - start;
    });
    CThreadBasic worker(m_queue, std::move(table));
    worker.Run();  // idle turn: queues, then reads
    EXPECT_LT(readTook, std::chrono::milliseconds(DeviceManager::kNotificationTimeoutMs))
        << "the read waited although a task was queued";
    EXPECT_EQ(m_queue.size(), 1u);
    worker.Run();  // the task
    EXPECT_TRUE(m_queue.empty());
}

// The whole chain on the worker thread: the idle routine is the real
// notification handling, and a queued setting reaches the mouse long before
// the idle read would have ended.
TEST_F(IdleReadTest, AQueuedSettingReachesTheMouseWhileTheWorkerListens) {
    chooseWired();
    std::mutex mutex;
    std::condition_variable received;
    std::vector<std::uint8_t> commands;
    device(kM1Wired)->setCommandListener([&](std::uint8_t command) {
        std::lock_guard lock(mutex);
        commands.push_back(command);
        received.notify_all();
    });
    std::atomic<int> idleTurns{0};
    std::vector<std::pair<Clock::time_point, Clock::time_point>> turns;  // worker only until Stop
    setConfig("report_rate", 0x04);
    TaskRoutineTable table;
    table.setRoutine(kTaskSendReportRate, [&] { m_settings.SendReportRate(); });
    table.setIdle([&] {
        const Clock::time_point start = Clock::now();
        m_notifications.HandleNotification();
        turns.emplace_back(start, Clock::now());
        ++idleTurns;
    });
    CThreadBasic worker(m_queue, std::move(table));
    ASSERT_TRUE(worker.Start());
    while (idleTurns.load() == 0) std::this_thread::yield();
    std::this_thread::sleep_for(30ms);  // well inside the second 100 ms read

    const Clock::time_point queuedAt = Clock::now();
    m_queue.enqueueTask(kTaskSendReportRate);
    bool arrived = false;
    {
        std::unique_lock lock(mutex);
        arrived = received.wait_for(lock, 5s, [&] { return !commands.empty(); });
    }
    const Clock::duration took = Clock::now() - queuedAt;
    EXPECT_EQ(worker.Stop(), CThreadBasic::StopResult::Stopped);
    device(kM1Wired)->setCommandListener(nullptr);
    ASSERT_TRUE(arrived);
    EXPECT_EQ(commands.front(), static_cast<std::uint8_t>(Command::ReportRate));
    EXPECT_EQ(device(kM1Wired)->settings().reportRate, 0x04);
    EXPECT_LT(took, std::chrono::milliseconds(DeviceManager::kNotificationTimeoutMs))
        << "the task waited for the idle read";
    // The idle turn that was listening when the task came was cut short.
    int overlapping = 0;
    for (const auto& [start, end] : turns) {
        if (start > queuedAt || end < queuedAt) continue;
        ++overlapping;
        EXPECT_LT(end - start, std::chrono::milliseconds(DeviceManager::kNotificationTimeoutMs));
    }
    EXPECT_EQ(overlapping, 1);
    EXPECT_EQ(m_events.count("failure"), 0);
}

}  // namespace
}  // namespace quorvik::devicetest
