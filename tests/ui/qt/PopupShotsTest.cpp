// Screenshots of the performance page's pop-ups (the DPI pop-up and the
// colour chooser) shown by the Qt backend off-screen, with the shipped
// English language file and skin.
#include "QtTestSupport.h"

#include "app/config/AppFolders.h"
#include "app/config/LanguageTexts.h"
#include "ui/pages/DPIMsgDlg.h"
#include "ui/pages/MousePaletteDlg.h"
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

class PopupShotsTest : public ::testing::Test {
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

    static void runFor(int ms) {
        QElapsedTimer clock;
        clock.start();
        while (clock.elapsed() < ms) QApplication::processEvents(QEventLoop::AllEvents, 10);
    }

    QApplication& app = qtApp();
    QtBackend backend;
    int m_savedLanguage = 1033;
};

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
