// Colour chooser (see MousePaletteDlg.h). Every way of picking a colour ends
// in takeColor, which keeps the result, the fields, the palette and the
// preview showing the same colour.
#include "ui/pages/MousePaletteDlg.h"

#include "app/config/LanguageTexts.h"
#include "base/Text.h"
#include "ui/toolkit/CArea.h"
#include "ui/toolkit/CColorButton.h"
#include "ui/toolkit/CImageButton.h"
#include "ui/toolkit/MButton.h"
#include "ui/toolkit/MEdit.h"
#include "ui/toolkit/MPalette.h"
#include "ui/toolkit/MText.h"

#include <algorithm>

namespace quorvik {
namespace {

constexpr std::uint32_t kWindowStyle = 0x96000000u;
constexpr std::uint32_t kTextColor = 0xFFC8C8C8u;
constexpr const char* kPresetGroup = "DEFAULTCOLOR";

std::uint32_t channel(std::uint32_t color, int shift) { return (color >> shift) & 0xFFu; }

}  // namespace

MousePaletteDlg::MousePaletteDlg(std::uint32_t initialColor) : m_initialColor(initialColor & 0xFFFFFFu) {}

std::uint32_t MousePaletteDlg::choose(DUI::HWND owner, std::uint32_t initialColor) {
    MousePaletteDlg dlg(initialColor);
    return dlg.run(owner);
}

std::uint32_t MousePaletteDlg::run(DUI::HWND owner) {
    m_result = 0;
    if (Create(owner, "PaletteDlg", kWindowStyle, 0, {0, 0, kWidth, kHeight}) == 0) return 0;
    CenterWindow();
    const int answer = ShowModal(DUI::SW_SHOW);
    DestroyWindow();
    // Only OK keeps the colour; the close button, Escape or a failed run cancel.
    if (answer != DUI::IDOK) m_result = 0;
    return m_result;
}

int MousePaletteDlg::OnInitDialog() {
    const int result = MDialog::OnInitDialog();
    auto* palette = GetControlAs<DUI::MPalette>(kPaletteId);
    if (palette != nullptr) {
        palette->SetSelectColor(m_initialColor);
        takeColor(palette->GetSelectColor(), true);
    } else {
        takeColor(m_initialColor, true);
    }
    return result;
}

void MousePaletteDlg::InitUI() {
    const int w = GetClientRect().Width();

    if (auto* close = dynamic_cast<DUI::CImageButton*>(
            CreateControl("CImageButton", kCloseId, {w - 36, 10, w - 6, 40}))) {
        close->SetImage("sysbtn_close.png", 4);
        close->SetTooltip(LangString("LAN", 5));
    }

    CreateControl("MPalette", kPaletteId, {20, 50, 200, 200});
    CreateArea("CArea", kPreviewId, {220, 50, 310, 100});

    const char* captions[] = {"R:", "G:", "B:"};
    for (int i = 0; i < 3; ++i) {
        const int top = 112 + i * 30;
        if (auto* caption = dynamic_cast<DUI::MText*>(
                CreateControl("MText", kRedCaptionId + i, {220, top, 245, top + 24}))) {
            caption->SetTitle(captions[i]);
            caption->SetTextColor(kTextColor);
        }
        if (auto* field = dynamic_cast<DUI::MEdit*>(CreateControl("MEdit", kRedId + i, {250, top, 310, top + 24}))) {
            field->SetNumberOnly(true);
            field->SetTextColor(kTextColor);
            field->SetEditText("255");
        }
    }

    for (int i = 0; i < static_cast<int>(kPresets.size()); ++i) {
        const int left = 20 + i * 37;
        if (auto* preset = dynamic_cast<DUI::CColorButton*>(
                CreateControl("CColorButton", kFirstPresetId + i, {left, 215, left + 27, 242}))) {
            preset->SetGroup(kPresetGroup);
            preset->SetColor(kPresets[static_cast<std::size_t>(i)]);
        }
    }

    const int centre = w / 2;
    if (auto* ok = dynamic_cast<DUI::MButton*>(CreateControl("MButton", kOkId, {centre - 60, 262, centre + 60, 298}))) {
        ok->SetImage("img_button.png");
        ok->SetTextColor(kTextColor);
        ok->SetAlignment(1);
        ok->SetTitle(LangString("LAN", 20));
    }
}

int MousePaletteDlg::OnMessage(int id, int code, std::intptr_t /*param*/) {
    if (id == kCloseId && code == DUI::kNotifyClick) {
        m_result = 0;
        DoCancel();
    } else if (id == kOkId && code == DUI::kNotifyClick) {
        DoOK();
    } else if (id == kPaletteId && (code == DUI::kNotifyColorChanged || code == DUI::kNotifyClick)) {
        if (auto* palette = GetControlAs<DUI::MPalette>(kPaletteId)) takeColor(palette->GetSelectColor(), true);
    } else if (id >= kRedId && id < kRedId + 3 && code == DUI::kNotifyTextChanged) {
        fieldChanged(id);
    } else if (id >= kFirstPresetId && id < kFirstPresetId + static_cast<int>(kPresets.size()) &&
               code == DUI::kNotifyClick) {
        if (auto* preset = GetControlAs<DUI::CColorButton>(id)) takeColor(preset->GetColor(), false);
    }
    return 0;
}

void MousePaletteDlg::fieldChanged(int id) {
    // A number outside a byte is written back clamped, so the field always
    // shows the value the colour uses.
    if (auto* field = GetControlAs<DUI::MEdit>(id)) {
        const std::string text = field->GetEditText();
        const int typed = wtoi(text);
        const int clamped = std::clamp(typed, 0, 255);
        if (clamped != typed) field->SetEditText(format("%d", clamped));
    }
    std::uint32_t bytes[3] = {0, 0, 0};
    for (int i = 0; i < 3; ++i) {
        if (auto* field = GetControlAs<DUI::MEdit>(kRedId + i))
            bytes[i] = static_cast<std::uint32_t>(std::clamp(wtoi(field->GetEditText()), 0, 255));
    }
    const std::uint32_t color = bytes[0] + bytes[1] * 256u + bytes[2] * 65536u;
    m_result = color;
    if (auto* palette = GetControlAs<DUI::MPalette>(kPaletteId)) palette->SetSelectColor(color);
    if (auto* preview = GetControlAs<DUI::CArea>(kPreviewId)) preview->SetTransparent(false, color);
}

void MousePaletteDlg::takeColor(std::uint32_t color, bool fromPalette) {
    color &= 0xFFFFFFu;
    m_result = color;
    showInFields(color);
    if (!fromPalette) {
        if (auto* palette = GetControlAs<DUI::MPalette>(kPaletteId)) palette->SetSelectColor(color);
    }
    if (auto* preview = GetControlAs<DUI::CArea>(kPreviewId)) preview->SetTransparent(false, color);
}

void MousePaletteDlg::showInFields(std::uint32_t color) {
    for (int i = 0; i < 3; ++i) {
        if (auto* field = GetControlAs<DUI::MEdit>(kRedId + i))
            field->SetEditText(format("%u", channel(color, 8 * i)));
    }
}

}  // namespace quorvik
