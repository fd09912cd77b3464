// The Qt backend driven like a user would: mouse and key events sent to the
// window's widgets become the same notifications the headless user helpers
// produce; modal runs, timers, cross-thread wake-ups and closing behave as
// the toolkit expects.
#include "QtTestSupport.h"

#include "ui/qt/QtBackend.h"
#include "ui/qt/QtWindow.h"
#include "ui/toolkit/DPISlider.h"
#include "ui/toolkit/MButton.h"
#include "ui/toolkit/MComboBox.h"
#include "ui/toolkit/MEdit.h"
#include "ui/toolkit/MProgress.h"
#include "ui/toolkit/MTabCtrl.h"
#include "ui/toolkit/MacroList.h"
#include "ui/toolkit/MouseKeyCtrl.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QTimer>
#include <QWindow>

#include <thread>

namespace DUI::test {
namespace {

class QtBackendTest : public ::testing::Test {
protected:
    void mouse(QWidget* widget, QEvent::Type type, QPoint at, Qt::MouseButton button = Qt::LeftButton) {
        const Qt::MouseButtons held =
            type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(button);
        QMouseEvent event(type, QPointF(at), QPointF(at), QPointF(widget->mapToGlobal(at)),
                          type == QEvent::MouseMove ? Qt::NoButton : button, held, Qt::NoModifier);
        QCoreApplication::sendEvent(widget, &event);
        QApplication::processEvents();
    }
    void click(QWidget* widget, QPoint at, Qt::MouseButton button = Qt::LeftButton) {
        mouse(widget, QEvent::MouseButtonPress, at, button);
        mouse(widget, QEvent::MouseButtonRelease, at, button);
    }

    QApplication& app = qtApp();  // before the backend, which needs it
    QtBackend backend;
};

TEST_F(QtBackendTest, MouseOnPaintedControlsNotifiesLikeTheHeadlessUser) {
    BuiltDialog dialog;
    dialog.build = [](BuiltDialog& d) {
        d.CreateControl("MButton", 10, {10, 10, 110, 40}, "OK");
        auto* disabled = d.CreateControl("MButton", 11, {120, 10, 220, 40}, "Off");
        disabled->SetEnabled(false);
        auto* tabs = dynamic_cast<MTabCtrl*>(d.CreateControl("MTabCtrl", 12, {10, 60, 200, 300}));
        tabs->AddItem(1, "One", {});
        tabs->AddItem(2, "Two", {});
        tabs->AddItem(3, "Three", {});
        tabs->SetItemVisible(1, false);  // the hidden tab takes no row
        auto* slider = dynamic_cast<DPISlider*>(d.CreateControl("DPISlider", 13, {220, 60, 420, 90}));
        slider->SetRange(0, 10);
        auto* macros = dynamic_cast<MacroList*>(d.CreateControl("MacroList", 14, {220, 100, 420, 300}));
        macros->AddString("first", 1);
        macros->AddString("second", 2);
    };
    ASSERT_NE(dialog.Create(0, "Mouse Test", 0x96000000, 0, {100, 100, 540, 420}), 0u);
    dialog.ShowWindow(SW_SHOW);
    QApplication::processEvents();
    QtWindow* widget = backend.widgetFor(dialog.GetSafeHwnd());
    ASSERT_NE(widget, nullptr);

    click(widget, {50, 25});                                  // button: click on release
    click(widget, {150, 25});                                 // disabled: nothing
    click(widget, {50, 60 + 60 + 30});                        // second row is "Three" (index 2)
    mouse(widget, QEvent::MouseButtonPress, {230 + 90, 70});  // slider: drag...
    mouse(widget, QEvent::MouseMove, {230 + 180, 70});
    mouse(widget, QEvent::MouseButtonRelease, {230 + 180, 70});  // ...and release
    click(widget, {260, 100 + 4 + 36 + 10}, Qt::RightButton);    // context menu on row 1
    click(widget, {260, 280}, Qt::RightButton);                  // and on empty space

    const std::vector<Note> expected = {
        {10, 2, 0}, {12, 2, 2}, {13, 8, 5}, {13, 8, 10}, {13, 2, 0}, {14, 5, 1}, {14, 5, -1},
    };
    ASSERT_EQ(dialog.notes.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(dialog.notes[i].id, expected[i].id);
        EXPECT_EQ(dialog.notes[i].code, expected[i].code);
        if (expected[i].id != 13 || expected[i].code != 2) {
            EXPECT_EQ(dialog.notes[i].param, expected[i].param);
        }
    }
    EXPECT_EQ(dialog.GetControlAs<MTabCtrl>(12)->GetCurSel(), 2);
    dialog.DestroyWindow();
}

TEST_F(QtBackendTest, KeyboardWalksAndUsesPaintedControls) {
    BuiltDialog dialog;
    dialog.build = [](BuiltDialog& d) {
        d.CreateControl("MButton", 10, {10, 10, 110, 40}, "OK");
        auto* tabs = dynamic_cast<MTabCtrl*>(d.CreateControl("MTabCtrl", 12, {10, 60, 200, 300}));
        for (int i = 0; i < 3; ++i) tabs->AddItem(i + 1, "tab", {});
        tabs->SetItemVisible(1, false);
        tabs->SetCurSel(0);
        auto* slider = dynamic_cast<DPISlider*>(d.CreateControl("DPISlider", 13, {220, 60, 420, 90}));
        slider->SetRange(0, 3);
        slider->SetProgress(3);
    };
    ASSERT_NE(dialog.Create(0, "Keyboard Test", 0x96000000, 0, {100, 100, 540, 420}), 0u);
    dialog.ShowWindow(SW_SHOW);
    QApplication::processEvents();
    QtWindow* widget = backend.widgetFor(dialog.GetSafeHwnd());
    auto key = [widget](int k) {
        QKeyEvent press(QEvent::KeyPress, k, Qt::NoModifier);
        QCoreApplication::sendEvent(widget, &press);
        QApplication::processEvents();
    };
    key(Qt::Key_Tab);    // the button
    key(Qt::Key_Space);  // clicks it
    key(Qt::Key_Tab);    // the tabs
    key(Qt::Key_Down);   // skips the hidden tab
    key(Qt::Key_Down);   // already on the last one: nothing
    key(Qt::Key_Tab);    // the slider
    key(Qt::Key_Right);  // at its end: nothing
    key(Qt::Key_Left);
    const std::vector<Note> expected = {{10, 2, 0}, {12, 2, 2}, {13, 8, 2}, {13, 2, 2}};
    EXPECT_EQ(dialog.notes, expected);
    dialog.DestroyWindow();
}

TEST_F(QtBackendTest, EditFieldsAndComboBoxesAreQtWidgetsWiredToTheControls) {
    BuiltDialog dialog;
    dialog.build = [](BuiltDialog& d) {
        auto* edit = dynamic_cast<MEdit*>(d.CreateControl("MEdit", 20, {10, 10, 200, 40}));
        edit->SetNumberOnly(true);
        auto* combo = dynamic_cast<MComboBox*>(d.CreateControl("MComboBox", 21, {10, 50, 200, 80}));
        combo->AddItem("a", 100);
        combo->AddItem("b", 200);
        d.CreateControl("MButton", 22, {10, 100, 100, 130}, "other");
    };
    ASSERT_NE(dialog.Create(0, "Edit Test", 0x96000000, 0, {100, 100, 400, 300}), 0u);
    dialog.ShowWindow(SW_SHOW);
    QApplication::processEvents();
    QtWindow* widget = backend.widgetFor(dialog.GetSafeHwnd());
    auto lines = widget->findChildren<QLineEdit*>();
    auto boxes = widget->findChildren<QComboBox*>();
    ASSERT_EQ(lines.size(), 1);
    ASSERT_EQ(boxes.size(), 1);
    EXPECT_EQ(lines[0]->geometry(), QRect(10, 10, 190, 30));
    // Showing the window focuses nothing the program did not ask for.
    QApplication::processEvents();
    EXPECT_TRUE(dialog.notes.empty());
    EXPECT_FALSE(lines[0]->hasFocus());

    // What Qt sends when the user clicks into the field.
    QFocusEvent focusIn(QEvent::FocusIn, Qt::MouseFocusReason);
    QCoreApplication::sendEvent(lines[0], &focusIn);
    for (const char* typed : {"4", "x", "2"}) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString::fromLatin1(typed));
        QCoreApplication::sendEvent(lines[0], &press);
    }
    QApplication::processEvents();
    // Letters are refused by a number field and vanish from the Qt field too.
    EXPECT_EQ(dialog.GetControlAs<MEdit>(20)->GetEditText(), "42");
    EXPECT_EQ(lines[0]->text(), QStringLiteral("42"));
    ASSERT_GE(dialog.notes.size(), 3u);
    EXPECT_EQ(dialog.notes.front().code, 30);  // focus gained first
    EXPECT_EQ(dialog.notes.back().code, 26);

    // A programmatic change shows in the widget without notifying.
    dialog.notes.clear();
    dialog.GetControlAs<MEdit>(20)->SetEditText("7");
    QApplication::processEvents();
    EXPECT_EQ(lines[0]->text(), QStringLiteral("7"));
    EXPECT_TRUE(dialog.notes.empty());

    emit boxes[0]->activated(1);
    EXPECT_EQ(dialog.GetControlAs<MComboBox>(21)->GetCurData(), 200);
    ASSERT_FALSE(dialog.notes.empty());
    EXPECT_EQ(dialog.notes.back(), (Note{21, 2, 1}));

    // Hiding the control hides its widget.
    dialog.GetControl(21)->SetVisible(false);
    QApplication::processEvents();
    EXPECT_FALSE(boxes[0]->isVisible());
    dialog.DestroyWindow();
}

TEST_F(QtBackendTest, KeysReachTheRegisteredWindowWithSidedCodes) {
    BuiltDialog dialog;
    std::vector<KeyInput> keys;
    dialog.keyInput = [&keys](LPARAM handle) {
        KeyInput key;
        if (MWindow::GetKeyInput(handle, key)) keys.push_back(key);
    };
    ASSERT_NE(dialog.Create(0, "Key Test", 0x96000000, 0, {100, 100, 300, 200}), 0u);
    dialog.ShowWindow(SW_SHOW);
    dialog.RegisterKeyInput();
    QApplication::processEvents();
    QWindow* handle = backend.widgetFor(dialog.GetSafeHwnd())->windowHandle();
    ASSERT_NE(handle, nullptr);
    QKeyEvent rightCtrl(QEvent::KeyPress, Qt::Key_Control, Qt::ControlModifier, 105, 0xffe4, 0);
    QKeyEvent keypadSeven(QEvent::KeyRelease, Qt::Key_Home, Qt::KeypadModifier, 79, 0xff95, 0);
    QCoreApplication::sendEvent(handle, &rightCtrl);
    QCoreApplication::sendEvent(handle, &keypadSeven);
    QApplication::processEvents();
    ASSERT_EQ(keys.size(), 2u);
    EXPECT_EQ(keys[0].vk, 163);
    EXPECT_EQ(keys[0].name, "RCtrl");
    EXPECT_FALSE(keys[0].released);
    EXPECT_EQ(keys[1].vk, 103);
    EXPECT_TRUE(keys[1].released);
    dialog.DestroyWindow();
}

TEST_F(QtBackendTest, ModalRunsEndByClickCloseOrAnotherThread) {
    struct Case {
        const char* what;
        std::function<void(BuiltDialog&, QtBackend&)> act;
        int result;
    };
    const Case cases[] = {
        {"OK button",
         [this](BuiltDialog& d, QtBackend& b) {
             click(b.widgetFor(d.GetSafeHwnd()), {30, 20});
         },
         1},
        {"desktop close request", [](BuiltDialog& d, QtBackend& b) { b.widgetFor(d.GetSafeHwnd())->close(); },
         2},
        {"worker thread", [](BuiltDialog& d, QtBackend&) { std::thread([&d] { d.DoOK(); }).join(); }, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        BuiltDialog dialog;
        dialog.build = [](BuiltDialog& d) { d.CreateControl("MButton", 1, {10, 10, 60, 40}, "OK"); };
        dialog.react = [](BuiltDialog& d, const Note& n) {
            if (n.id == 1 && n.code == 2) d.DoOK();
        };
        ASSERT_NE(dialog.Create(0, "Modal Test", 0x96000000, 0x80, {100, 100, 300, 200}), 0u);
        dialog.SetTimer(7, 10);
        QTimer::singleShot(40, [&] {
            // The run blocks the other windows while it lasts.
            EXPECT_EQ(backend.widgetFor(dialog.GetSafeHwnd())->windowModality(), Qt::ApplicationModal);
            c.act(dialog, backend);
        });
        // A run that does not end fails the case instead of hanging the test.
        QTimer::singleShot(5000, [&] { dialog.EndModal(99); });
        // The window timer keeps firing while the nested loop runs.
        const int result = dialog.ShowModal(SW_SHOW);
        dialog.KillTimer(7);
        EXPECT_EQ(result, c.result);
        EXPECT_FALSE(dialog.IsWindowVisible());
        // Shown again without a run, it blocks nothing.
        dialog.ShowWindow(SW_SHOW);
        QApplication::processEvents();
        EXPECT_EQ(backend.widgetFor(dialog.GetSafeHwnd())->windowModality(), Qt::NonModal);
        dialog.DestroyWindow();
    }
}

TEST_F(QtBackendTest, WorkerThreadSettersAndMessagesReachTheShownWindow) {
    struct Counting : BuiltDialog {
        std::atomic<int> received{0};
        LRESULT OnWindowMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
            if (message == WM_USER + 1) ++received;
            return BuiltDialog::OnWindowMessage(message, wParam, lParam);
        }
    } dialog;
    dialog.build = [](BuiltDialog& d) { d.CreateControl("MProgress", 5, {10, 10, 300, 30}); };
    ASSERT_NE(dialog.Create(0, "Worker Test", 0x96000000, 0, {100, 100, 400, 200}), 0u);
    dialog.ShowWindow(SW_SHOW);
    auto* progress = dialog.GetControlAs<MProgress>(5);
    std::thread worker([&] {
        for (int i = 1; i <= 100; ++i) {
            progress->SetProgress(i);
            dialog.PostMessage(WM_USER + 1);
        }
    });
    // The UI thread keeps painting while the worker sets values.
    QElapsedTimer clock;
    clock.start();
    while (dialog.received.load() < 100 && clock.elapsed() < 5000) {
        backend.widgetFor(dialog.GetSafeHwnd())->repaint();
        QApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    worker.join();
    QApplication::processEvents();
    EXPECT_EQ(dialog.received.load(), 100);
    EXPECT_EQ(progress->GetProgress(), 100);
    dialog.DestroyWindow();
}

TEST_F(QtBackendTest, WindowDestroyedFromItsOwnClickHandler) {
    class Closing : public BuiltDialog {
    public:
        int OnMessage(int id, int code, std::intptr_t param) override {
            BuiltDialog::OnMessage(id, code, param);
            DestroyWindow();
            return 0;
        }
    } dialog;
    dialog.build = [](BuiltDialog& d) {
        d.CreateControl("CImageButton", 38, {10, 10, 40, 40})->SetImage("sysbtn_close.png");
    };
    ASSERT_NE(dialog.Create(0, "Closing Test", 0x96000000, 0, {100, 100, 300, 200}), 0u);
    dialog.ShowWindow(SW_SHOW);
    QApplication::processEvents();
    const HWND hwnd = dialog.GetSafeHwnd();
    click(backend.widgetFor(hwnd), {20, 20});
    QApplication::processEvents();
    EXPECT_EQ(dialog.GetSafeHwnd(), 0u);
    EXPECT_EQ(backend.widgetFor(hwnd), nullptr);
    ASSERT_EQ(dialog.notes.size(), 1u);
}

TEST_F(QtBackendTest, GeometryFollowsTheWindowBothWays) {
    BuiltDialog dialog;
    ASSERT_NE(dialog.Create(0, "Geometry Test", 0x96000000, 0, {100, 100, 400, 300}), 0u);
    dialog.ShowWindow(SW_SHOW);
    QApplication::processEvents();
    QtWindow* widget = backend.widgetFor(dialog.GetSafeHwnd());
    EXPECT_EQ(widget->geometry(), QRect(100, 100, 300, 200));
    EXPECT_TRUE(widget->windowFlags().testFlag(Qt::FramelessWindowHint));
    dialog.MoveWindow(50, 60, 320, 240);
    QApplication::processEvents();
    EXPECT_EQ(widget->geometry(), QRect(50, 60, 320, 240));
    widget->move(70, 80);  // as a drag of the caption does
    QApplication::processEvents();
    EXPECT_EQ(dialog.GetWindowRect(), (Rect{70, 80, 390, 320}));
    dialog.ShowWindow(SW_HIDE);
    QApplication::processEvents();
    EXPECT_FALSE(widget->isVisible());
    dialog.DestroyWindow();
}

TEST_F(QtBackendTest, FileDialogsKeepFilterAddExtensionAndGiveTheTitle) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    struct Case {
        const char* what;
        bool save;
        const char* defaultExtension;
        const char* typed;  // nullptr: cancel
        bool accepted;
        const char* title;
    };
    const Case cases[] = {
        {"save adds the extension", true, "*.xml", "mine", true, "mine.xml"},
        {"save keeps a typed extension", true, "*.xml", "other.xml", true, "other.xml"},
        {"no extension for *.*", true, "*.*", "plain", true, "plain"},
        {"cancel", true, "*.xml", nullptr, false, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        QString filter;
        // Acts on the dialog once it shows, as the user would.
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, [&] {
            QFileDialog* dialog = nullptr;
            for (QWidget* w : QApplication::topLevelWidgets())
                if (auto* d = qobject_cast<QFileDialog*>(w); d != nullptr && d->isVisible()) dialog = d;
            if (dialog == nullptr) return;
            poll.stop();
            filter = dialog->selectedNameFilter();
            if (c.typed == nullptr) {
                dialog->reject();
                return;
            }
            // Typed into the file name field.
            auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
            if (name == nullptr) {
                ADD_FAILURE() << "no file name field";
                dialog->reject();
                return;
            }
            name->setText(QString::fromUtf8(c.typed));
            static_cast<QDialog*>(dialog)->done(QDialog::Accepted);
        });
        poll.start(20);
        FileDialogRequest request;
        request.save = c.save;
        request.filterName = "Profile";
        request.pattern = "*.xml";
        request.defaultExtension = c.defaultExtension;
        request.initialPath = folder.path().toStdString();
        const FileDialogResult result = backend.runFileDialog(request);
        EXPECT_EQ(filter, QStringLiteral("Profile (*.xml)"));
        EXPECT_EQ(result.accepted, c.accepted);
        EXPECT_EQ(result.title, c.title);
        if (c.accepted) {
            EXPECT_EQ(result.path, (QDir(folder.path()).filePath(QString::fromUtf8(c.title))).toStdString());
        }
    }
}

}  // namespace
}  // namespace DUI::test
