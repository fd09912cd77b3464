// The program's own message box: a caption, a body text and none, one or two
// buttons, shown modally above every other window. Every question and notice
// of the program goes through showMessageBox.
#pragma once

#include "ui/toolkit/MDialog.h"

#include <string>

namespace quorvik {

class CUIMessageBox : public DUI::MDialog {
public:
    // Button layouts: kOneButton shows "OK" (LAN 20), kTwoButtons shows LAN 23
    // and LAN 25; any other style shows no button (only closing from outside
    // ends such a box).
    static constexpr int kOneButton = 0;
    static constexpr int kTwoButtons = 4;

    static constexpr int kCaptionId = 31;
    static constexpr int kTextId = 32;
    static constexpr int kFirstButtonId = 33;
    static constexpr int kSecondButtonId = 34;

    CUIMessageBox(std::string caption, std::string text, int style);

    int OnInitDialog() override;
    void InitUI() override;
    int OnMessage(int id, int code, std::intptr_t param) override;

private:
    std::string m_caption;
    std::string m_text;
    int m_style = kOneButton;
};

// Runs a message box modally on the user-interface thread and returns 1 for
// the first button, 2 for the second one or when the box was closed from
// outside (WM_CLOSE with wParam 2). A box that cannot be shown (no backend,
// another thread) answers 2, so a failure never reads as a confirmation.
int showMessageBox(const std::string& caption, const std::string& text, DUI::HWND owner, int style);

}  // namespace quorvik
