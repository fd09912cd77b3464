// Whole-file I/O and folder creation on a temporary folder.
#include "base/FileIo.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quorvik {
namespace {

class FileIoTest : public testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/quorvik-fileio-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        m_dir = pattern;
    }
    void TearDown() override { std::system(("rm -rf '" + m_dir + "'").c_str()); }
    std::string m_dir;
};

TEST_F(FileIoTest, WriteThenReadBackIsEqual) {
    const std::string path = m_dir + "/a.bin";
    const std::string bytes("x\0y\xFFz", 5);
    ASSERT_TRUE(writeFileAtomically(path, bytes));
    EXPECT_EQ(readWholeFile(path), bytes);
    ASSERT_TRUE(writeFileAtomically(path, "second"));
    EXPECT_EQ(readWholeFile(path), "second");
}

TEST_F(FileIoTest, FailuresAreResults) {
    EXPECT_FALSE(readWholeFile(m_dir + "/missing").has_value());
    EXPECT_FALSE(readWholeFile(m_dir).has_value());  // a folder is not a file
    EXPECT_FALSE(writeFileAtomically(m_dir + "/no/such/folder/file", "x"));
}

TEST_F(FileIoTest, FailedWriteKeepsOldFile) {
    const std::string sub = m_dir + "/ro";
    ASSERT_TRUE(createFolderPath(sub));
    ASSERT_TRUE(writeFileAtomically(sub + "/f", "old"));
    chmod(sub.c_str(), 0555);
    if (geteuid() != 0) {  // root ignores folder permissions
        EXPECT_FALSE(writeFileAtomically(sub + "/f", "new"));
        EXPECT_EQ(readWholeFile(sub + "/f"), "old");
    }
    chmod(sub.c_str(), 0755);
}

TEST_F(FileIoTest, CreateFolderPathMakesParents) {
    const std::string deep = m_dir + "/a/b/c/";
    EXPECT_TRUE(createFolderPath(deep));
    EXPECT_TRUE(folderExists(m_dir + "/a/b/c"));
    EXPECT_TRUE(createFolderPath(deep));  // already there
    ASSERT_TRUE(writeFileAtomically(m_dir + "/file", "x"));
    EXPECT_FALSE(createFolderPath(m_dir + "/file/sub"));
}

}  // namespace
}  // namespace quorvik
