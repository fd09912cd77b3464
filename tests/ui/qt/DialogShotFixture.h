// Shared set-up of the dialog screenshot tests: the shipped data folder, English
// texts and skin, a Qt backend off-screen, and saving one window as a PNG.
#pragma once

#include "QtTestSupport.h"

#include "app/config/AppFolders.h"
#include "app/config/LanguageTexts.h"
#include "ui/qt/QtBackend.h"
#include "ui/qt/QtWindow.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QElapsedTimer>
#include <QImage>

namespace DUI::test {

class DialogShotFixture : public ::testing::Test {
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
        const QString folder = QStringLiteral(QUORVIK_SCREENSHOT_DIR);
        const HWND hwnd = MWindow::FindWindow(kWindowClassName, title);
        QtWindow* widget = backend.widgetFor(hwnd);
        if (widget == nullptr) return {};
        QApplication::processEvents();
        const QImage image = widget->grab().toImage();
        QDir().mkpath(folder);
        image.save(folder + QLatin1Char('/') + file);
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

}  // namespace DUI::test
