// Choosing the user-interface language at start-up: the stored "LCID", else
// the desktop's language, always ending on a language config.xml lists (or on
// English), which is then stored.
#pragma once

#include <set>
#include <string_view>

namespace quorvik {

// Language id of a POSIX locale name ("en_US.UTF-8" 1033, "zh_CN" 2052,
// "zh_TW" 1028, "ja_JP" 1041, "ko_KR" 1042, "uk_UA" 1058); 1033 for any other.
int languageIdForLocale(std::string_view locale);

// The desktop's language: the locale of LC_ALL, LC_MESSAGES or LANG, the
// first one set, mapped with languageIdForLocale.
int userDefaultUiLanguage();

// Sets CurrentLanguageId from "LCID" (created when the settings file is
// missing; 2052 when the file cannot be read or created), falls back to the
// desktop's language on a first start and to 1033 for any language not in
// `supported`, storing the choice in "LCID". Returns the chosen id.
int chooseStartupLanguage(const std::set<int>& supported);
int chooseStartupLanguage();  // with appConfig().SupportedLanguages

}  // namespace quorvik
