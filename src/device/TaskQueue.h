// The window's queue of device task codes: the window thread appends, the device
// worker takes from the front. A short lock covers only the append or the
// removal itself, so appending never waits for a running task; an append wakes
// a worker that is waiting for work at once.
//
// The queue also keeps a read interrupt raised for as long as it holds a code,
// which cuts the worker's idle read short when a task is queued meanwhile. The
// owner wires it into the device manager once, before starting the worker:
//     DeviceManager::Instance().setReadInterrupt(taskQueue.readInterrupt());
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <stop_token>
#include <vector>

#include "device/ReadInterrupt.h"

namespace quorvik {

class TaskQueue {
public:
    TaskQueue();
    // Lowers the read interrupt, which may outlive the queue in its users.
    ~TaskQueue();
    TaskQueue(const TaskQueue&) = delete;
    TaskQueue& operator=(const TaskQueue&) = delete;

    // Appends a code. Codes are never merged: the same code twice runs twice.
    // Raises the read interrupt and wakes a read waiting on it.
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

    // Raised exactly while the queue holds a code (its level changes under
    // the queue's lock, together with the queue).
    std::shared_ptr<const ReadInterrupt> readInterrupt() const { return m_interrupt; }

private:
    mutable std::mutex m_mutex;
    std::condition_variable_any m_queued;
    std::deque<std::int32_t> m_codes;
    const std::shared_ptr<ReadInterrupt> m_interrupt;
};

}  // namespace quorvik
