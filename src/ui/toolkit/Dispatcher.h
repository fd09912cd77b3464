// The toolkit's message queue and thread rules. Any thread may post a numbered
// message to a window or marshal a call onto the user-interface thread; the UI
// thread delivers them in posting order (ProcessPending, run by the backend).
#pragma once

#include "ui/toolkit/Messages.h"

#include <chrono>
#include <cstddef>
#include <functional>

namespace DUI {

class Backend;

class Dispatcher {
public:
    // Installs the backend and makes the calling thread the UI thread. Passing
    // nullptr detaches it (queued work stays queued).
    static void SetBackend(Backend* backend);
    static Backend* GetBackend();

    static bool IsUiThread();

    // Any thread. False when hwnd is 0. A message for a window that no longer
    // exists when it is delivered is dropped.
    static bool PostMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

    // Any thread: run `call` on the UI thread after the work queued before it.
    // With hwnd != 0 the call is dropped when that window is gone by then.
    static void Post(HWND hwnd, std::function<void()> call);

    // UI thread: run `call` now when already on it, else Post it.
    static void RunOnUiThread(HWND hwnd, std::function<void()> call);

    // UI thread: deliver queued work, including work queued while delivering,
    // until the queue is empty or `stop` returns true. Returns the number of
    // items delivered. Re-entrant: a modal loop inside a handler drains too.
    static std::size_t ProcessPending(const std::function<bool()>& stop = {});

    // UI thread: wait up to `timeout` for work to arrive; true when some is queued.
    static bool WaitForPending(std::chrono::milliseconds timeout);

    static std::size_t PendingCount();
    // Drops all queued work (tests start from a clean queue).
    static void Clear();
};

}  // namespace DUI
