#include "app/PageHosts.h"

#include "app/DeviceMainDlg.h"
#include "model/ModelSources.h"
#include "ui/pages/PerformancePage.h"
#include "ui/toolkit/MControlFont.h"

namespace quorvik {

SettingsStore& PageHosts::store() { return m_window.settingsStore(); }

int PageHosts::currentProfile() { return m_window.currentProfile(); }

void PageHosts::enqueueTask(int code) { m_window.enqueueTask(code); }

void PageHosts::showSaveWait() { m_window.showSaveWait(); }

DUI::HWND PageHosts::ownerWindow() { return m_window.GetSafeHwnd(); }

ModelSources PageHosts::modelSources() {
    ModelSources sources = ModelSources::current();
    sources.store = &m_window.settingsStore();
    return sources;
}

DPIMsgDlg* PageHosts::dpiPopup() { return m_window.dpiPopup(); }

void PageHosts::setCurrentProfile(int profile) { m_window.setCurrentProfile(profile); }

bool PageHosts::deviceConnected() { return m_window.deviceConnected(); }

DUI::HWND PageHosts::mainWindow() { return m_window.GetSafeHwnd(); }

void PageHosts::setProfileButtonTitle(const std::string& title) {
    if (auto* button = m_window.GetControlAs<DUI::MControlFont>(mainwnd::kProfileButton)) button->SetTitle(title);
}

DUI::Rect PageHosts::profileButtonScreenRect() {
    DUI::Rect rect;
    if (DUI::MControl* button = m_window.GetControl(mainwnd::kProfileButton)) rect = button->GetRect();
    m_window.ClientToScreen(rect);
    return rect;
}

int PageHosts::resetPerformanceDefaults(bool newProfile) {
    return m_window.performancePage().resetPerformanceDefaults(newProfile);
}

}  // namespace quorvik
