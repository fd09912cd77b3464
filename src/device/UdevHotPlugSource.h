// The hot-plug source of the real system: a libudev monitor on subsystem hidraw,
// read by a thread of its own, which calls the callback for each node added or
// removed (path text as HotPlugPathText builds it). Nodes present at start are
// remembered so that their later removal carries their identity too.
#pragma once

#include <memory>
#include <thread>

#include "device/HotPlugSource.h"

namespace quorvik {

class UdevHotPlugSource : public HotPlugSource {
public:
    UdevHotPlugSource();
    ~UdevHotPlugSource() override;
    UdevHotPlugSource(const UdevHotPlugSource&) = delete;
    UdevHotPlugSource& operator=(const UdevHotPlugSource&) = delete;

    // False when udev or its netlink monitor cannot be set up here (for
    // example in a container without netlink), the callback is empty, or the
    // source is running already.
    bool start(Callback callback) override;
    void stop() override;
    bool isRunning() const override { return m_thread.joinable(); }

private:
    struct Monitor;

    std::unique_ptr<Monitor> m_monitor;
    std::thread m_thread;
};

}  // namespace quorvik
