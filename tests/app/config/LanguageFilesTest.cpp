// The shipped language files: both hold the same ids, every id the program
// looks up has a text in each, and the words that stored names are matched
// against are exactly the ones the program expects.
#include "app/config/IniFile.h"
#include "base/FileIo.h"
#include "base/Text.h"

#include <gtest/gtest.h>
#include <algorithm>
#include <cctype>
#include <filesystem>
#include <map>
#include <set>

namespace quorvik {
namespace {

const std::string kDataFolder = QUORVIK_SOURCE_DIR "/data/";

// Small scanner over a text: skips blanks, matches literals, reads numbers.
class Scanner {
public:
    Scanner(std::string_view text, std::size_t position) : m_text(text), m_position(position) {}
    void skipBlanks() {
        while (m_position < m_text.size() && std::isspace(static_cast<unsigned char>(m_text[m_position])))
            ++m_position;
    }
    bool literal(std::string_view expected) {
        skipBlanks();
        if (m_text.substr(m_position, expected.size()) != expected) return false;
        m_position += expected.size();
        return true;
    }
    std::optional<int> number() {
        skipBlanks();
        const std::size_t start = m_position;
        while (m_position < m_text.size() && std::isdigit(static_cast<unsigned char>(m_text[m_position])) &&
               m_position - start < 9)
            ++m_position;
        if (m_position == start) return std::nullopt;
        return std::stoi(std::string(m_text.substr(start, m_position - start)));
    }

private:
    std::string_view m_text;
    std::size_t m_position;
};

// Every `prefix` in the text followed by the `opening` tokens, a number and
// `closing`; blanks may stand between the tokens.
std::vector<int> numbersAfter(std::string_view text, std::string_view prefix,
                              const std::vector<std::string_view>& opening, std::string_view closing) {
    std::vector<int> numbers;
    for (std::size_t at = text.find(prefix); at != std::string_view::npos; at = text.find(prefix, at + 1)) {
        Scanner scanner(text, at + prefix.size());
        if (!std::all_of(opening.begin(), opening.end(),
                         [&](std::string_view token) { return scanner.literal(token); }))
            continue;
        const std::optional<int> number = scanner.number();
        if (number && scanner.literal(closing)) numbers.push_back(*number);
    }
    return numbers;
}

// All [LAN] keys of a language file with their texts.
std::map<int, std::string> languageTexts(int languageId) {
    std::map<int, std::string> texts;
    const std::optional<std::string> bytes =
        readWholeFile(kDataFolder + format("language/%d.lan", languageId));
    if (!bytes) return texts;
    const IniFile file = IniFile::parse(*bytes);
    // Keys are found by scanning the decoded lines; values come from the reader.
    const std::string text = "\n" + IniFile::decode(*bytes);
    for (int id : numbersAfter(text, "\n", {}, "="))
        texts[id] = file.value("LAN", std::to_string(id)).value_or("");
    return texts;
}

// Text ids the program uses: LangString("LAN", <number>) anywhere under src/,
// and the button name and default function ids of the model description files.
std::map<int, std::string> usedTextIds() {
    std::map<int, std::string> used;  // id -> where it was seen first
    namespace fs = std::filesystem;
    struct Pattern {
        std::string_view prefix;
        std::vector<std::string_view> opening;
        std::string_view closing;
    };
    const std::vector<Pattern> calls = {{"LangString", {"(", "\"LAN\"", ","}, ")"}};
    const std::vector<Pattern> keyAttributes = {{" name", {"=", "\""}, "\""},
                                                {" func_desc", {"=", "\""}, "\""}};
    auto scan = [&](const fs::path& folder, const std::vector<std::string>& extensions,
                    const std::vector<Pattern>& patterns) {
        std::error_code error;
        if (!fs::is_directory(folder, error)) return;
        for (const fs::directory_entry& entry : fs::recursive_directory_iterator(folder, error)) {
            const std::string extension = entry.path().extension().string();
            if (!entry.is_regular_file() ||
                std::find(extensions.begin(), extensions.end(), extension) == extensions.end())
                continue;
            const std::optional<std::string> text = readWholeFile(entry.path().string());
            if (!text) continue;
            for (const Pattern& pattern : patterns)
                for (int id : numbersAfter(*text, pattern.prefix, pattern.opening, pattern.closing))
                    used.try_emplace(id, entry.path().string());
        }
    };
    scan(QUORVIK_SOURCE_DIR "/src", {".cpp", ".h"}, calls);
    scan(kDataFolder + "device", {".xml"}, keyAttributes);
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
