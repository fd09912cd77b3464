// Base of every program dialog (see MDialog.h). The control list has its own
// lock: the worker thread looks controls up while the UI thread builds pages.
#include "ui/toolkit/MDialog.h"

#include "ui/toolkit/Backend.h"
#include "ui/toolkit/Dispatcher.h"
#include "ui/toolkit/MControl.h"
#include "ui/toolkit/MControlFont.h"
#include "ui/toolkit/detail/ControlFactory.h"

#include <algorithm>

namespace DUI {

MDialog::MDialog() = default;

MDialog::~MDialog() {
    // Forget the handle before the controls go, so queued work finds nothing.
    destroyNow();
}

MControl* MDialog::CreateControl(const std::string& className, int id, const Rect& rect,
                                 const std::string& title, MControl* parent) {
    if (parent != nullptr && (!OwnsControl(parent) || !parent->IsContainer())) return nullptr;
    std::unique_ptr<MControl> control = detail::createControlByName(className);
    if (!control) return nullptr;
    control->attach(this, id, parent);
    control->SetRect(rect);
    if (!title.empty())
        if (auto* text = dynamic_cast<MControlFont*>(control.get())) text->SetTitle(title);
    MControl* raw = control.get();
    {
        std::lock_guard lock(m_controlsMutex);
        m_controls.push_back(std::move(control));
    }
    // The first redraw request is how a backend hears of a new control.
    raw->UpdateControl();
    return raw;
}

MControl* MDialog::CreateArea(const std::string& className, int id, const Rect& rect,
                              const std::string& title, MControl* parent) {
    if (!detail::isContainerClass(className)) return nullptr;
    return CreateControl(className, id, rect, title, parent);
}

MControl* MDialog::GetControl(int id) const {
    std::lock_guard lock(m_controlsMutex);
    for (const auto& c : m_controls)
        if (c->GetId() == id) return c.get();
    return nullptr;
}

std::vector<MControl*> MDialog::GetControls() const {
    std::lock_guard lock(m_controlsMutex);
    std::vector<MControl*> out;
    for (const auto& c : m_controls) out.push_back(c.get());
    return out;
}

std::vector<MControl*> MDialog::GetChildren(const MControl* parent) const {
    std::lock_guard lock(m_controlsMutex);
    std::vector<MControl*> out;
    for (const auto& c : m_controls)
        if (c->GetParent() == parent) out.push_back(c.get());
    return out;
}

bool MDialog::OwnsControl(const MControl* control) const {
    if (control == nullptr) return false;
    std::lock_guard lock(m_controlsMutex);
    return std::any_of(m_controls.begin(), m_controls.end(),
                       [control](const auto& c) { return c.get() == control; });
}

void MDialog::DoOK() {
    EndModal(IDOK);
}

void MDialog::DoCancel() {
    EndModal(IDCANCEL);
}

void MDialog::SetMTimer(unsigned intervalMs) {
    {
        std::lock_guard lock(m_controlsMutex);
        m_mTimerInterval = intervalMs;
        m_mTimerWanted = true;
        m_mTimerArmed = false;  // armed again below with the new interval
    }
    updateMTimer();
}

void MDialog::KillMTimer() {
    {
        std::lock_guard lock(m_controlsMutex);
        m_mTimerWanted = false;
        m_mTimerArmed = false;
    }
    KillTimer(kMTimerId);
}

void MDialog::updateMTimer() {
    bool arm = false, disarm = false;
    unsigned interval = 0;
    {
        std::lock_guard lock(m_controlsMutex);
        bool wanted = false;
        if (m_mTimerWanted)
            for (const MControl* c : m_timerControls)
                if (c->WantsMTimer()) wanted = true;
        if (wanted && !m_mTimerArmed) arm = true;
        if (!wanted && m_mTimerArmed) disarm = true;
        m_mTimerArmed = wanted;
        interval = m_mTimerInterval;
    }
    if (arm) SetTimer(kMTimerId, interval);
    if (disarm) KillTimer(kMTimerId);
}

void MDialog::LoadBKImage(const std::string& name) {
    {
        std::lock_guard lock(m_controlsMutex);
        m_bkImage = name;
    }
    notifyChanged();
}

std::string MDialog::GetBKImage() const {
    std::lock_guard lock(m_controlsMutex);
    return m_bkImage;
}

void MDialog::SetBackMode(int mode, int value) {
    {
        std::lock_guard lock(m_controlsMutex);
        m_backMode = mode;
        m_backValue = value;
    }
    notifyChanged();
}

std::pair<int, int> MDialog::GetBackMode() const {
    std::lock_guard lock(m_controlsMutex);
    return {m_backMode, m_backValue};
}

void MDialog::SetLayeredWindow(bool layered) {
    {
        std::lock_guard lock(m_controlsMutex);
        m_layered = layered;
    }
    notifyChanged();
}

bool MDialog::IsLayeredWindow() const {
    std::lock_guard lock(m_controlsMutex);
    return m_layered;
}

void MDialog::SetFontName(const std::string& fontName) {
    std::lock_guard lock(m_controlsMutex);
    m_fontName = fontName;
}

std::string MDialog::GetFontName() const {
    std::lock_guard lock(m_controlsMutex);
    return m_fontName;
}

void MDialog::SetFocusControl(int id) {
    if (GetSafeHwnd() == 0) return;
    Dispatcher::RunOnUiThread(GetSafeHwnd(), [this, id] { setFocus(id == 0 ? nullptr : GetControl(id)); });
}

MControl* MDialog::GetFocusControl() const {
    return m_focus.load();
}

void MDialog::setFocus(MControl* control) {
    MControl* old = m_focus.load();
    if (old == control) return;
    m_focus = control;
    if (old != nullptr && OwnsControl(old)) old->OnFocusChanged(false);
    // The losing control's handler may have moved the focus on already.
    if (control != nullptr && m_focus.load() == control) control->OnFocusChanged(true);
}

void MDialog::registerMTimer(MControl* control) {
    std::lock_guard lock(m_controlsMutex);
    if (std::find(m_timerControls.begin(), m_timerControls.end(), control) == m_timerControls.end())
        m_timerControls.push_back(control);
}

void MDialog::OnMinimize() {
    ShowWindow(SW_MINIMIZE);
}

void MDialog::OnMaximize() {
    if (GetSafeHwnd() == 0) return;
    Dispatcher::RunOnUiThread(GetSafeHwnd(), [this] {
        if (IsZoomed()) {
            setZoomed(false, restoreRect());
        } else {
            Backend* backend = Dispatcher::GetBackend();
            setZoomed(true, backend ? backend->workArea() : GetWindowRect());
        }
    });
}

void MDialog::OnRestore() {
    ShowWindow(SW_RESTORE);
}

LRESULT MDialog::OnWindowMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_TIMER && wParam == kMTimerId) {
        std::vector<MControl*> controls;
        unsigned interval = 0;
        {
            std::lock_guard lock(m_controlsMutex);
            controls = m_timerControls;
            interval = m_mTimerInterval;
        }
        for (MControl* c : controls) c->OnMTimer(interval);
        updateMTimer();  // stops when nothing is left to animate
        return 0;
    }
    return MWindow::OnWindowMessage(message, wParam, lParam);
}

int MDialog::OnInitDialog() {
    {
        // A dialog created again starts from an empty control list.
        std::lock_guard lock(m_controlsMutex);
        m_timerControls.clear();
        m_mTimerWanted = false;
        m_mTimerArmed = false;
        m_focus = nullptr;
        m_controls.clear();
    }
    return MWindow::OnInitDialog();
}

}  // namespace DUI
