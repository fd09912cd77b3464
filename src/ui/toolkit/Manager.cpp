// Toolkit-wide settings behind one mutex; the device name is set once at
// start-up but read from both threads.
#include "ui/toolkit/Manager.h"

#include <mutex>

namespace DUI {
namespace {

struct State {
    std::mutex mutex;
    void* instance = nullptr;
    std::string deviceName = "Quorvik";
    std::string theme = "default";
    std::string fontName = "Open Sans Semibold";
    std::string skinFolder;
};

State& state() {
    static State s;
    return s;
}

}  // namespace

void Manager::SetInstance(void* instance) {
    std::lock_guard lock(state().mutex);
    state().instance = instance;
}

void* Manager::GetInstance() {
    std::lock_guard lock(state().mutex);
    return state().instance;
}

void Manager::SetDeviceName(const std::string& name) {
    std::lock_guard lock(state().mutex);
    state().deviceName = name;
}

std::string Manager::GetDeviceName() {
    std::lock_guard lock(state().mutex);
    return state().deviceName;
}

void Manager::SetTheme(const std::string& theme) {
    std::lock_guard lock(state().mutex);
    state().theme = theme;
}

std::string Manager::GetTheme() {
    std::lock_guard lock(state().mutex);
    return state().theme;
}

void Manager::SetFontName(const std::string& fontName) {
    std::lock_guard lock(state().mutex);
    state().fontName = fontName;
}

std::string Manager::GetFontName() {
    std::lock_guard lock(state().mutex);
    return state().fontName;
}

void Manager::SetSkinFolder(const std::string& folder) {
    std::lock_guard lock(state().mutex);
    state().skinFolder = folder;
}

std::string Manager::GetSkinFolder() {
    std::lock_guard lock(state().mutex);
    return state().skinFolder;
}

}  // namespace DUI
