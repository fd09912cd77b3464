// Reads and writes of the settings file, serialised by one process-wide lock
// so a value written by the worker and one written by the window thread at the
// same moment both survive.
#include "app/config/RegistryValues.h"

#include "app/config/AppFolders.h"
#include "app/config/SettingsFile.h"
#include "base/FileIo.h"
#include "base/Text.h"

#include <fcntl.h>
#include <unistd.h>
#include <cerrno>
#include <mutex>

namespace quorvik {
namespace {

// A value is read into a buffer of 255 bytes of 16-bit characters: texts of
// 127 characters or more (with their terminating zero) do not fit and read as
// a missing value.
constexpr std::size_t kMaxValueCharacters = 126;

std::mutex& settingsMutex() {
    static std::mutex mutex;
    return mutex;
}

// Creates the settings file empty unless something already exists there.
// True when the file exists afterwards.
bool createEmptyFile(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash != std::string::npos && slash > 0 && !createFolderPath(path.substr(0, slash))) return false;
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd >= 0) {
        ::close(fd);
        return true;
    }
    return errno == EEXIST;
}

}  // namespace

RegistryRead readRegistryValue(std::string_view name, KeyOpen open) {
    std::lock_guard lock(settingsMutex());
    const std::string path = settingsFilePath();
    RegistryRead result;
    SettingsFile file = SettingsFile::load(path);
    if (file.status() == SettingsFile::Status::Missing) {
        if (open == KeyOpen::OpenExisting) {
            result.key = KeyState::Missing;
            return result;
        }
        if (!createEmptyFile(path)) {
            result.key = KeyState::Unopenable;
            return result;
        }
        // Another process may have created it with contents in between.
        file = SettingsFile::load(path);
        if (file.status() != SettingsFile::Status::Loaded) {
            result.key = KeyState::Unopenable;
            return result;
        }
        result.key = file.text().empty() ? KeyState::Created : KeyState::Opened;
    } else if (file.status() == SettingsFile::Status::Unreadable) {
        result.key = KeyState::Unopenable;
        return result;
    } else {
        result.key = KeyState::Opened;
    }
    std::optional<std::string> text = file.value(name);
    if (text && codePointCount(*text) <= kMaxValueCharacters) {
        result.value = wtoi(*text);
        result.text = std::move(text);
    }
    return result;
}

int readRegistryInt(std::string_view name) {
    const KeyOpen open = name == "DeviceType" ? KeyOpen::OpenExisting : KeyOpen::CreateIfMissing;
    return readRegistryValue(name, open).value;
}

bool writeRegistryInt(std::string_view name, int value) {
    std::lock_guard lock(settingsMutex());
    const std::string path = settingsFilePath();
    SettingsFile file = SettingsFile::load(path);
    if (file.status() != SettingsFile::Status::Loaded) return false;
    if (!file.setValue(name, format("%d", value))) return false;
    return writeFileAtomically(path, file.text());
}

}  // namespace quorvik
