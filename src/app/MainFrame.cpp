// The main window's frame: the controls around the pages, the tabs and their
// page containers, the home page with the device list, the static guide page,
// and the layout that places them for every client size.
#include "app/DeviceMainDlg.h"

#include "app/config/LanguageTexts.h"
#include "ui/pages/PerformancePage.h"
#include "base/Text.h"
#include "ui/toolkit/BatteryCtrl.h"
#include "ui/toolkit/CDeviceList.h"
#include "ui/toolkit/CIconButton.h"
#include "ui/toolkit/CRoundArea.h"
#include "ui/toolkit/Dispatcher.h"
#include "ui/toolkit/MControlFont.h"
#include "ui/toolkit/MPicture.h"
#include "ui/toolkit/MTabCtrl.h"
#include "ui/toolkit/Manager.h"

namespace quorvik {

using namespace mainwnd;

namespace {

constexpr const char* kTitleFont = "黑体";
constexpr std::uint32_t kWhite = 0xFFFFFFFFu;
constexpr int kAlignCenter = 1;

// Guide page markers: the caption's text and the three marker texts.
constexpr int kGuideCaptionText = 76;
constexpr int kGuideTextIds[3] = {77, 78, 79};

std::string lan(int id) { return LangString("LAN", id); }

// A product with the layout scale, cut toward zero.
int scaled(float scale, int value) { return static_cast<int>(scale * static_cast<float>(value)); }

struct TabItem {
    int id;
    int textId;
    const char* icon;
    int container;
};
constexpr TabItem kTabItems[] = {
    {kTabHome, 71, "icon/tab_home.png", kHomePage},
    {kTabKeys, 72, "icon/tab_key.png", kKeyPage},
    {kTabPerformance, 73, "icon/tab_dpi.png", kPerformancePage},
    {kTabMacros, 74, "icon/tab_macro.png", kMacroPage},
    {kTabLighting, 75, "icon/tab_light.png", kLightingPage},
    {kTabGuide, 76, "icon/tab_set.png", kGuidePage},
};

}  // namespace

void DeviceMainDlg::InitUI() {
    SetFontName("Open Sans Semibold");
    DUI::Manager::SetFontName("Open Sans Semibold");
    buildFrame();
    m_frameBuilt = true;
}

void DeviceMainDlg::buildFrame() {
    const DUI::Rect none{};
    auto picture = [&](int id, const char* image) {
        auto* p = static_cast<DUI::MPicture*>(CreateControl("MPicture", id, none));
        if (image != nullptr) p->SetImage(image);
        return p;
    };
    auto imageButton = [&](int id, const char* image, int tooltip) {
        DUI::MControl* b = CreateControl("CImageButton", id, none);
        b->SetImage(image);
        b->SetTooltip(lan(tooltip));
        return b;
    };

    picture(kBackground, "main_bkg.png");
    picture(kModelPicture, nullptr);
    picture(kTitleStrip, "img_area_caption.png");
    picture(kBottomStrip, "img_area_caption.png");

    auto* title = static_cast<DUI::MControlFont*>(CreateControl("MText", kTitle, none, lan(1)));
    title->SetFont(kTitleFont, 18, true);
    title->SetTextColor(kWhite);
    title->SetAlignment(kAlignCenter);

    CreateControl("MText", kVersionLabel, none);
    auto* website = static_cast<DUI::MControlFont*>(CreateControl("CTextButton", kWebsiteLink, none, lan(2)));
    website->SetAlignment(kAlignCenter);

    imageButton(kCloseButton, "sysbtn_close.png", 5);
    imageButton(kMaximizeButton, "sysbtn_maximize.png", 7);
    imageButton(kMinimizeButton, "sysbtn_min.png", 6);
    imageButton(kSettingsButton, "sysbtn_setting.png", 11);

    auto* battery = static_cast<DUI::BatteryCtrl*>(CreateControl("BatteryCtrl", kBattery, none));
    battery->SetBatteryImages("icon/icon_battery_bkg.png", "icon/icon_batteryvalue.png", "icon/icon_charge.png");
    battery->AddMTimer();

    auto* status = static_cast<DUI::MControlFont*>(CreateControl("CDeviceState", kDeviceStatus, none, lan(50)));
    status->SetImage("img_area.png");
    status->SetFontWidth(14);

    auto* profile = static_cast<DUI::CIconButton*>(CreateControl("CIconButton", kProfileButton, none, lan(61)));
    profile->SetImage("img_button.png");
    profile->SetIconImage("icon/icon_arrow_up.png");
    profile->SetFontWidth(14);

    DUI::MControl* restore = CreateControl("MButton", kRestoreDefaults, none, lan(558));
    restore->SetImage("img_button.png");

    for (int id = kHomePage; id <= kSettingsPage; ++id) {
        // The key page's sub-page lives inside the key page.
        DUI::MControl* parent = id == kKeySubPage ? GetControl(kKeyPage) : nullptr;
        DUI::MControl* page = CreateArea("MTabLayout", id, none, {}, parent);
        page->SetVisible(false);
    }
    GetControl(kKeySubPage)->SetVisible(true);

    picture(kTabStrip, "img_tab_bkg.png");
    auto* tabControl = static_cast<DUI::MTabCtrl*>(CreateControl("MTabCtrl", kTabs, none));
    tabControl->SetImage("img_tabitem_bkg.png");
    tabControl->SetItemSize(190, 60);
    for (const TabItem& tab : kTabItems)
        tabControl->AddItem(tab.id, lan(tab.textId), tab.icon, GetControl(tab.container));

    picture(kLogo, "logo.png");

    // The settings page's own controls arrive with it; its return button is
    // here already, so the page can always be left again.
    DUI::MControl* back = CreateControl("MButton", kSettingsReturn, none, lan(kSettingsReturnText), GetControl(kSettingsPage));
    back->SetImage("img_button.png");

    buildHomePage(GetControl(kHomePage));
    buildGuidePage(GetControl(kGuidePage));
    m_performance->build(*this, GetControl(kPerformancePage));

    tabControl->SetCurSel(0);
    // Until a model is opened only the home page's frame shows.
    for (int id : {kModelPicture, kTabStrip, kTabs, kDeviceStatus, kProfileButton, kRestoreDefaults, kBattery})
        showControl(id, false);
}

void DeviceMainDlg::buildHomePage(DUI::MControl* container) {
    const DUI::Rect none{};
    auto* list = static_cast<DUI::CDeviceList*>(CreateControl("CDeviceList", kDeviceList, none, {}, container));
    list->SetImage("area_device.png");
    list->SetBatteryImages("icon/icon_battery_bkg.png", "icon/icon_batteryvalue.png", "icon/icon_charge.png");
    list->SetModeImage("device_mode.png");
    list->SetVersionDesc(lan(15));

    DUI::MControl* previous = CreateControl("CImageButton", kListPrevious, none, {}, container);
    previous->SetImage("img_btn_pre.png");
    previous->SetTooltip(lan(85));
    DUI::MControl* next = CreateControl("CImageButton", kListNext, none, {}, container);
    next->SetImage("img_btn_next.png");
    next->SetTooltip(lan(86));

    auto* noDevice = static_cast<DUI::MPicture*>(CreateControl("MPicture", kNoDevicePicture, none, {}, container));
    noDevice->SetImage("img_area3.png");
    noDevice->SetShowMode(3, 10);
    noDevice->SetVisible(false);

    auto* noDeviceText = static_cast<DUI::MControlFont*>(CreateControl("MText", kNoDeviceText, none, lan(56), container));
    noDeviceText->SetFontWidth(20);
    noDeviceText->SetAlignment(kAlignCenter);
    noDeviceText->SetWordWrap(true);
    noDeviceText->SetVisible(false);
}

void DeviceMainDlg::buildGuidePage(DUI::MControl* container) {
    const DUI::Rect none{};
    auto* caption = static_cast<DUI::MControlFont*>(
        CreateControl("MText", kGuideCaption, none, lan(kGuideCaptionText), container));
    caption->SetFontWidth(20);
    for (int i = 0; i < 3; ++i) {
        auto* marker = static_cast<DUI::CRoundArea*>(CreateArea("CRoundArea", kGuideMarkerFirst + i, none, {}, container));
        marker->SetColor(DUI::Manager::m_select_color.load());
        auto* text = static_cast<DUI::MControlFont*>(
            CreateControl("MText", kGuideTextFirst + i, none, lan(kGuideTextIds[i]), container));
        text->SetFontWidth(14);
        text->SetWordWrap(true);
    }
}

void DeviceMainDlg::applyLanguage() {
    auto setTitle = [&](int id, int textId) { setText(id, lan(textId)); };
    setTitle(kTitle, 1);
    setTitle(kWebsiteLink, 2);
    for (auto [id, textId] : {std::pair{kCloseButton, 5}, {kMaximizeButton, 7}, {kMinimizeButton, 6},
                              {kSettingsButton, 11}, {kListPrevious, 85}, {kListNext, 86}})
        if (DUI::MControl* c = GetControl(id)) c->SetTooltip(lan(textId));
    setTitle(kRestoreDefaults, 558);
    setTitle(kSettingsReturn, kSettingsReturnText);
    setTitle(kNoDeviceText, 56);
    setTitle(kGuideCaption, kGuideCaptionText);
    for (int i = 0; i < 3; ++i) setTitle(kGuideTextFirst + i, kGuideTextIds[i]);
    if (DUI::MTabCtrl* t = tabs())
        for (int i = 0; i < t->GetItemCount(); ++i) t->SetItemText(i, lan(kTabItems[i].textId));
    if (DUI::CDeviceList* list = deviceList()) list->SetVersionDesc(lan(15));
    setText(kVersionLabel, lan(17) + ": v" + appConfig().softwareVersion);
    // The status text follows the connection it shows.
    if (!m_deviceConnected.load()) setTitle(kDeviceStatus, 50);
    else setTitle(kDeviceStatus, m_manager.CurrentMode() == kModeReceiver ? 52 : 51);
    // The profile button keeps the stored profile name: it is the user's.
}

void DeviceMainDlg::UISize(const DUI::Rect& client) {
    if (!m_frameBuilt) return;
    layoutFrame(client);
    m_performance->layout(client, m_layoutScale.load());
}

void DeviceMainDlg::layoutFrame(const DUI::Rect& client) {
    const int T = client.top, R = client.right, B = client.bottom;
    if (DUI::MControl* maximize = GetControl(kMaximizeButton))
        maximize->SetImage(IsZoomed() ? "sysbtn_restore.png" : "sysbtn_maximize.png");
    const float s = static_cast<float>(B - T) / static_cast<float>(kDesignHeight);
    m_layoutScale.store(s);

    auto place = [&](int id, DUI::Rect rect) {
        if (DUI::MControl* c = GetControl(id)) c->SetRect(rect);
    };
    auto centred = [&](int id, int width, int top, int bottom) {
        const int left = (R - width) / 2;
        place(id, {left, top, left + width, bottom});
    };

    place(kBackground, client);
    if (auto* model = GetControlAs<DUI::MPicture>(kModelPicture)) {
        const int w = model->GetImageWidth(), h = model->GetImageHeight();
        if (w > 1) model->SetRect({R - 150 - w, 135, R - 150, 135 + h});
    }
    if (auto* logo = GetControlAs<DUI::MPicture>(kLogo))
        logo->SetRect({10, 70, 10 + logo->GetImageWidth(), 70 + logo->GetImageHeight()});
    place(kTitleStrip, {1, 1, R - 1, 50});
    place(kBottomStrip, {1, B - 50, R - 1, B - 1});
    place(kCloseButton, {R - 50, 10, R - 20, 40});
    place(kMinimizeButton, {R - 82, 10, R - 52, 40});
    place(kSettingsButton, {R - 114, 10, R - 84, 40});
    // The maximise button has no place of its own in the layout rule; it
    // stands left of the settings button, in the same row.
    place(kMaximizeButton, {R - 146, 10, R - 116, 40});
    centred(kTitle, 260, 10, 40);
    place(kVersionLabel, {25, B - 38, 225, B - 12});
    centred(kWebsiteLink, 800, B - 38, B - 12);
    place(kBattery, {R - 130, 50, R - 35, 80});
    place(kDeviceStatus, {25, 11, 125, 38});
    place(kProfileButton, {R - 170, B - 38, R - 20, B - 12});
    // The restore-defaults button has no place of its own in the layout rule;
    // it sits beside the profile button in the bottom strip.
    place(kRestoreDefaults, {R - 330, B - 38, R - 180, B - 12});
    place(kTabStrip, {1, 50, 201, B - 50});
    place(kTabs, {1, 120, 191, 480});

    for (int id : {kKeyPage, kPerformancePage, kMacroPage, kLightingPage, kGuidePage})
        place(id, {200, 80, R - 20, B - 50});
    place(kHomePage, {20, 80, R - 20, B - 50});
    place(kKeySubPage, {230 + scaled(s, 250), 80 + scaled(s, 50), 230 + scaled(s, 250) + 600, B - 50});
    place(kSettingsPage, {1, 50, R - 1, B - 40});
    place(kSettingsReturn, {R - 145, 70, R - 25, 100});
    place(kDeviceList, {200, 200, R - 200, B - 100});
    const int noDeviceWidth = scaled(s, 500);
    const int noDeviceLeft = (R - noDeviceWidth) / 2;
    const DUI::Rect noDevice{noDeviceLeft, scaled(s, 200), noDeviceLeft + noDeviceWidth, scaled(s, 200) + scaled(s, 80)};
    place(kNoDevicePicture, noDevice);
    place(kNoDeviceText, noDevice);

    // The home page's scroll buttons sit at the ends of the device list.
    place(kListPrevious, {160, (B + 100) / 2 - 20, 190, (B + 100) / 2 + 20});
    place(kListNext, {R - 190, (B + 100) / 2 - 20, R - 160, (B + 100) / 2 + 20});

    // The guide page: its caption, then the three markers one under the
    // other, each with its text beside it, left of the model picture.
    place(kGuideCaption, {240, 110, 780, 150});
    for (int i = 0; i < 3; ++i) {
        const int top = 180 + i * 100;
        place(kGuideMarkerFirst + i, {240, top, 280, top + 40});
        place(kGuideTextFirst + i, {300, top, 760, top + 80});
    }
}

void DeviceMainDlg::showControl(int id, bool visible) {
    if (DUI::MControl* c = GetControl(id)) c->SetVisible(visible);
}

void DeviceMainDlg::setText(int id, const std::string& text) {
    if (auto* c = dynamic_cast<DUI::MControlFont*>(GetControl(id))) c->SetTitle(text);
}

DUI::CDeviceList* DeviceMainDlg::deviceList() const { return GetControlAs<DUI::CDeviceList>(kDeviceList); }

DUI::MTabCtrl* DeviceMainDlg::tabs() const { return GetControlAs<DUI::MTabCtrl>(kTabs); }

float DeviceMainDlg::layoutScale() const { return m_layoutScale.load(); }

ModelControls DeviceMainDlg::modelControls() {
    ModelControls controls;
    controls.modelPicture = GetControlAs<DUI::MPicture>(kModelPicture);
    controls.tabs = tabs();
    controls.clientRect = [this] { return GetClientRect(); };
    controls.relayoutPages = [this] { DUI::Dispatcher::RunOnUiThread(GetSafeHwnd(), [this] { UISize(GetClientRect()); }); };
    controls.relayoutPerformancePage = controls.relayoutPages;
    return controls;
}

}  // namespace quorvik
