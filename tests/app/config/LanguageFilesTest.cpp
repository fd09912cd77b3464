// The shipped language files: both hold the same ids, every id the program
// looks up has a text in each, and the words that stored names are matched
// against are exactly the ones the program expects.
#include "app/config/IniFile.h"
#include "base/FileIo.h"
#include "base/Text.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <map>
#include <regex>
#include <set>

namespace quorvik {
namespace {

const std::string kDataFolder = QUORVIK_SOURCE_DIR "/data/";

// All [LAN] keys of a language file with their texts.
std::map<int, std::string> languageTexts(int languageId) {
    std::map<int, std::string> texts;
    const std::optional<std::string> bytes = readWholeFile(kDataFolder + format("language/%d.lan", languageId));
    if (!bytes) return texts;
    const IniFile file = IniFile::parse(*bytes);
    // Keys are found by scanning the decoded text; values come from the reader.
    const std::string text = IniFile::decode(*bytes);
    static const std::regex keyLine(R"((?:^|\n)\s*(\d+)\s*=)");
    for (std::sregex_iterator it(text.begin(), text.end(), keyLine), end; it != end; ++it) {
        const int id = std::stoi((*it)[1]);
        texts[id] = file.value("LAN", std::to_string(id)).value_or("");
    }
    return texts;
}

// Text ids the program uses: LangString("LAN", <number>) anywhere under src/,
// and the button name and default function ids of the model description files.
std::map<int, std::string> usedTextIds() {
    std::map<int, std::string> used;  // id -> where it was seen first
    namespace fs = std::filesystem;
    static const std::regex call(R"(LangString\s*\(\s*"LAN"\s*,\s*(\d+)\s*\))");
    static const std::regex keyAttribute(R"re(\b(?:name|func_desc)\s*=\s*"(\d+)")re");
    auto scan = [&](const fs::path& folder, const std::vector<std::string>& extensions, const std::regex& pattern) {
        std::error_code error;
        if (!fs::is_directory(folder, error)) return;
        for (const fs::directory_entry& entry : fs::recursive_directory_iterator(folder, error)) {
            const std::string extension = entry.path().extension().string();
            if (!entry.is_regular_file() ||
                std::find(extensions.begin(), extensions.end(), extension) == extensions.end())
                continue;
            const std::optional<std::string> text = readWholeFile(entry.path().string());
            if (!text) continue;
            for (std::sregex_iterator it(text->begin(), text->end(), pattern), end; it != end; ++it)
                used.try_emplace(std::stoi((*it)[1]), entry.path().string());
        }
    };
    scan(QUORVIK_SOURCE_DIR "/src", {".cpp", ".h"}, call);
    scan(kDataFolder + "device", {".xml"}, keyAttribute);
    return used;
}

TEST(LanguageFilesTest, BothFilesHoldTheSameIds) {
    const std::map<int, std::string> english = languageTexts(1033);
    const std::map<int, std::string> chinese = languageTexts(2052);
    ASSERT_FALSE(english.empty());
    std::set<int> englishIds, chineseIds;
    for (const auto& [id, text] : english) englishIds.insert(id);
    for (const auto& [id, text] : chinese) chineseIds.insert(id);
    EXPECT_EQ(englishIds, chineseIds);
}

TEST(LanguageFilesTest, EveryTextIsPresentShortAndValid) {
    for (int language : {1033, 2052}) {
        for (const auto& [id, text] : languageTexts(language)) {
            EXPECT_FALSE(text.empty()) << language << " id " << id;
            EXPECT_LE(codePointCount(text), 259u) << language << " id " << id;
            EXPECT_TRUE(isValidUtf8(text)) << language << " id " << id;
        }
    }
}

TEST(LanguageFilesTest, EveryIdTheProgramUsesHasATextInBothFiles) {
    const std::map<int, std::string> english = languageTexts(1033);
    const std::map<int, std::string> chinese = languageTexts(2052);
    const std::map<int, std::string> used = usedTextIds();
    EXPECT_FALSE(used.empty()) << "no LangString(\"LAN\", n) call found under src/";
    for (const auto& [id, where] : used) {
        EXPECT_TRUE(english.contains(id)) << "id " << id << " used in " << where << " has no English text";
        EXPECT_TRUE(chinese.contains(id)) << "id " << id << " used in " << where << " has no Chinese text";
    }
}

// Stored profile and macro names are recognised by these words, so they must
// be exactly what earlier versions wrote.
TEST(LanguageFilesTest, WordsOfGeneratedNames) {
    const std::map<int, std::string> english = languageTexts(1033);
    const std::map<int, std::string> chinese = languageTexts(2052);
    const std::tuple<int, const char*, const char*> words[] = {
        {61, "Profile", "配置"},
        {351, "Custom", "自定义"},
        {31, "Copy", "复制"},
    };
    for (const auto& [id, englishWord, chineseWord] : words) {
        EXPECT_EQ(english.at(id), englishWord) << id;
        EXPECT_EQ(chinese.at(id), chineseWord) << id;
    }
}

}  // namespace
}  // namespace quorvik
