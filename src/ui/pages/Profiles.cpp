// Profile management (see Profiles.h). The store keeps the profiles and which
// one is active; the host keeps the current profile that pages and worker use.
#include "ui/pages/Profiles.h"

#include "app/config/LanguageTexts.h"
#include "base/Text.h"
#include "store/SettingsStore.h"
#include "ui/pages/CUIMessageBox.h"
#include "ui/pages/ProfileDlg.h"

#include <string_view>
#include <vector>

namespace quorvik {
namespace {

constexpr int kDefaultProfileCount = 4;
constexpr std::uint32_t kPopupStyle = 0x96000000u;
// The pop-up sits 5 pixels above the profile button and is 205 pixels high.
constexpr int kPopupGap = 5;
constexpr int kPopupHeight = 205;

// Prefixes of generated names in the languages they may have been made in.
constexpr std::string_view kEnglishPrefix = "Profile";
constexpr std::string_view kChinesePrefix = "配置";

// Creates the four default profiles, each with the model's factory
// performance values, and activates the first one created.
void createDefaultProfiles(ProfileHost& host) {
    SettingsStore& store = host.store();
    const std::string label = LangString("LAN", kProfileLabelText);
    int first = 0;
    for (int n = 1; n <= kDefaultProfileCount; ++n) {
        ProfileRecord record;
        record.name = format("%s %d", label.c_str(), n);
        const int id = store.addProfile(record);
        // A profile that could not be added has no rows to receive values.
        if (id <= 0) continue;
        if (first == 0) first = id;
        // The reset writes into the current profile.
        host.setCurrentProfile(id);
        host.resetPerformanceDefaults(true);
    }
    if (first > 0) store.setActiveProfile(first);
}

}  // namespace

std::string profileDisplayName(const std::string& stored) {
    // Both prefixes are whole code points, so a byte comparison of the prefix
    // and the rest after its bytes counts characters as the rule does.
    for (std::string_view prefix : {kEnglishPrefix, kChinesePrefix}) {
        if (stored.size() >= prefix.size() && std::string_view(stored).substr(0, prefix.size()) == prefix)
            return LangString("LAN", kProfileLabelText) + " " + stored.substr(prefix.size());
    }
    return stored;
}

bool loadProfiles(ProfileHost& host) {
    SettingsStore& store = host.store();
    std::vector<ProfileRecord> profiles;
    if (store.listProfiles(profiles) == 0) {
        createDefaultProfiles(host);
        store.listProfiles(profiles);
    }

    int current = store.getActiveProfile();
    if (current < 1) {
        store.setActiveProfile(1);
        current = store.getActiveProfile();
    }
    // A file whose profile 1 is gone would otherwise leave every page writing
    // to a profile that does not exist: the first one there is takes its place.
    if (current < 1 && !profiles.empty()) {
        store.setActiveProfile(profiles.front().profile);
        current = store.getActiveProfile();
    }
    host.setCurrentProfile(current);

    std::string name;
    store.getProfileName(current, name);
    host.setProfileButtonTitle(name);
    return current > 0;
}

int openProfilePopup(ProfileHost& host) {
    if (!host.deviceConnected()) {
        showMessageBox(LangString("LAN", kNoticeCaptionText), LangString("LAN", kNotConnectedText),
                       host.mainWindow(), CUIMessageBox::kOneButton);
        return 0;
    }

    const DUI::Rect button = host.profileButtonScreenRect();
    const DUI::Rect rect{button.left, button.top - kPopupGap - kPopupHeight, button.right,
                         button.top - kPopupGap};
    ProfileDlg popup(host.store(), host.currentProfile(), host.mainWindow());
    if (popup.Create(host.mainWindow(), "ProfileDlg", kPopupStyle, 0, rect) == 0) return 0;
    popup.ShowModal(DUI::SW_SHOW);
    popup.DestroyWindow();
    return 1;
}

void chooseProfile(ProfileHost& host, int profile) {
    SettingsStore& store = host.store();
    std::string name;
    // Only the pop-up's own entries are chosen; an identifier the store does
    // not know would leave the pages writing nowhere.
    if (profile < 1 || !store.getProfileName(profile, name)) return;
    host.setCurrentProfile(profile);
    store.setActiveProfile(profile);
    host.setProfileButtonTitle(name);
    host.enqueueTask(kWriteProfileTask);
}

}  // namespace quorvik
