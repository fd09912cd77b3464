// A DeviceEvents sink for the device benchmarks: it drops every report and
// only counts command failures, so the figures measure the device layer alone.
#pragma once

#include "device/DeviceEvents.h"

namespace quorvik {

class QuietEvents : public DeviceEvents {
public:
    void OnCommandFailure() override { ++failures; }
    void resetBatteryDisplay(int) override {}
    void showBattery(int, int) override {}
    void showDeviceListBattery(int, int, int) override {}
    void showDeviceIdentity(const DeviceInfoBlock&) override {}
    void showWirelessFirmware(const std::string&) override {}
    void closeHelperWindows() override {}
    void showMouseOnline(int, int, DeviceText) override {}
    void showMouseOffline(int) override {}
    void refreshPages() override {}
    void refreshLightingPage() override {}
    void setCurrentLightMode(int) override {}
    void dpiStageCountChanged(int) override {}
    void dpiStageChanged(int, int) override {}
    void showFlashProgress(int) override {}
    int failures = 0;
};

}  // namespace quorvik
