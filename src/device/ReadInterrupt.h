// A signal that cuts the worker's idle reads short. While it is raised an
// interruptible read (HidDevice::readInterruptible) returns 0 without reading,
// and raising it wakes a read that is already waiting. It is a level, not an
// event: the task queue keeps it raised for as long as a code is queued, so a
// code appended after the worker found the queue empty but before its read
// began still ends that read at once.
//
// A device whose read can block on a condition registers a waker for the
// duration of its wait (subscribe); the waker is called on every wake() until
// the subscription ends. Wakers run under the signal's own lock, so a waiting
// read must neither subscribe nor end its subscription while holding a lock
// that its waker takes (check isRaised under that lock instead: it is lock-free).
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <map>
#include <mutex>

namespace quorvik {

class ReadInterrupt {
public:
    using Waker = std::function<void()>;

    // Ends its registration when destroyed; movable, not copyable.
    class Subscription {
    public:
        Subscription() = default;
        Subscription(Subscription&& other) noexcept;
        Subscription& operator=(Subscription&& other) noexcept;
        Subscription(const Subscription&) = delete;
        Subscription& operator=(const Subscription&) = delete;
        ~Subscription();

    private:
        friend class ReadInterrupt;
        Subscription(const ReadInterrupt* owner, std::uint64_t id) : m_owner(owner), m_id(id) {}
        void release();
        const ReadInterrupt* m_owner = nullptr;
        std::uint64_t m_id = 0;
    };

    ReadInterrupt() = default;
    ReadInterrupt(const ReadInterrupt&) = delete;
    ReadInterrupt& operator=(const ReadInterrupt&) = delete;

    // Raises the signal and wakes every waiting read.
    void raise();
    // Lowers it; reads wait their full time again.
    void clear();
    // Changes only the level, without waking anybody: for an owner that
    // updates the level under its own lock and wakes after releasing it.
    void setRaised(bool raised);
    // Calls every registered waker; a woken read looks at the level again.
    void wake() const;
    bool isRaised() const { return m_raised.load(); }

    // Registers `waker` until the returned subscription ends. The signal must
    // outlive the subscription.
    [[nodiscard]] Subscription subscribe(Waker waker) const;

private:
    void unsubscribe(std::uint64_t id) const;

    std::atomic<bool> m_raised{false};
    mutable std::mutex m_mutex;
    mutable std::map<std::uint64_t, Waker> m_wakers;
    mutable std::uint64_t m_nextId = 1;
};

}  // namespace quorvik
