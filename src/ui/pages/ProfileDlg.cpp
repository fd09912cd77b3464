// The profile pop-up (see ProfileDlg.h). Every decision leaves as a message
// to the main window; the pop-up itself only renames profiles in the store.
#include "ui/pages/ProfileDlg.h"

#include "app/config/LanguageTexts.h"
#include "store/SettingsStore.h"
#include "ui/pages/Profiles.h"
#include "ui/toolkit/DListBox.h"
#include "ui/toolkit/MButton.h"
#include "ui/toolkit/MPicture.h"

namespace quorvik {
namespace {

constexpr int kMargin = 10;
constexpr int kButtonStripHeight = 45;  // below the list: buttons and their gaps
constexpr int kImportText = 26;
constexpr int kExportText = 27;

}  // namespace

ProfileDlg::ProfileDlg(SettingsStore& store, int profile, DUI::HWND notify)
    : m_store(store), m_notify(notify), m_profile(profile) {}

void ProfileDlg::InitUI() {
    const DUI::Rect client = GetClientRect();
    const int r = client.right;
    const int b = client.bottom;
    const int middle = client.Width() / 2;
    const DUI::Rect listRect{kMargin, kMargin, r - kMargin, b - kButtonStripHeight};

    if (auto* frame = dynamic_cast<DUI::MPicture*>(CreateControl("MPicture", kBackgroundId, listRect))) {
        frame->SetImage("img_area_content.png", 1);
        frame->SetShowMode(3, 10);
    }
    if (auto* list = dynamic_cast<DUI::DListBox*>(CreateControl("DListBox", kListId, listRect))) {
        list->SetFontWidth(14);
        list->SetAlignment(1);
        list->SetImage("img_list_bkg.png", 2);
        list->SetEditable(true);
    }
    const struct {
        int id;
        DUI::Rect rect;
        int text;
    } buttons[] = {
        {kImportId, {kMargin, b - 35, middle - 5, b - 7}, kImportText},
        {kExportId, {middle + 5, b - 35, r - kMargin, b - 7}, kExportText},
    };
    for (const auto& entry : buttons) {
        if (auto* button = dynamic_cast<DUI::MButton*>(CreateControl("MButton", entry.id, entry.rect))) {
            button->SetTitle(LangString("LAN", entry.text));
            button->SetImage("img_button.png", 4);
        }
    }
    fillList();
}

void ProfileDlg::fillList() {
    auto* list = GetControlAs<DUI::DListBox>(kListId);
    if (list == nullptr) return;
    std::vector<ProfileRecord> profiles;
    m_store.listProfiles(profiles);
    list->DeleteAllItems();
    m_shownNames.clear();
    for (const ProfileRecord& record : profiles) {
        m_shownNames.push_back(profileDisplayName(record.name));
        list->AddString(m_shownNames.back(), record.profile, -1);
    }
    list->SetCurData(m_profile);
}

int ProfileDlg::OnMessage(int id, int code, std::intptr_t /*param*/) {
    if (id == kListId && code == DUI::kNotifyKillFocus) {
        onEditEnded();
    } else if (m_closed != Closed::No) {
        return 0;
    } else if (id == kListId && code == DUI::kNotifyClick) {
        auto* list = GetControlAs<DUI::DListBox>(kListId);
        const int chosen = static_cast<int>(list->GetCurData());
        post(kProfileChosen, chosen);
        close(Closed::ByUser);
    } else if (id == kImportId && code == DUI::kNotifyClick) {
        onFileButton(kProfileImport);
    } else if (id == kExportId && code == DUI::kNotifyClick) {
        onFileButton(kProfileExport);
    }
    return 0;
}

void ProfileDlg::onEditEnded() {
    auto* list = GetControlAs<DUI::DListBox>(kListId);
    const int index = list->GetCurSel();
    if (index < 0 || index >= static_cast<int>(m_shownNames.size())) return;
    const std::string text = list->GetItemText(index);
    const std::string& shown = m_shownNames[static_cast<std::size_t>(index)];
    // Ending an edit without changing the text must not store the shown name:
    // that would write the current language's label, and a second blank, into
    // a generated name each time.
    if (text == shown) return;
    const int profile = static_cast<int>(list->GetItemData(index));
    // An empty name is refused; the entry shows the name that stays stored.
    if (text.empty() || !m_store.renameProfile(profile, text)) {
        list->SetItemText(index, shown);
        return;
    }
    m_shownNames[static_cast<std::size_t>(index)] = text;
    m_profile = profile;
    m_renamed = true;
    // An editor still open when a click outside closed the pop-up ends while
    // the window hides: the name was typed before that click, so it makes the
    // profile current as a rename followed by the click does.
    if (m_closed == Closed::ByDeactivation) post(kProfileChosen, profile);
}

void ProfileDlg::onFileButton(DUI::WPARAM request) {
    auto* list = GetControlAs<DUI::DListBox>(kListId);
    const int selected = static_cast<int>(list->GetCurData());
    if (m_renamed) post(kProfileChosen, selected);
    post(request, selected);
    close(Closed::ByUser);
}

int ProfileDlg::OnNcActivate(bool active) {
    if (!active && m_closed == Closed::No) {
        if (m_renamed) post(kProfileChosen, m_profile);
        close(Closed::ByDeactivation);
    }
    return MDialog::OnNcActivate(active);
}

void ProfileDlg::close(Closed how) {
    m_closed = how;
    if (auto* list = GetControlAs<DUI::DListBox>(kListId)) list->OnFocus(false);
    DoOK();
}

void ProfileDlg::post(DUI::WPARAM request, int profile) {
    DUI::MWindow::PostMessage(m_notify, kProfileDialogMessage, request, profile);
}

}  // namespace quorvik
