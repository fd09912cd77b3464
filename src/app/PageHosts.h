// What the pages get from the main window: one object serving as the
// performance page's host and as the profile management's host, forwarding
// to the window. Both interfaces share store(), currentProfile() and
// enqueueTask(), which one override each serves.
#pragma once

#include "ui/pages/PerformanceHost.h"
#include "ui/pages/Profiles.h"

namespace quorvik {

class DeviceMainDlg;

class PageHosts : public PerformanceHost, public ProfileHost {
public:
    explicit PageHosts(DeviceMainDlg& window) : m_window(window) {}

    SettingsStore& store() override;
    int currentProfile() override;
    void enqueueTask(int code) override;

    // PerformanceHost
    void showSaveWait() override;
    DUI::HWND ownerWindow() override;
    ModelSources modelSources() override;
    DPIMsgDlg* dpiPopup() override;

    // ProfileHost
    void setCurrentProfile(int profile) override;
    bool deviceConnected() override;
    DUI::HWND mainWindow() override;
    void setProfileButtonTitle(const std::string& title) override;
    DUI::Rect profileButtonScreenRect() override;
    int resetPerformanceDefaults(bool newProfile) override;

private:
    DeviceMainDlg& m_window;
};

}  // namespace quorvik
