// The About window: the firmware version text, the layout and closing.
#include "PagesFixture.h"
#include "ui/pages/AboutDlg.h"
#include "ui/toolkit/CImageButton.h"
#include "ui/toolkit/MPicture.h"
#include "ui/toolkit/MText.h"

#include <gtest/gtest.h>

namespace quorvik {
namespace {

class AboutTest : public test::PagesFixture {};

TEST(AboutVersionText, ReleaseNumbers) {
    struct Case {
        const char* name;
        int release;
        const char* expected;
    };
    const Case cases[] = {
        {"no wired device", 0, "Firmware: v0.0"},
        {"one digit repeats", 5, "Firmware: v5.5"},
        {"hex digit", 0xA, "Firmware: va.a"},
        {"two digits", 0x12, "Firmware: v1.12"},
        {"three digits", 0x102, "Firmware: v1.02"},
        {"zero minor", 0x300, "Firmware: v3.00"},
        {"four digits keep every digit", 0x1234, "Firmware: v12.34"},
        {"largest release", 0xFFFF, "Firmware: vff.ff"},
        {"negative counts as none", -3, "Firmware: v0.0"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(AboutDlg::firmwareVersionText("Firmware", c.release), c.expected) << c.name;
    EXPECT_EQ(AboutDlg::firmwareVersionText("", 0x102), ": v1.02");
}

TEST_F(AboutTest, ShowsTheReleaseOfTheWiredDeviceAndCloses) {
    struct Case {
        const char* name;
        AboutDlg::ReleaseSource source;
        const char* expected;
    };
    const Case cases[] = {
        {"wired device 0x0102", [] { return 0x0102; }, "t16: v1.02"},
        {"no wired device", [] { return 0; }, "t16: v0.0"},
        {"no source given", {}, "t16: v0.0"},
    };
    for (const Case& c : cases) {
        AboutDlg about(c.source);
        backend.answerModal("About Window", [this, &c](DUI::MWindow& w) {
            auto& dlg = static_cast<DUI::MDialog&>(w);
            for (int id : {33, 34}) {
                auto* label = dlg.GetControlAs<DUI::MText>(id);
                ASSERT_NE(label, nullptr) << c.name;
                EXPECT_EQ(label->GetTitle(), c.expected) << c.name << " label " << id;
            }
            EXPECT_TRUE(user.click(dlg, 30)) << c.name;
        });
        EXPECT_EQ(about.run(0), 1) << c.name;
        EXPECT_TRUE(backend.modalLog().back().answered) << c.name;
    }
}

TEST_F(AboutTest, Layout) {
    AboutDlg about([] { return 0x0102; });
    backend.answerModal("About Window", [](DUI::MWindow& w) {
        auto& dlg = static_cast<DUI::MDialog&>(w);
        EXPECT_EQ(w.GetStyle(), 0x96000000u);
        EXPECT_EQ(w.GetExStyle(), 0u);
        EXPECT_EQ(w.GetClientRect(), (DUI::Rect{0, 0, 500, 300}));
        EXPECT_EQ(w.GetPaintManager().GetBackColor(),
                  (std::pair<std::uint32_t, std::uint32_t>{0x1A1A1A, 0x969696}));
        auto* close = dlg.GetControlAs<DUI::CImageButton>(30);
        ASSERT_NE(close, nullptr);
        EXPECT_EQ(close->GetRect(), (DUI::Rect{460, 15, 479, 34}));
        EXPECT_EQ(close->GetImage(), "sysbtn_close.png");
        EXPECT_EQ(close->GetTooltip(), "t5");
        auto* logo = dlg.GetControlAs<DUI::MPicture>(32);
        ASSERT_NE(logo, nullptr);
        EXPECT_EQ(logo->GetRect(), (DUI::Rect{120, 80, 380, 120}));
        EXPECT_EQ(logo->GetImage(), "logo.png");
        struct Label {
            int id;
            DUI::Rect rect;
        };
        for (const Label& l : {Label{34, {150, 150, 350, 185}}, Label{33, {150, 185, 350, 220}},
                               Label{35, {10, 260, 490, 295}}}) {
            auto* text = dlg.GetControlAs<DUI::MText>(l.id);
            ASSERT_NE(text, nullptr) << l.id;
            EXPECT_EQ(text->GetRect(), l.rect) << l.id;
            EXPECT_EQ(text->GetTextColor(), 0xFF969696u) << l.id;
            EXPECT_EQ(text->GetAlignment(), 1) << l.id;
        }
        EXPECT_EQ(dlg.GetControlAs<DUI::MText>(35)->GetTitle(), "t2");
        static_cast<DUI::MDialog&>(w).DoOK();
    });
    EXPECT_EQ(about.run(0), 1);
}

}  // namespace
}  // namespace quorvik
