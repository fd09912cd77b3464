// The toolkit's message queue: one FIFO shared by all threads, drained on the
// user-interface thread. Handlers run without the queue lock held, so they may
// post more work or open a modal loop that drains the same queue.
#include "ui/toolkit/Dispatcher.h"

#include "base/Trace.h"
#include "ui/toolkit/Backend.h"
#include "ui/toolkit/MWindow.h"
#include "ui/toolkit/detail/WindowRegistry.h"

#include <atomic>
#include <condition_variable>
#include <deque>
#include <exception>
#include <mutex>
#include <thread>

namespace DUI {
namespace {

struct Item {
    HWND hwnd = 0;
    bool isMessage = false;
    UINT message = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
    std::function<void()> call;
};

struct Queue {
    std::mutex mutex;
    std::condition_variable arrived;
    std::deque<Item> items;
    std::atomic<Backend*> backend{nullptr};
    std::atomic<std::thread::id> uiThread{};
};

Queue& queue() {
    static Queue q;
    return q;
}

void push(Item item) {
    Queue& q = queue();
    {
        std::lock_guard lock(q.mutex);
        q.items.push_back(std::move(item));
    }
    q.arrived.notify_all();
    if (Backend* backend = q.backend.load()) backend->wakeUp();
}

void deliver(Item& item) {
    try {
        if (item.isMessage) {
            if (MWindow* window = detail::WindowRegistry::instance().find(item.hwnd))
                window->OnWindowMessage(item.message, item.wParam, item.lParam);
            return;
        }
        if (item.hwnd != 0 && !detail::WindowRegistry::instance().contains(item.hwnd)) return;
        if (item.call) item.call();
    } catch (const std::exception& e) {
        quorvik::trace(std::string("DUI: handler failed: ") + e.what());
    } catch (...) {
        quorvik::trace("DUI: handler failed");
    }
}

}  // namespace

void Dispatcher::SetBackend(Backend* backend) {
    queue().backend.store(backend);
    queue().uiThread.store(backend ? std::this_thread::get_id() : std::thread::id{});
}

Backend* Dispatcher::GetBackend() {
    return queue().backend.load();
}

bool Dispatcher::IsUiThread() {
    const std::thread::id ui = queue().uiThread.load();
    return ui == std::thread::id{} || ui == std::this_thread::get_id();
}

bool Dispatcher::PostMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (hwnd == 0) return false;
    Item item;
    item.hwnd = hwnd;
    item.isMessage = true;
    item.message = message;
    item.wParam = wParam;
    item.lParam = lParam;
    push(std::move(item));
    return true;
}

void Dispatcher::Post(HWND hwnd, std::function<void()> call) {
    Item item;
    item.hwnd = hwnd;
    item.call = std::move(call);
    push(std::move(item));
}

void Dispatcher::RunOnUiThread(HWND hwnd, std::function<void()> call) {
    if (IsUiThread())
        call();
    else
        Post(hwnd, std::move(call));
}

std::size_t Dispatcher::ProcessPending(const std::function<bool()>& stop) {
    Queue& q = queue();
    std::size_t delivered = 0;
    for (;;) {
        if (stop && stop()) break;
        Item item;
        {
            std::lock_guard lock(q.mutex);
            if (q.items.empty()) break;
            item = std::move(q.items.front());
            q.items.pop_front();
        }
        deliver(item);
        ++delivered;
    }
    return delivered;
}

bool Dispatcher::WaitForPending(std::chrono::milliseconds timeout) {
    Queue& q = queue();
    std::unique_lock lock(q.mutex);
    return q.arrived.wait_for(lock, timeout, [&] { return !q.items.empty(); });
}

std::size_t Dispatcher::PendingCount() {
    std::lock_guard lock(queue().mutex);
    return queue().items.size();
}

void Dispatcher::Clear() {
    std::lock_guard lock(queue().mutex);
    queue().items.clear();
}

}  // namespace DUI
