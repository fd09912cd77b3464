// The performance settings between the store's current profile and the mouse:
// the configuration read (once per model and run) and the six write commands
// (report rate, DPI stages, DPI colours, lift-off and sensor, power, reset).
#pragma once

#include "device/BindingTransfer.h"
#include "device/DeviceSession.h"

namespace quorvik {

class DeviceSettingsCommands {
public:
    explicit DeviceSettingsCommands(DeviceSession& session);

    // Shows the stored identity and battery, then reads the mouse's settings
    // into the store unless this model was read already in this run. False
    // (after OnCommandFailure) when there is no current interface or the
    // wireless mouse is offline. Through a receiver it also reads the
    // wireless mouse's firmware version.
    bool ReadDeviceConfig();
    // The same when a receiver's mouse came back: no battery reset, no
    // firmware version read.
    bool ReadDeviceConfigAfterReconnect();

    // One write command each, built from the store; a failure runs
    // OnCommandFailure. The result says whether the mouse took it.
    bool SendReportRate();
    bool SendDpiStages();
    bool SendDpiColors();
    bool SendLiftOffAndSensor();
    bool SendPowerOptions();
    // Factory reset of the mouse; its result is not acted on.
    bool SendFactoryReset();

private:
    enum class ReadKind { Load, AfterReconnect };
    bool readConfig(ReadKind kind);
    void readSettings(int sensorId);

    DeviceSession& m_session;
    BindingTransfer m_bindings;
};

}  // namespace quorvik
