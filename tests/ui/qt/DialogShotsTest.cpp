// Screenshots of the program's common dialogs (message box, please-wait
// notice, About window) shown by the Qt backend off-screen, with the texts of
// the shipped English language file and the shipped skin.
#include "QtTestSupport.h"

#include "app/config/AppFolders.h"
#include "app/config/LanguageTexts.h"
#include "ui/pages/AboutDlg.h"
#include "ui/pages/CUIMessageBox.h"
#include "ui/pages/SaveWaitDlg.h"
#include "ui/qt/QtBackend.h"
#include "ui/qt/QtWindow.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QElapsedTimer>
#include <QImage>
#include <QTimer>

namespace DUI::test {
namespace {

const QString kShotFolder = QStringLiteral(QUORVIK_SCREENSHOT_DIR);

class DialogShotsTest : public ::testing::Test {
protected:
    void SetUp() override {
        quorvik::setProgramFolderOverride(std::string(QUORVIK_SOURCE_DIR) + "/data/");
        m_savedLanguage = quorvik::CurrentLanguageId();
        quorvik::setCurrentLanguageId(1033);
        Manager::SetSkinFolder(quorvik::SkinFolder());
    }
    void TearDown() override {
        quorvik::setCurrentLanguageId(m_savedLanguage);
        quorvik::setProgramFolderOverride("");
    }

    // Saves the window of that title as it shows now; its size for checks.
    QSize shoot(const std::string& title, const QString& file) {
        const HWND hwnd = MWindow::FindWindow(kWindowClassName, title);
        QtWindow* widget = backend.widgetFor(hwnd);
        if (widget == nullptr) return {};
        QApplication::processEvents();
        const QImage image = widget->grab().toImage();
        QDir().mkpath(kShotFolder);
        image.save(kShotFolder + QLatin1Char('/') + file);
        return image.size();
    }

    // Lets the event loop run (timers, animations) for `ms`.
    static void runFor(int ms) {
        QElapsedTimer clock;
        clock.start();
        while (clock.elapsed() < ms) QApplication::processEvents(QEventLoop::AllEvents, 10);
    }

    QApplication& app = qtApp();
    QtBackend backend;
    int m_savedLanguage = 1033;
};

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
