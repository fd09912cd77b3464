// The DPI pop-up: where it shows, how long, what the bar shows, closing it
// and a value sent from the worker thread.
#include "PagesFixture.h"
#include "ui/pages/DPIMsgDlg.h"
#include "ui/toolkit/CImageButton.h"
#include "ui/toolkit/MProgress.h"
#include "ui/toolkit/MText.h"
#include "ui/toolkit/Manager.h"

#include <gtest/gtest.h>
#include <thread>

namespace quorvik {
namespace {

class DpiPopupTest : public test::PagesFixture {
protected:
    void SetUp() override {
        PagesFixture::SetUp();
        backend.setWorkArea({0, 0, 1920, 1040});
        owner.Create(0, "Main", DUI::WS_POPUP, 0, {0, 0, 1300, 788});
        ASSERT_TRUE(popup.create(owner.GetSafeHwnd()));
    }
    DUI::MDialog owner;
    DPIMsgDlg popup;
};

TEST_F(DpiPopupTest, CreatedHiddenWithItsControls) {
    EXPECT_FALSE(popup.IsWindowVisible());
    EXPECT_EQ(popup.GetTitle(), "DPIMsgDlg");
    EXPECT_EQ(popup.GetOwner(), owner.GetSafeHwnd());
    EXPECT_EQ(popup.GetExStyle(), 0x80u);
    EXPECT_EQ(popup.GetWindowRect(), (DUI::Rect{1618, 908, 1918, 1038}));

    auto* close = popup.GetControlAs<DUI::CImageButton>(30);
    ASSERT_NE(close, nullptr);
    EXPECT_EQ(close->GetRect(), (DUI::Rect{264, 10, 294, 40}));
    EXPECT_EQ(close->GetImage(), "sysbtn_close.png");
    auto* number = popup.GetControlAs<DUI::MText>(31);
    ASSERT_NE(number, nullptr);
    EXPECT_EQ(number->GetTitle(), "1600");
    EXPECT_EQ(number->GetTextColor(), DUI::Manager::m_select_color.load());
    EXPECT_EQ(number->GetFontWidth(), 36);
    auto* unit = popup.GetControlAs<DUI::MText>(32);
    ASSERT_NE(unit, nullptr);
    EXPECT_EQ(unit->GetTitle(), "DPI");
    EXPECT_EQ(unit->GetTextColor(), 0xFFC8C8C8u);
    EXPECT_EQ(unit->GetFontWidth(), 20);
    auto* bar = popup.GetControlAs<DUI::MProgress>(33);
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(bar->GetRect(), (DUI::Rect{10, 80, 280, 100}));
    EXPECT_EQ(bar->GetRange(), 16000);
}

TEST_F(DpiPopupTest, FollowsTheWorkAreaOnEveryValue) {
    struct Case {
        const char* name;
        DUI::Rect workArea;
        DUI::Rect expected;
    };
    const Case cases[] = {
        {"taskbar at the bottom", {0, 0, 1920, 1040}, {1618, 908, 1918, 1038}},
        {"taskbar on the right", {0, 0, 1860, 1080}, {1558, 948, 1858, 1078}},
        {"work area not at the origin", {100, 50, 1380, 1024}, {1078, 892, 1378, 1022}},
    };
    for (const Case& c : cases) {
        backend.setWorkArea(c.workArea);
        popup.showDpi(800);
        EXPECT_TRUE(popup.IsWindowVisible()) << c.name;
        EXPECT_EQ(popup.GetWindowRect(), c.expected) << c.name;
    }
}

TEST_F(DpiPopupTest, NumberAndBar) {
    struct Case {
        const char* name;
        int dpi;
        const char* text;
        int bar;
    };
    const Case cases[] = {
        {"ordinary stage", 3200, "3200", 3200},
        {"full scale", 16000, "16000", 16000},
        {"above full scale fills the bar", 26000, "26000", 16000},
        {"lowest", 50, "50", 50},
        {"nonsense value from a device", -5, "-5", 0},
    };
    auto* number = popup.GetControlAs<DUI::MText>(31);
    auto* bar = popup.GetControlAs<DUI::MProgress>(33);
    ASSERT_NE(number, nullptr);
    ASSERT_NE(bar, nullptr);
    for (const Case& c : cases) {
        popup.showDpi(c.dpi);
        EXPECT_EQ(number->GetTitle(), c.text) << c.name;
        EXPECT_EQ(popup.currentDpiText(), c.text) << c.name;
        EXPECT_EQ(popup.currentDpi(), c.dpi) << c.name;
        EXPECT_EQ(bar->GetProgress(), c.bar) << c.name;
    }
}

TEST_F(DpiPopupTest, ShowsForTwoSecondsAfterTheLastValue) {
    struct Case {
        const char* name;
        std::vector<std::int64_t> valuesAt;  // ms
        std::int64_t hiddenAt;               // ms: visible just before
    };
    const Case cases[] = {
        {"one value", {0}, 2000},
        {"two values 1.5 s apart", {0, 1500}, 3500},
        {"value after it hid", {0, 2500}, 4500},
    };
    for (const Case& c : cases) {
        std::int64_t clock = 0;
        auto advanceTo = [&](std::int64_t t) {
            backend.advance(t - clock);
            clock = t;
        };
        for (std::int64_t at : c.valuesAt) {
            advanceTo(at);
            popup.showDpi(1600);
            EXPECT_TRUE(popup.IsWindowVisible()) << c.name << " at " << at;
        }
        advanceTo(c.hiddenAt - 1);
        EXPECT_TRUE(popup.IsWindowVisible()) << c.name;
        advanceTo(c.hiddenAt);
        EXPECT_FALSE(popup.IsWindowVisible()) << c.name;
        EXPECT_EQ(backend.activeTimerCount(), 0) << c.name << ": timer left running while hidden";
    }
}

TEST_F(DpiPopupTest, CloseHidesAndTheTimerStaysHarmless) {
    popup.showDpi(1200);
    EXPECT_TRUE(user.click(popup, 30));
    EXPECT_FALSE(popup.IsWindowVisible());
    backend.advance(2500);
    EXPECT_FALSE(popup.IsWindowVisible());
    // Shown again afterwards it gets its full two seconds.
    popup.showDpi(1200);
    backend.advance(1999);
    EXPECT_TRUE(popup.IsWindowVisible());
    backend.advance(1);
    EXPECT_FALSE(popup.IsWindowVisible());
}

TEST_F(DpiPopupTest, ValueFromTheWorkerIsShownOnTheUiThread) {
    std::thread worker([this] { popup.showDpi(4000); });
    worker.join();
    EXPECT_FALSE(popup.IsWindowVisible());
    backend.processEvents();
    EXPECT_TRUE(popup.IsWindowVisible());
    EXPECT_EQ(popup.GetControlAs<DUI::MText>(31)->GetTitle(), "4000");
    backend.advance(2000);
    EXPECT_FALSE(popup.IsWindowVisible());
}

TEST_F(DpiPopupTest, NothingBeforeItIsCreated) {
    DPIMsgDlg notCreated;
    notCreated.showDpi(800);
    backend.processEvents();
    EXPECT_EQ(notCreated.GetSafeHwnd(), 0u);
    EXPECT_EQ(notCreated.currentDpi(), 1600);
}

}  // namespace
}  // namespace quorvik
