// Screenshot gallery of the Qt backend: windows holding every control class
// in a few states, rendered off-screen and saved as PNG files under the build
// folder's screenshots/ for review. The checks catch blank or wrongly sized
// renderings and controls that draw nothing.
#include "QtTestSupport.h"

#include "ui/qt/QtBackend.h"
#include "ui/qt/QtWindow.h"
#include "ui/toolkit/BatteryCtrl.h"
#include "ui/toolkit/CArea.h"
#include "ui/toolkit/CCheckButton.h"
#include "ui/toolkit/CColorButton.h"
#include "ui/toolkit/CDeviceList.h"
#include "ui/toolkit/CDeviceState.h"
#include "ui/toolkit/CHelpButton.h"
#include "ui/toolkit/CIconButton.h"
#include "ui/toolkit/CImageButton.h"
#include "ui/toolkit/CRadioButton.h"
#include "ui/toolkit/CRecordList.h"
#include "ui/toolkit/CRoundArea.h"
#include "ui/toolkit/CTextButton.h"
#include "ui/toolkit/DListBox.h"
#include "ui/toolkit/DPIControl.h"
#include "ui/toolkit/DPISlider.h"
#include "ui/toolkit/LightSlider.h"
#include "ui/toolkit/MButton2.h"
#include "ui/toolkit/MButton3.h"
#include "ui/toolkit/MComboBox2.h"
#include "ui/toolkit/MEdit.h"
#include "ui/toolkit/MPalette.h"
#include "ui/toolkit/MPicture.h"
#include "ui/toolkit/MProgress.h"
#include "ui/toolkit/MProgress2.h"
#include "ui/toolkit/MRender.h"
#include "ui/toolkit/MTabCtrl.h"
#include "ui/toolkit/MText.h"
#include "ui/toolkit/MacroList.h"
#include "ui/toolkit/MenuWnd.h"
#include "ui/toolkit/MouseCtrl.h"
#include "ui/toolkit/MouseKeyCtrl.h"
#include "ui/toolkit/NumberEdit.h"
#include "ui/toolkit/NumberEdit2.h"
#include "ui/toolkit/ReporteCtrl.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QImage>
#include <QMouseEvent>
#include <QPixmap>
#include <QRegularExpression>
#include <QSvgRenderer>

#include <set>

namespace DUI::test {
namespace {

const QString kShotFolder = QStringLiteral(QUORVIK_SCREENSHOT_DIR);

template <class T>
T* make(MDialog& d, const char* cls, int id, Rect r, const std::string& title = {},
        MControl* parent = nullptr) {
    return dynamic_cast<T*>(d.CreateControl(cls, id, r, title, parent));
}

MText* caption(MDialog& d, int id, Rect r, const std::string& text) {
    auto* t = make<MText>(d, "MText", id, r, text);
    t->SetFontWidth(12);
    t->SetTextColor(0xFF8A9099);
    return t;
}

// Renders the window's widget and saves it; the image for the checks.
QImage shoot(QtBackend& backend, MWindow& window, const QString& file) {
    QtWindow* widget = backend.widgetFor(window.GetSafeHwnd());
    if (widget == nullptr) return {};
    // Twice: work queued while the first pass ran (focus settling) lands too.
    QApplication::processEvents();
    QApplication::processEvents();
    const QImage image = widget->grab().toImage();
    QDir().mkpath(kShotFolder);
    image.save(kShotFolder + QLatin1Char('/') + file);
    return image;
}

// Distinct colours inside a rectangle: 1 means nothing was drawn there.
int colourCount(const QImage& image, const Rect& r) {
    std::set<QRgb> colours;
    for (int y = r.top; y < r.bottom && y < image.height(); y += 2)
        for (int x = r.left; x < r.right && x < image.width(); x += 2) colours.insert(image.pixel(x, y));
    return static_cast<int>(colours.size());
}

bool hasColourNear(const QImage& image, const Rect& r, QColor wanted) {
    for (int y = r.top; y < r.bottom && y < image.height(); ++y)
        for (int x = r.left; x < r.right && x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (std::abs(c.red() - wanted.red()) < 12 && std::abs(c.green() - wanted.green()) < 12 &&
                std::abs(c.blue() - wanted.blue()) < 12)
                return true;
        }
    return false;
}

QColor accent() {
    const std::uint32_t c = Manager::m_select_color.load();
    return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
}

void buildControls(BuiltDialog& d) {
    d.SetFontName("Open Sans Semibold");
    auto* title = make<MText>(d, "MText", 1, {24, 16, 600, 46}, "Controls");
    title->SetFontWidth(22);
    title->SetBold(true);

    caption(d, 2, {24, 60, 300, 80}, "BUTTONS");
    make<MButton>(d, "MButton", 10, {24, 86, 164, 122}, "Apply")->SetImage("img_button.png");
    auto* disabled = make<MButton>(d, "MButton", 11, {176, 86, 316, 122}, "Disabled");
    disabled->SetImage("img_button.png");
    disabled->SetEnabled(false);
    auto* toggled = make<MButton2>(d, "MButton2", 12, {328, 86, 468, 122}, "Selected");
    toggled->SetImage("img_button.png");
    toggled->SetCheck(1);
    make<MButton3>(d, "MButton3", 13, {480, 86, 620, 122}, "Toggle")->SetImage("img_button.png");
    auto* icon = make<CIconButton>(d, "CIconButton", 14, {632, 86, 802, 122}, "Profile 1");
    icon->SetImage("img_button.png");
    icon->SetIconImage("icon\\icon_arrow_up.png");
    make<CTextButton>(d, "CTextButton", 15, {24, 134, 224, 160}, "www.quorvik.example");
    int x = 240;
    for (const char* image : {"sysbtn_setting.png", "sysbtn_min.png", "sysbtn_maximize.png",
                              "sysbtn_close.png", "img_btn_pre.png", "img_btn_next.png"}) {
        make<CImageButton>(d, "CImageButton", 16, {x, 132, x + 30, 162})->SetImage(image);
        x += 40;
    }
    make<CHelpButton>(d, "CHelpButton", 17, {x + 6, 136, x + 28, 158});

    caption(d, 3, {24, 180, 300, 200}, "CHOICES");
    auto* check = make<CCheckButton>(d, "CCheckButton", 20, {24, 206, 224, 230}, "Angle snapping");
    check->SetCheck(1);
    make<CCheckButton>(d, "CCheckButton", 21, {24, 236, 224, 260}, "Motion sync");
    auto* checkOff = make<CCheckButton>(d, "CCheckButton", 22, {24, 266, 224, 290}, "Ripple control");
    checkOff->SetEnabled(false);
    for (int i = 0; i < 3; ++i) {
        static const char* const kNames[] = {"1 ms", "2 ms", "4 ms"};
        auto* radio =
            make<CRadioButton>(d, "CRadioButton", 23 + i, {240, 206 + 30 * i, 400, 230 + 30 * i}, kNames[i]);
        radio->SetGroup("debounce");
        if (i == 1) radio->SetCheck(1);
    }
    const std::uint32_t colours[] = {0x3C3CFF, 0x3CFF8C, 0xFF8C3C, 0xFF3CC8, 0x3CD2FF, 0xFFFFFF};
    for (int i = 0; i < 6; ++i) {
        auto* colour = make<CColorButton>(d, "CColorButton", 30 + i, {420 + 36 * i, 206, 450 + 36 * i, 236});
        colour->SetColor(colours[i]);
        colour->SetGroup("colours");
        if (i == 2) colour->SetCheck(1);
    }

    caption(d, 4, {24, 306, 300, 326}, "FIELDS");
    auto* edit = make<MEdit>(d, "MEdit", 40, {24, 332, 264, 364});
    edit->SetEditText("Office profile");
    auto* tip = make<MEdit>(d, "MEdit", 41, {276, 332, 516, 364});
    tip->SetTipInfo("Press a key…");
    auto* number = make<NumberEdit2>(d, "NumberEdit2", 42, {528, 332, 628, 364});
    number->SetRange(50, 26000);
    number->SetEditText("1600");
    auto* numberOff = make<NumberEdit>(d, "NumberEdit", 43, {640, 332, 740, 364});
    numberOff->SetEditText("20");
    numberOff->SetEnabled(false);
    auto* combo = make<MComboBox>(d, "MComboBox", 44, {24, 376, 264, 408});
    for (const char* item : {"Left click", "Right click", "Middle click", "Forward", "Back"})
        combo->AddItem(item, 0);
    combo->SetCurSel(0);
    auto* marked = make<MComboBox2>(d, "MComboBox2", 45, {276, 376, 516, 408});
    marked->AddItem("Multimedia: Play/Pause", 1);
    marked->SetCurSel(0);
    marked->SetCheck(1);

    caption(d, 5, {24, 424, 300, 444}, "PROGRESS AND LEVELS");
    auto* progress = make<MProgress>(d, "MProgress", 50, {24, 452, 364, 466});
    progress->SetProgress(64);
    auto* sweep = make<MProgress2>(d, "MProgress2", 51, {24, 476, 364, 490});
    sweep->SetProgress(28);
    auto* dpi = make<DPISlider>(d, "DPISlider", 52, {400, 444, 800, 490});
    dpi->SetRange(1, 260);
    dpi->SetProgress(32);
    dpi->SetDPIDesc("100", "26000");
    auto* light = make<LightSlider>(d, "LightSlider", 53, {400, 500, 640, 536});
    light->SetProgress(3);
    auto* battery = make<BatteryCtrl>(d, "BatteryCtrl", 54, {24, 504, 124, 534});
    battery->SetBatteryImages("icon\\icon_battery_bkg.png", "icon\\icon_batteryvalue.png",
                              "icon\\icon_charge.png");
    battery->SetBatteryInfo(76, 0);
    auto* low = make<BatteryCtrl>(d, "BatteryCtrl", 55, {134, 504, 234, 534});
    low->SetBatteryInfo(12, 0);
    auto* charging = make<BatteryCtrl>(d, "BatteryCtrl", 56, {244, 504, 344, 534});
    charging->SetBatteryImages("icon\\icon_battery_bkg.png", "icon\\icon_batteryvalue.png",
                               "icon\\icon_charge.png");
    charging->SetBatteryInfo(45, 1);

    caption(d, 6, {840, 60, 1100, 80}, "COLOUR");
    auto* palette = make<MPalette>(d, "MPalette", 60, {840, 86, 1096, 246});
    palette->SetSelectColor(0xFF8C3C);
    caption(d, 7, {840, 266, 1100, 286}, "STATUS");
    auto* state = make<CDeviceState>(d, "CDeviceState", 61, {840, 292, 960, 320}, "Connected");
    state->SetImage("img_area.png");
    state->SetFontWidth(14);
    caption(d, 8, {840, 340, 1100, 360}, "MARKERS");
    const char* const kMarks[] = {"Wired", "Wireless 2.4 GHz", "Bluetooth"};
    for (int i = 0; i < 3; ++i) {
        auto* round = dynamic_cast<CRoundArea*>(
            d.CreateArea("CRoundArea", 62 + i, {840, 366 + 58 * i, 1096, 416 + 58 * i}, kMarks[i]));
        round->SetFontWidth(14);
        if (i == 2) round->SetColor(0x8C8C8C);
    }
}

void buildLists(BuiltDialog& d) {
    d.SetFontName("Open Sans Semibold");
    auto* title = make<MText>(d, "MText", 1, {24, 16, 600, 46}, "Lists");
    title->SetFontWidth(22);
    title->SetBold(true);

    caption(d, 2, {24, 60, 300, 80}, "MACROS");
    auto* macros = make<MacroList>(d, "MacroList", 10, {24, 86, 264, 320});
    macros->SetEditImage("btn_more.png");
    for (const char* name : {"Quick build", "Reload cancel", "Burst x3", "Copy + paste", "Sprint toggle"})
        macros->AddString(name, 0);
    macros->SetCurSel(1);

    caption(d, 3, {288, 60, 600, 80}, "STEPS");
    auto* steps = make<CRecordList>(d, "CRecordList", 11, {288, 86, 588, 320});
    steps->AddString("Left Ctrl down", 2, 162, 0);
    steps->AddString("Delay 35 ms", 1, 35, 35);
    steps->AddString("C down", 2, 67, 70);
    steps->AddString("C up", 3, 67, 120);
    steps->AddString("Left Ctrl up", 3, 162, 150);
    steps->SetCurSel(2);

    caption(d, 4, {612, 60, 900, 80}, "LANGUAGE");
    auto* languages = make<DListBox>(d, "DListBox", 12, {612, 86, 852, 224});
    for (const char* name : {"English", "简体中文", "日本語", "Українська"}) languages->AddString(name, 0);
    languages->SetCurSel(1);
    languages->SetEditable(true);
    auto* off = make<DListBox>(d, "DListBox", 13, {612, 236, 852, 320});
    off->AddString("Disabled list", 0);
    off->AddString("Second row", 0);
    off->SetEnabled(false);

    caption(d, 5, {24, 340, 300, 360}, "BUTTON ASSIGNMENT");
    auto* keys = make<MouseKeyCtrl>(d, "MouseKeyCtrl", 20, {24, 366, 424, 590});
    const char* const kButtons[][2] = {{"Left button", "Left click"},
                                       {"Right button", "Right click"},
                                       {"Wheel button", "Middle click"},
                                       {"Forward", "Ctrl + C"},
                                       {"Back", "DPI cycle"}};
    for (int i = 0; i < 5; ++i) keys->AddItem(kButtons[i][0], kButtons[i][1], i + 1);
    keys->SetSelectItem(3);

    caption(d, 6, {448, 340, 700, 360}, "DPI STAGES");
    auto* stages = make<DPIControl>(d, "DPIControl", 21, {448, 366, 708, 590});
    const int dpis[] = {400, 800, 1600, 3200, 6400};
    const std::uint32_t colours[] = {0x3C3CFF, 0x3CFF8C, 0xFF8C3C, 0x3CD2FF, 0xFF3CC8};
    for (int i = 0; i < 5; ++i) stages->AddItem(dpis[i], colours[i]);
    stages->SetSelectItem(2);

    caption(d, 7, {732, 340, 1000, 360}, "REPORT RATE");
    auto* rates = make<ReporteCtrl>(d, "ReporteCtrl", 22, {732, 366, 1096, 402});
    for (auto [text, code] : {std::pair{"125", 8}, {"250", 4}, {"500", 2}, {"1000", 1}})
        rates->AddItem(text, code, 0);
    rates->SetSelectItemValue(1);
    auto* ratesOff = make<ReporteCtrl>(d, "ReporteCtrl", 23, {732, 414, 1096, 450});
    for (auto text : {"Low", "Medium", "High"}) ratesOff->AddItem(text, 0, 0);
    ratesOff->SetSelectItem(0);
    ratesOff->SetEnabled(false);
}

void buildMain(BuiltDialog& d);

void buildHome(BuiltDialog& d) {
    buildMain(d);
    d.GetControlAs<MTabCtrl>(48)->SetCurSel(0);
}

void buildMain(BuiltDialog& d) {
    // The main window's frame with the home and button pages, as the
    // program lays them out (1300 x 788).
    d.SetFontName("Open Sans Semibold");
    make<MPicture>(d, "MPicture", 30, {0, 0, 1300, 788})->SetImage("main_bkg.png");
    make<MPicture>(d, "MPicture", 32, {1, 1, 1299, 50})->SetImage("img_area_caption.png");
    make<MPicture>(d, "MPicture", 33, {1, 738, 1299, 787})->SetImage("img_area_caption.png");
    make<MPicture>(d, "MPicture", 47, {1, 50, 201, 738})->SetImage("img_tab_bkg.png");
    auto* logo = make<MPicture>(d, "MPicture", 34, {10, 70, 190, 100});
    logo->SetImage("logo.png");
    auto* title = make<MText>(d, "MText", 35, {520, 10, 780, 40}, "Quorvik Gaming Mouse");
    title->SetFont("黑体", 18, true);
    title->SetAlignment(1);
    auto* version = make<MText>(d, "MText", 36, {25, 750, 225, 776}, "Driver: v1.0.0");
    version->SetFontWidth(13);
    version->SetTextColor(0xFF8A9099);
    auto* link = make<CTextButton>(d, "CTextButton", 37, {250, 750, 1050, 776}, "www.quorvik.example");
    link->SetAlignment(1);
    link->SetFontWidth(13);
    make<CImageButton>(d, "CImageButton", 38, {1250, 10, 1280, 40})->SetImage("sysbtn_close.png");
    make<CImageButton>(d, "CImageButton", 39, {1218, 10, 1248, 40})->SetImage("sysbtn_min.png");
    make<CImageButton>(d, "CImageButton", 40, {1186, 10, 1216, 40})->SetImage("sysbtn_setting.png");
    auto* battery = make<BatteryCtrl>(d, "BatteryCtrl", 43, {1170, 50, 1265, 80});
    battery->SetBatteryImages("icon\\icon_battery_bkg.png", "icon\\icon_batteryvalue.png",
                              "icon\\icon_charge.png");
    battery->SetBatteryInfo(82, 0);
    auto* state = make<CDeviceState>(d, "CDeviceState", 44, {25, 11, 125, 38}, "Connected");
    state->SetImage("img_area.png");
    state->SetFontWidth(14);
    auto* profile = make<CIconButton>(d, "CIconButton", 45, {1130, 750, 1280, 776}, "Profile 1");
    profile->SetImage("img_button.png");
    profile->SetIconImage("icon\\icon_arrow_up.png");
    profile->SetFontWidth(14);

    MControl* home = d.CreateArea("MTabLayout", 49, {20, 80, 1280, 738});
    MControl* keysPage = d.CreateArea("MTabLayout", 50, {200, 80, 1280, 738});
    auto* tabs = make<MTabCtrl>(d, "MTabCtrl", 48, {1, 120, 191, 480});
    tabs->SetImage("img_tabitem_bkg.png");
    tabs->SetFontWidth(15);
    tabs->AddItem(1, "Home", "icon\\tab_home.png", home);
    tabs->AddItem(2, "Buttons", "icon\\tab_key.png", keysPage);
    tabs->AddItem(3, "Performance", "icon\\tab_dpi.png");
    tabs->AddItem(4, "Macros", "icon\\tab_macro.png");
    tabs->AddItem(5, "Lighting", "icon\\tab_light.png");
    tabs->AddItem(7, "Help", "icon\\tab_set.png");
    tabs->SetCurSel(1);

    auto* devices = make<CDeviceList>(d, "CDeviceList", 57, {200, 200, 1100, 688}, {}, home);
    devices->SetImage("area_device.png");
    devices->SetVersionDesc("Firmware");
    devices->SetModeImage("device_mode.png");
    devices->AddDevice("Quorvik Kestrel M1", 1, "device/quorvik_m1.svg");
    devices->AddDevice("Quorvik Merlin M2", 2, "device/quorvik_m2.svg");
    devices->SetDeviceState(1, 1, 1);
    devices->SetDeviceVersion(1, "v1.02");

    auto* mouse = make<MouseCtrl>(d, "MouseCtrl", 108, {260, 120, 760, 700}, {}, keysPage);
    mouse->SetImage("device/quorvik_m1.svg");
    mouse->AddItem("Left button", 1, 0, {175, 110}, {100, 70});
    mouse->AddItem("Right button", 2, 1, {290, 110}, {380, 70});
    mouse->AddItem("Wheel", 3, 1, {232, 95}, {380, 20});
    mouse->AddItem("Forward", 4, 0, {150, 250}, {100, 230});
    mouse->AddItem("Back", 5, 0, {150, 300}, {100, 300});
    mouse->AddItem("DPI", 6, 1, {232, 180}, {380, 180});
    mouse->SetSelectItem(1);
    auto* keys = make<MouseKeyCtrl>(d, "MouseKeyCtrl", 68, {800, 140, 1240, 420}, {}, keysPage);
    const char* const kButtons[][2] = {{"Left button", "Left click"},
                                       {"Right button", "Right click"},
                                       {"Wheel", "Middle click"},
                                       {"Forward", "Forward"},
                                       {"Back", "Back"},
                                       {"DPI", "DPI cycle"}};
    for (int i = 0; i < 6; ++i) keys->AddItem(kButtons[i][0], kButtons[i][1], i + 1);
    keys->SetSelectItem(1);
    auto* group = make<MComboBox2>(d, "MComboBox2", 69, {800, 440, 1020, 472}, {}, keysPage);
    group->AddItem("Mouse functions", 1);
    group->SetCurSel(0);
    group->SetCheck(1);
    auto* function = make<MComboBox>(d, "MComboBox", 70, {1030, 440, 1240, 472}, {}, keysPage);
    function->AddItem("Right click", 2);
    function->SetCurSel(0);
    auto* reset = make<MButton>(d, "MButton", 46, {1090, 680, 1240, 716}, "Restore defaults", keysPage);
    reset->SetImage("img_button.png");
}

class GalleryTest : public ::testing::Test {
protected:
    void SetUp() override { qtApp(); }
};

struct Page {
    const char* file;
    const char* title;
    Rect rect;
    void (*build)(BuiltDialog&);
};

TEST_F(GalleryTest, PagesRenderEveryControlClass) {
    QtBackend backend;
    const Page pages[] = {
        {"gallery_controls.png", "Gallery Controls", {100, 100, 1220, 660}, buildControls},
        {"gallery_lists.png", "Gallery Lists", {100, 100, 1220, 720}, buildLists},
        {"gallery_main.png", "Gallery Main", {0, 0, 1300, 788}, buildMain},
        {"gallery_home.png", "Gallery Home", {0, 0, 1300, 788}, buildHome},
    };
    std::set<std::string> classes;
    for (const Page& page : pages) {
        SCOPED_TRACE(page.file);
        BuiltDialog dialog;
        dialog.build = page.build;
        ASSERT_NE(dialog.Create(0, page.title, 0x96000000, 0, page.rect), 0u);
        dialog.ShowWindow(SW_SHOW);
        const QImage image = shoot(backend, dialog, page.file);
        ASSERT_FALSE(image.isNull());
        EXPECT_EQ(image.width(), page.rect.Width());
        EXPECT_EQ(image.height(), page.rect.Height());
        // Every control draws something in its rectangle (a blank control
        // would show one flat colour), except the invisible tab layouts.
        for (MControl* control : dialog.GetControls()) {
            classes.insert(control->GetClassName());
            if (!control->IsShown() || std::string(control->GetClassName()) == "MTabLayout") continue;
            SCOPED_TRACE(std::string(control->GetClassName()) + " " + std::to_string(control->GetId()));
            EXPECT_GT(colourCount(image, control->GetRect()), 1);
        }
        dialog.DestroyWindow();
    }
    // The gallery holds every class the toolkit creates by name.
    for (const char* name :
         {"MPicture",     "MText",       "MButton",     "MButton2",     "MButton3",     "CImageButton",
          "CTextButton",  "CIconButton", "CHelpButton", "CCheckButton", "CRadioButton", "MEdit",
          "NumberEdit",   "NumberEdit2", "MComboBox",   "MComboBox2",   "DListBox",     "MTabCtrl",
          "MTabLayout",   "CRoundArea",  "CDeviceList", "CDeviceState", "BatteryCtrl",  "MouseCtrl",
          "MouseKeyCtrl", "DPIControl",  "DPISlider",   "ReporteCtrl",  "LightSlider",  "CColorButton",
          "MPalette",     "MacroList",   "CRecordList", "MProgress",    "MProgress2"})
        EXPECT_TRUE(classes.count(name)) << name;
}

TEST_F(GalleryTest, SelectionsShowInTheAccentColour) {
    QtBackend backend;
    BuiltDialog dialog;
    dialog.build = buildLists;
    ASSERT_NE(dialog.Create(0, "Gallery Accent", 0x96000000, 0, {100, 100, 1220, 720}), 0u);
    dialog.ShowWindow(SW_SHOW);
    QImage image = shoot(backend, dialog, "gallery_accent_before.png");
    auto* rates = dialog.GetControlAs<ReporteCtrl>(22);
    const Rect r = rates->GetRect();
    const int segment = r.Width() / 4;
    // Selected segment 3 (1000) is filled with the accent; segment 0 is not.
    EXPECT_TRUE(
        hasColourNear(image, {r.left + 3 * segment + 10, r.top + 4, r.right - 10, r.top + 8}, accent()));
    EXPECT_FALSE(hasColourNear(image, {r.left + 10, r.top + 4, r.left + segment - 20, r.top + 8}, accent()));
    rates->SetSelectItem(0);
    QApplication::processEvents();
    image = shoot(backend, dialog, "gallery_accent_after.png");
    EXPECT_TRUE(hasColourNear(image, {r.left + 10, r.top + 4, r.left + segment - 20, r.top + 8}, accent()));
    dialog.DestroyWindow();
}

TEST_F(GalleryTest, MissingPicturesFallBackToDrawing) {
    // A skin folder without pictures: buttons, tabs and the logo still draw.
    const std::string saved = Manager::GetSkinFolder();
    Manager::SetSkinFolder("/nonexistent/skin/");
    QtBackend backend;
    BuiltDialog dialog;
    dialog.build = buildMain;
    ASSERT_NE(dialog.Create(0, "Gallery Bare", 0x96000000, 0, {0, 0, 1300, 788}), 0u);
    dialog.ShowWindow(SW_SHOW);
    const QImage image = shoot(backend, dialog, "gallery_main_without_skin.png");
    Manager::SetSkinFolder(saved);
    for (int id : {34, 38, 39, 40, 43, 45, 48, 46, 108}) {
        SCOPED_TRACE(id);
        MControl* control = dialog.GetControl(id);
        if (control->IsShown()) {
            EXPECT_GT(colourCount(image, control->GetRect()), 1);
        }
    }
    dialog.DestroyWindow();
}

TEST_F(GalleryTest, PopUpMenu) {
    QtBackend backend;
    // Records what the menu posts to it.
    struct Owner : BuiltDialog {
        std::vector<std::pair<UINT, WPARAM>> posted;
        LRESULT OnWindowMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
            if (message >= WM_USER) posted.emplace_back(message, wParam);
            return BuiltDialog::OnWindowMessage(message, wParam, lParam);
        }
    } owner;
    ASSERT_NE(owner.Create(0, "Gallery Menu Owner", 0x96000000, 0, {100, 100, 400, 300}), 0u);
    MenuWnd menu;
    ASSERT_NE(menu.Create(owner.GetSafeHwnd(), WM_USER + 5, {120, 120}, 180), 0u);
    menu.AddMenu(1, "New macro");
    menu.AddMenu(2, "Rename");
    menu.AddMenu(3, "Delete");
    menu.AddMenu(4, "Export…");
    menu.TrackMenu();
    QApplication::processEvents();
    QtWindow* widget = backend.widgetFor(menu.GetSafeHwnd());
    ASSERT_NE(widget, nullptr);
    // The pointer over the second row highlights it in the accent colour.
    const QPointF over(40, MenuWnd::kRowHeight + 10);
    QMouseEvent move(QEvent::MouseMove, over, over, widget->mapToGlobal(over), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &move);
    const QImage image = shoot(backend, menu, "gallery_menu.png");
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.height(), 4 * MenuWnd::kRowHeight);
    EXPECT_TRUE(
        hasColourNear(image, {4, MenuWnd::kRowHeight + 4, 176, 2 * MenuWnd::kRowHeight - 4}, accent()));
    EXPECT_FALSE(hasColourNear(image, {4, 4, 176, MenuWnd::kRowHeight - 4}, accent()));
    // A click on it hides the menu and posts the row's command to the owner.
    QMouseEvent press(QEvent::MouseButtonPress, over, over, widget->mapToGlobal(over), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &press);
    QApplication::processEvents();
    EXPECT_FALSE(menu.IsWindowVisible());
    ASSERT_EQ(owner.posted.size(), 1u);
    EXPECT_EQ(owner.posted[0], (std::pair<UINT, WPARAM>{WM_USER + 5, 2}));
    menu.DestroyWindow();
    owner.DestroyWindow();
}

TEST_F(GalleryTest, EverySkinPictureHasAPngTwinOfTheSameSize) {
    // The toolkit reads picture sizes from PNG headers (pictures placed at
    // their own size, the model picture's layout); a vector picture without
    // its rendered twin would be laid out as missing.
    const QString skin = QStringLiteral(QUORVIK_SOURCE_DIR "/data/skins/default");
    int checked = 0;
    QDirIterator it(skin, {QStringLiteral("*.svg")}, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString svg = it.next();
        SCOPED_TRACE(svg.toStdString());
        const QSize size = QSvgRenderer(svg).defaultSize();
        int width = 0;
        int height = 0;
        const std::string png = (svg.left(svg.size() - 4) + QStringLiteral(".png")).toStdString();
        ASSERT_TRUE(MRender::GetImageSize(png, width, height)) << "run quorvik_render_skin";
        EXPECT_EQ(QSize(width, height), size);
        ++checked;
    }
    EXPECT_GT(checked, 30);
    // Each model of config.xml has its picture in the skin's device folder.
    QFile config(QStringLiteral(QUORVIK_SOURCE_DIR "/data/config.xml"));
    ASSERT_TRUE(config.open(QIODevice::ReadOnly));
    const QString xml = QString::fromUtf8(config.readAll());
    auto images = QRegularExpression(QStringLiteral("image=\"([^\"]+)\"")).globalMatch(xml);
    int models = 0;
    while (images.hasNext()) {
        const QString name = images.next().captured(1);
        const QString stem = name.left(name.lastIndexOf(QLatin1Char('.')));
        SCOPED_TRACE(name.toStdString());
        EXPECT_TRUE(QFile::exists(skin + QStringLiteral("/device/") + name));
        EXPECT_TRUE(QFile::exists(skin + QStringLiteral("/device/") + stem + QStringLiteral(".png")));
        ++models;
    }
    EXPECT_GT(models, 0);
    // The window and tray icon is a real icon file the toolkit can load.
    EXPECT_NE(MRender::LoadIconFromFile(skin.toStdString() + "/DeviceDriver.ico"), 0u);
}

}  // namespace
}  // namespace DUI::test
