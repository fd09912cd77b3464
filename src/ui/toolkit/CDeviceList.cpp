// Model list of the home page (see CDeviceList.h).
#include "ui/toolkit/CDeviceList.h"

#include "ui/toolkit/Messages.h"

namespace DUI {

using Rows = detail::ItemRows<CDeviceList::Row>;

int CDeviceList::AddDevice(const std::string& name, int deviceType, const std::string& image) {
    return m_rows.insert({name, deviceType, image, 0, 0, {}});
}

void CDeviceList::ClearList() {
    m_rows.clear();
}

std::vector<CDeviceList::Row> CDeviceList::GetRows() const {
    return m_rows.items();
}

int CDeviceList::GetItemCount() const {
    return m_rows.count();
}

void CDeviceList::SetAllDeviceState(int state) {
    m_rows.update([&](Rows& rows) {
        for (Row& row : rows.items) row.state = state;
        return true;
    });
}

bool CDeviceList::SetDeviceState(int deviceType, int mode, int state) {
    return m_rows.update([&](Rows& rows) {
        bool found = false;
        for (Row& row : rows.items) {
            if (row.deviceType != deviceType) continue;
            row.mode = mode;
            row.state = state;
            found = true;
        }
        return found;
    });
}

bool CDeviceList::SetDeviceBattery(int deviceType, int level, int charging) {
    return m_rows.update([&](Rows& rows) {
        bool found = false;
        for (Row& row : rows.items) {
            if (row.deviceType != deviceType) continue;
            row.battery = level;
            row.charging = charging;
            found = true;
        }
        return found;
    });
}

bool CDeviceList::SetDeviceVersion(int deviceType, const std::string& version) {
    return m_rows.update([&](Rows& rows) {
        bool found = false;
        for (Row& row : rows.items) {
            if (row.deviceType != deviceType) continue;
            row.version = version;
            found = true;
        }
        return found;
    });
}

bool CDeviceList::SetSelectDevice(int deviceType) {
    return m_rows.update([&](Rows& rows) {
        const int found = rows.findFirst([&](const Row& row) { return row.deviceType == deviceType; });
        if (found < 0) return false;
        rows.selected = found;
        return true;
    });
}

int CDeviceList::GetSelectDevice() const {
    return m_rows.read([](const Rows& rows) {
        const Row* row = rows.at(rows.selected);
        return row != nullptr ? row->deviceType : 0;
    });
}

void CDeviceList::SetSelectIndex(int index) {
    m_rows.select(index);
}

int CDeviceList::GetSelectIndex() const {
    return m_rows.selected();
}

int CDeviceList::GetOnlineDevCount() const {
    return m_rows.read([](const Rows& rows) {
        int count = 0;
        for (const Row& row : rows.items)
            if (row.state != 0) ++count;
        return count;
    });
}

void CDeviceList::SetVersionDesc(const std::string& text) {
    {
        std::lock_guard lock(m_mutex);
        if (m_versionDesc == text) return;
        m_versionDesc = text;
    }
    requestRedraw();
}

std::string CDeviceList::GetVersionDesc() const {
    std::lock_guard lock(m_mutex);
    return m_versionDesc;
}

void CDeviceList::SetBatteryImages(const std::string& background, const std::string& level,
                                   const std::string& charging) {
    {
        std::lock_guard lock(m_mutex);
        m_batteryBackground = background;
        m_batteryLevel = level;
        m_batteryCharging = charging;
    }
    requestRedraw();
}

void CDeviceList::GetBatteryImages(std::string& background, std::string& level, std::string& charging) const {
    std::lock_guard lock(m_mutex);
    background = m_batteryBackground;
    level = m_batteryLevel;
    charging = m_batteryCharging;
}

void CDeviceList::SetModeImage(const std::string& name) {
    {
        std::lock_guard lock(m_mutex);
        m_modeImage = name;
    }
    requestRedraw();
}

std::string CDeviceList::GetModeImage() const {
    std::lock_guard lock(m_mutex);
    return m_modeImage;
}

bool CDeviceList::userOpen(int index) {
    if (!usable() || !m_rows.choose(index)) return false;
    notify(kNotifyClick, index);
    return true;
}

}  // namespace DUI
