// Test fixture for the dialogs: a headless backend and user, and a program
// folder whose language file gives every text id a distinct text ("t<id>"),
// so a test sees which id a control took its text from.
#pragma once

#include "app/config/AppFolders.h"
#include "app/config/LanguageTexts.h"
#include "base/FileIo.h"
#include "ui/toolkit/headless/HeadlessBackend.h"
#include "ui/toolkit/headless/HeadlessUser.h"

#include <gtest/gtest.h>
#include <cstdlib>
#include <string>

namespace quorvik::test {

class PagesFixture : public testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/quorvik-pages-XXXXXX";
        ASSERT_NE(::mkdtemp(pattern), nullptr);
        m_root = pattern;
        const std::string program = m_root + "/program/";
        ASSERT_TRUE(createFolderPath(program + "language"));
        std::string lan = "[LAN]\n";
        for (int id : {2, 5, 16, 20, 23, 25, 630})
            lan += std::to_string(id) + "=t" + std::to_string(id) + "\n";
        ASSERT_TRUE(writeFileAtomically(program + "language/1033.lan", lan));
        setProgramFolderOverride(program);
        m_savedLanguage = CurrentLanguageId();
        setCurrentLanguageId(1033);
    }

    void TearDown() override {
        setCurrentLanguageId(m_savedLanguage);
        setProgramFolderOverride("");
        std::system(("rm -rf '" + m_root + "'").c_str());
    }

    DUI::HeadlessBackend backend;
    DUI::HeadlessUser user{backend};
    std::string m_root;
    int m_savedLanguage = 1033;
};

}  // namespace quorvik::test
