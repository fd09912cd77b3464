// What the device layer tells the main window. The window implements this; the
// device layer only calls it, from the worker thread. Texts the user sees are
// made by the window from the language ids passed here.
#pragma once

#include <string>

#include "protocol/DeviceInfoBlock.h"

namespace quorvik {

// Language text ids ("LAN" section) the window shows for device events.
enum class DeviceText : int {
    NotConnected = 50,
    ConnectedWired = 51,
    ConnectedReceiver = 52,
    MouseFirmwareLabel = 551,
    ReceiverFirmwareLabel = 552,
    FirmwareUpdateLabel = 580,
    FlashProgressLabel = 592,
};

class DeviceEvents {
public:
    virtual ~DeviceEvents() = default;

    // A setting command failed (no current interface, no reply). The window's
    // own failure handling decides from CurrentMode what to show.
    virtual void OnCommandFailure() = 0;

    // Battery control back to (its previous level, 100) and the device-list
    // cell of the model to (its previous charging state, 100).
    virtual void resetBatteryDisplay(int deviceType) = 0;
    // The battery control.
    virtual void showBattery(int level, int charging) = 0;
    // The device list's battery cell of a model.
    virtual void showDeviceListBattery(int deviceType, int charging, int level) = 0;
    // The identity of the current interface: sensor (DPI limits), report-rate
    // capability and the rest of the block, for the pages.
    virtual void showDeviceIdentity(const DeviceInfoBlock& info) = 0;
    // The wireless mouse's own firmware version ("105"), shown with
    // MouseFirmwareLabel; the firmware update label becomes FirmwareUpdateLabel.
    virtual void showWirelessFirmware(const std::string& versionText) = 0;

    // Closes or hides the transient pop-ups.
    virtual void closeHelperWindows() = 0;
    // The wireless mouse of a model came online: connected flag, page frames,
    // status text, device-list row (mode, online), device list, key tab.
    virtual void showMouseOnline(int deviceType, int mode, DeviceText status) = 0;
    // It went offline: connected flag cleared, status text NotConnected, home
    // tab, row (receiver, offline), macro recording stopped, device list or
    // the not-connected view by the rows still online.
    virtual void showMouseOffline(int deviceType) = 0;

    // Key, macro, performance and (with lighting) lighting pages from the store.
    virtual void refreshPages() = 0;
    virtual void refreshLightingPage() = 0;
    // The light mode the mouse reported becomes the window's current one.
    virtual void setCurrentLightMode(int mode) = 0;

    // The mouse's DPI button changed the stage count or the current stage (the
    // store already holds the new values; dpi is the stage's stored DPI).
    virtual void dpiStageCountChanged(int count) = 0;
    virtual void dpiStageChanged(int stage, int dpi) = 0;

    // Flashing progress in percent, shown as flashProgressText(label, percent).
    virtual void showFlashProgress(int percent) = 0;
};

}  // namespace quorvik
