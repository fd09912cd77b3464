// The colour chooser the performance page opens for a DPI stage colour: a
// palette, a preview, red/green/blue fields and eight presets. It answers
// the chosen colour, or 0 when the user closed it.
#pragma once

#include "ui/toolkit/MDialog.h"

#include <array>

namespace quorvik {

class MousePaletteDlg : public DUI::MDialog {
public:
    static constexpr int kCloseId = 31;
    static constexpr int kPaletteId = 32;
    static constexpr int kPreviewId = 33;
    static constexpr int kRedCaptionId = 34;   // 34..36: "R:", "G:", "B:"
    static constexpr int kRedId = 37;          // 37..39: red, green, blue
    static constexpr int kFirstPresetId = 40;  // 40..47
    static constexpr int kOkId = 48;
    static constexpr int kWidth = 330;
    static constexpr int kHeight = 320;
    // COLORREF values (red in the low byte) of the preset buttons, in id order.
    static constexpr std::array<std::uint32_t, 8> kPresets = {0x0000FF, 0xFF0000, 0x00FF00, 0x00FFFF,
                                                              0xFF00FF, 0xFFFF00, 0xFF00FF, 0xFFFFFF};

    explicit MousePaletteDlg(std::uint32_t initialColor = 0xFFFFFF);

    // UI thread. Runs the dialog centred on `owner`, starting at
    // `initialColor`; the chosen COLORREF, or 0 when it was closed without
    // OK or could not be shown. Pure black therefore reads as a cancel.
    static std::uint32_t choose(DUI::HWND owner, std::uint32_t initialColor);

    // Same as choose() on this instance.
    std::uint32_t run(DUI::HWND owner);
    std::uint32_t result() const { return m_result; }

    int OnInitDialog() override;
    void InitUI() override;
    int OnMessage(int id, int code, std::intptr_t param) override;

private:
    // The result becomes `color`; fields and preview show it, and the palette
    // too unless the colour came from it.
    void takeColor(std::uint32_t color, bool fromPalette);
    void fieldChanged(int id);
    void showInFields(std::uint32_t color);

    std::uint32_t m_initialColor = 0xFFFFFF;
    std::uint32_t m_result = 0;
};

}  // namespace quorvik
