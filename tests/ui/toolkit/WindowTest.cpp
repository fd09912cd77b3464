// Windows and dialogs: modal results (nested too), closing from outside by
// title, timers on the virtual clock, posted messages, key input, pop-up
// menus, the tray, file dialogs and geometry.
#include "TestDialog.h"

#include "ui/toolkit/Desktop.h"
#include "ui/toolkit/Dispatcher.h"
#include "ui/toolkit/FileDialog.h"
#include "ui/toolkit/MButton.h"
#include "ui/toolkit/MEdit.h"
#include "ui/toolkit/MText.h"
#include "ui/toolkit/MenuWnd.h"
#include "ui/toolkit/PaintManager.h"
#include "ui/toolkit/TrayIcon.h"
#include "ui/toolkit/headless/HeadlessBackend.h"
#include "ui/toolkit/headless/HeadlessUser.h"

#include <gtest/gtest.h>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace DUI::test {
namespace {

// A two-button box like the program's message box: 33 ends with OK, 34 with Cancel.
class BoxDialog : public TestDialog {
public:
    BoxDialog() {
        build = [](TestDialog& d) {
            d.CreateControl("MButton", 33, Rect{10, 10, 60, 30}, "OK");
            d.CreateControl("MButton", 34, Rect{70, 10, 120, 30}, "Cancel");
        };
        react = [](TestDialog& d, int id, int code, std::intptr_t) {
            if (code == kNotifyClick && id == 33) d.DoOK();
            if (code == kNotifyClick && id == 34) d.DoCancel();
            return 0;
        };
    }
};

int runBox(HWND owner, const std::string& title = "MessageBox") {
    BoxDialog box;
    if (box.Create(owner, title, WS_POPUP, WS_EX_TOOLWINDOW, Rect{0, 0, 430, 230}) == 0) return -1;
    box.CenterWindow();
    return box.ShowModal(SW_SHOWNORMAL);
}

class WindowTest : public testing::Test {
protected:
    HeadlessBackend backend;
    HeadlessUser user{backend};
};

TEST_F(WindowTest, ModalResultsFollowHowTheDialogEnded) {
    struct Case {
        const char* name;
        std::function<void(HeadlessBackend&, HeadlessUser&)> script;
        int expected;
        bool answered;
    };
    const std::vector<Case> cases = {
        {"first button",
         [](auto& b, auto& u) {
             b.answerModal("MessageBox", [&u](MWindow& w) { u.click(static_cast<MDialog&>(w), 33); });
         },
         1, true},
        {"second button",
         [](auto& b, auto& u) {
             b.answerModal("MessageBox", [&u](MWindow& w) { u.click(static_cast<MDialog&>(w), 34); });
         },
         2, true},
        {"scripted OK", [](auto& b, auto&) { b.answerModal("MessageBox", IDOK); }, 1, true},
        {"scripted Cancel", [](auto& b, auto&) { b.answerModal("MessageBox", IDCANCEL); }, 2, true},
        {"closed from outside with wParam 2",
         [](auto& b, auto&) {
             b.answerModal("MessageBox", [](MWindow&) {
                 MWindow::PostMessage(MWindow::FindWindow("MWindow", "MessageBox"), WM_CLOSE, 2, 0);
             });
         },
         2, true},
        {"closed from outside with wParam 1",
         [](auto& b, auto&) {
             b.answerModal("MessageBox", [](MWindow& w) { w.PostMessage(WM_CLOSE, 1, 0); });
         },
         1, true},
        {"closed from outside with an odd wParam counts as Cancel",
         [](auto& b, auto&) {
             b.answerModal("MessageBox", [](MWindow& w) { w.PostMessage(WM_CLOSE, 610, 0); });
         },
         2, true},
        {"answer for another title: cancelled, not answered",
         [](auto& b, auto&) { b.answerModal("Other", IDOK); }, 2, false},
        {"nothing scripted: cancelled, not answered", [](auto&, auto&) {}, 2, false},
    };
    for (const Case& c : cases) {
        HeadlessBackend b;
        HeadlessUser u{b};
        c.script(b, u);
        EXPECT_EQ(runBox(0), c.expected) << c.name;
        ASSERT_EQ(b.modalLog().size(), 1u) << c.name;
        EXPECT_EQ(b.modalLog()[0].title, "MessageBox");
        EXPECT_EQ(b.modalLog()[0].answered, c.answered) << c.name;
        EXPECT_EQ(b.modalLog()[0].result, c.expected) << c.name;
    }
}

TEST_F(WindowTest, NestedMessageBoxInsideADialog) {
    TestDialog dialog;
    int inner = 0;
    dialog.build = [](TestDialog& d) { d.CreateControl("MButton", 71, Rect{0, 0, 10, 10}); };
    dialog.react = [&inner](TestDialog& d, int id, int code, std::intptr_t) {
        if (id == 71 && code == kNotifyClick) {
            inner = runBox(d.GetSafeHwnd());
            if (inner == IDOK) d.DoOK();
        }
        return 0;
    };
    ASSERT_NE(dialog.open("ProfileDlg"), 0u);
    // First click: the box is cancelled and the dialog stays; second: OK ends both.
    backend.answerModal("ProfileDlg", [this](MWindow& w) {
        user.click(static_cast<MDialog&>(w), 71);
        EXPECT_TRUE(w.IsModal());
        EXPECT_FALSE(w.IsModalEnded());
        user.click(static_cast<MDialog&>(w), 71);
    });
    backend.answerModal("MessageBox", IDCANCEL);
    backend.answerModal("MessageBox", IDOK);
    EXPECT_EQ(dialog.ShowModal(SW_SHOW), IDOK);
    EXPECT_EQ(inner, IDOK);
    const auto log = backend.modalLog();
    ASSERT_EQ(log.size(), 3u);
    EXPECT_EQ(log[0].title, "ProfileDlg");
    EXPECT_EQ(log[1].result, IDCANCEL);
    EXPECT_EQ(log[2].result, IDOK);
    EXPECT_FALSE(dialog.IsWindowVisible());          // hidden after its modal run
    EXPECT_EQ(dialog.ShowModal(SW_SHOW), IDCANCEL);  // can run again; unanswered now
}

TEST_F(WindowTest, ShowModalRefusesWhatItCannotRun) {
    TestDialog never;
    EXPECT_EQ(never.ShowModal(SW_SHOW), -1);  // no window
    TestDialog dialog;
    dialog.open("Twice");
    backend.answerModal("Twice", [](MWindow& w) {
        EXPECT_EQ(w.ShowModal(SW_SHOW), -1);  // already modal
        w.EndModal(7);
    });
    EXPECT_EQ(dialog.ShowModal(SW_SHOW), 7);
}

TEST_F(WindowTest, DestroyingAModalWindowEndsItsRun) {
    TestDialog dialog;
    dialog.open("Gone");
    backend.answerModal("Gone", [](MWindow& w) { w.DestroyWindow(); });
    EXPECT_EQ(dialog.ShowModal(SW_SHOW), 0);
    EXPECT_EQ(dialog.GetSafeHwnd(), 0u);
    EXPECT_EQ(MWindow::FindWindow("MWindow", "Gone"), 0u);
}

TEST_F(WindowTest, FindByTitleAndCloseHelpersFromOutside) {
    TestDialog tip, wait, palette;
    tip.open("CustomKeyDlg");
    wait.open("WaitDlg");
    palette.open("PaletteDlg");
    for (TestDialog* d : {&tip, &wait, &palette}) d->ShowWindow(SW_SHOW);
    EXPECT_EQ(MWindow::FindWindow("MWindow", "WaitDlg"), wait.GetSafeHwnd());
    EXPECT_EQ(MWindow::FindWindow("MWindow", "Nope"), 0u);
    EXPECT_EQ(MWindow::FindWindow("OtherClass", "WaitDlg"), 0u);
    // Posted WM_CLOSE hides a window that is not modal; SW_HIDE by handle too.
    MWindow::PostMessage(MWindow::FindWindow("MWindow", "CustomKeyDlg"), WM_CLOSE, 0, 0);
    MWindow::PostMessage(MWindow::FindWindow("MWindow", "WaitDlg"), WM_CLOSE, 0, 0);
    MWindow::ShowWindow(MWindow::FindWindow("MWindow", "PaletteDlg"), SW_HIDE);
    EXPECT_TRUE(tip.IsWindowVisible());  // not delivered yet
    backend.processEvents();
    EXPECT_FALSE(tip.IsWindowVisible());
    EXPECT_FALSE(wait.IsWindowVisible());
    EXPECT_FALSE(palette.IsWindowVisible());
    // Nothing reaches a window that has gone, and its handle is not reused.
    const HWND old = wait.GetSafeHwnd();
    wait.DestroyWindow();
    EXPECT_FALSE(MWindow::PostMessage(old, WM_USER + 1, 0, 0));
    wait.open("WaitDlg");
    EXPECT_NE(wait.GetSafeHwnd(), old);
}

TEST_F(WindowTest, PostedMessagesArriveInOrderAndNotForTheDead) {
    TestDialog main, other;
    main.open("Main");
    other.open("Other");
    const HWND otherHandle = other.GetSafeHwnd();
    main.PostMessage(WM_USER + 668, 1, 1);
    Dispatcher::PostMessage(otherHandle, WM_USER + 1, 0, 0);
    main.PostMessage(WM_USER + 681, 0, 3);
    other.DestroyWindow();
    EXPECT_FALSE(Dispatcher::PostMessage(0, WM_USER, 0, 0));
    EXPECT_EQ(backend.processEvents(), 3u);
    EXPECT_EQ(main.posted, (std::vector<Posted>{{WM_USER + 668, 1, 1}, {WM_USER + 681, 0, 3}}));
    EXPECT_TRUE(other.posted.empty());
    // Sent on the UI thread: handled at once.
    main.SendMessage(WM_USER + 998, 0, 0);
    EXPECT_EQ(main.posted.back(), (Posted{WM_USER + 998, 0, 0}));
}

// A handler that throws loses its own message only; the queue goes on.
class ThrowingDialog : public TestDialog {
public:
    LRESULT OnWindowMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_USER + 1) throw std::runtime_error("broken handler");
        return TestDialog::OnWindowMessage(message, wParam, lParam);
    }
};

TEST_F(WindowTest, AThrowingHandlerDoesNotStopTheQueue) {
    ThrowingDialog main;
    main.open("Main");
    main.PostMessage(WM_USER + 1, 0, 0);
    main.PostMessage(WM_USER + 2, 0, 0);
    Dispatcher::Post(main.GetSafeHwnd(), [] { throw 42; });
    main.PostMessage(WM_USER + 3, 0, 0);
    EXPECT_NO_THROW(backend.processEvents());
    EXPECT_EQ(main.posted, (std::vector<Posted>{{WM_USER + 2, 0, 0}, {WM_USER + 3, 0, 0}}));
}

TEST_F(WindowTest, TimersFireInDeadlineOrderOnTheVirtualClock) {
    TestDialog a, b;
    a.open("A");
    b.open("B");
    std::vector<std::pair<std::string, std::int64_t>> fired;
    a.timer = [&](TestDialog&, std::uintptr_t id) {
        fired.push_back({"A" + std::to_string(id), backend.now()});
    };
    b.timer = [&](TestDialog&, std::uintptr_t id) {
        fired.push_back({"B" + std::to_string(id), backend.now()});
    };
    a.SetTimer(1, 100);
    b.SetTimer(2, 30);
    a.SetTimer(3, 60);
    backend.advance(99);
    EXPECT_EQ(fired, (std::vector<std::pair<std::string, std::int64_t>>{
                         {"B2", 30}, {"B2", 60}, {"A3", 60}, {"B2", 90}}));  // a tie: set first, fires first
    fired.clear();
    b.KillTimer(2);
    backend.advance(1);
    EXPECT_EQ(fired, (std::vector<std::pair<std::string, std::int64_t>>{{"A1", 100}}));
    EXPECT_EQ(backend.now(), 100);
    a.DestroyWindow();
    b.DestroyWindow();
    EXPECT_EQ(backend.activeTimerCount(), 0);
}

// The please-wait rule: shown for two seconds, a new request restarts them.
TEST_F(WindowTest, RestartingATimerRestartsItsInterval) {
    TestDialog wait;
    wait.open("SaveWaitDlg");
    wait.timer = [](TestDialog& d, std::uintptr_t id) {
        if (id != 200) return;
        d.KillTimer(200);
        d.ShowWindow(SW_HIDE);
    };
    const auto request = [&wait] {
        wait.SetTimer(200, 2000);
        wait.ShowWindow(SW_SHOW);
    };
    request();
    backend.advance(1500);
    request();
    backend.advance(1999);
    EXPECT_TRUE(wait.IsWindowVisible());  // 3.499 s in all
    backend.advance(1);
    EXPECT_FALSE(wait.IsWindowVisible());
    EXPECT_EQ(wait.timers, (std::vector<std::uintptr_t>{200}));
    EXPECT_EQ(backend.activeTimerCount(), 0);
}

TEST_F(WindowTest, KeyEventsReachTheLastRegisteredWindowOnly) {
    TestDialog main, capture;
    main.open("Main");
    capture.open("RecordEditDlg");
    std::vector<std::string> seen;
    const auto reader = [&seen](const char* who) {
        return [&seen, who](TestDialog&, LPARAM handle) {
            KeyInput key;
            ASSERT_TRUE(MWindow::GetKeyInput(handle, key));
            seen.push_back(std::string(who) + (key.released ? " up " : " down ") + std::to_string(key.vk) +
                           " " + key.name);
        };
    };
    main.keyInput = reader("main");
    capture.keyInput = reader("capture");
    backend.injectKey(65, "A", false);  // nobody registered yet
    main.RegisterKeyInput();
    backend.injectKey(163, "RCtrl", false);
    capture.RegisterKeyInput();  // the last registration wins
    backend.injectKey(163, "RCtrl", true);
    backend.processEvents();
    backend.injectKey(20, "Caps Lock", false);
    capture.DestroyWindow();                     // queued for a window that has gone: dropped
    backend.injectKey(108, "Num Enter", false);  // the registration went with the window
    backend.processEvents();
    EXPECT_EQ(seen, (std::vector<std::string>{"main down 163 RCtrl", "capture up 163 RCtrl"}));
    // A handle is only good while its event is being delivered.
    KeyInput key;
    EXPECT_FALSE(MWindow::GetKeyInput(1, key));
    EXPECT_FALSE(MWindow::GetKeyInput(0, key));
}

TEST_F(WindowTest, MenuPostsTheChosenCommandToItsOwner) {
    TestDialog main;
    main.open("Main");
    backend.setCursorPos({500, 400});
    MenuWnd menu;
    const Point at = Desktop::GetCursorPos();
    ASSERT_NE(menu.Create(main.GetSafeHwnd(), WM_USER + 685, Point{at.x + 2, at.y + 2}, 150), 0u);
    menu.AddMenu(101, "Import");
    menu.AddMenu(102, "Export");
    EXPECT_FALSE(user.chooseMenu(101));  // not shown yet
    menu.TrackMenu();
    EXPECT_EQ(MWindow::FindWindow("MWindow", "Menu Window"), menu.GetSafeHwnd());
    EXPECT_EQ(menu.GetWindowRect(), (Rect{502, 402, 652, 402 + 2 * MenuWnd::kRowHeight}));
    EXPECT_TRUE(menu.IsTopmost());
    EXPECT_FALSE(user.chooseMenu(999));
    EXPECT_TRUE(user.chooseMenu(102));
    EXPECT_EQ(main.posted, (std::vector<Posted>{{WM_USER + 685, 102, 0}}));
    EXPECT_FALSE(menu.IsWindowVisible());
    // Clicking elsewhere (losing activation) or WM_CLOSE dismisses without a post.
    menu.Create(main.GetSafeHwnd(), WM_COMMAND, Point{0, 0}, 120);
    menu.AddMenu(100, "Exit");
    menu.TrackMenu();
    main.ShowWindow(SW_SHOW);
    backend.activate(menu);
    backend.activate(main);
    EXPECT_FALSE(menu.IsWindowVisible());
    menu.TrackMenu();
    MWindow::PostMessage(MWindow::FindWindow("MWindow", "Menu Window"), WM_CLOSE, 0, 0);
    backend.processEvents();
    EXPECT_FALSE(menu.IsWindowVisible());
    EXPECT_EQ(main.posted.size(), 1u);
}

TEST_F(WindowTest, ActivationReachesOnNcActivate) {
    TestDialog main, popup;
    main.open("Main");
    popup.open("ProfileDlg");
    std::vector<std::string> changes;
    main.activation = [&](TestDialog&, bool a) {
        changes.push_back(std::string("main ") + (a ? "on" : "off"));
    };
    popup.activation = [&](TestDialog&, bool a) {
        changes.push_back(std::string("popup ") + (a ? "on" : "off"));
    };
    main.ShowWindow(SW_SHOW);
    popup.ShowWindow(SW_SHOW);
    backend.activate(main);
    backend.activate(popup);
    backend.deactivate(popup);
    EXPECT_EQ(changes, (std::vector<std::string>{"main on", "main off", "popup on", "popup off"}));
    // Brought forward (tray click): raised and activated.
    changes.clear();
    main.SetForegroundWindow();
    EXPECT_EQ(backend.raisedWindows(), (std::vector<HWND>{main.GetSafeHwnd()}));
    EXPECT_EQ(changes, (std::vector<std::string>{"main on"}));
    // A pop-up that closed itself (hidden) is not told again.
    changes.clear();
    backend.activate(popup);
    popup.ShowWindow(SW_HIDE);
    backend.activate(main);
    EXPECT_EQ(changes, (std::vector<std::string>{"main off", "popup on", "main on"}));
}

TEST_F(WindowTest, TrayIconShowsClicksAndGoes) {
    TestDialog main;
    main.open("Main");
    EXPECT_TRUE(TrayIcon::Show(main.GetSafeHwnd(), 109, WM_USER + 666, 0, "Quorvik"));
    ASSERT_TRUE(backend.trayIcon().has_value());
    EXPECT_EQ(backend.trayIcon()->tip, "Quorvik");
    EXPECT_TRUE(backend.clickTray(WM_RBUTTONUP));
    backend.processEvents();
    EXPECT_EQ(main.posted, (std::vector<Posted>{{WM_USER + 666, 109, WM_RBUTTONUP}}));
    TrayIcon::Remove(main.GetSafeHwnd(), 109);
    EXPECT_FALSE(backend.trayIcon().has_value());
    EXPECT_FALSE(backend.clickTray(WM_LBUTTONDOWN));
    backend.setTrayAvailable(false);
    EXPECT_FALSE(TrayIcon::IsAvailable());
    EXPECT_FALSE(TrayIcon::Show(main.GetSafeHwnd(), 109, WM_USER + 666, 0, "Quorvik"));
}

TEST_F(WindowTest, FileDialogsAnswerAsScripted) {
    FileDialogRequest request;
    request.filterName = "Profile (*.xml)";
    request.pattern = "*.xml";
    request.defaultExtension = "*.*";
    backend.answerFileDialog("/home/u/Gaming.xml");
    backend.answerFileDialog(std::nullopt);
    const FileDialogResult saved = FileDialog::GetSaveFileName(request);
    EXPECT_TRUE(saved.accepted);
    EXPECT_EQ(saved.path, "/home/u/Gaming.xml");
    EXPECT_EQ(saved.title, "Gaming.xml");
    EXPECT_FALSE(FileDialog::GetOpenFileName(request).accepted);  // cancelled
    EXPECT_FALSE(FileDialog::GetOpenFileName(request).accepted);  // nothing scripted
    const auto log = backend.fileDialogLog();
    ASSERT_EQ(log.size(), 3u);
    EXPECT_TRUE(log[0].save);
    EXPECT_FALSE(log[1].save);
    EXPECT_EQ(log[1].filterName, "Profile (*.xml)");
}

TEST_F(WindowTest, DesktopServices) {
    EXPECT_TRUE(Desktop::OpenUrl("https://example.org/help"));
    EXPECT_FALSE(Desktop::OpenUrl(""));
    EXPECT_EQ(backend.openedUrls(), (std::vector<std::string>{"https://example.org/help"}));
    backend.setWorkArea({0, 0, 2560, 1400});
    EXPECT_EQ(Desktop::GetWorkArea(), (Rect{0, 0, 2560, 1400}));
    backend.setScreen({0, 0, 1366, 768}, 144);
    EXPECT_EQ(Desktop::GetScreenRect(), (Rect{0, 0, 1366, 768}));
    EXPECT_EQ(Desktop::GetScreenDpi(), 144);
    backend.answerSystemMessageBox(1);
    EXPECT_EQ(Desktop::MessageBox("Notification", "GetDpiForMonitor failed"), 1);
    EXPECT_EQ(backend.systemMessageBoxLog(),
              (std::vector<std::string>{"Notification: GetDpiForMonitor failed"}));
}

TEST_F(WindowTest, GeometryCentringAndMaximising) {
    backend.setWorkArea({0, 0, 1920, 1040});
    TestDialog main;
    main.open("Quorvik", 1300, 788);
    EXPECT_EQ(main.initCount, 1);
    main.CenterWindow();
    EXPECT_EQ(main.GetWindowRect(), (Rect{310, 126, 1610, 914}));
    EXPECT_EQ(main.GetClientRect(), (Rect{0, 0, 1300, 788}));
    TestDialog popup;
    popup.open("ProfileDlg", 150, 205, main.GetSafeHwnd());
    popup.CenterWindow();  // on its owner
    EXPECT_EQ(popup.GetWindowRect(), (Rect{885, 417, 1035, 622}));
    Rect r{10, 20, 160, 225};
    main.ClientToScreen(r);
    EXPECT_EQ(r, (Rect{320, 146, 470, 351}));
    main.sizes.clear();
    main.OnMaximize();
    EXPECT_TRUE(main.IsZoomed());
    EXPECT_EQ(main.GetWindowRect(), (Rect{0, 0, 1920, 1040}));
    main.OnMaximize();
    EXPECT_FALSE(main.IsZoomed());
    EXPECT_EQ(main.GetWindowRect(), (Rect{310, 126, 1610, 914}));
    EXPECT_EQ(main.sizes, (std::vector<Rect>{{0, 0, 1920, 1040}, {0, 0, 1300, 788}}));
    // Topmost without moving or sizing; a move that keeps the size lays nothing out.
    main.SetWindowPos(HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
    EXPECT_TRUE(main.IsTopmost());
    EXPECT_TRUE(main.IsWindowVisible());
    main.MoveWindow(Rect{0, 0, 1300, 788});
    EXPECT_EQ(main.sizes.size(), 2u);
    main.OnMinimize();
    EXPECT_TRUE(main.IsIconic());
    main.ShowWindow(SW_SHOWNORMAL);
    EXPECT_FALSE(main.IsIconic());
    main.GetPaintManager().SetBackColor(0x1A1A1A, 0x969696);
    EXPECT_EQ(main.GetPaintManager().GetBackColor(),
              (std::pair<std::uint32_t, std::uint32_t>{0x1A1A1A, 0x969696}));
    main.SetWindowText("Renamed");
    EXPECT_EQ(MWindow::FindWindow("MWindow", "Renamed"), main.GetSafeHwnd());
}

TEST_F(WindowTest, ANestedBackendPutsBackTheOneBefore) {
    {
        HeadlessBackend inner;
        EXPECT_EQ(Dispatcher::GetBackend(), &inner);
    }
    EXPECT_EQ(Dispatcher::GetBackend(), &backend);
}

TEST_F(WindowTest, CreatingAgainRebuildsTheControls) {
    TestDialog d;
    d.build = [](TestDialog& dialog) { dialog.CreateControl("MText", 35, Rect{}, "title"); };
    d.open("Again");
    EXPECT_EQ(d.Create(0, "Again", 0, 0, Rect{}), 0u);  // already created
    d.DestroyWindow();
    d.open("Again");
    EXPECT_EQ(d.GetControls().size(), 1u);
    EXPECT_EQ(d.initCount, 2);
    EXPECT_EQ(d.GetControlAs<MText>(35)->GetTitle(), "title");
}

}  // namespace
}  // namespace DUI::test
