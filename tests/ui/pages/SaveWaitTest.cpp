// The please-wait notice: two seconds per request on the virtual clock, a new
// request starts them over, the bar animates only while it shows.
#include "PagesFixture.h"
#include "ui/pages/SaveWaitDlg.h"
#include "ui/toolkit/MPicture.h"
#include "ui/toolkit/MProgress2.h"
#include "ui/toolkit/MText.h"
#include "ui/toolkit/MWindow.h"
#include "ui/toolkit/Manager.h"

#include <gtest/gtest.h>
#include <thread>

namespace quorvik {
namespace {

class SaveWaitTest : public test::PagesFixture {
protected:
    void SetUp() override {
        PagesFixture::SetUp();
        owner.Create(0, "Main", DUI::WS_POPUP, 0, {0, 0, 1300, 788});
    }
    DUI::MDialog owner;
    SaveWaitDlg wait;
};

TEST_F(SaveWaitTest, ShowsForTwoSecondsAfterTheLastRequest) {
    struct Case {
        const char* name;
        std::vector<std::int64_t> requestsAt;  // ms
        std::int64_t hiddenAt;                 // ms: visible just before
    };
    const Case cases[] = {
        {"one request", {0}, 2000},
        {"two requests 1.5 s apart", {0, 1500}, 3500},
        {"request just before it hides", {0, 1999}, 3999},
        {"request after it hid", {0, 2500}, 4500},
    };
    for (const Case& c : cases) {
        SaveWaitDlg dlg;
        std::int64_t clock = 0;
        auto advanceTo = [&](std::int64_t t) {
            backend.advance(t - clock);
            clock = t;
        };
        for (std::int64_t at : c.requestsAt) {
            advanceTo(at);
            dlg.request(owner.GetSafeHwnd());
            EXPECT_TRUE(dlg.IsWindowVisible()) << c.name << " at " << at;
        }
        advanceTo(c.hiddenAt - 1);
        EXPECT_TRUE(dlg.IsWindowVisible()) << c.name;
        advanceTo(c.hiddenAt);
        EXPECT_FALSE(dlg.IsWindowVisible()) << c.name;
        advanceTo(c.hiddenAt + 5000);
        EXPECT_FALSE(dlg.IsWindowVisible()) << c.name << ": shown again by itself";
        EXPECT_EQ(backend.activeTimerCount(), 0) << c.name << ": timers left running while hidden";
    }
}

TEST_F(SaveWaitTest, WindowControlsAndTexts) {
    backend.setWorkArea({0, 0, 1300, 788});
    owner.MoveWindow({100, 100, 1400, 888});
    wait.request(owner.GetSafeHwnd());
    EXPECT_EQ(wait.GetTitle(), "SaveWaitDlg");
    EXPECT_EQ(wait.GetOwner(), owner.GetSafeHwnd());
    EXPECT_EQ(wait.GetStyle(), 0x96000000u);
    EXPECT_EQ(wait.GetExStyle(), 0x80u);
    EXPECT_EQ(wait.GetWindowRect(), (DUI::Rect{500, 394, 1000, 594}));  // centred on the owner

    auto* text = wait.GetControlAs<DUI::MText>(32);
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->GetTitle(), "t630");
    EXPECT_EQ(text->GetRect(), (DUI::Rect{10, 100, 490, 130}));
    EXPECT_EQ(text->GetTextColor(), DUI::Manager::m_select_color.load());
    EXPECT_EQ(text->GetFontWidth(), 20);
    EXPECT_EQ(text->GetAlignment(), 1);
    auto* logo = wait.GetControlAs<DUI::MPicture>(31);
    ASSERT_NE(logo, nullptr);
    EXPECT_EQ(logo->GetImage(), "logo.png");
    EXPECT_EQ(logo->GetRect().left, 10);
    EXPECT_EQ(logo->GetRect().top, 10);
    auto* progress = wait.GetControlAs<DUI::MProgress2>(33);
    ASSERT_NE(progress, nullptr);
    EXPECT_EQ(progress->GetRect(), (DUI::Rect{10, 130, 480, 150}));
    EXPECT_EQ(progress->GetRange(), 100);
}

TEST_F(SaveWaitTest, BarRunsFromZeroOnEveryRequestAndStopsWhenHidden) {
    wait.request(owner.GetSafeHwnd());
    auto* progress = wait.GetControlAs<DUI::MProgress2>(33);
    ASSERT_NE(progress, nullptr);
    EXPECT_TRUE(progress->IsRunning());
    backend.advance(1000);
    const int halfway = progress->GetProgress();
    EXPECT_GT(halfway, 30);
    EXPECT_LT(halfway, 70);

    wait.request(owner.GetSafeHwnd());
    EXPECT_EQ(progress->GetProgress(), 0);
    backend.advance(500);
    EXPECT_GT(progress->GetProgress(), 10);

    backend.advance(1500);
    EXPECT_FALSE(wait.IsWindowVisible());
    EXPECT_FALSE(progress->IsRunning());
    const int stopped = progress->GetProgress();
    backend.advance(1000);
    EXPECT_EQ(progress->GetProgress(), stopped);
}

TEST_F(SaveWaitTest, ClicksAndOtherTimersChangeNothing) {
    wait.request(owner.GetSafeHwnd());
    EXPECT_FALSE(user.click(wait, 33));  // a progress bar is no button
    wait.OnMessage(33, DUI::kNotifyClick, 0);
    wait.PostMessage(DUI::WM_TIMER, 7, 0);
    backend.processEvents();
    EXPECT_TRUE(wait.IsWindowVisible());
    backend.advance(2000);
    EXPECT_FALSE(wait.IsWindowVisible());
}

TEST_F(SaveWaitTest, RequestFromTheWorkerIsShownOnTheUiThread) {
    std::thread worker([this] { wait.request(owner.GetSafeHwnd()); });
    worker.join();
    EXPECT_EQ(wait.GetSafeHwnd(), 0u);
    backend.processEvents();
    EXPECT_NE(wait.GetSafeHwnd(), 0u);
    EXPECT_TRUE(wait.IsWindowVisible());
    backend.advance(2000);
    EXPECT_FALSE(wait.IsWindowVisible());
}

}  // namespace
}  // namespace quorvik
