// The worker thread and the UI thread together (run under ThreadSanitizer in
// build-toolkit-tsan): controls set from a worker while the UI thread reads and
// draws them, messages posted from many threads, and a worker ending or
// closing modal windows and starting timers.
#include "TestDialog.h"

#include "ui/toolkit/BatteryCtrl.h"
#include "ui/toolkit/CDeviceList.h"
#include "ui/toolkit/DPIControl.h"
#include "ui/toolkit/Dispatcher.h"
#include "ui/toolkit/MComboBox.h"
#include "ui/toolkit/MEdit.h"
#include "ui/toolkit/MTabCtrl.h"
#include "ui/toolkit/MText.h"
#include "ui/toolkit/headless/HeadlessBackend.h"

#include <gtest/gtest.h>
#include <atomic>
#include <chrono>
#include <map>
#include <string>
#include <thread>
#include <vector>

namespace DUI::test {
namespace {

using namespace std::chrono_literals;

// Counts backend calls that arrive off the UI thread (there must be none).
class CheckingBackend : public HeadlessBackend {
public:
    std::atomic<int> offThread{0};
    std::atomic<int> redraws{0};

    void invalidate(MWindow& window, MControl* control) override {
        check();
        ++redraws;
        HeadlessBackend::invalidate(window, control);
    }
    void windowChanged(MWindow& window) override {
        check();
        HeadlessBackend::windowChanged(window);
    }
    void setTimer(HWND hwnd, std::uintptr_t id, unsigned ms) override {
        check();
        HeadlessBackend::setTimer(hwnd, id, ms);
    }
    void killTimer(HWND hwnd, std::uintptr_t id) override {
        check();
        HeadlessBackend::killTimer(hwnd, id);
    }

private:
    void check() {
        if (std::this_thread::get_id() != m_ui) ++offThread;
    }
    std::thread::id m_ui = std::this_thread::get_id();
};

TEST(ThreadTest, WorkerUpdatesControlsWhileTheUiThreadReadsAndDraws) {
    CheckingBackend backend;
    TestDialog main;
    main.build = [](TestDialog& d) {
        d.CreateControl("CDeviceState", 44, Rect{25, 11, 125, 38});
        d.CreateControl("CDeviceList", 57, Rect{200, 200, 1100, 688});
        d.CreateControl("DPIControl", 116, Rect{});
        d.CreateControl("MComboBox", 120, Rect{});
        d.CreateControl("BatteryCtrl", 43, Rect{})->AddMTimer();
        d.CreateControl("MTabCtrl", 48, Rect{});
    };
    ASSERT_NE(main.open("Quorvik", 1300, 788), 0u);
    main.SetMTimer(10);
    auto* status = main.GetControlAs<MControlFont>(44);
    auto* devices = main.GetControlAs<CDeviceList>(57);
    auto* stages = main.GetControlAs<DPIControl>(116);
    auto* count = main.GetControlAs<MComboBox>(120);
    auto* battery = main.GetControlAs<BatteryCtrl>(43);
    auto* tabs = main.GetControlAs<MTabCtrl>(48);
    devices->AddDevice("M1", 101, "m1.png");
    tabs->AddItem(1, "Home", "");
    tabs->AddItem(2, "Keys", "");

    constexpr int kRounds = 3000;
    std::atomic<bool> done{false};
    std::atomic<bool> uiRunning{false};
    std::thread worker([&] {
        while (!uiRunning) std::this_thread::yield();
        for (int i = 0; i < kRounds; ++i) {
            status->SetTitle("state " + std::to_string(i));
            devices->SetDeviceState(101, i % 2, 1);
            devices->SetSelectDevice(101);
            stages->ClearList();
            for (int s = 0; s <= i % 6; ++s) stages->AddItem(400 * (s + 1), 0xFF);
            stages->SetSelectItem(i % 6);
            count->DelAllItems();
            count->AddItem("6", 6);
            count->SelectData(6);
            battery->SetBatteryInfo(i % 101, i % 2);
            tabs->SetCurSel(i % 2);
            main.ShowWindow(i % 2 ? SW_SHOW : SW_HIDE);
        }
        done = true;
    });
    long reads = 0;
    while (!done) {
        uiRunning = true;
        backend.processEvents();
        backend.advance(10);
        // What a drawing backend reads.
        reads += static_cast<long>(status->GetTitle().size() + devices->GetRows().size() +
                                   stages->GetStages().size());
        reads += count->GetCurData() + battery->GetDisplayLevel() + tabs->GetCurSel();
    }
    worker.join();
    backend.processEvents();
    EXPECT_GT(reads, 0);
    EXPECT_EQ(status->GetTitle(), "state " + std::to_string(kRounds - 1));
    EXPECT_EQ(stages->GetItemCount(), (kRounds - 1) % 6 + 1);
    EXPECT_EQ(count->GetCurData(), 6);
    EXPECT_EQ(devices->GetSelectDevice(), 101);
    EXPECT_EQ(main.IsWindowVisible(), ((kRounds - 1) % 2) != 0);
    EXPECT_GT(backend.redraws.load(), 0);
    EXPECT_EQ(backend.offThread.load(), 0);
    // No redraw is left waiting.
    EXPECT_EQ(Dispatcher::PendingCount(), 0u);
}

TEST(ThreadTest, MessagesFromManyThreadsKeepEachThreadsOrder) {
    HeadlessBackend backend;
    TestDialog main;
    main.open("Main");
    constexpr int kThreads = 4;
    constexpr int kEach = 500;
    std::vector<std::thread> senders;
    for (int t = 0; t < kThreads; ++t)
        senders.emplace_back([&main, t] {
            for (int n = 0; n < kEach; ++n) main.PostMessage(WM_USER + 670, static_cast<WPARAM>(t), n);
        });
    const auto deadline = std::chrono::steady_clock::now() + 20s;
    while (main.posted.size() < static_cast<std::size_t>(kThreads * kEach) &&
           std::chrono::steady_clock::now() < deadline) {
        if (backend.processEvents() == 0) Dispatcher::WaitForPending(10ms);
    }
    for (std::thread& s : senders) s.join();
    backend.processEvents();
    ASSERT_EQ(main.posted.size(), static_cast<std::size_t>(kThreads * kEach));
    std::map<WPARAM, LPARAM> next;
    for (const Posted& p : main.posted) {
        EXPECT_EQ(p.lParam, next[p.wParam]) << "thread " << p.wParam;
        next[p.wParam] = p.lParam + 1;
    }
}

TEST(ThreadTest, WorkerEndsAModalDialogAfterPostingProgress) {
    HeadlessBackend backend;
    backend.setModalWaitTimeout(10s);
    TestDialog progress;
    progress.open("UpdateTipDlg");
    std::thread worker([&progress] {
        for (int percent = 0; percent <= 100; percent += 25) progress.PostMessage(WM_USER + 670, 0, percent);
        std::this_thread::sleep_for(20ms);
        progress.DoOK();
    });
    const int result = progress.ShowModal(SW_SHOW);
    worker.join();
    EXPECT_EQ(result, IDOK);
    ASSERT_EQ(progress.posted.size(), 5u);
    EXPECT_EQ(progress.posted.back().lParam, 100);
    EXPECT_TRUE(backend.modalLog()[0].answered);
}

TEST(ThreadTest, WorkerClosesTheMessageBoxByTitleAsCancelled) {
    HeadlessBackend backend;
    backend.setModalWaitTimeout(10s);
    TestDialog box;
    box.open("MessageBox");
    std::thread worker([] {
        // The device went away: close helper windows from the worker.
        HWND found = 0;
        while ((found = MWindow::FindWindow("MWindow", "MessageBox")) == 0) std::this_thread::sleep_for(1ms);
        std::this_thread::sleep_for(5ms);
        MWindow::PostMessage(found, WM_CLOSE, 2, 0);
    });
    EXPECT_EQ(box.ShowModal(SW_SHOWNORMAL), IDCANCEL);
    worker.join();
    EXPECT_TRUE(backend.modalLog()[0].answered);
}

TEST(ThreadTest, WorkerShowsAPopupStartsItsTimerAndTakesTheFocus) {
    CheckingBackend backend;
    TestDialog popup, main;
    popup.open("DPIMsgDlg", 300, 130);
    main.build = [](TestDialog& d) { d.CreateControl("MEdit", 93, Rect{}); };
    main.open("Main");
    main.timer = nullptr;
    popup.timer = [](TestDialog& d, std::uintptr_t id) {
        if (id == 100) {
            d.KillTimer(100);
            d.ShowWindow(SW_HIDE);
        }
    };
    std::thread::id notifiedOn;
    main.react = [&notifiedOn](TestDialog&, int, int code, std::intptr_t) {
        if (code == kNotifyKillFocus) notifiedOn = std::this_thread::get_id();
        return 0;
    };
    main.GetControl(93)->OnFocus(true);
    main.notes.clear();
    std::thread worker([&popup, &main] {
        popup.MoveWindow(Rect{1618, 908, 1918, 1038});
        popup.ShowWindow(SW_SHOW);
        popup.SetTimer(100, 2000);
        main.GetControl(93)->OnFocus(false);  // helper windows closed: focus leaves the field
    });
    worker.join();
    EXPECT_FALSE(popup.IsWindowVisible());  // marshalled, not yet applied
    backend.processEvents();
    EXPECT_TRUE(popup.IsWindowVisible());
    EXPECT_EQ(popup.GetWindowRect(), (Rect{1618, 908, 1918, 1038}));
    EXPECT_EQ(main.notes, (std::vector<Note>{{93, 29, 0}}));
    EXPECT_EQ(notifiedOn, std::this_thread::get_id());
    backend.advance(2000);
    EXPECT_FALSE(popup.IsWindowVisible());
    EXPECT_EQ(backend.offThread.load(), 0);
}

}  // namespace
}  // namespace DUI::test
