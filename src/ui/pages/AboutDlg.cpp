// About window (see AboutDlg.h).
#include "ui/pages/AboutDlg.h"

#include "app/config/LanguageTexts.h"
#include "base/Text.h"
#include "ui/toolkit/CImageButton.h"
#include "ui/toolkit/MPicture.h"
#include "ui/toolkit/MText.h"

namespace quorvik {
namespace {

constexpr std::uint32_t kWindowStyle = 0x96000000u;

}  // namespace

AboutDlg::AboutDlg(ReleaseSource releaseSource) : m_releaseSource(std::move(releaseSource)) {}

int AboutDlg::run(DUI::HWND owner) {
    if (Create(owner, "About Window", kWindowStyle, 0, {0, 0, 500, 300}) == 0) return -1;
    CenterWindow();
    return ShowModal(DUI::SW_SHOW);
}

std::string AboutDlg::firmwareVersionText(const std::string& prefix, int release) {
    const std::string digits = format("%x", static_cast<unsigned>(release < 0 ? 0 : release));
    // With three digits or more the major part is everything before the last
    // two, so no digit of a larger number is lost.
    const std::string major = digits.size() >= 3 ? digits.substr(0, digits.size() - 2) : digits.substr(0, 1);
    const std::string minor = digits.size() >= 2 ? digits.substr(digits.size() - 2) : digits;
    return format("%s: v%s.%s", prefix.c_str(), major.c_str(), minor.c_str());
}

int AboutDlg::OnInitDialog() {
    const int result = MDialog::OnInitDialog();
    GetPaintManager().SetBackColor(0x1A1A1A, 0x969696);
    return result;
}

void AboutDlg::InitUI() {
    const DUI::Rect client = GetClientRect();
    const int left = client.left;
    const int right = client.right;
    const int height = client.Height();
    const int centre = (right - left) / 2;

    if (auto* close = dynamic_cast<DUI::CImageButton*>(
            CreateControl("CImageButton", kCloseId, {right - 40, 15, right - 21, 34}))) {
        close->SetImage("sysbtn_close.png");
        close->SetTooltip(LangString("LAN", 5));
    }

    const int logoLeft = (right - left - 260) / 2;
    if (auto* logo = CreateControl("MPicture", kLogoId, {logoLeft, 80, logoLeft + 260, 120}))
        logo->SetImage("logo.png");

    const std::string version =
        firmwareVersionText(LangString("LAN", 16), m_releaseSource ? m_releaseSource() : 0);
    auto addText = [this](int id, const DUI::Rect& rect, const std::string& title) {
        auto* text = dynamic_cast<DUI::MText*>(CreateControl("MText", id, rect));
        if (text == nullptr) return;
        text->SetTextColor(kGrey);
        text->SetAlignment(1);
        text->SetTitle(title);
    };
    addText(kVersionTopId, {centre - 100, 150, centre + 100, 185}, version);
    addText(kVersionId, {centre - 100, 185, centre + 100, 220}, version);
    addText(kNoticeId, {10, height - 40, right - 10, height - 5}, LangString("LAN", 2));
}

int AboutDlg::OnMessage(int id, int code, std::intptr_t /*param*/) {
    if (id == kCloseId && code == DUI::kNotifyClick) DoOK();
    return 0;
}

}  // namespace quorvik
