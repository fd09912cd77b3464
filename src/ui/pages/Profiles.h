// Profile management for the main window: the four default profiles of a new
// model, loading the active profile, the profile pop-up above the profile
// button and what happens when the user chooses a profile there. The main
// window implements ProfileHost; everything here talks to it, never to the
// window class itself, so the whole flow runs in tests without a display.
#pragma once

#include "ui/toolkit/Geometry.h"
#include "ui/toolkit/Messages.h"

#include <string>

namespace quorvik {

class SettingsStore;

// Posted by the profile pop-up to the main window. wParam says what the user
// asked for, lParam is the profile identifier it concerns.
inline constexpr DUI::UINT kProfileDialogMessage = DUI::WM_USER + 681;  // 1705
inline constexpr DUI::WPARAM kProfileChosen = 0;  // make lParam current and active
inline constexpr DUI::WPARAM kProfileImport = 1;  // import a profile file into the current profile
inline constexpr DUI::WPARAM kProfileExport = 2;  // export profile lParam to a file

// Task code of the worker routine that writes all settings of the current
// profile to the mouse and refreshes the pages.
inline constexpr int kWriteProfileTask = 5;

// Text ids used here.
inline constexpr int kProfileLabelText = 61;     // "Profile": default names and their display
inline constexpr int kNoticeCaptionText = 576;   // caption of the not-connected notice
inline constexpr int kNotConnectedText = 57;     // body of the not-connected notice

// What profile management needs from the main window.
class ProfileHost {
public:
    virtual ~ProfileHost() = default;

    virtual SettingsStore& store() = 0;
    // The profile every page and the device worker read and write.
    virtual int currentProfile() = 0;
    virtual void setCurrentProfile(int profile) = 0;
    // Appends a task code to the device worker's queue; never blocks.
    virtual void enqueueTask(int code) = 0;
    virtual bool deviceConnected() = 0;
    // Receives kProfileDialogMessage and owns the pop-up.
    virtual DUI::HWND mainWindow() = 0;
    // Title of the profile button (id 45). May be called from the worker thread.
    virtual void setProfileButtonTitle(const std::string& title) = 0;
    // The profile button's rectangle in screen coordinates.
    virtual DUI::Rect profileButtonScreenRect() = 0;
    // The model's factory performance values written into the current profile;
    // with newProfile also the report rate and the power options.
    virtual int resetPerformanceDefaults(bool newProfile) = 0;
};

// The name shown in the profile list for a stored name: a stored name that
// starts with "Profile" (letter case exact) or "配置" is shown with the current
// language's label (text 61), a blank, and the rest of the stored name (which
// keeps its own leading blank); any other name as it is. Counts code points.
std::string profileDisplayName(const std::string& stored);

// Makes sure the model's store has profiles and makes the active one current:
// a store without profiles gets four default profiles ("<label> 1" to
// "<label> 4", each with the model's factory performance values) and profile
// 1 active. Sets the profile button's title to the current profile's stored
// name. True when a current profile exists afterwards; false leaves the
// current profile 0 and the title empty (a store that cannot be read).
bool loadProfiles(ProfileHost& host);

// The handler of a click on the profile button. With no device connected it
// shows the not-connected notice and returns 0; otherwise it runs the profile
// pop-up modally in the 205 pixels above the button and returns 1.
int openProfilePopup(ProfileHost& host);

// The main window's handling of kProfileDialogMessage with kProfileChosen:
// `profile` becomes current and active, the button shows its name, and the
// worker is asked to write the profile to the mouse.
void chooseProfile(ProfileHost& host, int profile);

}  // namespace quorvik
