// What the performance page needs from the main window: the store and the
// profile it writes, the task queue, the please-wait notice, the owner for
// its message box and colour chooser, the model's description sources and
// the DPI pop-up. The main window implements it; tests use a small fake.
#pragma once

#include "model/ModelSources.h"
#include "ui/toolkit/Messages.h"

namespace quorvik {

class DPIMsgDlg;
class SettingsStore;

class PerformanceHost {
public:
    virtual ~PerformanceHost() = default;

    // The store every value of the page is read from and written to.
    virtual SettingsStore& store() = 0;
    // The profile shown (1..4); every value of the page belongs to it.
    virtual int currentProfile() = 0;
    // Appends a device task code (9 stages, 10 colours, 11 report rate, 12
    // lift-off and sensor, 13 power options, 14 button response, 18 DPI
    // reset) to the worker's queue. Never blocks.
    virtual void enqueueTask(int code) = 0;
    // Shows the please-wait notice when the model asks for it (the host
    // checks show_savetips).
    virtual void showSaveWait() = 0;
    // Owner of the reset question and of the colour chooser (UI thread).
    virtual DUI::HWND ownerWindow() = 0;
    // Where the model's description file and its factory values are read.
    virtual ModelSources modelSources() = 0;
    // The DPI pop-up, or nullptr while it does not exist.
    virtual DPIMsgDlg* dpiPopup() = 0;
};

}  // namespace quorvik
