// The program's message box: results of its buttons and of closing it from
// outside (also from the device worker), button layouts per style, texts.
#include "PagesFixture.h"
#include "ui/pages/CUIMessageBox.h"
#include "ui/toolkit/MButton.h"
#include "ui/toolkit/MText.h"
#include "ui/toolkit/MWindow.h"

#include <gtest/gtest.h>
#include <atomic>
#include <chrono>
#include <functional>
#include <thread>
#include <vector>

namespace quorvik {
namespace {

using DUI::MDialog;
using DUI::MWindow;

class MessageBoxTest : public test::PagesFixture {};

void closeFromOutside(DUI::WPARAM wParam) {
    MWindow::PostMessage(MWindow::FindWindow("MWindow", "MessageBox"), DUI::WM_CLOSE, wParam, 0);
}

TEST_F(MessageBoxTest, ResultFollowsHowTheBoxEnded) {
    struct Case {
        const char* name;
        int style;
        std::function<void(MWindow&)> act;
        int expected;
    };
    DUI::HeadlessUser& u = user;
    const std::vector<Case> cases = {
        {"OK of the one-button box", 0, [&u](MWindow& w) { u.click(static_cast<MDialog&>(w), 33); }, 1},
        {"first of two buttons", 4, [&u](MWindow& w) { u.click(static_cast<MDialog&>(w), 33); }, 1},
        {"second of two buttons", 4, [&u](MWindow& w) { u.click(static_cast<MDialog&>(w), 34); }, 2},
        {"closed from outside with wParam 2", 4, [](MWindow&) { closeFromOutside(2); }, 2},
        {"buttonless box closed from outside", 7, [](MWindow&) { closeFromOutside(2); }, 2},
        {"one-button box closed from outside", 0, [](MWindow&) { closeFromOutside(2); }, 2},
        {"closed from outside with wParam 1", 0, [](MWindow&) { closeFromOutside(1); }, 1},
    };
    for (const Case& c : cases) {
        backend.answerModal("MessageBox", c.act);
        EXPECT_EQ(showMessageBox("caption", "text", 0, c.style), c.expected) << c.name;
        EXPECT_EQ(MWindow::FindWindow("MWindow", "MessageBox"), 0u) << c.name << ": box left behind";
    }
}

TEST_F(MessageBoxTest, ButtonsPerStyle) {
    struct Case {
        const char* name;
        int style;
        std::vector<std::pair<int, DUI::Rect>> buttons;  // id, rectangle
        std::vector<std::string> texts;
    };
    // Client 430 x 230; two buttons sit around the middle (215).
    const std::vector<Case> cases = {
        {"one button", 0, {{33, {60, 180, 370, 216}}}, {"t20"}},
        {"two buttons", 4, {{33, {95, 180, 195, 216}}, {34, {235, 180, 335, 216}}}, {"t23", "t25"}},
        {"style 1 has none", 1, {}, {}},
        {"style 5 has none", 5, {}, {}},
        {"negative style has none", -1, {}, {}},
    };
    for (const Case& c : cases) {
        backend.answerModal("MessageBox", [&c](MWindow& w) {
            auto& box = static_cast<MDialog&>(w);
            std::vector<int> ids;
            for (DUI::MControl* control : box.GetControls())
                if (dynamic_cast<DUI::MButton*>(control)) ids.push_back(control->GetId());
            ASSERT_EQ(ids.size(), c.buttons.size()) << c.name;
            for (std::size_t i = 0; i < c.buttons.size(); ++i) {
                auto* button = box.GetControlAs<DUI::MButton>(c.buttons[i].first);
                ASSERT_NE(button, nullptr) << c.name;
                EXPECT_EQ(button->GetRect(), c.buttons[i].second) << c.name;
                EXPECT_EQ(button->GetTitle(), c.texts[i]) << c.name;
                EXPECT_EQ(button->GetImage(), "img_button.png") << c.name;
            }
            closeFromOutside(2);
        });
        EXPECT_EQ(showMessageBox("c", "t", 0, c.style), 2) << c.name;
    }
}

TEST_F(MessageBoxTest, WindowAndTexts) {
    backend.setWorkArea({0, 0, 1000, 800});
    backend.answerModal("MessageBox", [](MWindow& w) {
        auto& box = static_cast<MDialog&>(w);
        EXPECT_EQ(w.GetStyle(), 0x96000000u);
        EXPECT_EQ(w.GetExStyle(), 0x80u);
        EXPECT_EQ(w.GetWindowRect(), (DUI::Rect{285, 285, 715, 515}));
        EXPECT_TRUE(w.IsTopmost());
        EXPECT_TRUE(w.IsWindowVisible());
        EXPECT_TRUE(box.IsLayeredWindow());
        EXPECT_EQ(box.GetBKImage(), "bk_prompt.png");
        EXPECT_EQ(box.GetBackMode(), (std::pair{1, 30}));
        auto* caption = box.GetControlAs<DUI::MText>(31);
        auto* body = box.GetControlAs<DUI::MText>(32);
        ASSERT_NE(caption, nullptr);
        ASSERT_NE(body, nullptr);
        EXPECT_EQ(caption->GetTitle(), "Notice");
        EXPECT_EQ(caption->GetRect(), (DUI::Rect{20, 15, 410, 45}));
        EXPECT_EQ(body->GetTitle(), "The mouse is not connected.");
        EXPECT_EQ(body->GetRect(), (DUI::Rect{20, 50, 410, 180}));
        EXPECT_EQ(body->GetVAlignment(), 4);
        EXPECT_TRUE(body->GetWordWrap());
        for (DUI::MControlFont* text :
             {static_cast<DUI::MControlFont*>(caption), static_cast<DUI::MControlFont*>(body),
              static_cast<DUI::MControlFont*>(box.GetControlAs<DUI::MButton>(33))}) {
            ASSERT_NE(text, nullptr);
            EXPECT_EQ(text->GetTextColor(), 0xFFFFFFFFu);
            EXPECT_EQ(text->GetFontWidth(), 16);
            EXPECT_EQ(text->GetAlignment(), 1);
        }
        static_cast<DUI::MDialog&>(w).DoOK();
    });
    EXPECT_EQ(showMessageBox("Notice", "The mouse is not connected.", 0, 0), 1);
}

// The device worker closes an open box when the mouse goes away; the box
// ends as cancelled on the UI thread.
TEST_F(MessageBoxTest, ClosedByAnotherThreadEndsAsCancelled) {
    backend.setModalWaitTimeout(std::chrono::seconds(10));
    std::atomic<bool> stop{false};
    std::thread worker([&stop] {
        while (!stop.load()) {
            const DUI::HWND box = MWindow::FindWindow("MWindow", "MessageBox");
            if (box != 0) {
                MWindow::PostMessage(box, DUI::WM_CLOSE, 2, 0);
                return;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    });
    const auto started = std::chrono::steady_clock::now();
    const int result = showMessageBox("c", "t", 0, 4);
    stop = true;
    worker.join();
    EXPECT_EQ(result, 2);
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(5));
    ASSERT_FALSE(backend.modalLog().empty());
    EXPECT_TRUE(backend.modalLog().back().answered);
}

TEST_F(MessageBoxTest, BoxThatCannotBeShownAnswersCancel) {
    int result = 0;
    std::thread other([&result] { result = showMessageBox("c", "t", 0, 0); });
    other.join();
    EXPECT_EQ(result, 2);
}

}  // namespace
}  // namespace quorvik
