// A dialog for the toolkit tests: records every control notification, posted
// user message and timer, and lets a test build its controls and react.
#pragma once

#include "ui/toolkit/MDialog.h"
#include "ui/toolkit/Messages.h"

#include <cstdint>
#include <functional>
#include <ostream>
#include <vector>

namespace DUI::test {

struct Note {
    int id = 0;
    int code = 0;
    std::intptr_t param = 0;
    bool operator==(const Note&) const = default;
};

inline std::ostream& operator<<(std::ostream& out, const Note& n) {
    return out << "{" << n.id << ", " << n.code << ", " << n.param << "}";
}

struct Posted {
    UINT message = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
    bool operator==(const Posted&) const = default;
};

inline std::ostream& operator<<(std::ostream& out, const Posted& p) {
    return out << "{" << p.message << ", " << p.wParam << ", " << p.lParam << "}";
}

class TestDialog : public MDialog {
public:
    std::function<void(TestDialog&)> build;
    std::function<int(TestDialog&, int id, int code, std::intptr_t param)> react;
    std::function<void(TestDialog&, std::uintptr_t id)> timer;
    std::function<void(TestDialog&, bool active)> activation;
    std::function<void(TestDialog&, LPARAM handle)> keyInput;

    std::vector<Note> notes;
    std::vector<Posted> posted;
    std::vector<std::uintptr_t> timers;
    std::vector<Rect> sizes;
    int initCount = 0;

    int OnInitDialog() override {
        ++initCount;
        return MDialog::OnInitDialog();
    }
    void InitUI() override {
        if (build) build(*this);
    }
    void UISize(const Rect& client) override { sizes.push_back(client); }
    int OnMessage(int id, int code, std::intptr_t param) override {
        notes.push_back({id, code, param});
        return react ? react(*this, id, code, param) : 0;
    }
    int OnNcActivate(bool active) override {
        if (activation) activation(*this, active);
        return 1;
    }
    void OnTimer(std::uintptr_t id) override {
        timers.push_back(id);
        if (timer) timer(*this, id);
    }
    LRESULT OnWindowMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_INPUT && keyInput) keyInput(*this, lParam);
        if (message >= WM_USER || message == WM_COMMAND) posted.push_back({message, wParam, lParam});
        return MDialog::OnWindowMessage(message, wParam, lParam);
    }

    // Creates the window (hidden) with the given title and size.
    HWND open(const std::string& title, int width = 400, int height = 300, HWND owner = 0) {
        return Create(owner, title, WS_POPUP, 0, Rect{0, 0, width, height});
    }
};

}  // namespace DUI::test
