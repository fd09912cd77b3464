// Screenshot of the profile pop-up as the Qt backend shows it off-screen: the
// four default profiles of a new store (one renamed by the user) above the
// profile button, with the shipped English language file and skin.
#include "DialogShotFixture.h"

#include "store/SettingsStore.h"
#include "ui/pages/ProfileDlg.h"
#include "ui/pages/Profiles.h"
#include "ui/toolkit/DListBox.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <QTimer>

namespace DUI::test {
namespace {

using quorvik::SettingsStore;

// The main window's side: a connected device, the profile button at its place
// in the frame of a 1300 x 788 window at the screen's origin.
class ShotHost : public quorvik::ProfileHost {
public:
    explicit ShotHost(HWND main) : m_main(main) {}
    SettingsStore& store() override { return SettingsStore::instance(); }
    int currentProfile() override { return current; }
    void setCurrentProfile(int profile) override { current = profile; }
    void enqueueTask(int) override {}
    bool deviceConnected() override { return true; }
    HWND mainWindow() override { return m_main; }
    void setProfileButtonTitle(const std::string&) override {}
    Rect profileButtonScreenRect() override { return {1130, 750, 1280, 776}; }
    // The shot shows names only; the factory values are not looked at.
    int resetPerformanceDefaults(bool) override { return 0; }

    int current = 0;

private:
    HWND m_main;
};

class ProfileShotsTest : public DialogShotFixture {};

TEST_F(ProfileShotsTest, ProfilePopup) {
    QTemporaryDir userFolder;
    ASSERT_TRUE(userFolder.isValid());
    ASSERT_TRUE(QDir(userFolder.path()).mkpath("db"));
    SettingsStore& store = SettingsStore::instance();
    ASSERT_TRUE(store.openForModel(userFolder.path().toStdString() + "/", "shot"));

    BuiltDialog owner;
    ASSERT_NE(owner.Create(0, "Shots Owner", 0x96000000, 0, {0, 0, 1300, 788}), 0u);
    ShotHost host(owner.GetSafeHwnd());
    ASSERT_TRUE(quorvik::loadProfiles(host));
    ASSERT_TRUE(store.renameProfile(2, "Gaming"));
    host.current = 2;

    QSize shot;
    std::vector<std::string> shown;
    QTimer::singleShot(200, [&] {
        const HWND hwnd = MWindow::FindWindow(kWindowClassName, "ProfileDlg");
        auto* popup = dynamic_cast<quorvik::ProfileDlg*>(MWindow::FromHandle(hwnd));
        if (popup == nullptr) return;
        shot = shoot("ProfileDlg", "profile_popup.png");
        if (auto* list = popup->GetControlAs<DListBox>(quorvik::ProfileDlg::kListId))
            for (int i = 0; i < list->GetItemCount(); ++i) shown.push_back(list->GetItemText(i));
        popup->DoCancel();
    });
    EXPECT_EQ(quorvik::openProfilePopup(host), 1);

    EXPECT_EQ(shot, QSize(150, 205));
    const std::vector<std::string> expected{"Profile  1", "Gaming", "Profile  3", "Profile  4"};
    EXPECT_EQ(shown, expected);
    owner.DestroyWindow();
    store.close();
}

}  // namespace
}  // namespace DUI::test
