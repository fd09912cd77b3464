// The worker loop. The thread holds its own references to the routine table and
// to the done signal, so an abandoned thread that finishes its routine after the
// worker object is gone ends cleanly: it checks only its stop token and signal.
#include "device/CThreadBasic.h"

#include <algorithm>
#include <condition_variable>
#include <mutex>

namespace quorvik {

struct CThreadBasic::DoneSignal {
    std::mutex mutex;
    std::condition_variable cv;
    bool done = false;

    void set() {
        {
            std::lock_guard lock(mutex);
            done = true;
        }
        cv.notify_all();
    }
    bool waitFor(std::chrono::milliseconds timeout) {
        std::unique_lock lock(mutex);
        return cv.wait_for(lock, timeout, [this] { return done; });
    }
    bool isSet() {
        std::lock_guard lock(mutex);
        return done;
    }
};

namespace {

// Whether the turn did anything: a task, or the idle routine.
bool runOnce(TaskQueue& queue, const TaskRoutineTable& routines) {
    std::int32_t code = 0;
    if (queue.tryPop(code)) {
        routines.run(code);  // an unknown code is dropped here
        return true;
    }
    if (!routines.idleWanted()) return false;
    routines.idle();
    return true;
}

}  // namespace

CThreadBasic::CThreadBasic(TaskQueue& queue, TaskRoutineTable routines)
    : m_queue(queue), m_routines(std::make_shared<const TaskRoutineTable>(std::move(routines))) {}

CThreadBasic::~CThreadBasic() {
    Stop();
}

bool CThreadBasic::Start(Mode mode, std::chrono::milliseconds period) {
    if (m_started) return false;
    m_started = true;
    m_startTick = std::chrono::steady_clock::now();
    m_done = std::make_shared<DoneSignal>();
    m_active = true;
    TaskQueue* queue = &m_queue;
    m_thread =
        std::jthread([queue, routines = m_routines, done = m_done, mode, period](std::stop_token stop) {
            while (!stop.stop_requested()) {
                const bool worked = runOnce(*queue, *routines);
                if (mode == Mode::Once || stop.stop_requested()) break;
                queue->waitForTask(worked ? period : std::max(period, kIdleRecheck), stop);
            }
            done->set();
        });
    return true;
}

void CThreadBasic::Run() {
    runOnce(m_queue, *m_routines);
}

CThreadBasic::StopResult CThreadBasic::Stop(std::chrono::milliseconds maxWait) {
    if (!m_thread.joinable()) return StopResult::NotRunning;
    m_active = false;
    m_thread.request_stop();
    if (m_thread.get_id() == std::this_thread::get_id()) {
        // Called from a routine: the loop ends after it returns.
        m_thread.detach();
        return StopResult::Abandoned;
    }
    if (m_done->waitFor(maxWait)) {
        m_thread.join();
        return StopResult::Stopped;
    }
    m_thread.detach();
    return StopResult::Abandoned;
}

bool CThreadBasic::isRunning() const {
    return m_done && !m_done->isSet() && m_started && m_thread.joinable();
}

}  // namespace quorvik
