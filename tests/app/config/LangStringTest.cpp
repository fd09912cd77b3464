// Text lookup in the current language file: missing pieces, the length
// limit, and that a changed file or language shows at the next lookup.
#include "TempHome.h"
#include "app/config/LanguageTexts.h"
#include "base/Text.h"

#include <gtest/gtest.h>
#include <atomic>
#include <chrono>
#include <thread>

namespace quorvik {
namespace {

class LangStringTest : public testing::Test {
protected:
    void SetUp() override {
        m_savedLanguage = CurrentLanguageId();
        setCurrentLanguageId(1033);
    }
    void TearDown() override { setCurrentLanguageId(m_savedLanguage); }

    void writeLanguage(int id, const std::string& bytes) {
        ASSERT_TRUE(m_home.writeProgramFile(format("language/%d.lan", id), bytes));
    }

    test::TempHome m_home;
    int m_savedLanguage = 1033;
};

TEST_F(LangStringTest, MissingFileSectionOrKeyGiveEmptyText) {
    EXPECT_EQ(LangString("LAN", 17), "");
    writeLanguage(1033, "[OTHER]\n17=x\n[LAN]\n18=y\n");
    EXPECT_EQ(LangString("LAN", 17), "");
    EXPECT_EQ(LangString("MISSING", 18), "");
    EXPECT_EQ(LangString("lan", 18), "y");
    EXPECT_EQ(LangString("OTHER", 17), "x");
    EXPECT_EQ(LangString("LAN", -18), "");
}

TEST_F(LangStringTest, LongTextsAreCutTo259Characters) {
    struct Case {
        const char* name;
        std::string text;
        std::string expected;
    };
    const std::string chinese300 = [] {
        std::string s;
        for (int i = 0; i < 300; ++i) s += "中";
        return s;
    }();
    const Case cases[] = {
        {"259 kept", std::string(259, 'a'), std::string(259, 'a')},
        {"260 cut", std::string(260, 'a'), std::string(259, 'a')},
        {"1000 cut", std::string(1000, 'b'), std::string(259, 'b')},
        {"multi-byte characters counted as characters", chinese300, cutCodePoints(chinese300, 259)},
        {"short multi-byte text kept", "中文", "中文"},
    };
    for (const Case& c : cases) {
        writeLanguage(1033, "[LAN]\n17=" + c.text + "\n");
        const std::string text = LangString("LAN", 17);
        EXPECT_EQ(text, c.expected) << c.name;
        EXPECT_EQ(codePointCount(text), std::min<std::size_t>(codePointCount(c.text), 259)) << c.name;
        EXPECT_TRUE(isValidUtf8(text)) << c.name;
    }
}

TEST_F(LangStringTest, LanguageChangeTakesEffectAtTheNextCall) {
    writeLanguage(1033, "[LAN]\n12=Exit\n");
    writeLanguage(2052, "\xEF\xBB\xBF[LAN]\n12=退出\n");
    EXPECT_EQ(LangString("LAN", 12), "Exit");
    setCurrentLanguageId(2052);
    EXPECT_EQ(LangString("LAN", 12), "退出");
    setCurrentLanguageId(1041);
    EXPECT_EQ(LangString("LAN", 12), "");
    setCurrentLanguageId(1033);
    EXPECT_EQ(LangString("LAN", 12), "Exit");
}

TEST_F(LangStringTest, FileChangesTakeEffectAtTheNextCall) {
    writeLanguage(1033, "[LAN]\n12=Exit\n13=Stay\n");
    EXPECT_EQ(LangString("LAN", 12), "Exit");

    // Same size, written at once: the lookup must not serve the old text.
    writeLanguage(1033, "[LAN]\n12=Quit\n13=Stay\n");
    EXPECT_EQ(LangString("LAN", 12), "Quit");

    // A key deleted while the program runs.
    writeLanguage(1033, "[LAN]\n13=Stay\n");
    EXPECT_EQ(LangString("LAN", 12), "");
    EXPECT_EQ(LangString("LAN", 13), "Stay");

    ::unlink((m_home.programFolder() + "language/1033.lan").c_str());
    EXPECT_EQ(LangString("LAN", 13), "");
}

TEST_F(LangStringTest, FileEditedInPlaceAfterItSettled) {
    const std::string path = m_home.programFolder() + "language/1033.lan";
    writeLanguage(1033, "[LAN]\n12=Exit\n");
    // Let the file's times age past the point where a lookup trusts them.
    std::this_thread::sleep_for(std::chrono::milliseconds(2200));
    EXPECT_EQ(LangString("LAN", 12), "Exit");
    EXPECT_EQ(LangString("LAN", 12), "Exit");

    // Rewrite the same file (same inode, same size) in place.
    FILE* file = std::fopen(path.c_str(), "r+");
    ASSERT_NE(file, nullptr);
    std::fputs("[LAN]\n12=Quit\n", file);
    std::fclose(file);
    EXPECT_EQ(LangString("LAN", 12), "Quit");
}

TEST_F(LangStringTest, UnreadableFileGivesEmptyText) {
    createFolderPath(m_home.programFolder() + "language/1033.lan");  // a folder, not a file
    EXPECT_EQ(LangString("LAN", 12), "");
}

TEST_F(LangStringTest, LookupsFromSeveralThreadsWhileLanguageAndFileChange) {
    writeLanguage(1033, "[LAN]\n12=Exit\n");
    writeLanguage(2052, "[LAN]\n12=退出\n");
    std::atomic<bool> stop{false};
    std::atomic<int> unexpected{0};
    auto reader = [&] {
        while (!stop.load()) {
            const std::string text = LangString("LAN", 12);
            if (text != "Exit" && text != "退出" && text != "Quit") ++unexpected;
        }
    };
    std::thread first(reader);
    std::thread second(reader);
    for (int i = 0; i < 200; ++i) {
        setCurrentLanguageId(i % 2 == 0 ? 2052 : 1033);
        writeLanguage(1033, i % 2 == 0 ? "[LAN]\n12=Quit\n" : "[LAN]\n12=Exit\n");
    }
    stop = true;
    first.join();
    second.join();
    EXPECT_EQ(unexpected.load(), 0);
}

}  // namespace
}  // namespace quorvik
