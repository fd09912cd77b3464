// Fuzzes the two line formats of the configuration layer: language files
// (IniFile, any bytes and encodings) and the settings file. Checks that texts
// come back as valid UTF-8, and that setting one value never changes another.
#include "app/config/IniFile.h"
#include "app/config/SettingsFile.h"
#include "base/Text.h"

#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);

    const quorvik::IniFile file = quorvik::IniFile::parse(bytes);
    for (const char* key : {"1", "17", "61", "a", ""}) {
        const std::optional<std::string> text = file.value("LAN", key);
        if (text && !quorvik::isValidUtf8(*text)) std::abort();
    }

    quorvik::SettingsFile settings = quorvik::SettingsFile::fromText(bytes);
    const std::optional<std::string> otherBefore = settings.value("exit_mode");
    if (!settings.setValue("LCID", "1033")) std::abort();
    if (settings.value("LCID") != "1033") std::abort();
    if (settings.value("exit_mode") != otherBefore) std::abort();
    return 0;
}
