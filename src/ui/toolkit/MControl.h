// Base of every control: id, rectangle, visibility, enabled state, tooltip,
// image and focus. State sits under the control's own lock so the worker thread
// may set it while the UI thread draws; every change asks for a redraw, which
// is marshalled to the UI thread. Notifications go to the dialog's OnMessage.
#pragma once

#include "ui/toolkit/Geometry.h"

#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>

namespace DUI {

class MDialog;

class MControl {
public:
    MControl();
    MControl(const MControl&) = delete;
    MControl& operator=(const MControl&) = delete;
    virtual ~MControl();

    // The class name it was created by ("MButton", "CDeviceList"...).
    virtual const char* GetClassName() const = 0;
    // Containers (MTabLayout, CArea, CRoundArea) hold other controls.
    virtual bool IsContainer() const { return false; }
    // Controls that take the keyboard focus (edit fields and lists with editors).
    virtual bool AcceptsFocus() const { return false; }

    int GetId() const { return m_id; }
    MDialog* GetDialog() const { return m_dialog; }
    MControl* GetParent() const { return m_parent; }

    void SetRect(const Rect& rect);
    Rect GetRect() const;
    void SetVisible(bool visible);
    bool IsVisible() const;
    // Visible itself and inside visible containers.
    bool IsShown() const;
    void SetEnabled(bool enabled);
    bool IsEnabled() const;
    void SetTooltip(const std::string& tooltip);
    std::string GetTooltip() const;

    // Image name relative to the skin folder and the draw mode the backend uses.
    virtual void SetImage(const std::string& name, int drawMode = 0);
    std::string GetImage() const;
    int GetImageMode() const;

    // Any thread (marshalled). true: this control takes the keyboard focus;
    // false: it gives it up when it has it. Edits notify 30 and 29.
    void OnFocus(bool focus);
    bool HasFocus() const;

    // Registers the control with its dialog's control timer (MDialog::SetMTimer).
    void AddMTimer();
    // Asks for a redraw.
    void UpdateControl();

    // Control timer tick (UI thread), `elapsedMs` since the previous one.
    virtual void OnMTimer(unsigned elapsedMs);
    // Whether the control has something to animate now. The dialog runs its
    // control timer only while a registered control wants it, so an idle
    // window does not wake up every few milliseconds for nothing.
    virtual bool WantsMTimer() const { return true; }
    // Tells the dialog that WantsMTimer may have changed.
    void mTimerDemandChanged();
    // Focus change made by the dialog (UI thread).
    virtual void OnFocusChanged(bool gained);

    // User actions shared by every control; false when the control cannot be
    // used (not shown or disabled) or does not take the focus.
    bool userFocus();
    bool userLeave();

    // Set by the dialog when it creates the control.
    void attach(MDialog* dialog, int id, MControl* parent);

protected:
    // UI thread: the notification to the dialog's OnMessage.
    void notify(int code, std::intptr_t param = 0);
    // Any thread: one redraw request is in flight at most.
    void requestRedraw();
    // Whether a user may act on the control now.
    bool usable() const;

    mutable std::mutex m_mutex;

private:
    int m_id = 0;
    MDialog* m_dialog = nullptr;
    MControl* m_parent = nullptr;
    Rect m_rect;
    bool m_visible = true;
    bool m_enabled = true;
    std::string m_tooltip;
    std::string m_image;
    int m_imageMode = 0;
    std::atomic<bool> m_redrawPending{false};
};

}  // namespace DUI
