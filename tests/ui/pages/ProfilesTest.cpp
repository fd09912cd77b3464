// Profile management against a real settings store: default profiles of a new
// model with its factory values, which profile becomes current on load, the
// names shown in the pop-up, and what the user's actions in the pop-up do to
// the store, the current profile and the worker's queue.
#include "../../model/ModelTestFolder.h"
#include "../../store/StoreTestSupport.h"
#include "PagesFixture.h"
#include "model/FactoryValues.h"
#include "ui/pages/CUIMessageBox.h"
#include "ui/pages/ProfileDlg.h"
#include "ui/pages/Profiles.h"
#include "ui/toolkit/DListBox.h"
#include "ui/toolkit/MButton.h"
#include "ui/toolkit/MPicture.h"
#include "ui/toolkit/MText.h"

#include <gtest/gtest.h>

#include <functional>
#include <utility>
#include <vector>

namespace quorvik {
namespace {

const char* const kDescription = R"(<?xml version="1.0" encoding="UTF-8"?>
<mouse>
  <mouse_info>
    <dpi_info default_dpi="2" dpi_count="3">
      <dpi_1 value="400" color="#FF0000"/>
      <dpi_2 value="800" color="#00FF00"/>
      <dpi_3 value="1600" color="#0000FF"/>
    </dpi_info>
    <report_rate default_value="4"/>
    <sleep_light value="36"/>
    <move_wakeup value="0"/>
    <move_closelight value="0"/>
  </mouse_info>
</mouse>
)";

using Message = std::pair<DUI::WPARAM, DUI::LPARAM>;

// The main window as profile management sees it; the performance reset writes
// the model's real factory values into the current profile.
class FakeHost : public ProfileHost {
public:
    SettingsStore& store() override { return SettingsStore::instance(); }
    int currentProfile() override { return current; }
    void setCurrentProfile(int profile) override { current = profile; }
    void enqueueTask(int code) override { tasks.push_back(code); }
    bool deviceConnected() override { return connected; }
    DUI::HWND mainWindow() override { return main; }
    void setProfileButtonTitle(const std::string& text) override { title = text; }
    DUI::Rect profileButtonScreenRect() override { return button; }
    int resetPerformanceDefaults(bool newProfile) override {
        resets.emplace_back(current, newProfile);
        writeFactoryValues(current, newProfile, sources);
        return 1;
    }

    int current = 0;
    std::vector<int> tasks;
    bool connected = true;
    DUI::HWND main = 0;
    std::string title = "untouched";
    DUI::Rect button{1130, 750, 1280, 776};
    std::vector<std::pair<int, bool>> resets;
    ModelSources sources;
};

// Records the pop-up's messages and handles a chosen profile as the main
// window does.
class MainWindowStub : public DUI::MDialog {
public:
    explicit MainWindowStub(FakeHost& host) : m_host(host) {}
    DUI::LRESULT OnWindowMessage(DUI::UINT message, DUI::WPARAM wParam, DUI::LPARAM lParam) override {
        if (message != kProfileDialogMessage) return MDialog::OnWindowMessage(message, wParam, lParam);
        messages.emplace_back(wParam, lParam);
        if (wParam == kProfileChosen) chooseProfile(m_host, static_cast<int>(lParam));
        return 1;
    }
    std::vector<Message> messages;

private:
    FakeHost& m_host;
};

class ProfilesTest : public test::PagesFixture {
protected:
    void SetUp() override {
        PagesFixture::SetUp();
        const std::string language = m_root + "/program/language/";
        std::string english = "[LAN]\n61=Preset\n";
        for (int id : {20, 26, 27, 57, 576}) english += std::to_string(id) + "=t" + std::to_string(id) + "\n";
        ASSERT_TRUE(writeFileAtomically(language + "1033.lan", english));
        ASSERT_TRUE(writeFileAtomically(language + "2052.lan", "[LAN]\n61=配置\n"));

        models.writeDescription("lit", kDescription);
        host.sources = models.sources(1);
        ASSERT_TRUE(store().openForModel(models.userFolder(), "lit"));
        main.Create(0, "Main", DUI::WS_POPUP, 0, {0, 0, 1300, 788});
        host.main = main.GetSafeHwnd();
    }

    static SettingsStore& store() { return SettingsStore::instance(); }

    std::string config(int profile, const std::string& key) {
        std::string value;
        store().getConfigValue(profile, key, value);
        return value;
    }
    std::string name(int profile) {
        std::string text;
        store().getProfileName(profile, text);
        return text;
    }
    std::vector<std::string> names() {
        std::vector<ProfileRecord> list;
        store().listProfiles(list);
        std::vector<std::string> result;
        for (const ProfileRecord& r : list) result.push_back(r.name);
        return result;
    }
    void addProfiles(std::initializer_list<const char*> profileNames) {
        for (const char* n : profileNames) ASSERT_GT(store().addProfile(ProfileRecord{0, n, "", 0, 0}), 0);
    }

    // Opens the pop-up with `script` acting in it as the user; the result of
    // openProfilePopup. Messages posted by then are delivered.
    int runPopup(std::function<void(ProfileDlg&)> script) {
        backend.answerModal("ProfileDlg", [script](DUI::MWindow& window) {
            script(dynamic_cast<ProfileDlg&>(window));
        });
        const int result = openProfilePopup(host);
        backend.processEvents();
        return result;
    }

    test::ModelTestFolder models;
    FakeHost host;
    MainWindowStub main{host};
};

TEST_F(ProfilesTest, DisplayNameReplacesAGeneratedPrefixWithTheCurrentLabel) {
    struct Case {
        int language;
        const char* stored;
        const char* shown;
    };
    const Case cases[] = {
        {1033, "Profile 2", "Preset  2"},  // the stored blank stays: two blanks
        {1033, "Profile", "Preset "},
        {1033, "Profiles", "Preset s"},
        {1033, "Profile 配置", "Preset  配置"},
        {1033, "配置 3", "Preset  3"},
        {1033, "配置", "Preset "},
        {1033, "配置文件", "Preset 文件"},
        {1033, "profile 2", "profile 2"},  // letter case counts
        {1033, "PROFILE 2", "PROFILE 2"},
        {1033, "Profil", "Profil"},  // shorter than the prefix
        {1033, "配", "配"},
        {1033, "My Profile 2", "My Profile 2"},
        {1033, "Gaming", "Gaming"},
        {1033, "", ""},
        {2052, "Profile 1", "配置  1"},
        {2052, "配置 4", "配置  4"},
        {2052, "Office", "Office"},
    };
    for (const Case& c : cases) {
        setCurrentLanguageId(c.language);
        EXPECT_EQ(profileDisplayName(c.stored), c.shown) << c.language << " '" << c.stored << "'";
    }
}

TEST_F(ProfilesTest, NewStoreGetsFourDefaultProfilesWithFactoryValues) {
    struct Case {
        int language;
        std::vector<std::string> names;
    };
    const Case cases[] = {
        {1033, {"Preset 1", "Preset 2", "Preset 3", "Preset 4"}},
        {2052, {"配置 1", "配置 2", "配置 3", "配置 4"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.language);
        ASSERT_TRUE(store().openForModel(models.userFolder(), "new" + std::to_string(c.language)));
        setCurrentLanguageId(c.language);
        host.resets.clear();
        host.current = 7;

        EXPECT_TRUE(loadProfiles(host));

        EXPECT_EQ(names(), c.names);
        const std::vector<std::pair<int, bool>> resets{{1, true}, {2, true}, {3, true}, {4, true}};
        EXPECT_EQ(host.resets, resets);
        for (int profile = 1; profile <= 4; ++profile) {
            SCOPED_TRACE(profile);
            EXPECT_EQ(config(profile, "dpi_count"), "3");
            EXPECT_EQ(config(profile, "dpi_index"), "2");
            EXPECT_EQ(config(profile, "dpi_group0_value"), "400");
            EXPECT_EQ(config(profile, "dpi_group2_value"), "1600");
            EXPECT_EQ(config(profile, "report_rate"), "4");
            EXPECT_EQ(config(profile, "sleep_light"), "36");
            // Keys the model does not set keep the store's defaults.
            EXPECT_EQ(config(profile, "dpi_group7_value"), "0");
        }
        EXPECT_EQ(store().getActiveProfile(), 1);
        EXPECT_EQ(host.current, 1);
        EXPECT_EQ(host.title, c.names[0]);
        EXPECT_TRUE(host.tasks.empty());
    }
}

TEST_F(ProfilesTest, LoadingAStoreWithProfilesMakesTheActiveOneCurrent) {
    struct Case {
        const char* name;
        std::vector<const char*> sql;  // applied to a file with four profiles
        int current;
        const char* title;
    };
    const Case cases[] = {
        {"profile 3 active", {"UPDATE t_profile_data SET status = 1 WHERE profile = 3"}, 3, "Third"},
        {"none active", {}, 1, "First"},
        {"renamed and active",
         {"UPDATE t_profile_data SET status = 1, name = 'Office' WHERE profile = 4"}, 4, "Office"},
        // Without profile 1 the first remaining profile takes its place, so
        // the pages never write to a profile that does not exist.
        {"profile 1 gone, none active", {"DELETE FROM t_profile_data WHERE profile = 1"}, 2, "Second"},
        {"two marked active", {"UPDATE t_profile_data SET status = 1 WHERE profile IN (2, 4)"}, 2, "Second"},
    };
    int file = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string stem = "case" + std::to_string(++file);
        ASSERT_TRUE(store().openForModel(models.userFolder(), stem));
        addProfiles({"First", "Second", "Third", "Fourth"});
        store().close();
        {
            test::RawDb raw(models.databasePath(stem));
            ASSERT_TRUE(raw.ok());
            for (const char* statement : c.sql) ASSERT_EQ(raw.exec(statement), 0) << statement;
        }
        ASSERT_TRUE(store().openForModel(models.userFolder(), stem));
        const std::vector<std::string> before = names();
        host.resets.clear();

        EXPECT_TRUE(loadProfiles(host));

        EXPECT_EQ(host.current, c.current);
        EXPECT_EQ(store().getActiveProfile(), c.current);
        EXPECT_EQ(host.title, c.title);
        EXPECT_EQ(names(), before);  // nothing added to a store that has profiles
        EXPECT_TRUE(host.resets.empty());
    }
}

TEST_F(ProfilesTest, AStoreThatCannotBeReadLeavesNoCurrentProfile) {
    store().close();
    host.current = 3;

    EXPECT_FALSE(loadProfiles(host));

    EXPECT_EQ(host.current, 0);
    EXPECT_EQ(host.title, "");
    // No profile was created, so no factory values were written anywhere.
    EXPECT_TRUE(host.resets.empty());
}

TEST_F(ProfilesTest, ChoosingAProfileMakesItCurrentAndActiveAndQueuesTheWrite) {
    addProfiles({"First", "Second", "Third", "Fourth"});
    ASSERT_TRUE(loadProfiles(host));

    chooseProfile(host, 3);
    EXPECT_EQ(host.current, 3);
    EXPECT_EQ(store().getActiveProfile(), 3);
    EXPECT_EQ(host.title, "Third");
    EXPECT_EQ(host.tasks, std::vector<int>{kWriteProfileTask});

    // An identifier the store does not know changes nothing.
    for (int unknown : {0, -1, 9}) {
        chooseProfile(host, unknown);
        EXPECT_EQ(host.current, 3) << unknown;
        EXPECT_EQ(store().getActiveProfile(), 3) << unknown;
        EXPECT_EQ(host.title, "Third") << unknown;
        EXPECT_EQ(host.tasks.size(), 1u) << unknown;
    }
}

TEST_F(ProfilesTest, WithoutAConnectedDeviceOnlyTheNoticeShows) {
    addProfiles({"First", "Second"});
    host.connected = false;
    std::string caption;
    std::string text;
    DUI::HWND owner = 1;
    backend.answerModal("MessageBox", [&](DUI::MWindow& window) {
        auto& box = dynamic_cast<CUIMessageBox&>(window);
        caption = box.GetControlAs<DUI::MText>(CUIMessageBox::kCaptionId)->GetTitle();
        text = box.GetControlAs<DUI::MText>(CUIMessageBox::kTextId)->GetTitle();
        owner = box.GetOwner();
        EXPECT_NE(box.GetControl(CUIMessageBox::kFirstButtonId), nullptr);
        EXPECT_EQ(box.GetControl(CUIMessageBox::kSecondButtonId), nullptr);
        box.DoOK();
    });

    EXPECT_EQ(openProfilePopup(host), 0);

    EXPECT_EQ(caption, "t576");
    EXPECT_EQ(text, "t57");
    EXPECT_EQ(owner, main.GetSafeHwnd());
    const auto log = backend.modalLog();
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log[0].title, "MessageBox");
    EXPECT_TRUE(main.messages.empty());
}

TEST_F(ProfilesTest, PopupSitsAboveTheButtonAndListsTheProfiles) {
    addProfiles({"Profile 1", "Gaming", "配置 3", "Office"});
    host.current = 3;
    const int result = runPopup([&](ProfileDlg& popup) {
        EXPECT_EQ(popup.GetTitle(), "ProfileDlg");
        EXPECT_EQ(popup.GetOwner(), main.GetSafeHwnd());
        EXPECT_EQ(popup.GetStyle(), 0x96000000u);
        EXPECT_EQ(popup.GetExStyle(), 0u);
        EXPECT_EQ(popup.GetWindowRect(), (DUI::Rect{1130, 540, 1280, 745}));

        auto* frame = popup.GetControlAs<DUI::MPicture>(ProfileDlg::kBackgroundId);
        ASSERT_NE(frame, nullptr);
        EXPECT_EQ(frame->GetRect(), (DUI::Rect{10, 10, 140, 160}));
        EXPECT_EQ(frame->GetImage(), "img_area_content.png");
        EXPECT_EQ(frame->GetShowMode(), 3);
        EXPECT_EQ(frame->GetShowValue(), 10);

        auto* list = popup.GetControlAs<DUI::DListBox>(ProfileDlg::kListId);
        ASSERT_NE(list, nullptr);
        EXPECT_EQ(list->GetRect(), (DUI::Rect{10, 10, 140, 160}));
        EXPECT_TRUE(list->IsEditable());
        EXPECT_EQ(list->GetFontWidth(), 14);
        const std::vector<std::pair<std::string, std::intptr_t>> expected{
            {"Preset  1", 1}, {"Gaming", 2}, {"Preset  3", 3}, {"Office", 4}};
        std::vector<std::pair<std::string, std::intptr_t>> rows;
        for (int i = 0; i < list->GetItemCount(); ++i) rows.emplace_back(list->GetItemText(i), list->GetItemData(i));
        EXPECT_EQ(rows, expected);
        EXPECT_EQ(list->GetCurSel(), 2);

        const struct {
            int id;
            DUI::Rect rect;
            const char* text;
        } buttons[] = {{ProfileDlg::kImportId, {10, 170, 70, 198}, "t26"},
                       {ProfileDlg::kExportId, {80, 170, 140, 198}, "t27"}};
        for (const auto& b : buttons) {
            auto* button = popup.GetControlAs<DUI::MButton>(b.id);
            ASSERT_NE(button, nullptr) << b.id;
            EXPECT_EQ(button->GetRect(), b.rect) << b.id;
            EXPECT_EQ(button->GetTitle(), b.text) << b.id;
            EXPECT_EQ(button->GetImage(), "img_button.png") << b.id;
        }
        popup.DoCancel();
    });
    EXPECT_EQ(result, 1);
    EXPECT_TRUE(main.messages.empty());
    EXPECT_EQ(store().getActiveProfile(), 0);  // looking changes nothing
}

// What the user does in the pop-up, opened on profile 1 of four; the main
// window handles a chosen profile as it does in the program.
TEST_F(ProfilesTest, ActionsInThePopupReachTheStoreAndTheMainWindow) {
    using Script = std::function<void(ProfileDlg&, DUI::HeadlessBackend&, DUI::HeadlessUser&)>;
    struct Case {
        const char* name;
        Script script;
        std::vector<Message> messages;
        int current;                    // afterwards
        std::vector<int> tasks;
        std::vector<std::string> names;  // stored afterwards
        bool closed;
    };
    const auto outside = [](ProfileDlg& p, DUI::HeadlessBackend& b, DUI::HeadlessUser&) { b.deactivate(p); };
    const auto edit = [](int index, const char* text) {
        return [index, text](ProfileDlg& p, DUI::HeadlessBackend&, DUI::HeadlessUser& u) {
            EXPECT_TRUE(u.editItem(p, ProfileDlg::kListId, index, text));
        };
    };
    const auto both = [](Script first, Script second) {
        return [first, second](ProfileDlg& p, DUI::HeadlessBackend& b, DUI::HeadlessUser& u) {
            first(p, b, u);
            second(p, b, u);
        };
    };
    const auto choose = [](int index) {
        return [index](ProfileDlg& p, DUI::HeadlessBackend&, DUI::HeadlessUser& u) {
            EXPECT_TRUE(u.choose(p, ProfileDlg::kListId, index));
        };
    };
    const auto click = [](int id) {
        return [id](ProfileDlg& p, DUI::HeadlessBackend&, DUI::HeadlessUser& u) { EXPECT_TRUE(u.click(p, id)); };
    };
    const std::vector<std::string> stored{"Profile 1", "Profile 2", "Mine", "Profile 4"};
    const auto with = [&](int index, const std::string& text) {
        std::vector<std::string> n = stored;
        n[static_cast<std::size_t>(index)] = text;
        return n;
    };

    const Case cases[] = {
        {"choose an entry", choose(2), {{0, 3}}, 3, {5}, stored, true},
        {"import", click(ProfileDlg::kImportId), {{1, 1}}, 1, {}, stored, true},
        {"export", click(ProfileDlg::kExportId), {{2, 1}}, 1, {}, stored, true},
        {"click outside", outside, {}, 1, {}, stored, true},
        {"rename, then click outside", both(edit(1, "Work"), outside), {{0, 2}}, 2, {5}, with(1, "Work"), true},
        {"rename stays open", edit(3, "Games"), {}, 1, {}, with(3, "Games"), false},
        {"rename, then export", both(edit(1, "Work"), click(ProfileDlg::kExportId)), {{0, 2}, {2, 2}}, 2, {5},
         with(1, "Work"), true},
        {"rename, then choose another", both(edit(1, "Work"), choose(3)), {{0, 4}}, 4, {5}, with(1, "Work"), true},
        {"empty name, then click outside", both(edit(1, ""), outside), {}, 1, {}, stored, true},
        // The entry shows "Preset  2"; keeping that text is no rename.
        {"edit left unchanged, then click outside", both(edit(1, "Preset  2"), outside), {}, 1, {}, stored, true},
        // An editor still open when the click outside hides the pop-up ends
        // after the loss of activation; its name still counts.
        {"editor ends after the click outside",
         [](ProfileDlg& p, DUI::HeadlessBackend& b, DUI::HeadlessUser&) {
             b.deactivate(p);
             p.GetControlAs<DUI::DListBox>(ProfileDlg::kListId)->userEditItem(2, "Late");
         },
         {{0, 3}}, 3, {5}, with(2, "Late"), true},
    };
    int file = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(store().openForModel(models.userFolder(), "popup" + std::to_string(++file)));
        addProfiles({"Profile 1", "Profile 2", "Mine", "Profile 4"});
        ASSERT_TRUE(loadProfiles(host));
        main.messages.clear();
        host.tasks.clear();
        bool closed = false;

        const int result = runPopup([&](ProfileDlg& popup) {
            c.script(popup, backend, user);
            closed = popup.IsModalEnded();
            if (!closed) popup.DoCancel();
        });

        EXPECT_EQ(result, 1);
        EXPECT_EQ(closed, c.closed);
        EXPECT_EQ(main.messages, c.messages);
        EXPECT_EQ(host.current, c.current);
        EXPECT_EQ(store().getActiveProfile(), c.current);
        EXPECT_EQ(host.title, name(c.current));
        EXPECT_EQ(host.tasks, c.tasks);
        EXPECT_EQ(names(), c.names);
    }
}

TEST_F(ProfilesTest, RefusedEditsShowTheStoredNameAgain) {
    addProfiles({"Profile 1", "Gaming"});
    ASSERT_TRUE(loadProfiles(host));
    runPopup([&](ProfileDlg& popup) {
        auto* list = popup.GetControlAs<DUI::DListBox>(ProfileDlg::kListId);
        EXPECT_TRUE(user.editItem(popup, ProfileDlg::kListId, 1, ""));
        EXPECT_EQ(list->GetItemText(1), "Gaming");
        EXPECT_FALSE(popup.renamed());

        // A store that fails the rename: the entry goes back to its name too.
        store().close();
        EXPECT_TRUE(user.editItem(popup, ProfileDlg::kListId, 0, "Other"));
        EXPECT_EQ(list->GetItemText(0), "Preset  1");
        EXPECT_FALSE(popup.renamed());
        popup.DoCancel();
    });
}

}  // namespace
}  // namespace quorvik
