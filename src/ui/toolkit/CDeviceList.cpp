// Model list of the home page (see CDeviceList.h).
#include "ui/toolkit/CDeviceList.h"

#include "ui/toolkit/Messages.h"

namespace DUI {

int CDeviceList::AddDevice(const std::string& name, int deviceType, const std::string& image) {
    int index = 0;
    {
        std::lock_guard lock(m_mutex);
        m_rows.push_back({name, deviceType, image, 0, 0, {}});
        index = static_cast<int>(m_rows.size()) - 1;
    }
    requestRedraw();
    return index;
}

void CDeviceList::ClearList() {
    {
        std::lock_guard lock(m_mutex);
        m_rows.clear();
        m_selected = -1;
    }
    requestRedraw();
}

std::vector<CDeviceList::Row> CDeviceList::GetRows() const {
    std::lock_guard lock(m_mutex);
    return m_rows;
}

int CDeviceList::GetItemCount() const {
    std::lock_guard lock(m_mutex);
    return static_cast<int>(m_rows.size());
}

void CDeviceList::SetAllDeviceState(int state) {
    {
        std::lock_guard lock(m_mutex);
        for (Row& row : m_rows) row.state = state;
    }
    requestRedraw();
}

bool CDeviceList::SetDeviceState(int deviceType, int mode, int state) {
    bool found = false;
    {
        std::lock_guard lock(m_mutex);
        for (Row& row : m_rows) {
            if (row.deviceType != deviceType) continue;
            row.mode = mode;
            row.state = state;
            found = true;
        }
    }
    if (found) requestRedraw();
    return found;
}

bool CDeviceList::SetDeviceVersion(int deviceType, const std::string& version) {
    bool found = false;
    {
        std::lock_guard lock(m_mutex);
        for (Row& row : m_rows) {
            if (row.deviceType != deviceType) continue;
            row.version = version;
            found = true;
        }
    }
    if (found) requestRedraw();
    return found;
}

bool CDeviceList::SetSelectDevice(int deviceType) {
    {
        std::lock_guard lock(m_mutex);
        int found = -1;
        for (int i = 0; i < static_cast<int>(m_rows.size()) && found < 0; ++i)
            if (m_rows[i].deviceType == deviceType) found = i;
        if (found < 0) return false;
        m_selected = found;
    }
    requestRedraw();
    return true;
}

int CDeviceList::GetSelectDevice() const {
    std::lock_guard lock(m_mutex);
    if (m_selected < 0 || m_selected >= static_cast<int>(m_rows.size())) return 0;
    return m_rows[m_selected].deviceType;
}

void CDeviceList::SetSelectIndex(int index) {
    {
        std::lock_guard lock(m_mutex);
        if (index < 0 || index >= static_cast<int>(m_rows.size())) index = -1;
        if (m_selected == index) return;
        m_selected = index;
    }
    requestRedraw();
}

int CDeviceList::GetSelectIndex() const {
    std::lock_guard lock(m_mutex);
    return m_selected;
}

int CDeviceList::GetOnlineDevCount() const {
    std::lock_guard lock(m_mutex);
    int count = 0;
    for (const Row& row : m_rows)
        if (row.state != 0) ++count;
    return count;
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
    if (!usable()) return false;
    {
        std::lock_guard lock(m_mutex);
        if (index < 0 || index >= static_cast<int>(m_rows.size())) return false;
        m_selected = index;
    }
    requestRedraw();
    notify(kNotifyClick, index);
    return true;
}

}  // namespace DUI
