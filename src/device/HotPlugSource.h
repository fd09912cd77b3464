// Where device arrivals and removals come from: the udev monitor on the real
// system, the simulated devices under --simulate and in tests. A source calls
// its callback on its own thread (udev's, or the one that plugged a simulated
// device), never on the window thread; the owner posts each event to the
// window thread, which then runs OnDeviceChange (DeviceChange.h).
#pragma once

#include <functional>

#include "device/HidHotPlugEvent.h"

namespace quorvik {

class HotPlugSource {
public:
    using Callback = std::function<void(const HidHotPlugEvent&)>;

    virtual ~HotPlugSource() = default;

    // Starts delivering events to `callback`. False when the source cannot run
    // here (no udev, no netlink socket) or is running already; nothing is
    // delivered then.
    virtual bool start(Callback callback) = 0;
    // Stops delivering; when it returns no callback runs any more. Must not be
    // called from the callback. Stopping a stopped source does nothing.
    virtual void stop() = 0;
    virtual bool isRunning() const = 0;
};

}  // namespace quorvik
