// The task queue: a deque under a mutex that is held only to append or remove
// one code, and a condition the worker waits on between its runs.
#include "device/TaskQueue.h"

namespace quorvik {

void TaskQueue::enqueueTask(std::int32_t code) {
    {
        std::lock_guard lock(m_mutex);
        m_codes.push_back(code);
    }
    m_queued.notify_one();
}

bool TaskQueue::tryPop(std::int32_t& code) {
    std::lock_guard lock(m_mutex);
    if (m_codes.empty()) return false;
    code = m_codes.front();
    m_codes.pop_front();
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
