// The read interrupt's level and its wakers. The level is stored before the
// wakers are called, and a read registers its waker before it looks at the
// level, so a raise either shows up in that look or reaches the waker.
#include "device/ReadInterrupt.h"

#include <utility>

namespace quorvik {

ReadInterrupt::Subscription::Subscription(Subscription&& other) noexcept
    : m_owner(std::exchange(other.m_owner, nullptr)), m_id(std::exchange(other.m_id, 0)) {}

ReadInterrupt::Subscription& ReadInterrupt::Subscription::operator=(Subscription&& other) noexcept {
    if (this != &other) {
        release();
        m_owner = std::exchange(other.m_owner, nullptr);
        m_id = std::exchange(other.m_id, 0);
    }
    return *this;
}

ReadInterrupt::Subscription::~Subscription() {
    release();
}

void ReadInterrupt::Subscription::release() {
    if (m_owner != nullptr) m_owner->unsubscribe(m_id);
    m_owner = nullptr;
}

void ReadInterrupt::raise() {
    setRaised(true);
    wake();
}

void ReadInterrupt::clear() {
    setRaised(false);
}

void ReadInterrupt::setRaised(bool raised) {
    m_raised.store(raised);
}

void ReadInterrupt::wake() const {
    // Under the lock, so a subscription never ends while its waker runs.
    std::lock_guard lock(m_mutex);
    for (const auto& [id, waker] : m_wakers) waker();
}

ReadInterrupt::Subscription ReadInterrupt::subscribe(Waker waker) const {
    if (!waker) return {};
    std::lock_guard lock(m_mutex);
    const std::uint64_t id = m_nextId++;
    m_wakers.emplace(id, std::move(waker));
    return Subscription(this, id);
}

void ReadInterrupt::unsubscribe(std::uint64_t id) const {
    std::lock_guard lock(m_mutex);
    m_wakers.erase(id);
}

}  // namespace quorvik
