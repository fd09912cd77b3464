// Test fixture helper: a temporary home for one test. It points the program
// folder, $XDG_CONFIG_HOME and $XDG_DATA_HOME into a fresh temporary folder,
// sets a test device name, and puts everything back afterwards.
#pragma once

#include "app/config/AppFolders.h"
#include "base/FileIo.h"
#include "ui/toolkit/Manager.h"

#include <cstdlib>
#include <optional>
#include <string>

namespace quorvik::test {

class TempHome {
public:
    TempHome() {
        char pattern[] = "/tmp/quorvik-config-XXXXXX";
        m_root = ::mkdtemp(pattern) != nullptr ? std::string(pattern)
                                               : std::string("/tmp/quorvik-config-fallback");
        m_savedConfigHome = saved("XDG_CONFIG_HOME");
        m_savedDataHome = saved("XDG_DATA_HOME");
        m_savedDeviceName = DUI::Manager::GetDeviceName();
        ::setenv("XDG_CONFIG_HOME", (m_root + "/config").c_str(), 1);
        ::setenv("XDG_DATA_HOME", (m_root + "/data").c_str(), 1);
        createFolderPath(programFolder());
        setProgramFolderOverride(programFolder());
        DUI::Manager::SetDeviceName("QuorvikTest");
    }

    ~TempHome() {
        setProgramFolderOverride("");
        restore("XDG_CONFIG_HOME", m_savedConfigHome);
        restore("XDG_DATA_HOME", m_savedDataHome);
        DUI::Manager::SetDeviceName(m_savedDeviceName);
        std::system(("rm -rf '" + m_root + "'").c_str());
    }

    TempHome(const TempHome&) = delete;
    TempHome& operator=(const TempHome&) = delete;

    const std::string& root() const { return m_root; }
    std::string programFolder() const { return m_root + "/program/"; }
    std::string configHome() const { return m_root + "/config"; }
    std::string settingsFolder() const { return configHome() + "/QuorvikTest"; }
    std::string settingsPath() const { return settingsFolder() + "/settings.conf"; }

    // Writes a file below the program folder, creating its folders.
    bool writeProgramFile(const std::string& relativePath, const std::string& bytes) const {
        const std::string path = programFolder() + relativePath;
        createFolderPath(path.substr(0, path.rfind('/')));
        return writeFileAtomically(path, bytes);
    }

    // Writes the settings file, creating its folder.
    bool writeSettings(const std::string& bytes) const {
        createFolderPath(settingsFolder());
        return writeFileAtomically(settingsPath(), bytes);
    }

    std::optional<std::string> readSettings() const { return readWholeFile(settingsPath()); }

private:
    static std::optional<std::string> saved(const char* name) {
        const char* value = std::getenv(name);
        return value != nullptr ? std::optional<std::string>(value) : std::nullopt;
    }
    static void restore(const char* name, const std::optional<std::string>& value) {
        if (value)
            ::setenv(name, value->c_str(), 1);
        else
            ::unsetenv(name);
    }

    std::string m_root;
    std::optional<std::string> m_savedConfigHome;
    std::optional<std::string> m_savedDataHome;
    std::string m_savedDeviceName;
};

}  // namespace quorvik::test
