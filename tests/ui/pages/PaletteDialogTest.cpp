// The colour chooser: the fields, palette, presets and preview agree, typed
// numbers are clamped to a byte, OK answers the colour and closing answers 0.
#include "PagesFixture.h"
#include "ui/pages/MousePaletteDlg.h"
#include "ui/toolkit/CArea.h"
#include "ui/toolkit/CColorButton.h"
#include "ui/toolkit/MEdit.h"
#include "ui/toolkit/MPalette.h"

#include <gtest/gtest.h>
#include <functional>

namespace quorvik {
namespace {

class PaletteDialogTest : public test::PagesFixture {
protected:
    void SetUp() override {
        PagesFixture::SetUp();
        owner.Create(0, "Main", DUI::WS_POPUP, 0, {0, 0, 1300, 788});
    }

    // Runs the chooser from `initial`, lets `act` work on it, and answers
    // what the chooser returned.
    std::uint32_t runWith(std::uint32_t initial, std::function<void(DUI::MDialog&)> act) {
        backend.answerModal("PaletteDlg", [act](DUI::MWindow& w) { act(static_cast<DUI::MDialog&>(w)); });
        return MousePaletteDlg::choose(owner.GetSafeHwnd(), initial);
    }

    static std::string field(DUI::MDialog& dlg, int id) { return dlg.GetControlAs<DUI::MEdit>(id)->GetEditText(); }
    static std::uint32_t preview(DUI::MDialog& dlg) { return dlg.GetControlAs<DUI::CArea>(33)->GetFillColor(); }
    static std::uint32_t palette(DUI::MDialog& dlg) { return dlg.GetControlAs<DUI::MPalette>(32)->GetSelectColor(); }

    DUI::MDialog owner;
};

TEST_F(PaletteDialogTest, OpensOnTheInitialColourCentred) {
    owner.MoveWindow({100, 100, 1400, 888});
    const std::uint32_t answer = runWith(0x8040C0, [this](DUI::MDialog& dlg) {
        EXPECT_EQ(dlg.GetOwner(), owner.GetSafeHwnd());
        EXPECT_EQ(dlg.GetWindowRect(), (DUI::Rect{585, 334, 915, 654}));
        EXPECT_EQ(field(dlg, 37), "192");
        EXPECT_EQ(field(dlg, 38), "64");
        EXPECT_EQ(field(dlg, 39), "128");
        EXPECT_EQ(palette(dlg), 0x8040C0u);
        EXPECT_EQ(preview(dlg), 0x8040C0u);
        EXPECT_FALSE(dlg.GetControlAs<DUI::CArea>(33)->IsTransparent());
        for (int i = 0; i < 8; ++i) {
            auto* preset = dlg.GetControlAs<DUI::CColorButton>(40 + i);
            ASSERT_NE(preset, nullptr) << i;
            EXPECT_EQ(preset->GetGroup(), "DEFAULTCOLOR");
            EXPECT_EQ(preset->GetColor(), MousePaletteDlg::kPresets[static_cast<std::size_t>(i)]);
        }
        EXPECT_TRUE(user.click(dlg, 48));
    });
    EXPECT_EQ(answer, 0x8040C0u);
}

TEST_F(PaletteDialogTest, TypedNumbersAreClampedToAByte) {
    struct Case {
        const char* name;
        int id;
        const char* typed;
        const char* shown;
        std::uint32_t color;  // from initial 0x102030 (R 0x30, G 0x20, B 0x10)
    };
    const Case cases[] = {
        {"red above a byte", 37, "300", "255", 0x1020FF},
        {"green in range", 38, "128", "128", 0x108030},
        {"blue huge", 39, "99999999999", "255", 0xFF2030},
        {"red zero", 37, "0", "0", 0x102000},
        {"red emptied reads as 0 and stays empty", 37, "", "", 0x102000},
        {"letters are not typed", 38, "ab", "", 0x100030},
    };
    for (const Case& c : cases) {
        const std::uint32_t answer = runWith(0x102030, [this, &c](DUI::MDialog& dlg) {
            user.type(dlg, c.id, c.typed);
            EXPECT_EQ(field(dlg, c.id), c.shown) << c.name;
            EXPECT_EQ(palette(dlg), c.color) << c.name;
            EXPECT_EQ(preview(dlg), c.color) << c.name;
            user.click(dlg, 48);
        });
        EXPECT_EQ(answer, c.color) << c.name;
    }
}

TEST_F(PaletteDialogTest, PresetsAndPaletteUpdateFieldsAndPreview) {
    const std::uint32_t answer = runWith(0xFFFFFF, [this](DUI::MDialog& dlg) {
        EXPECT_TRUE(user.click(dlg, 41));  // 0xFF0000: blue
        EXPECT_EQ(field(dlg, 37), "0");
        EXPECT_EQ(field(dlg, 38), "0");
        EXPECT_EQ(field(dlg, 39), "255");
        EXPECT_EQ(palette(dlg), 0xFF0000u);
        EXPECT_EQ(preview(dlg), 0xFF0000u);
        EXPECT_EQ(dlg.GetControlAs<DUI::CColorButton>(41)->GetCheck(), 1);

        EXPECT_TRUE(user.pickColor(dlg, 32, 0x00A0FF));
        EXPECT_EQ(field(dlg, 37), "255");
        EXPECT_EQ(field(dlg, 38), "160");
        EXPECT_EQ(field(dlg, 39), "0");
        EXPECT_EQ(preview(dlg), 0x00A0FFu);
        EXPECT_TRUE(user.click(dlg, 48));
    });
    EXPECT_EQ(answer, 0x00A0FFu);
}

TEST_F(PaletteDialogTest, ClosingAnswersZero) {
    struct Case {
        const char* name;
        std::function<void(DUI::MDialog&)> act;
    };
    const Case cases[] = {
        {"close button after a choice",
         [this](DUI::MDialog& dlg) {
             user.click(dlg, 42);
             user.click(dlg, 31);
         }},
        {"window closed",
         [](DUI::MDialog& dlg) {
             dlg.PostMessage(DUI::WM_CLOSE, 0, 0);
         }},
    };
    for (const Case& c : cases) EXPECT_EQ(runWith(0x123456, c.act), 0u) << c.name;
}

TEST_F(PaletteDialogTest, OkWithBlackReadsAsCancel) {
    // The page treats 0 as "no choice", so black cannot come back as a colour.
    EXPECT_EQ(runWith(0x000000, [this](DUI::MDialog& dlg) { user.click(dlg, 48); }), 0u);
}

}  // namespace
}  // namespace quorvik
