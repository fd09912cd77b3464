// Screenshots of the performance page's pop-ups (the DPI pop-up and the
// colour chooser) shown by the Qt backend off-screen, with the shipped
// English language file and skin.
#include "DialogShotFixture.h"

#include "ui/pages/DPIMsgDlg.h"
#include "ui/pages/MousePaletteDlg.h"

#include <gtest/gtest.h>

#include <QTimer>

namespace DUI::test {
namespace {

class PopupShotsTest : public DialogShotFixture {};

TEST_F(PopupShotsTest, DpiPopupAndColourChooser) {
    BuiltDialog owner;
    ASSERT_NE(owner.Create(0, "Shots Owner", 0x96000000, 0, {0, 0, 1300, 788}), 0u);

    quorvik::DPIMsgDlg popup;
    ASSERT_TRUE(popup.create(owner.GetSafeHwnd()));
    popup.showDpi(6400);
    runFor(200);
    EXPECT_TRUE(popup.IsWindowVisible());
    EXPECT_EQ(shoot("DPIMsgDlg", "dialog_dpi_popup.png"), QSize(300, 130));
    popup.DestroyWindow();

    quorvik::MousePaletteDlg chooser(0x00A0FF);
    QSize shot;
    QTimer::singleShot(100, [&] {
        shot = shoot("PaletteDlg", "dialog_palette.png");
        chooser.DoOK();
    });
    EXPECT_EQ(chooser.run(owner.GetSafeHwnd()), 0x00A0FFu);
    EXPECT_EQ(shot, QSize(330, 320));
    owner.DestroyWindow();
}

}  // namespace
}  // namespace DUI::test
