// The task codes the window side queues for the device worker. A code names one
// device routine; the owner's routine table binds each code to its routine, and
// a code without one is taken from the queue and dropped.
#pragma once

#include <cstdint>

namespace quorvik {

enum DeviceTask : std::int32_t {
    kTaskDiscoverAndLoad = 1,  // start-up: discovery, then load with no delay
    kTaskDeviceArrived = 2,    // a supported vendor collection arrived
    kTaskDeviceChanged = 3,    // a supported interface 2 left: reload the state
    kTaskReloadPages = 4,      // a connected wireless model was opened
    kTaskWriteAll = 5,         // a profile was chosen or imported
    kTaskSendKeys = 6,
    kTaskSendLighting = 8,
    kTaskSendDpiStages = 9,
    kTaskSendDpiColors = 10,
    kTaskSendReportRate = 11,
    kTaskSendSensorOptions = 12,
    kTaskSendPowerOptions = 13,
    kTaskButtonResponse = 14,  // queued, but the value travels with 13 or 5
    kTaskResetLighting = 17,
    kTaskResetDpi = 18,
    kTaskFactoryReset = 20,
    kTaskSoftwareCheck = 23,
    kTaskFirmwareCheck = 24,
    kTaskSoftwareUpdate = 26,
    kTaskFirmwareUpdate = 27,
};

}  // namespace quorvik
