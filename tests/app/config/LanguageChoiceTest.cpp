// Start-up language choice: the stored "LCID", the desktop's locale on a
// first start, the fall-backs, and what ends up stored.
#include "TempHome.h"
#include "app/config/LanguageChoice.h"
#include "app/config/LanguageTexts.h"
#include "app/config/RegistryValues.h"

#include <gtest/gtest.h>

namespace quorvik {
namespace {

TEST(LanguageChoiceTest, LocaleNamesMapToLanguageIds) {
    const std::pair<const char*, int> cases[] = {
        {"en_US.UTF-8", 1033},
        {"en_GB", 1033},
        {"en", 1033},
        {"zh_CN.UTF-8", 2052},
        {"zh_SG", 2052},
        {"zh_Hans", 2052},
        {"zh-Hans-CN", 2052},
        {"zh_TW.Big5", 1028},
        {"zh_HK.UTF-8", 1028},
        {"zh_Hant_TW", 1028},
        {"zh", 1033},
        {"zh_MO", 1033},
        {"ja_JP.UTF-8", 1041},
        {"ko_KR.eucKR", 1042},
        {"uk_UA.UTF-8", 1058},
        {"de_DE.UTF-8", 1033},
        {"C", 1033},
        {"POSIX", 1033},
        {"C.UTF-8", 1033},
        {"", 1033},
        {"zh_CN@pinyin", 2052},
        {"JA_jp", 1041},
    };
    for (const auto& [locale, id] : cases) EXPECT_EQ(languageIdForLocale(locale), id) << locale;
}

class LocaleEnvironment {
public:
    LocaleEnvironment() {
        for (const char* name : kNames) {
            const char* value = std::getenv(name);
            m_saved.push_back(value != nullptr ? std::optional<std::string>(value) : std::nullopt);
            ::unsetenv(name);
        }
    }
    ~LocaleEnvironment() {
        for (std::size_t i = 0; i < std::size(kNames); ++i) {
            if (m_saved[i])
                ::setenv(kNames[i], m_saved[i]->c_str(), 1);
            else
                ::unsetenv(kNames[i]);
        }
    }
    void set(const char* name, const char* value) { ::setenv(name, value, 1); }

private:
    static constexpr const char* kNames[] = {"LC_ALL", "LC_MESSAGES", "LANG"};
    std::vector<std::optional<std::string>> m_saved;
};

TEST(LanguageChoiceTest, FirstSetLocaleVariableWins) {
    struct Case {
        const char* name;
        const char* lcAll;
        const char* lcMessages;
        const char* lang;
        int expected;
    };
    const Case cases[] = {
        {"none set", nullptr, nullptr, nullptr, 1033},
        {"LANG only", nullptr, nullptr, "ja_JP.UTF-8", 1041},
        {"LC_MESSAGES over LANG", nullptr, "ko_KR.UTF-8", "ja_JP.UTF-8", 1042},
        {"LC_ALL over everything", "zh_CN.UTF-8", "ko_KR.UTF-8", "ja_JP.UTF-8", 2052},
        {"empty LC_ALL skipped", "", "uk_UA.UTF-8", "ja_JP.UTF-8", 1058},
    };
    for (const Case& c : cases) {
        LocaleEnvironment environment;
        if (c.lcAll != nullptr) environment.set("LC_ALL", c.lcAll);
        if (c.lcMessages != nullptr) environment.set("LC_MESSAGES", c.lcMessages);
        if (c.lang != nullptr) environment.set("LANG", c.lang);
        EXPECT_EQ(userDefaultUiLanguage(), c.expected) << c.name;
    }
}

enum class Stored { NoFile, Text, FileIsFolder, CannotCreate };

TEST(LanguageChoiceTest, StartupChoice) {
    struct Case {
        const char* name;
        Stored stored;
        const char* settings;  // file contents for Stored::Text
        const char* locale;
        std::set<int> supported;
        int expected;
        std::optional<std::string> expectedFile;  // settings file afterwards; nullopt: no readable file
    };
    const std::set<int> englishChinese = {1033, 2052};
    const Case cases[] = {
        {"first start, desktop language listed", Stored::NoFile, "", "zh_CN.UTF-8", englishChinese, 2052,
         "LCID=2052\n"},
        {"first start, desktop language not listed", Stored::NoFile, "", "ja_JP.UTF-8", englishChinese, 1033,
         "LCID=1033\n"},
        {"first start, other listed language",
         Stored::NoFile,
         "",
         "ja_JP.UTF-8",
         {1033, 1041},
         1041,
         "LCID=1041\n"},
        {"stored language listed", Stored::Text, "LCID=2052\nexit_mode=1\n", "en_US", englishChinese, 2052,
         "LCID=2052\nexit_mode=1\n"},
        {"stored language no longer listed", Stored::Text, "exit_mode=1\nLCID=1041\n", "ja_JP",
         englishChinese, 1033, "exit_mode=1\nLCID=1033\n"},
        {"stored text not a number", Stored::Text, "LCID=abc\n", "zh_TW", {1033, 1028}, 1028, "LCID=1028\n"},
        {"stored zero", Stored::Text, "LCID=0\n", "zh_CN", englishChinese, 2052, "LCID=2052\n"},
        {"stored digits then letters", Stored::Text, "LCID=2052xyz\n", "en_US", englishChinese, 2052,
         "LCID=2052xyz\n"},
        {"file without LCID", Stored::Text, "exit_mode=0\n", "zh_CN", englishChinese, 2052,
         "exit_mode=0\nLCID=2052\n"},
        {"nothing listed: English anyway", Stored::NoFile, "", "zh_CN", {}, 1033, "LCID=1033\n"},
        {"file unreadable: Chinese tried", Stored::FileIsFolder, "", "ja_JP", englishChinese, 2052,
         std::nullopt},
        {"file unreadable, Chinese not listed",
         Stored::FileIsFolder,
         "",
         "zh_CN",
         {1033},
         1033,
         std::nullopt},
        {"file cannot be created: Chinese tried", Stored::CannotCreate, "", "en_US", englishChinese, 2052,
         std::nullopt},
        {"file cannot be created, Chinese not listed",
         Stored::CannotCreate,
         "",
         "zh_CN",
         {1033, 1041},
         1033,
         std::nullopt},
    };
    for (const Case& c : cases) {
        test::TempHome home;
        LocaleEnvironment environment;
        environment.set("LANG", c.locale);
        switch (c.stored) {
            case Stored::NoFile:
                break;
            case Stored::Text:
                ASSERT_TRUE(home.writeSettings(c.settings));
                break;
            case Stored::FileIsFolder:
                ASSERT_TRUE(createFolderPath(home.settingsPath()));
                break;
            case Stored::CannotCreate:
                ASSERT_TRUE(writeFileAtomically(home.configHome(), "file"));
                break;
        }
        setCurrentLanguageId(4242);
        EXPECT_EQ(chooseStartupLanguage(c.supported), c.expected) << c.name;
        EXPECT_EQ(CurrentLanguageId(), c.expected) << c.name;
        EXPECT_EQ(home.readSettings(), c.expectedFile) << c.name;
    }
    setCurrentLanguageId(1033);
}

}  // namespace
}  // namespace quorvik
