// The profile pop-up: a list of the model's profiles above the profile button,
// where the user chooses a profile, renames one in place, or starts an import
// or export. It reports every decision to the main window with
// kProfileDialogMessage and closes when the user chooses, clicks a button or
// clicks anywhere outside it.
#pragma once

#include "ui/toolkit/MDialog.h"

#include <string>
#include <vector>

namespace quorvik {

class SettingsStore;

class ProfileDlg : public DUI::MDialog {
public:
    static constexpr int kBackgroundId = 30;
    static constexpr int kListId = 31;
    static constexpr int kImportId = 32;
    static constexpr int kExportId = 33;

    // `profile` is selected in the list when it opens; `notify` receives the
    // pop-up's messages.
    ProfileDlg(SettingsStore& store, int profile, DUI::HWND notify);

    // The profile the pop-up was opened with, or the last one renamed.
    int profile() const { return m_profile; }
    bool renamed() const { return m_renamed; }

    void InitUI() override;
    int OnMessage(int id, int code, std::intptr_t param) override;
    int OnNcActivate(bool active) override;

private:
    void fillList();
    void onEditEnded();
    void onFileButton(DUI::WPARAM request);
    enum class Closed { No, ByUser, ByDeactivation };

    // Takes the focus from the list and ends the modal run; later activation
    // changes and clicks do nothing.
    void close(Closed how);
    void post(DUI::WPARAM request, int profile);

    SettingsStore& m_store;
    DUI::HWND m_notify = 0;
    int m_profile = 0;
    bool m_renamed = false;
    Closed m_closed = Closed::No;
    // The text each entry was filled with, to tell an edit that changed
    // nothing from a rename.
    std::vector<std::string> m_shownNames;
};

}  // namespace quorvik
