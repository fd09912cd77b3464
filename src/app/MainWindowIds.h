// Control ids of the main window's frame, its tab items and the messages it
// takes. Pages keep their own ids; these are the ones the frame and the
// routing of notifications share.
#pragma once

#include "app/startup/InstanceRequest.h"
#include "ui/pages/Profiles.h"
#include "ui/toolkit/Messages.h"

namespace quorvik::mainwnd {

// Frame controls, in the order the frame creates them.
inline constexpr int kBackground = 30;
inline constexpr int kModelPicture = 31;
inline constexpr int kTitleStrip = 32;
inline constexpr int kBottomStrip = 33;
inline constexpr int kLogo = 34;
inline constexpr int kTitle = 35;
inline constexpr int kVersionLabel = 36;
inline constexpr int kWebsiteLink = 37;
inline constexpr int kCloseButton = 38;
inline constexpr int kMinimizeButton = 39;
inline constexpr int kSettingsButton = 40;
inline constexpr int kMaximizeButton = 41;
inline constexpr int kBattery = 43;
inline constexpr int kDeviceStatus = 44;
inline constexpr int kProfileButton = 45;
inline constexpr int kRestoreDefaults = 46;
inline constexpr int kTabStrip = 47;
inline constexpr int kTabs = 48;

// Page containers.
inline constexpr int kHomePage = 49;
inline constexpr int kKeyPage = 50;
inline constexpr int kKeySubPage = 51;
inline constexpr int kPerformancePage = 52;
inline constexpr int kMacroPage = 53;
inline constexpr int kLightingPage = 54;
inline constexpr int kGuidePage = 55;
inline constexpr int kSettingsPage = 56;

// Home page.
inline constexpr int kDeviceList = 57;
inline constexpr int kNoDevicePicture = 58;
inline constexpr int kNoDeviceText = 59;
inline constexpr int kListPrevious = 60;
inline constexpr int kListNext = 61;

// The guide page's caption and its three markers with their texts.
inline constexpr int kGuideCaption = 62;
inline constexpr int kGuideMarkerFirst = 63;  // 63, 64, 65
inline constexpr int kGuideTextFirst = 218;   // 218, 219, 220: labels, never handled

// Tab item ids (the page each tab shows); the lighting tab is index 4.
inline constexpr int kTabHome = 1;
inline constexpr int kTabKeys = 2;
inline constexpr int kTabPerformance = 3;
inline constexpr int kTabMacros = 4;
inline constexpr int kTabLighting = 5;
inline constexpr int kTabGuide = 7;
inline constexpr int kKeyTabIndex = 1;

// The settings page's return button, and its caption.
inline constexpr int kSettingsReturn = 273;
inline constexpr int kSettingsReturnText = 612;

// Other controls whose notifications the main window handles itself.
inline constexpr int kPointerSettingsLink = 149;
inline constexpr int kSettingsWebsiteLink = 289;
inline constexpr int kSettingsFeedbackLink = 290;
inline constexpr int kSettingsHelpLink = 291;

// Window messages.
inline constexpr DUI::UINT kTrayMessage = DUI::WM_USER + 666;           // 1690
inline constexpr DUI::UINT kExitRequest = kExitRequestMessage;           // 1691, with kExitRequestParam
inline constexpr DUI::UINT kDownloadProgress = DUI::WM_USER + 670;      // 1694
inline constexpr DUI::UINT kProfileDialogResult = kProfileDialogMessage; // 1705
inline constexpr DUI::UINT kReapplyLanguage = kReapplyLanguageMessage;  // 2022
// A device arrival or removal handed from the hot-plug thread to the window
// thread (wParam: the event code; the path waits in the window's inbox).
inline constexpr DUI::UINT kDeviceChange = DUI::WM_DEVICECHANGE;

// Tray icon and its menu.
inline constexpr unsigned kTrayIconId = 109;
inline constexpr int kTrayExitCommand = 100;
inline constexpr int kAboutCommand = 102;
inline constexpr int kTrayTipLimit = 127;  // characters

// The design size of the window; the layout scale is client height / 788.
inline constexpr int kDesignWidth = 1300;
inline constexpr int kDesignHeight = 788;

}  // namespace quorvik::mainwnd
