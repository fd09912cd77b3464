// The hot-plug source of the simulated devices: it subscribes to the simulated
// backend's plug and unplug callback (SimulatedHidBackend::setHotPlugCallback,
// handed in as `subscribe` so this layer needs no simulator code) and passes
// each event on, on the thread that plugged or unplugged the device.
#pragma once

#include <memory>
#include <mutex>

#include "device/HotPlugSource.h"

namespace quorvik {

class SimulatedHotPlugSource : public HotPlugSource {
public:
    // Installs a callback with the backend; called with an empty callback to
    // remove it again.
    using Subscribe = std::function<void(Callback)>;

    explicit SimulatedHotPlugSource(Subscribe subscribe);
    ~SimulatedHotPlugSource() override;

    bool start(Callback callback) override;
    void stop() override;
    bool isRunning() const override;

private:
    // Shared with the callback given to the backend, so a late event after
    // stop (or after this object is gone) finds no callback instead of a
    // dangling one. Events are delivered under the slot's mutex, which is what
    // lets stop promise that no callback runs once it returns.
    struct Slot {
        std::mutex mutex;
        Callback callback;
    };

    Subscribe m_subscribe;
    std::shared_ptr<Slot> m_slot = std::make_shared<Slot>();
    bool m_running = false;
};

}  // namespace quorvik
