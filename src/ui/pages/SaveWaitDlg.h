// The please-wait notice shown for two seconds after a setting was sent to
// the mouse. The main window keeps one and asks it again for every change; a
// new request while it shows starts the two seconds over.
#pragma once

#include "ui/toolkit/MDialog.h"

namespace quorvik {

class SaveWaitDlg : public DUI::MDialog {
public:
    static constexpr std::uintptr_t kHideTimerId = 200;
    static constexpr unsigned kShowMs = 2000;
    static constexpr unsigned kAnimationMs = 2;

    static constexpr int kLogoId = 31;
    static constexpr int kTextId = 32;
    static constexpr int kProgressId = 33;

    // UI thread (called from another thread it is passed to the UI thread and
    // dropped if `owner` is gone by then). Creates the window owned by `owner`
    // on the first request, then shows it for kShowMs with the bar running
    // from 0.
    void request(DUI::HWND owner);

    int OnInitDialog() override;
    void InitUI() override;
    int OnMessage(int id, int code, std::intptr_t param) override;
    void OnTimer(std::uintptr_t id) override;

private:
    void showAgain();
};

}  // namespace quorvik
