// The DPI pop-up: a small window in the bottom-right corner of the work area
// that shows a newly selected DPI as a large number with a bar for two
// seconds. The main window creates one hidden and asks it for every change.
#pragma once

#include "ui/toolkit/MDialog.h"

namespace quorvik {

class DPIMsgDlg : public DUI::MDialog {
public:
    static constexpr std::uintptr_t kHideTimerId = 100;
    static constexpr unsigned kShowMs = 2000;
    static constexpr int kBarFullScale = 16000;
    static constexpr int kWidth = 300;
    static constexpr int kHeight = 130;

    static constexpr int kCloseId = 30;
    static constexpr int kNumberId = 31;
    static constexpr int kUnitId = 32;
    static constexpr int kBarId = 33;
    static constexpr std::uint32_t kUnitColor = 0xFFC8C8C8u;

    // UI thread. Creates the window owned by `owner` and leaves it hidden;
    // false when it could not be created.
    bool create(DUI::HWND owner);

    // Any thread (from another thread it is passed to the UI thread and
    // dropped when the window is gone by then). Shows `dpi` in the corner of
    // the work area for kShowMs; a new value while it shows starts them over.
    // Does nothing before create().
    void showDpi(int dpi);

    int currentDpi() const { return m_dpi; }
    std::string currentDpiText() const { return m_dpiText; }

    int OnInitDialog() override;
    void InitUI() override;
    int OnMessage(int id, int code, std::intptr_t param) override;
    void OnTimer(std::uintptr_t id) override;

private:
    // Into the corner of the current work area, so it follows a moved taskbar.
    void moveToCorner();

    int m_dpi = 1600;
    std::string m_dpiText = "1600";
};

}  // namespace quorvik
