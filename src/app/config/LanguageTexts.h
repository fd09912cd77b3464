// Every text the user interface shows is looked up by number in the language
// file of the current language: ProgramFolder + "language/<id>.lan", section
// "LAN", key = the id in decimal.
#pragma once

#include <string>
#include <string_view>

namespace quorvik {

// At most this many characters (code points) of a text are returned.
inline constexpr std::size_t kMaxLangStringLength = 259;

// The process-wide current language id (1033 English, 2052 Simplified
// Chinese...). Safe to read and set from any thread.
int CurrentLanguageId();
void setCurrentLanguageId(int languageId);

// ProgramFolder + "language/" + id + ".lan".
std::string languageFilePath(int languageId);

// The text of key `id` in `section` of the current language file, cut to
// kMaxLangStringLength code points; empty when the file, the section or the
// key is missing. A changed file or language takes effect at the next call.
std::string LangString(std::string_view section, int id);

}  // namespace quorvik
