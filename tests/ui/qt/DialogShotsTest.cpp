// Screenshots of the program's common dialogs (message box, please-wait
// notice, About window) shown by the Qt backend off-screen, with the texts of
// the shipped English language file and the shipped skin.
#include "DialogShotFixture.h"

#include "ui/pages/AboutDlg.h"
#include "ui/pages/CUIMessageBox.h"
#include "ui/pages/SaveWaitDlg.h"

#include <gtest/gtest.h>

#include <QTimer>

namespace DUI::test {
namespace {

class DialogShotsTest : public DialogShotFixture {};

TEST_F(DialogShotsTest, MessageBoxesWithOneAndTwoButtons) {
    struct Case {
        int style;
        const char* file;
        const char* caption;
        const char* text;
    };
    const Case cases[] = {
        {quorvik::CUIMessageBox::kOneButton, "dialog_message_one_button.png", "Profile",
         "The profile was saved to the mouse."},
        {quorvik::CUIMessageBox::kTwoButtons, "dialog_message_two_buttons.png", "Restore defaults",
         "Restore every setting of this profile to the factory defaults? Button assignments, DPI stages "
         "and lighting are reset."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        QSize shot;
        QTimer::singleShot(100, [&] {
            shot = shoot("MessageBox", c.file);
            MWindow::PostMessage(MWindow::FindWindow(kWindowClassName, "MessageBox"), WM_CLOSE, 2, 0);
        });
        EXPECT_EQ(quorvik::showMessageBox(c.caption, c.text, 0, c.style), 2);
        EXPECT_EQ(shot, QSize(430, 230));
    }
}

TEST_F(DialogShotsTest, PleaseWaitAndAbout) {
    BuiltDialog owner;
    ASSERT_NE(owner.Create(0, "Shots Owner", 0x96000000, 0, {0, 0, 1300, 788}), 0u);
    quorvik::SaveWaitDlg wait;
    wait.request(owner.GetSafeHwnd());
    runFor(700);  // the bar has moved on
    EXPECT_EQ(shoot("SaveWaitDlg", "dialog_please_wait.png"), QSize(500, 200));
    wait.DestroyWindow();

    quorvik::AboutDlg about([] { return 0x0102; });
    QSize shot;
    QTimer::singleShot(100, [&] {
        shot = shoot("About Window", "dialog_about.png");
        about.DoOK();
    });
    EXPECT_EQ(about.run(owner.GetSafeHwnd()), 1);
    EXPECT_EQ(shot, QSize(500, 300));
    owner.DestroyWindow();
}

}  // namespace
}  // namespace DUI::test
