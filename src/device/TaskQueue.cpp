// The task queue: a deque under a mutex that is held only to append or remove
// one code, and a condition the worker waits on between its runs. The read
// interrupt's level follows the queue under the same lock, so it can never
// stay raised over an empty queue (which would make every idle read return at
// once and the worker spin) nor stay lowered over a queued code.
#include "device/TaskQueue.h"

namespace quorvik {

TaskQueue::TaskQueue() : m_interrupt(std::make_shared<ReadInterrupt>()) {}

TaskQueue::~TaskQueue() {
    m_interrupt->clear();
}

void TaskQueue::enqueueTask(std::int32_t code) {
    {
        std::lock_guard lock(m_mutex);
        m_codes.push_back(code);
        m_interrupt->setRaised(true);
    }
    // Woken outside the queue's lock: the wakers take device locks.
    m_interrupt->wake();
    m_queued.notify_one();
}

bool TaskQueue::tryPop(std::int32_t& code) {
    std::lock_guard lock(m_mutex);
    if (m_codes.empty()) return false;
    code = m_codes.front();
    m_codes.pop_front();
    if (m_codes.empty()) m_interrupt->setRaised(false);
    return true;
}

bool TaskQueue::waitForTask(std::chrono::milliseconds timeout, std::stop_token stop) {
    std::unique_lock lock(m_mutex);
    if (!m_codes.empty()) return true;
    if (timeout.count() <= 0) return false;
    return m_queued.wait_for(lock, stop, timeout, [this] { return !m_codes.empty(); });
}

std::size_t TaskQueue::size() const {
    std::lock_guard lock(m_mutex);
    return m_codes.size();
}

bool TaskQueue::empty() const {
    return size() == 0;
}

std::vector<std::int32_t> TaskQueue::snapshot() const {
    std::lock_guard lock(m_mutex);
    return {m_codes.begin(), m_codes.end()};
}

}  // namespace quorvik
