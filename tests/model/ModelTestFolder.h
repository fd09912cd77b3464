// Test fixture helper: a temporary program folder (device/ and skins/) and user
// data folder (db/) with two configured models, "lit" (device type 1) and
// "plain" (device type 2), and sources that read them. The settings store is
// closed again when the folder goes.
#pragma once

#include "base/FileIo.h"
#include "model/ModelSources.h"
#include "store/SettingsStore.h"
#include "ui/toolkit/Manager.h"

#include <unistd.h>
#include <cstdlib>
#include <string>

namespace quorvik::test {

class ModelTestFolder {
public:
    ModelTestFolder() {
        char pattern[] = "/tmp/quorvik-model-XXXXXX";
        m_root =
            ::mkdtemp(pattern) != nullptr ? std::string(pattern) : std::string("/tmp/quorvik-model-fallback");
        createFolderPath(programFolder() + "device");
        createFolderPath(skinFolder() + "device");
        createFolderPath(userFolder() + "db");
        m_savedSkin = DUI::Manager::GetSkinFolder();
        DUI::Manager::SetSkinFolder(skinFolder());
    }
    ~ModelTestFolder() {
        SettingsStore::instance().close();
        DUI::Manager::SetSkinFolder(m_savedSkin);
        std::system(("rm -rf '" + m_root + "'").c_str());
    }
    ModelTestFolder(const ModelTestFolder&) = delete;
    ModelTestFolder& operator=(const ModelTestFolder&) = delete;

    std::string programFolder() const { return m_root + "/program/"; }
    std::string skinFolder() const { return m_root + "/skin/"; }
    std::string userFolder() const { return m_root + "/user/"; }

    // Writes program/device/<stem>.xml.
    void writeDescription(const std::string& stem, const std::string& text) const {
        writeFileAtomically(programFolder() + "device/" + stem + ".xml", text);
    }

    // Writes a PNG header of the given size as skin/device/<name>; only the
    // header is read to size a picture.
    void writePicture(const std::string& name, int width, int height) const {
        std::string png("\x89PNG\r\n\x1a\n\0\0\0\x0dIHDR", 16);
        for (int v : {width, height})
            for (int shift = 24; shift >= 0; shift -= 8) png += static_cast<char>((v >> shift) & 0xFF);
        png += std::string(17, '\0');
        writeFileAtomically(skinFolder() + "device/" + name, png);
    }

    // Sources selecting `deviceType`; texts are "T<id>", and id 999 has none.
    ModelSources sources(int deviceType) const {
        ModelSources s;
        s.programFolder = programFolder();
        s.userDataFolder = userFolder();
        DeviceModelEntry lit;
        lit.name = "Lit Mouse";
        lit.device_type = 1;
        lit.device_attr = "lit";
        DeviceModelEntry plain;
        plain.name = "Plain Mouse";
        plain.device_type = 2;
        plain.device_attr = "plain";
        s.models = {lit, plain};
        s.deviceType = deviceType;
        s.text = [](int id) { return id == 999 ? std::string() : "T" + std::to_string(id); };
        s.store = &SettingsStore::instance();
        return s;
    }

    std::string databasePath(const std::string& stem) const {
        return userFolder() + "db/" + stem + "_data1.db";
    }

private:
    std::string m_root;
    std::string m_savedSkin;
};

}  // namespace quorvik::test
