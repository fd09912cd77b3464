// Where the late configuration pass delivers what it finds besides AppConfig:
// the device list control, the device manager's supported identities, the
// version labels and the device notifications. The main window implements it,
// so this layer needs neither UI nor device code.
#pragma once

#include <string>

namespace quorvik {

class DeviceConfigSink {
public:
    virtual ~DeviceConfigSink() = default;

    // Empty the device list control (CDeviceList::ClearList).
    virtual void clearDeviceList() = 0;
    // One row of the device list (CDeviceList::AddDevice).
    virtual void addDevice(const std::string& name, int deviceType, const std::string& imagePath) = 0;
    // Empty the device manager's list of supported identities.
    virtual void clearSupportedDevices() = 0;
    // Register one USB identity with the device manager.
    virtual void registerSupportedDevice(int vid, int pid, const std::string& name, int deviceType, int mode,
                                         const std::string& devId) = 0;
    // Title of the frame's and of the settings page's version labels.
    virtual void setVersionTitle(const std::string& title) = 0;
    // Start following device arrival and removal.
    virtual void registerDeviceNotifications() = 0;
};

// A sink for readers that want only the AppConfig the late pass fills (the
// udev rules tool, tests): every effect is dropped.
class IgnoringDeviceConfigSink : public DeviceConfigSink {
public:
    void clearDeviceList() override {}
    void addDevice(const std::string&, int, const std::string&) override {}
    void clearSupportedDevices() override {}
    void registerSupportedDevice(int, int, const std::string&, int, int, const std::string&) override {}
    void setVersionTitle(const std::string&) override {}
    void registerDeviceNotifications() override {}
};

}  // namespace quorvik
