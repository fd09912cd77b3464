// The About window: logo, the firmware version of the connected wired mouse,
// the website notice and a close button. The main window runs it modally and
// says where the firmware release number comes from.
#pragma once

#include "ui/toolkit/MDialog.h"

#include <functional>
#include <string>

namespace quorvik {

class AboutDlg : public DUI::MDialog {
public:
    // The release number (USB bcdDevice) of the first connected device in
    // wired mode; 0 when there is none.
    using ReleaseSource = std::function<int()>;

    static constexpr int kCloseId = 30;
    static constexpr int kLogoId = 32;
    static constexpr int kVersionId = 33;
    static constexpr int kVersionTopId = 34;
    static constexpr int kNoticeId = 35;
    static constexpr std::uint32_t kGrey = 0xFF969696u;

    explicit AboutDlg(ReleaseSource releaseSource = {});

    // Creates the window owned by `owner`, centres it and runs it; 1 when it
    // was closed, -1 when it could not be shown.
    int run(DUI::HWND owner);

    // "<prefix>: v<major>.<minor>" from the release number written in
    // hexadecimal without leading zeros: the minor part is its last two
    // digits, the major part the digits before them (0x0102 -> "v1.02",
    // 0x1234 -> "v12.34"); a number of one or two digits repeats its first
    // digit as the major part (5 -> "v5.5", 0x12 -> "v1.12"). A negative
    // number counts as 0.
    static std::string firmwareVersionText(const std::string& prefix, int release);

    int OnInitDialog() override;
    void InitUI() override;
    int OnMessage(int id, int code, std::intptr_t param) override;

private:
    ReleaseSource m_releaseSource;
};

}  // namespace quorvik
