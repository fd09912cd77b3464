// Start-up language choice and the locale-to-language mapping.
#include "app/config/LanguageChoice.h"

#include "app/config/AppConfig.h"
#include "app/config/LanguageTexts.h"
#include "app/config/RegistryValues.h"
#include "base/Text.h"

#include <cstdlib>
#include <vector>

namespace quorvik {
namespace {

constexpr int kEnglish = 1033;
constexpr int kSimplifiedChinese = 2052;
constexpr int kTraditionalChinese = 1028;

// Splits "zh_Hant_TW" or "zh-TW" into its parts.
std::vector<std::string> localeParts(std::string_view locale) {
    std::vector<std::string> parts;
    std::string part;
    for (char c : locale) {
        if (c == '_' || c == '-') {
            parts.push_back(asciiLower(part));
            part.clear();
        } else {
            part += c;
        }
    }
    parts.push_back(asciiLower(part));
    return parts;
}

}  // namespace

int languageIdForLocale(std::string_view locale) {
    // Drop the codeset and the modifier: "zh_CN.UTF-8@pinyin" -> "zh_CN".
    locale = locale.substr(0, locale.find_first_of(".@"));
    const std::vector<std::string> parts = localeParts(locale);
    const std::string& language = parts.front();
    if (language == "en") return kEnglish;
    if (language == "ja") return 1041;
    if (language == "ko") return 1042;
    if (language == "uk") return 1058;
    if (language == "zh") {
        for (std::size_t i = 1; i < parts.size(); ++i) {
            if (parts[i] == "cn" || parts[i] == "sg" || parts[i] == "hans") return kSimplifiedChinese;
            if (parts[i] == "tw" || parts[i] == "hk" || parts[i] == "hant") return kTraditionalChinese;
        }
    }
    return kEnglish;
}

int userDefaultUiLanguage() {
    for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = std::getenv(variable);
        if (value != nullptr && value[0] != '\0') return languageIdForLocale(value);
    }
    return kEnglish;
}

int chooseStartupLanguage(const std::set<int>& supported) {
    const RegistryRead stored = readRegistryValue("LCID", KeyOpen::CreateIfMissing);
    int id = 0;
    switch (stored.key) {
        case KeyState::Opened:
            id = stored.value;
            break;
        case KeyState::Created:
        case KeyState::Missing:
            id = 0;
            break;
        case KeyState::Unopenable:
            id = kSimplifiedChinese;
            break;
    }
    setCurrentLanguageId(id);

    if (id == 0) {
        const int desktop = userDefaultUiLanguage();
        id = supported.contains(desktop) ? desktop : kEnglish;
        setCurrentLanguageId(id);
        writeRegistryInt("LCID", id);
    }
    if (!supported.contains(id)) {
        id = kEnglish;
        setCurrentLanguageId(id);
        writeRegistryInt("LCID", id);
    }
    return id;
}

int chooseStartupLanguage() {
    return chooseStartupLanguage(appConfig().SupportedLanguages);
}

}  // namespace quorvik
