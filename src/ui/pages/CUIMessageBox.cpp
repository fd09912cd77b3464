// The program's message box (see CUIMessageBox.h): white centred texts on the
// prompt background, buttons laid out around the middle of the box.
#include "ui/pages/CUIMessageBox.h"

#include "app/config/LanguageTexts.h"
#include "ui/toolkit/MButton.h"
#include "ui/toolkit/MText.h"

#include <memory>

namespace quorvik {
namespace {

constexpr std::uint32_t kWindowStyle = 0x96000000u;
constexpr std::uint32_t kTextColor = 0xFFFFFFFFu;
constexpr int kFontWidth = 16;
constexpr int kCentred = 1;
constexpr int kCentredWrapped = 4;

void styleText(DUI::MControlFont* text) {
    if (text == nullptr) return;
    text->SetTextColor(kTextColor);
    text->SetFontWidth(kFontWidth);
    text->SetAlignment(kCentred);
}

}  // namespace

CUIMessageBox::CUIMessageBox(std::string caption, std::string text, int style)
    : m_caption(std::move(caption)), m_text(std::move(text)), m_style(style) {
    LoadBKImage("bk_prompt.png");
    SetBackMode(1, 30);
}

int CUIMessageBox::OnInitDialog() {
    const int result = MDialog::OnInitDialog();
    // Above every other window, where it was placed.
    SetWindowPos(DUI::HWND_TOPMOST, 0, 0, 0, 0, DUI::SWP_NOMOVE | DUI::SWP_NOSIZE);
    return result;
}

void CUIMessageBox::InitUI() {
    const DUI::Rect client = GetClientRect();
    const int w = client.Width();
    const int h = client.Height();
    SetLayeredWindow(true);

    auto* caption = dynamic_cast<DUI::MText*>(CreateControl("MText", kCaptionId, {20, 15, w - 20, 45}));
    styleText(caption);
    if (caption) caption->SetTitle(m_caption);

    auto* body = dynamic_cast<DUI::MText*>(CreateControl("MText", kTextId, {20, 50, w - 20, h - 50}));
    styleText(body);
    if (body) {
        body->SetVAlignment(kCentredWrapped);
        body->SetWordWrap(true);
        body->SetTitle(m_text);
    }

    auto addButton = [this](int id, const DUI::Rect& rect, int textId) {
        auto* button = dynamic_cast<DUI::MButton*>(CreateControl("MButton", id, rect));
        if (button == nullptr) return;
        styleText(button);
        button->SetImage("img_button.png");
        button->SetTitle(LangString("LAN", textId));
    };
    if (m_style == kOneButton) {
        addButton(kFirstButtonId, {60, h - 50, w - 60, h - 14}, 20);
    } else if (m_style == kTwoButtons) {
        const int middle = w / 2;
        addButton(kFirstButtonId, {middle - 120, h - 50, middle - 20, h - 14}, 23);
        addButton(kSecondButtonId, {middle + 20, h - 50, middle + 120, h - 14}, 25);
    }
}

int CUIMessageBox::OnMessage(int id, int code, std::intptr_t /*param*/) {
    if (code != DUI::kNotifyClick) return 0;
    if (id == kFirstButtonId) DoOK();
    if (id == kSecondButtonId) DoCancel();
    return 0;
}

int showMessageBox(const std::string& caption, const std::string& text, DUI::HWND owner, int style) {
    auto box = std::make_unique<CUIMessageBox>(caption, text, style);
    if (box->Create(owner, "MessageBox", kWindowStyle, DUI::WS_EX_TOOLWINDOW, {0, 0, 430, 230}) == 0)
        return DUI::IDCANCEL;
    box->CenterWindow();
    const int result = box->ShowModal(DUI::SW_SHOWNORMAL);
    box->DestroyWindow();
    return result == DUI::IDOK ? DUI::IDOK : DUI::IDCANCEL;
}

}  // namespace quorvik
