// The home page's list of supported models: one row per model (name, device
// type, picture) with its connection (mode 0 wired, 1 receiver), state (0
// offline, otherwise online) and firmware version. Opening a row notifies 2.
#pragma once

#include "ui/toolkit/MControlFont.h"
#include "ui/toolkit/detail/ItemList.h"

#include <string>
#include <vector>

namespace DUI {

class CDeviceList : public MControlFont {
public:
    struct Row {
        std::string name;
        int deviceType = 0;
        std::string image;
        int mode = 0;
        int state = 0;
        std::string version;
        int battery = 0;   // level in percent; 0 while none was reported
        int charging = 0;  // charging state as the mouse reports it
    };

    const char* GetClassName() const override { return "CDeviceList"; }

    int AddDevice(const std::string& name, int deviceType, const std::string& image);
    void ClearList();
    std::vector<Row> GetRows() const;
    int GetItemCount() const;
    void SetAllDeviceState(int state);
    // Every row of that type gets the mode and state; false when none has it.
    bool SetDeviceState(int deviceType, int mode, int state);
    bool SetDeviceVersion(int deviceType, const std::string& version);
    // The battery of every row of that type; false when none has it.
    bool SetDeviceBattery(int deviceType, int level, int charging);
    // Selects the first row of that type; with no such row the selection stays.
    bool SetSelectDevice(int deviceType);
    // The selected row's device type; 0 when nothing is selected.
    int GetSelectDevice() const;
    // Selects a row by index; an index out of range clears the selection.
    void SetSelectIndex(int index);
    int GetSelectIndex() const;
    int GetOnlineDevCount() const;
    // Caption before each row's version ("Firmware").
    void SetVersionDesc(const std::string& text);
    std::string GetVersionDesc() const;
    void SetBatteryImages(const std::string& background, const std::string& level,
                          const std::string& charging);
    // Picture names of the battery drawn on rows that have a level.
    void GetBatteryImages(std::string& background, std::string& level, std::string& charging) const;
    void SetModeImage(const std::string& name);
    std::string GetModeImage() const;

    // The user opened row `index`.
    bool userOpen(int index);

private:
    detail::ItemList<Row> m_rows{m_mutex, [this] { requestRedraw(); }};
    std::string m_versionDesc;
    std::string m_batteryBackground;
    std::string m_batteryLevel;
    std::string m_batteryCharging;
    std::string m_modeImage;
};

}  // namespace DUI
