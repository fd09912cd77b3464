// The task queue and the device worker thread: order and exactly-once delivery
// across the window and worker threads, one task per turn, the idle routine,
// waiting instead of spinning, and stopping within the wait (run under TSan too).
#include <gtest/gtest.h>

#include <time.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <stdexcept>
#include <thread>
#include <vector>

#include "device/CThreadBasic.h"
#include "device/DeviceTask.h"
#include "device/TaskQueue.h"
#include "device/TaskRoutineTable.h"

namespace quorvik {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

// Records what the worker ran, in order, from any thread.
class RunLog {
public:
    void add(int value) {
        std::lock_guard lock(m_mutex);
        m_values.push_back(value);
        m_changed.notify_all();
    }
    std::vector<int> values() const {
        std::lock_guard lock(m_mutex);
        return m_values;
    }
    // Waits until `count` entries are logged; false after `timeout`.
    bool waitForCount(std::size_t count, std::chrono::milliseconds timeout) {
        std::unique_lock lock(m_mutex);
        return m_changed.wait_for(lock, timeout, [&] { return m_values.size() >= count; });
    }

private:
    mutable std::mutex m_mutex;
    std::condition_variable m_changed;
    std::vector<int> m_values;
};

constexpr int kIdleMark = -1;

// Routines that log their code, for the given codes; idle logs kIdleMark.
TaskRoutineTable loggingTable(RunLog& log, std::initializer_list<int> codes, bool logIdle = true) {
    TaskRoutineTable table;
    for (int code : codes) table.setRoutine(code, [&log, code] { log.add(code); });
    if (logIdle) table.setIdle([&log] { log.add(kIdleMark); });
    return table;
}

double processCpuSeconds() {
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) / 1e9;
}

// --- TaskQueue ----------------------------------------------------------------

TEST(TaskQueue, KeepsOrderAndNeverMergesCodes) {
    TaskQueue queue;
    for (int code : {9, 10, 9, 9, 5}) queue.enqueueTask(code);
    EXPECT_EQ(queue.snapshot(), (std::vector<std::int32_t>{9, 10, 9, 9, 5}));
    std::vector<std::int32_t> popped;
    std::int32_t code = 0;
    while (queue.tryPop(code)) popped.push_back(code);
    EXPECT_EQ(popped, (std::vector<std::int32_t>{9, 10, 9, 9, 5}));
    code = 77;
    EXPECT_FALSE(queue.tryPop(code));
    EXPECT_EQ(code, 77) << "an empty queue leaves the output alone";
    EXPECT_TRUE(queue.empty());
}

TEST(TaskQueue, WaitReturnsAtOnceWhenACodeIsQueuedAndTimesOutWhenEmpty) {
    TaskQueue queue;
    auto start = Clock::now();
    EXPECT_FALSE(queue.waitForTask(20ms));
    EXPECT_GE(Clock::now() - start, 20ms);

    queue.enqueueTask(1);
    start = Clock::now();
    EXPECT_TRUE(queue.waitForTask(5s));
    EXPECT_LT(Clock::now() - start, 100ms);
    EXPECT_EQ(queue.size(), 1u) << "waiting does not take the code";
}

TEST(TaskQueue, AnAppendOrAStopWakesAWaitingThreadAtOnce) {
    struct Case {
        const char* name;
        bool byStop;
    };
    for (const Case& c : {Case{"append", false}, Case{"stop", true}}) {
        SCOPED_TRACE(c.name);
        TaskQueue queue;
        std::stop_source stop;
        std::atomic<bool> result{false};
        std::atomic<bool> waiting{false};
        Clock::duration waited{};
        std::thread waiter([&] {
            waiting = true;
            const auto start = Clock::now();
            result = queue.waitForTask(10s, stop.get_token());
            waited = Clock::now() - start;
        });
        while (!waiting) std::this_thread::yield();
        std::this_thread::sleep_for(20ms);
        if (c.byStop) {
            stop.request_stop();
        } else {
            queue.enqueueTask(2);
        }
        waiter.join();
        EXPECT_EQ(result.load(), !c.byStop);
        EXPECT_LT(waited, 2s);
    }
}

// --- TaskRoutineTable ---------------------------------------------------------

TEST(TaskRoutineTable, RunsBoundCodesDropsOthersAndSurvivesAThrowingRoutine) {
    RunLog log;
    TaskRoutineTable table = loggingTable(log, {9, 10});
    table.setRoutine(20, [] { throw std::runtime_error("device gone"); });
    table.setRoutine(21, [] { throw 5; });
    table.setRoutine(10, nullptr);  // unbinds 10

    EXPECT_TRUE(table.run(9));
    EXPECT_FALSE(table.run(10));
    EXPECT_FALSE(table.run(14));
    EXPECT_TRUE(table.run(20));
    EXPECT_TRUE(table.run(21));
    table.idle();
    EXPECT_EQ(log.values(), (std::vector<int>{9, kIdleMark}));
}

// --- Run, one turn ------------------------------------------------------------

TEST(CThreadBasicRun, TakesExactlyOneCodePerTurnAndIdlesOnlyWhenEmpty) {
    struct Case {
        const char* name;
        std::vector<int> queued;
        int turns;
        std::vector<int> expectedRun;
        std::size_t expectedLeft;
    };
    const Case cases[] = {
        {"codes 9 and 10 back to back run as two turns in order", {9, 10}, 2, {9, 10}, 0},
        {"one turn takes only the front code", {9, 10}, 1, {9}, 1},
        {"the same code twice runs twice", {5, 5}, 2, {5, 5}, 0},
        {"an unknown code is removed and nothing else runs that turn", {99, 9}, 1, {}, 1},
        {"code 14 has no routine here: removed, no transaction", {14}, 2, {kIdleMark}, 0},
        {"an empty queue runs the idle routine", {}, 3, {kIdleMark, kIdleMark, kIdleMark}, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RunLog log;
        TaskQueue queue;
        for (int code : c.queued) queue.enqueueTask(code);
        CThreadBasic worker(queue, loggingTable(log, {5, 9, 10}));
        for (int turn = 0; turn < c.turns; ++turn) worker.Run();
        EXPECT_EQ(log.values(), c.expectedRun);
        EXPECT_EQ(queue.size(), c.expectedLeft);
    }
}

TEST(CThreadBasicRun, WithoutAnIdleRoutineAnEmptyTurnDoesNothing) {
    RunLog log;
    TaskQueue queue;
    CThreadBasic worker(queue, loggingTable(log, {9}, /*logIdle=*/false));
    worker.Run();
    EXPECT_TRUE(log.values().empty());
}

TEST(CThreadBasicRun, TheIdleGateDecidesWhetherAnEmptyTurnPolls) {
    enum class Gate { None, Open, Closed, Throws };
    struct Case {
        const char* name;
        Gate gate;
        bool polls;
    };
    const Case cases[] = {
        {"no gate: every empty turn polls", Gate::None, true},
        {"device present: polls", Gate::Open, true},
        {"no device: no poll", Gate::Closed, false},
        {"a gate that throws counts as closed", Gate::Throws, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RunLog log;
        TaskQueue queue;
        TaskRoutineTable table;
        TaskRoutineTable::IdleGate gate;
        if (c.gate == Gate::Open) gate = [] { return true; };
        if (c.gate == Gate::Closed) gate = [] { return false; };
        if (c.gate == Gate::Throws) gate = []() -> bool { throw std::runtime_error("gate"); };
        table.setRoutine(9, [&log] { log.add(9); });
        table.setIdle([&log] { log.add(kIdleMark); }, gate);
        EXPECT_EQ(table.idleWanted(), c.polls);
        CThreadBasic worker(queue, std::move(table));
        worker.Run();
        queue.enqueueTask(9);
        worker.Run();
        const std::vector<int> expected = c.polls ? std::vector<int>{kIdleMark, 9} : std::vector<int>{9};
        EXPECT_EQ(log.values(), expected) << "a closed gate never holds back a task";
    }
}

// --- The thread -----------------------------------------------------------------

TEST(CThreadBasicThread, CodesQueuedBeforeStartWaitAndThenRunInOrder) {
    RunLog log;
    TaskQueue queue;
    queue.enqueueTask(kTaskDiscoverAndLoad);
    queue.enqueueTask(kTaskSoftwareCheck);
    CThreadBasic worker(queue, loggingTable(log, {kTaskDiscoverAndLoad, kTaskSoftwareCheck}, false));
    EXPECT_FALSE(worker.isActive());
    ASSERT_TRUE(worker.Start());
    EXPECT_TRUE(worker.isActive());
    EXPECT_FALSE(worker.Start()) << "a started worker is never started again";
    ASSERT_TRUE(log.waitForCount(2, 5s));
    EXPECT_EQ(log.values(), (std::vector<int>{kTaskDiscoverAndLoad, kTaskSoftwareCheck}));
    EXPECT_EQ(worker.Stop(), CThreadBasic::StopResult::Stopped);
    EXPECT_FALSE(worker.isActive());
    EXPECT_FALSE(worker.isRunning());
    EXPECT_EQ(worker.Stop(), CThreadBasic::StopResult::NotRunning);
}

TEST(CThreadBasicThread, EveryCodeAppendedWhileTheWorkerRunsRunsOnceInOrder) {
    constexpr int kCodes = 3000;
    RunLog log;
    TaskQueue queue;
    TaskRoutineTable table;
    // One routine per code value in a small range, so codes repeat.
    std::vector<int> ran;
    ran.reserve(kCodes);
    std::atomic<int> count{0};
    for (int code = 1; code <= 27; ++code)
        table.setRoutine(code, [&ran, &count, code] {
            ran.push_back(code);  // only the worker touches `ran` until the join below
            ++count;
        });
    CThreadBasic worker(queue, std::move(table));
    ASSERT_TRUE(worker.Start());

    std::vector<int> pushed;
    std::thread window([&] {
        for (int i = 0; i < kCodes; ++i) {
            const int code = 1 + (i * 7) % 27;
            pushed.push_back(code);
            queue.enqueueTask(code);
            if (i % 200 == 0) std::this_thread::sleep_for(1ms);  // let the worker catch up and wait
        }
    });
    window.join();
    const auto deadline = Clock::now() + 20s;
    while (count.load() < kCodes && Clock::now() < deadline) std::this_thread::sleep_for(1ms);
    EXPECT_EQ(worker.Stop(), CThreadBasic::StopResult::Stopped);
    EXPECT_EQ(ran, pushed);
    EXPECT_TRUE(queue.empty());
}

TEST(CThreadBasicThread, AnIdleWorkerWaitsThePeriodInsteadOfSpinning) {
    TaskQueue queue;
    std::atomic<int> idleTurns{0};
    TaskRoutineTable table;
    table.setIdle([&] { ++idleTurns; });
    CThreadBasic worker(queue, std::move(table));

    const double cpuBefore = processCpuSeconds();
    const auto start = Clock::now();
    ASSERT_TRUE(worker.Start());
    std::this_thread::sleep_for(200ms);
    const int turns = idleTurns.load();
    const auto elapsed = Clock::now() - start;
    std::this_thread::sleep_for(300ms);
    worker.Stop();
    const double cpu = processCpuSeconds() - cpuBefore;

    // A 2 ms period gives at most one turn per 2 ms (about 100 in 200 ms); a
    // spinning loop would give thousands.
    const auto maxTurns = std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count() / 2 + 2;
    EXPECT_LE(turns, maxTurns);
    EXPECT_GE(turns, 20) << "the worker keeps turning while idle";
    // Half a second of idling costs a small part of one core.
    EXPECT_LT(cpu, 0.15) << "cpu seconds over 0.5 s of idling";
}

// With no device there is nothing to poll: the worker must not wake every
// period just to find that out, yet a task still starts at once and the poll
// resumes when a device appears.
TEST(CThreadBasicThread, AWorkerWithNothingToPollSleepsUntilATaskOrTheNextCheck) {
    RunLog log;
    TaskQueue queue;
    std::atomic<bool> devicePresent{false};
    std::atomic<int> gateAsked{0};
    TaskRoutineTable table = loggingTable(log, {9}, false);
    table.setIdle([&log] { log.add(kIdleMark); }, [&] {
        ++gateAsked;
        return devicePresent.load();
    });
    CThreadBasic worker(queue, std::move(table));
    const auto start = Clock::now();
    ASSERT_TRUE(worker.Start());
    std::this_thread::sleep_for(300ms);
    const int asked = gateAsked.load();
    const auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start);
    // One check per kIdleRecheck (about 3 in 300 ms); the 2 ms period would give about 150.
    EXPECT_LE(asked, elapsed / CThreadBasic::kIdleRecheck + 2);
    EXPECT_GE(asked, 1);

    queue.enqueueTask(9);
    ASSERT_TRUE(log.waitForCount(1, 5s));
    EXPECT_EQ(log.values().front(), 9);

    devicePresent = true;
    ASSERT_TRUE(log.waitForCount(2, 5s)) << "the poll resumes once a device is present";
    EXPECT_EQ(log.values()[1], kIdleMark);
    EXPECT_EQ(worker.Stop(), CThreadBasic::StopResult::Stopped);
}

TEST(CThreadBasicThread, AQueuedCodeWakesTheWorkerBeforeTheLongPeriodEnds) {
    RunLog log;
    TaskQueue queue;
    CThreadBasic worker(queue, loggingTable(log, {9}, false));
    ASSERT_TRUE(worker.Start(CThreadBasic::Mode::Periodic, 10s));
    std::this_thread::sleep_for(50ms);  // the worker now waits out its first turn
    const auto start = Clock::now();
    queue.enqueueTask(9);
    ASSERT_TRUE(log.waitForCount(1, 5s));
    EXPECT_LT(Clock::now() - start, 1s);
    const auto stopStart = Clock::now();
    EXPECT_EQ(worker.Stop(), CThreadBasic::StopResult::Stopped);
    EXPECT_LT(Clock::now() - stopStart, 500ms) << "stop wakes the waiting worker";
}

TEST(CThreadBasicThread, OnceModeRunsASingleTurn) {
    RunLog log;
    TaskQueue queue;
    queue.enqueueTask(9);
    queue.enqueueTask(9);
    CThreadBasic worker(queue, loggingTable(log, {9}));
    ASSERT_TRUE(worker.Start(CThreadBasic::Mode::Once));
    ASSERT_TRUE(log.waitForCount(1, 5s));
    const auto deadline = Clock::now() + 5s;
    while (worker.isRunning() && Clock::now() < deadline) std::this_thread::sleep_for(1ms);
    EXPECT_FALSE(worker.isRunning());
    EXPECT_EQ(log.values(), (std::vector<int>{9}));
    EXPECT_EQ(queue.size(), 1u);
}

// Sets a flag when the last copy of the routine that holds it is destroyed,
// that is when the worker thread has let go of its routine table.
struct ReleaseMark {
    explicit ReleaseMark(std::shared_ptr<std::atomic<bool>> flag) : released(std::move(flag)) {}
    ~ReleaseMark() { *released = true; }
    std::shared_ptr<std::atomic<bool>> released;
};

TEST(CThreadBasicThread, StopGivesUpOnALongTaskAfterTheWaitAndTheThreadEndsOnItsOwn) {
    auto released = std::make_shared<std::atomic<bool>>(false);
    auto taskEnded = std::make_shared<std::atomic<bool>>(false);
    auto taskStarted = std::make_shared<std::atomic<bool>>(false);
    auto laterTaskRan = std::make_shared<std::atomic<bool>>(false);
    {
        auto queue = std::make_unique<TaskQueue>();
        TaskRoutineTable table;
        auto mark = std::make_shared<ReleaseMark>(released);
        table.setRoutine(27, [mark, taskStarted, taskEnded] {
            *taskStarted = true;
            std::this_thread::sleep_for(1500ms);  // a download outlasting the stop wait
            *taskEnded = true;
        });
        table.setRoutine(9, [laterTaskRan] { *laterTaskRan = true; });
        mark.reset();
        auto worker = std::make_unique<CThreadBasic>(*queue, std::move(table));
        queue->enqueueTask(27);
        queue->enqueueTask(9);
        ASSERT_TRUE(worker->Start());
        while (!*taskStarted) std::this_thread::sleep_for(1ms);

        const auto start = Clock::now();
        EXPECT_EQ(worker->Stop(), CThreadBasic::StopResult::Abandoned);
        const auto waited = Clock::now() - start;
        EXPECT_GE(waited, CThreadBasic::kStopWait);
        EXPECT_LT(waited, CThreadBasic::kStopWait + 300ms);
        EXPECT_FALSE(*taskEnded);
        // The worker and the queue go away while the routine still runs.
        worker.reset();
        queue.reset();
    }
    const auto deadline = Clock::now() + 5s;
    while (!*released && Clock::now() < deadline) std::this_thread::sleep_for(5ms);
    EXPECT_TRUE(*taskEnded);
    EXPECT_TRUE(*released) << "the abandoned thread ended and let go of its routines";
    EXPECT_FALSE(*laterTaskRan) << "no further task runs after a stop";
}

TEST(CThreadBasicThread, AProcessEndsWithStatusZeroWhileAnAbandonedTaskRuns) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            TaskQueue queue;
            TaskRoutineTable table;
            table.setRoutine(26, [] { std::this_thread::sleep_for(3s); });
            CThreadBasic worker(queue, std::move(table));
            queue.enqueueTask(26);
            worker.Start();
            std::this_thread::sleep_for(50ms);
            const bool abandoned = worker.Stop(200ms) == CThreadBasic::StopResult::Abandoned;
            std::quick_exit(abandoned ? 0 : 3);
        },
        ::testing::ExitedWithCode(0), "");
}

}  // namespace
}  // namespace quorvik
