// The device worker thread: it calls Run in a loop, one queued task per call or
// the idle routine when nothing is queued, and between calls waits on the task
// queue for at most the period (2 ms), so a queued task starts at once and an
// idle worker sleeps instead of spinning. A turn with nothing to do (empty
// queue, idle routine gated off or absent) is followed by a longer wait
// (kIdleRecheck): the queue still wakes it at once, and the idle routine's gate
// is asked again when it ends. Owned by the main window.
//
// The idle read gives way to a queued task when the owner wires the queue's
// read interrupt into the device manager (see TaskQueue.h):
//     manager.setReadInterrupt(queue.readInterrupt());
#pragma once

#include <atomic>
#include <chrono>
#include <memory>
#include <thread>

#include "device/TaskQueue.h"
#include "device/TaskRoutineTable.h"

namespace quorvik {

class CThreadBasic {
public:
    static constexpr std::chrono::milliseconds kPeriod{2};
    static constexpr std::chrono::milliseconds kStopWait{1000};
    // The wait after a turn with nothing to do (at least the period).
    static constexpr std::chrono::milliseconds kIdleRecheck{100};

    enum class Mode { Periodic, Once };
    enum class StopResult {
        NotRunning,  // never started, or stopped before
        Stopped,     // the thread left its loop within the wait
        Abandoned,   // a routine outlasted the wait; the thread was let go
    };

    // `queue` must outlive the worker's loop; the routines are the worker's own
    // copy and live as long as its thread, even an abandoned one.
    CThreadBasic(TaskQueue& queue, TaskRoutineTable routines);
    // Stops a running worker (Stop with the default wait).
    ~CThreadBasic();
    CThreadBasic(const CThreadBasic&) = delete;
    CThreadBasic& operator=(const CThreadBasic&) = delete;

    // Starts the thread: Periodic calls Run until stopped, waiting up to
    // `period` for a task between calls; Once calls Run a single time. A
    // worker starts only once: false when it was started before.
    bool Start(Mode mode = Mode::Periodic, std::chrono::milliseconds period = kPeriod);

    // One turn of the worker: takes the front code and runs its routine (a code
    // without one is dropped), or runs the idle routine when the queue is empty
    // and the routine's gate lets it. Exactly one task per call. Called by the
    // thread; tests may call it directly.
    void Run();

    // Asks the loop to end and wakes it, then waits up to `maxWait` for the
    // thread to leave it. A routine still running after the wait is abandoned:
    // the thread is detached and ends on its own once the routine returns,
    // touching nothing of this object. The owner should end the process without
    // running static destructors (std::quick_exit) after Abandoned, since the
    // routine may still be using them. Must not be called from a routine.
    StopResult Stop(std::chrono::milliseconds maxWait = kStopWait);

    // The running flag: set by Start, cleared by Stop.
    bool isActive() const { return m_active.load(); }
    // True while the thread is inside its loop (from Start until it left).
    bool isRunning() const;
    // When the thread was started.
    std::chrono::steady_clock::time_point startTick() const { return m_startTick; }

private:
    struct DoneSignal;

    TaskQueue& m_queue;
    std::shared_ptr<const TaskRoutineTable> m_routines;
    std::shared_ptr<DoneSignal> m_done;
    std::jthread m_thread;
    std::atomic<bool> m_active = false;
    bool m_started = false;
    std::chrono::steady_clock::time_point m_startTick{};
};

}  // namespace quorvik
