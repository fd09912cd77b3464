// Text lookup in the current language file, through a cache that never serves
// a file older than the one on disk.
#include "app/config/LanguageTexts.h"

#include "app/config/AppFolders.h"
#include "app/config/detail/LanguageFileCache.h"
#include "base/Text.h"

#include <atomic>

namespace quorvik {
namespace {

std::atomic<int>& currentLanguage() {
    static std::atomic<int> id{1033};
    return id;
}

LanguageFileCache& languageFileCache() {
    static LanguageFileCache cache;
    return cache;
}

}  // namespace

int CurrentLanguageId() {
    return currentLanguage().load(std::memory_order_relaxed);
}

void setCurrentLanguageId(int languageId) {
    currentLanguage().store(languageId, std::memory_order_relaxed);
}

std::string languageFilePath(int languageId) {
    return format("%slanguage/%d.lan", ProgramFolder().c_str(), languageId);
}

std::string LangString(std::string_view section, int id) {
    const std::shared_ptr<const IniFile> file =
        languageFileCache().get(languageFilePath(CurrentLanguageId()));
    if (!file) return std::string();
    std::optional<std::string> text = file->value(section, format("%d", id));
    if (!text) return std::string();
    if (text->size() > kMaxLangStringLength) return cutCodePoints(*text, kMaxLangStringLength);
    return std::move(*text);
}

}  // namespace quorvik
