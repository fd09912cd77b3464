// Folder builders. The executable's folder is looked up once; the XDG folders
// and the device name are read at every call so a changed name takes effect.
#include "app/config/AppFolders.h"

#include "base/FileIo.h"
#include "ui/toolkit/Manager.h"

#include <pwd.h>
#include <unistd.h>
#include <climits>
#include <cstdlib>
#include <mutex>

#ifndef QUORVIK_DATA_DIR
#define QUORVIK_DATA_DIR "/usr/local/share/quorvik/"
#endif

namespace quorvik {
namespace {

std::string withTrailingSlash(std::string folder) {
    if (!folder.empty() && folder.back() != '/') folder += '/';
    return folder;
}

struct OverrideState {
    std::mutex mutex;
    std::string folder;
};

OverrideState& overrideState() {
    static OverrideState state;
    return state;
}

// Folder of /proc/self/exe with a trailing '/', empty when it cannot be read.
const std::string& executableFolder() {
    static const std::string folder = [] {
        char buffer[PATH_MAX];
        const ssize_t n = ::readlink("/proc/self/exe", buffer, sizeof buffer - 1);
        if (n <= 0) return std::string();
        const std::string path(buffer, static_cast<std::size_t>(n));
        const std::size_t slash = path.rfind('/');
        return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
    }();
    return folder;
}

std::string homeFolder() {
    const char* home = std::getenv("HOME");
    if (home != nullptr && home[0] == '/') return home;
    struct passwd entry {};
    struct passwd* result = nullptr;
    char buffer[4096];
    if (::getpwuid_r(::getuid(), &entry, buffer, sizeof buffer, &result) == 0 && result != nullptr &&
        result->pw_dir != nullptr)
        return result->pw_dir;
    return "/tmp";
}

// An XDG base folder: the variable when it holds an absolute path (relative
// values are invalid and ignored), otherwise the home-relative default.
std::string xdgFolder(const char* variable, const char* homeRelativeDefault) {
    const char* value = std::getenv(variable);
    std::string folder =
        (value != nullptr && value[0] == '/') ? std::string(value) : homeFolder() + "/" + homeRelativeDefault;
    while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
    return folder;
}

}  // namespace

std::string ProgramFolder() {
    {
        OverrideState& state = overrideState();
        std::lock_guard lock(state.mutex);
        if (!state.folder.empty()) return state.folder;
    }
    const std::string& exeFolder = executableFolder();
    if (!exeFolder.empty() && fileExists(exeFolder + "config.xml")) return exeFolder;
    return withTrailingSlash(QUORVIK_DATA_DIR);
}

void setProgramFolderOverride(const std::string& folder) {
    OverrideState& state = overrideState();
    std::lock_guard lock(state.mutex);
    state.folder = withTrailingSlash(folder);
}

std::string SkinFolder() {
    return ProgramFolder() + "skins/" + DUI::Manager::GetTheme() + "/";
}

std::string devicePathComponent(const std::string& deviceName) {
    std::string name = deviceName;
    for (char& c : name)
        if (c == '/' || c == '\0') c = '_';
    if (name.empty() || name == "." || name == "..") name.insert(0, "_");
    return name;
}

std::string UserDataFolder() {
    return xdgFolder("XDG_DATA_HOME", ".local/share") + "/" +
           devicePathComponent(DUI::Manager::GetDeviceName()) + " Files/";
}

std::string settingsFilePath() {
    return xdgFolder("XDG_CONFIG_HOME", ".config") + "/" +
           devicePathComponent(DUI::Manager::GetDeviceName()) + "/settings.conf";
}

}  // namespace quorvik
