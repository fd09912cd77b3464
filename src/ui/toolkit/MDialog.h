// Base of every program dialog: a window that owns controls created by class
// name, routes their notifications to OnMessage, keeps the keyboard focus,
// animates registered controls with the control timer and ends modal runs
// with DoOK (1) or DoCancel (2).
#pragma once

#include "ui/toolkit/MWindow.h"

#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace DUI {

class MControl;

class MDialog : public MWindow {
public:
    static constexpr std::uintptr_t kMTimerId = 0x4D54494Du;  // reserved window timer id

    MDialog();
    ~MDialog() override;

    // UI thread. A new control of that class as a child of the dialog (or of
    // `parent`, a container of this dialog); nullptr for an unknown class name.
    MControl* CreateControl(const std::string& className, int id, const Rect& rect,
                            const std::string& title = {}, MControl* parent = nullptr);
    // As CreateControl for the container classes (MTabLayout, CArea, CRoundArea).
    MControl* CreateArea(const std::string& className, int id, const Rect& rect,
                         const std::string& title = {}, MControl* parent = nullptr);
    // Any thread: the first control with that id; nullptr when none.
    MControl* GetControl(int id) const;
    template <class T>
    T* GetControlAs(int id) const {
        return dynamic_cast<T*>(GetControl(id));
    }
    std::vector<MControl*> GetControls() const;
    std::vector<MControl*> GetChildren(const MControl* parent) const;
    bool OwnsControl(const MControl* control) const;

    // Any thread (marshalled): end the modal run with 1 or 2.
    void DoOK();
    void DoCancel();

    // Control timer: every `intervalMs` each registered control gets OnMTimer.
    void SetMTimer(unsigned intervalMs);
    void KillMTimer();

    void LoadBKImage(const std::string& name);
    std::string GetBKImage() const;
    void SetBackMode(int mode, int value);
    std::pair<int, int> GetBackMode() const;
    void SetLayeredWindow(bool layered);
    bool IsLayeredWindow() const;
    // Font name the dialog's texts use when they name none.
    void SetFontName(const std::string& fontName);
    std::string GetFontName() const;

    // Focus: SetFocusControl(0) takes it away from every control.
    void SetFocusControl(int id);
    MControl* GetFocusControl() const;

    void OnMinimize();
    void OnMaximize();
    void OnRestore();

    LRESULT OnWindowMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    int OnInitDialog() override;

    // Used by MControl.
    void setFocus(MControl* control);
    void registerMTimer(MControl* control);
    // Any thread: arms the control timer while SetMTimer asked for it and a
    // registered control wants it, and stops it otherwise.
    void updateMTimer();

private:
    mutable std::mutex m_controlsMutex;
    std::vector<std::unique_ptr<MControl>> m_controls;
    std::vector<MControl*> m_timerControls;
    std::atomic<MControl*> m_focus{nullptr};
    unsigned m_mTimerInterval = 0;
    bool m_mTimerWanted = false;  // SetMTimer asked for it, KillMTimer not since
    bool m_mTimerArmed = false;   // the window timer is running
    std::string m_bkImage;
    int m_backMode = 0;
    int m_backValue = 0;
    bool m_layered = false;
    std::string m_fontName;
};

}  // namespace DUI
