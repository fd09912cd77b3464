// DPI pop-up (see DPIMsgDlg.h). The hide timer is the only timer; a hidden
// pop-up costs nothing between stage changes.
#include "ui/pages/DPIMsgDlg.h"

#include "app/config/LanguageTexts.h"
#include "base/Text.h"
#include "ui/toolkit/CImageButton.h"
#include "ui/toolkit/Desktop.h"
#include "ui/toolkit/Dispatcher.h"
#include "ui/toolkit/MProgress.h"
#include "ui/toolkit/MText.h"
#include "ui/toolkit/Manager.h"

namespace quorvik {
namespace {

constexpr std::uint32_t kWindowStyle = 0x96000000u;
// Corner gap: the window keeps 2 pixels from the work area's right and bottom.
constexpr int kCornerGap = 2;

}  // namespace

bool DPIMsgDlg::create(DUI::HWND owner) {
    if (GetSafeHwnd() != 0) return true;
    if (Create(owner, "DPIMsgDlg", kWindowStyle, DUI::WS_EX_TOOLWINDOW, {0, 0, kWidth, kHeight}) == 0)
        return false;
    ShowWindow(DUI::SW_HIDE);
    return true;
}

void DPIMsgDlg::showDpi(int dpi) {
    const DUI::HWND hwnd = GetSafeHwnd();
    if (hwnd == 0) return;
    if (!DUI::Dispatcher::IsUiThread()) {
        DUI::Dispatcher::Post(hwnd, [this, dpi] { showDpi(dpi); });
        return;
    }
    m_dpi = dpi;
    m_dpiText = format("%d", dpi);
    if (auto* number = GetControlAs<DUI::MText>(kNumberId)) number->SetTitle(m_dpiText);
    // The bar holds values above its full scale at the end: a full bar.
    if (auto* bar = GetControlAs<DUI::MProgress>(kBarId)) bar->SetProgress(dpi);
    moveToCorner();
    ShowWindow(DUI::SW_SHOW);
    SetTimer(kHideTimerId, kShowMs);
    InvalidateRect();
}

void DPIMsgDlg::moveToCorner() {
    const DUI::Rect area = DUI::Desktop::GetWorkArea();
    MoveWindow({area.right - kWidth - kCornerGap, area.bottom - kHeight - kCornerGap,
                area.right - kCornerGap, area.bottom - kCornerGap});
}

int DPIMsgDlg::OnInitDialog() {
    const int result = MDialog::OnInitDialog();
    SetWindowPos(DUI::HWND_TOPMOST, 0, 0, 0, 0,
                 DUI::SWP_NOMOVE | DUI::SWP_NOSIZE | DUI::SWP_SHOWWINDOW);
    moveToCorner();
    return result;
}

void DPIMsgDlg::InitUI() {
    const int w = GetClientRect().Width();

    if (auto* close = dynamic_cast<DUI::CImageButton*>(
            CreateControl("CImageButton", kCloseId, {w - 36, 10, w - 6, 40}))) {
        close->SetImage("sysbtn_close.png", 4);
        close->SetTooltip(LangString("LAN", 4));
    }

    if (auto* number = dynamic_cast<DUI::MText*>(CreateControl("MText", kNumberId, {10, 30, 170, 80}))) {
        number->SetTitle(m_dpiText);
        number->SetTextColor(DUI::Manager::m_select_color.load());
        number->SetFontWidth(36);
    }

    if (auto* unit = dynamic_cast<DUI::MText*>(CreateControl("MText", kUnitId, {170, 50, 310, 80}))) {
        unit->SetTitle("DPI");
        unit->SetTextColor(kUnitColor);
        unit->SetFontWidth(20);
    }

    if (auto* bar = dynamic_cast<DUI::MProgress*>(CreateControl("MProgress", kBarId, {10, 80, w - 20, 100}))) {
        bar->SetRange(kBarFullScale);
        bar->SetProgress(m_dpi);
    }
}

int DPIMsgDlg::OnMessage(int id, int code, std::intptr_t /*param*/) {
    // The hide timer keeps running and hides the window again harmlessly.
    if (id == kCloseId && code == DUI::kNotifyClick) ShowWindow(DUI::SW_HIDE);
    return 0;
}

void DPIMsgDlg::OnTimer(std::uintptr_t id) {
    if (id != kHideTimerId) return;
    KillTimer(kHideTimerId);
    ShowWindow(DUI::SW_HIDE);
}

}  // namespace quorvik
