// The window's queue of device task codes: the window thread appends, the device
// worker takes from the front. A short lock covers only the append or the
// removal itself, so appending never waits for a running task; an append wakes
// a worker that is waiting for work at once.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <mutex>
#include <stop_token>
#include <vector>

namespace quorvik {

class TaskQueue {
public:
    // Appends a code. Codes are never merged: the same code twice runs twice.
    void enqueueTask(std::int32_t code);

    // Removes the front code into `code`; false (code untouched) when empty.
    bool tryPop(std::int32_t& code);

    // Waits until a code is queued, `timeout` has passed or a stop is requested
    // through `stop`. True when a code is queued on return. Returns at once when
    // one is queued already.
    bool waitForTask(std::chrono::milliseconds timeout, std::stop_token stop = {});

    std::size_t size() const;
    bool empty() const;
    // A copy of the queued codes, front first (diagnostics and tests).
    std::vector<std::int32_t> snapshot() const;

private:
    mutable std::mutex m_mutex;
    std::condition_variable_any m_queued;
    std::deque<std::int32_t> m_codes;
};

}  // namespace quorvik
