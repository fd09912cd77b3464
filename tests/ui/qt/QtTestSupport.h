// Shared set-up of the Qt backend tests: one off-screen QApplication for the
// process (QT_QPA_PLATFORM=offscreen unless the caller chose a platform), the
// repository's skin and fonts, and a dialog that builds its controls from a
// function and records what they tell it.
#pragma once

#include "ui/toolkit/MDialog.h"
#include "ui/toolkit/Manager.h"

#include <QApplication>

#include <cstdint>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

namespace DUI::test {

inline QApplication& qtApp() {
    static int argc = 1;
    static char name[] = "quorvik-qt-test";
    static char* argv[] = {name, nullptr};
    if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    static QApplication* app = [] {
        auto* a = new QApplication(argc, argv);
        Manager::SetTheme("default");
        Manager::SetSkinFolder(std::string(QUORVIK_SOURCE_DIR) + "/data/skins/" + Manager::GetTheme() + "/");
        Manager::SetFontName("Open Sans Semibold");
        Manager::SetDeviceName("Quorvik");
        return a;
    }();
    return *app;
}

struct Note {
    int id = 0;
    int code = 0;
    std::intptr_t param = 0;
    bool operator==(const Note&) const = default;
};

class BuiltDialog : public MDialog {
public:
    std::function<void(BuiltDialog&)> build;
    std::function<void(LPARAM)> keyInput;
    std::function<void(BuiltDialog&, const Note&)> react;
    std::vector<Note> notes;

    void InitUI() override {
        if (build) build(*this);
    }
    int OnMessage(int id, int code, std::intptr_t param) override {
        notes.push_back({id, code, param});
        if (react) react(*this, notes.back());
        return 0;
    }
    LRESULT OnWindowMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_INPUT && keyInput) keyInput(lParam);
        return MDialog::OnWindowMessage(message, wParam, lParam);
    }
};

}  // namespace DUI::test
