// Please-wait notice (see SaveWaitDlg.h). The bar animation runs on the
// dialog's control timer only while the notice shows, so a hidden notice
// costs no wake-ups between changes.
#include "ui/pages/SaveWaitDlg.h"

#include "app/config/LanguageTexts.h"
#include "ui/toolkit/Dispatcher.h"
#include "ui/toolkit/MPicture.h"
#include "ui/toolkit/MProgress2.h"
#include "ui/toolkit/MText.h"
#include "ui/toolkit/Manager.h"

namespace quorvik {
namespace {

constexpr std::uint32_t kWindowStyle = 0x96000000u;

}  // namespace

void SaveWaitDlg::request(DUI::HWND owner) {
    if (!DUI::Dispatcher::IsUiThread()) {
        DUI::Dispatcher::Post(owner, [this, owner] { request(owner); });
        return;
    }
    if (GetSafeHwnd() == 0) {
        if (Create(owner, "SaveWaitDlg", kWindowStyle, DUI::WS_EX_TOOLWINDOW, {0, 0, 500, 200}) == 0) return;
        CenterWindow();
        ShowWindow(DUI::SW_SHOW);
    }
    showAgain();
}

void SaveWaitDlg::showAgain() {
    if (auto* progress = GetControlAs<DUI::MProgress2>(kProgressId)) {
        progress->SetRun(1, -1);
        progress->SetProgress(0);
    }
    SetMTimer(kAnimationMs);
    SetTimer(kHideTimerId, kShowMs);
    ShowWindow(DUI::SW_SHOW);
}

int SaveWaitDlg::OnInitDialog() {
    const int result = MDialog::OnInitDialog();
    SetWindowPos(DUI::HWND_TOP, 0, 0, 0, 0,
                 DUI::SWP_NOMOVE | DUI::SWP_NOSIZE | DUI::SWP_NOZORDER | DUI::SWP_SHOWWINDOW);
    SetTimer(kHideTimerId, kShowMs);
    SetMTimer(kAnimationMs);
    return result;
}

void SaveWaitDlg::InitUI() {
    const int w = GetClientRect().Width();

    if (auto* logo = dynamic_cast<DUI::MPicture*>(CreateControl("MPicture", kLogoId, {10, 10, 10, 10}))) {
        logo->SetImage("logo.png");
        logo->SetRect({10, 10, 10 + logo->GetImageWidth(), 10 + logo->GetImageHeight()});
    }

    if (auto* text = dynamic_cast<DUI::MText*>(CreateControl("MText", kTextId, {10, 100, w - 10, 130}))) {
        text->SetTitle(LangString("LAN", 630));
        text->SetTextColor(DUI::Manager::m_select_color.load());
        text->SetFontWidth(20);
        text->SetAlignment(1);
    }

    if (auto* progress = dynamic_cast<DUI::MProgress2*>(
            CreateControl("MProgress2", kProgressId, {10, 130, w - 20, 150}))) {
        progress->SetRange(100);
        progress->AddMTimer();
    }
}

int SaveWaitDlg::OnMessage(int /*id*/, int /*code*/, std::intptr_t /*param*/) {
    // Nothing on the notice reacts to clicks.
    return 0;
}

void SaveWaitDlg::OnTimer(std::uintptr_t id) {
    if (id != kHideTimerId) return;
    KillTimer(kHideTimerId);
    KillMTimer();
    if (auto* progress = GetControlAs<DUI::MProgress2>(kProgressId)) progress->SetRun(0);
    ShowWindow(DUI::SW_HIDE);
}

}  // namespace quorvik
