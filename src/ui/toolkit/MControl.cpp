// Base of every control (see MControl.h).
#include "ui/toolkit/MControl.h"

#include "ui/toolkit/Backend.h"
#include "ui/toolkit/Dispatcher.h"
#include "ui/toolkit/MDialog.h"

namespace DUI {

MControl::MControl() = default;
MControl::~MControl() = default;

void MControl::attach(MDialog* dialog, int id, MControl* parent) {
    m_dialog = dialog;
    m_id = id;
    m_parent = parent;
}

void MControl::SetRect(const Rect& rect) {
    {
        std::lock_guard lock(m_mutex);
        if (m_rect == rect) return;
        m_rect = rect;
    }
    requestRedraw();
}

Rect MControl::GetRect() const {
    std::lock_guard lock(m_mutex);
    return m_rect;
}

void MControl::SetVisible(bool visible) {
    {
        std::lock_guard lock(m_mutex);
        if (m_visible == visible) return;
        m_visible = visible;
    }
    if (!visible && HasFocus()) OnFocus(false);
    mTimerDemandChanged();
    requestRedraw();
}

bool MControl::IsVisible() const {
    std::lock_guard lock(m_mutex);
    return m_visible;
}

bool MControl::IsShown() const {
    for (const MControl* c = this; c != nullptr; c = c->m_parent)
        if (!c->IsVisible()) return false;
    return true;
}

void MControl::SetEnabled(bool enabled) {
    {
        std::lock_guard lock(m_mutex);
        if (m_enabled == enabled) return;
        m_enabled = enabled;
    }
    requestRedraw();
}

bool MControl::IsEnabled() const {
    std::lock_guard lock(m_mutex);
    return m_enabled;
}

void MControl::SetTooltip(const std::string& tooltip) {
    {
        std::lock_guard lock(m_mutex);
        if (m_tooltip == tooltip) return;
        m_tooltip = tooltip;
    }
    requestRedraw();
}

std::string MControl::GetTooltip() const {
    std::lock_guard lock(m_mutex);
    return m_tooltip;
}

void MControl::SetImage(const std::string& name, int drawMode) {
    {
        std::lock_guard lock(m_mutex);
        if (m_image == name && m_imageMode == drawMode) return;
        m_image = name;
        m_imageMode = drawMode;
    }
    requestRedraw();
}

std::string MControl::GetImage() const {
    std::lock_guard lock(m_mutex);
    return m_image;
}

int MControl::GetImageMode() const {
    std::lock_guard lock(m_mutex);
    return m_imageMode;
}

void MControl::OnFocus(bool focus) {
    if (m_dialog == nullptr || m_dialog->GetSafeHwnd() == 0) return;
    MDialog* dialog = m_dialog;
    Dispatcher::RunOnUiThread(dialog->GetSafeHwnd(), [dialog, this, focus] {
        if (!dialog->OwnsControl(this)) return;
        if (focus)
            dialog->setFocus(this);
        else if (dialog->GetFocusControl() == this)
            dialog->setFocus(nullptr);
    });
}

bool MControl::HasFocus() const {
    return m_dialog != nullptr && m_dialog->GetFocusControl() == this;
}

void MControl::AddMTimer() {
    if (m_dialog) {
        m_dialog->registerMTimer(this);
        m_dialog->updateMTimer();
    }
}

void MControl::mTimerDemandChanged() {
    if (m_dialog) m_dialog->updateMTimer();
}

void MControl::UpdateControl() {
    requestRedraw();
}

void MControl::OnMTimer(unsigned /*elapsedMs*/) {}

void MControl::OnFocusChanged(bool /*gained*/) {}

bool MControl::userFocus() {
    if (!usable() || !AcceptsFocus()) return false;
    OnFocus(true);
    return true;
}

bool MControl::userLeave() {
    if (!HasFocus()) return false;
    OnFocus(false);
    return true;
}

void MControl::notify(int code, std::intptr_t param) {
    if (m_dialog != nullptr) m_dialog->OnMessage(m_id, code, param);
}

void MControl::requestRedraw() {
    if (m_dialog == nullptr) return;
    const HWND hwnd = m_dialog->GetSafeHwnd();
    if (hwnd == 0) return;
    if (m_redrawPending.exchange(true)) return;
    MDialog* dialog = m_dialog;
    Dispatcher::Post(hwnd, [dialog, this] {
        if (!dialog->OwnsControl(this)) return;
        m_redrawPending = false;
        if (Backend* backend = Dispatcher::GetBackend()) backend->invalidate(*dialog, this);
    });
}

bool MControl::usable() const {
    return IsShown() && IsEnabled();
}

}  // namespace DUI
