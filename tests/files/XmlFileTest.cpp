// Reading and writing files: byte-order marks, declared and detected
// encodings, NUL removal, failures, conversion loss, and the round trip of a
// built document through writeFile/readFile.
#include "files/XmlDocument.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

// Under ThreadSanitizer: iconv loads and unloads its charset modules with
// dlopen/dlclose, whose loader lock TSan cannot see, so the loader's own
// malloc/free look like races between two readers. Only the loader is muted.
extern "C" const char* __tsan_default_suppressions() {
    return "called_from_lib:ld-linux-x86-64.so.2\n";
}

namespace quorvik {
namespace {

const std::string kData = std::string(QUORVIK_TEST_DATA) + "/xml/";

std::string readBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

std::string utf16le(std::u16string_view text) {
    std::string bytes;
    for (char16_t unit : text) {
        bytes.push_back(static_cast<char>(unit & 0xFF));
        bytes.push_back(static_cast<char>(unit >> 8));
    }
    return bytes;
}

class XmlFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_folder = std::filesystem::temp_directory_path() /
                   ("quorvik_xml_" + std::to_string(::getpid()) + "_" +
                    ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(m_folder);
    }
    void TearDown() override { std::filesystem::remove_all(m_folder); }

    std::string path(const std::string& name) const { return (m_folder / name).string(); }
    std::string writeBytes(const std::string& name, const std::string& bytes) const {
        std::ofstream(path(name), std::ios::binary) << bytes;
        return path(name);
    }

    std::filesystem::path m_folder;
};

// The name of <profileinfo> in a fixture, read the way the program reads files.
std::string profileName(XmlDocument& doc) {
    if (!doc.parse() || !doc.findNext("profile") || !doc.enter() || !doc.findNext("profileinfo"))
        return "<unreadable>";
    return doc.attribute("name");
}

TEST_F(XmlFileTest, EncodingsOfFixtures) {
    struct Case {
        const char* file;
        const char* name;    // expected attribute, UTF-8
        const char* logged;  // fragment expected in the log
        unsigned flags;
    } cases[] = {
        {"utf8_bom.xml", "Caf\xC3\xA9 \xE9\xBC\xA0\xE6\xA0\x87 \xF0\x9F\x98\x80", "<bom encoding=\"UTF-8\"/>",
         XmlDocument::kFileByteOrderMark},
        {"utf8_plain.xml", "Caf\xC3\xA9 \xE9\xBC\xA0\xE6\xA0\x87 \xF0\x9F\x98\x80",
         "<read encoding=\"UTF-8\"", 0},
        {"utf8_undeclared.xml", "Caf\xC3\xA9 \xE9\xBC\xA0\xE6\xA0\x87 \xF0\x9F\x98\x80",
         "<read encoding=\"\"", 0},
        {"utf16le_bom.xml", "Caf\xC3\xA9 \xE9\xBC\xA0\xE6\xA0\x87 \xF0\x9F\x98\x80",
         "<bom encoding=\"UTF-16LE\"/>", XmlDocument::kFileByteOrderMark | XmlDocument::kFileUtf16},
        {"utf16be_bom.xml", "Caf\xC3\xA9 \xE9\xBC\xA0\xE6\xA0\x87 \xF0\x9F\x98\x80", "<endian_swap/>",
         XmlDocument::kFileByteOrderMark | XmlDocument::kFileUtf16},
        {"iso-8859-1.xml",
         "Caf\xC3\xA9 \xC3\x9Cn\xC3\xAF"
         "code",
         "<read encoding=\"ISO-8859-1\"", 0},
        {"windows-1252.xml", "\xE2\x82\xAC \xE2\x80\x9Cquoted\xE2\x80\x9D Caf\xC3\xA9",
         "encoding=\"windows-1252\"", 0},
        {"gbk.xml", "\xE9\xBC\xA0\xE6\xA0\x87\xE9\x85\x8D\xE7\xBD\xAE", "encoding=\"GBK\"", 0},
        {"shift_jis.xml", "\xE3\x83\x9E\xE3\x82\xA6\xE3\x82\xB9\xE8\xA8\xAD\xE5\xAE\x9A",
         "encoding=\"Shift_JIS\"", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        XmlDocument doc;
        std::string log;
        unsigned flags = 0xFFFF;
        ASSERT_TRUE(doc.readFile(kData + c.file, &log, &flags));
        EXPECT_EQ(log, doc.resultLog());
        EXPECT_NE(log.find(c.logged), std::string::npos) << log;
        EXPECT_EQ(flags, c.flags);
        EXPECT_EQ(profileName(doc), c.name) << log;
    }
}

TEST_F(XmlFileTest, ByteOrderMarkDoesNotChangeTheText) {
    XmlDocument withMark, without;
    ASSERT_TRUE(withMark.readFile(kData + "utf8_bom.xml"));
    ASSERT_TRUE(without.readFile(kData + "utf8_plain.xml"));
    EXPECT_EQ(withMark.text(), without.text());
    XmlDocument le, be;
    ASSERT_TRUE(le.readFile(kData + "utf16le_bom.xml"));
    ASSERT_TRUE(be.readFile(kData + "utf16be_bom.xml"));
    EXPECT_EQ(le.text(), be.text());
}

TEST_F(XmlFileTest, UnknownCharsetFailsTheConversion) {
    XmlDocument doc;
    unsigned flags = 0;
    ASSERT_TRUE(doc.readFile(kData + "unknown_charset.xml", nullptr, &flags)) << "the file itself was read";
    EXPECT_EQ(flags, XmlDocument::kFileConversionFailed);
    EXPECT_NE(doc.resultLog().find("type=\"unknown_charset\" encoding=\"x-no-such-charset\""),
              std::string::npos);
    EXPECT_EQ(doc.text(), "");
    EXPECT_FALSE(doc.parse());
}

TEST_F(XmlFileTest, DetectionOfUndeclaredText) {
    struct Case {
        const char* name;
        std::string bytes;
        std::string text;  // expected document text
        const char* logged;
    } cases[] = {
        {"latin-1 starting with <", "<a n=\"Caf\xE9\"/>", "<a n=\"Caf\xC3\xA9\"/>",
         "<utf8_detection encoding=\"CP1252\"/>"},
        {"UTF-8 not starting with <", " \xC3\xA9<a/>", " \xC3\xA9<a/>",
         "<utf8_detection encoding=\"UTF-8\"/>"},
        {"NUL bytes removed", std::string("<a\0/>\0", 6), "<a/>", "<nulls_removed count=\"2\"/>"},
        {"UTF-16 without mark read as bytes", std::string("<\0a\0/\0>\0", 8), "<a/>",
         "<nulls_removed count=\"4\"/>"},
        {"UTF-16BE declaration without mark", std::string("\0<\0?\0x\0m\0l\0 \0?\0>\0<\0a\0/\0>", 24),
         "<?xml ?><a/>", "<read encoding=\"UTF-16BE\" length=\"12\"/>"},
        {"NUL units removed in UTF-16", std::string("\xFF\xFE<\0\0\0a\0/\0>\0", 12), "<a/>",
         "<nulls_removed count=\"1\"/>"},
        {"HTML meta charset",
         "<html><head><meta http-equiv=\"content-type\" content=\"text/html; "
         "charset=iso-8859-1\"></head><body t=\"\xE9\"/></html>",
         "<html><head><meta http-equiv=\"content-type\" content=\"text/html; "
         "charset=iso-8859-1\"></head><body t=\"\xC3\xA9\"/></html>",
         "<read encoding=\"iso-8859-1\""},
        {"declared UTF-16 in 8-bit text", "<?xml version=\"1.0\" encoding=\"UTF-16\"?><a/>",
         "<?xml version=\"1.0\" encoding=\"UTF-16\"?><a/>", "wide_declaration_ignored"},
        {"declared UTF-8 with a bad byte", "<?xml version=\"1.0\" encoding=\"utf-8\"?><a n=\"\xFF\"/>",
         "<?xml version=\"1.0\" encoding=\"utf-8\"?><a n=\"\xEF\xBF\xBD\"/>",
         "type=\"malformed_replaced\" encoding=\"utf-8\""},
        {"invalid GBK stops the conversion", "<?xml version=\"1.0\" encoding=\"gbk\"?><a n=\"\x81\"/>",
         "<?xml version=\"1.0\" encoding=\"gbk\"?><a n=\"",
         "type=\"invalid_input\" encoding=\"CP936\" offset=\"42\""},
        {"empty file", "", "", "<read encoding=\"\" length=\"0\"/>"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        XmlDocument doc;
        ASSERT_TRUE(doc.readFile(writeBytes("in.xml", c.bytes)));
        EXPECT_EQ(doc.text(), c.text);
        EXPECT_NE(doc.resultLog().find(c.logged), std::string::npos) << doc.resultLog();
    }
}

TEST_F(XmlFileTest, FileErrors) {
    XmlDocument doc;
    ASSERT_TRUE(doc.setText("<a/>"));
    std::string log;
    EXPECT_FALSE(doc.readFile(path("missing.xml"), &log));
    EXPECT_EQ(doc.text(), "") << "a failed read leaves an empty text";
    EXPECT_FALSE(doc.findNext("a"));
    EXPECT_NE(log.find("<file_error msg=\""), std::string::npos) << log;
    EXPECT_NE(log.find("n=\"2\"/>"), std::string::npos) << log;  // ENOENT
    EXPECT_FALSE(doc.readFile(m_folder.string()));
    EXPECT_NE(doc.resultLog().find("<file_error"), std::string::npos);
    EXPECT_FALSE(doc.readFile("/dev/zero")) << "a device that never ends is not read";

    doc.setText("<a/>");
    EXPECT_FALSE(doc.writeFile(path("no/such/folder/out.xml"), &log));
    EXPECT_NE(log.find("<file_error"), std::string::npos) << log;
}

TEST_F(XmlFileTest, WriteConvertsToTheDeclaredEncoding) {
    struct Case {
        const char* name;
        std::string text;
        std::string bytes;
        unsigned flags;
    } cases[] = {
        {"no declaration is UTF-8", "<a n=\"\xC3\xA9\"/>", "<a n=\"\xC3\xA9\"/>", 0},
        {"UTF-8 without a mark", "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<a n=\"\xC3\xA9\"/>\r\n",
         "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<a n=\"\xC3\xA9\"/>\r\n", 0},
        {"ISO-8859-1", "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><a n=\"\xC3\xA9\"/>",
         "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><a n=\"\xE9\"/>", 0},
        {"characters lost",
         "<?xml version=\"1.0\" encoding=\"windows-1252\"?><a n=\"\xE2\x82\xAC\xE9\xBC\xA0\"/>",
         "<?xml version=\"1.0\" encoding=\"windows-1252\"?><a n=\"\x80?\"/>",
         XmlDocument::kFileConversionLoss},
        {"GBK", "<?xml version=\"1.0\" encoding=\"GBK\"?><a n=\"\xE9\xBC\xA0\"/>",
         "<?xml version=\"1.0\" encoding=\"GBK\"?><a n=\"\xCA\xF3\"/>", 0},
        // 16-bit units without a mark; reading recognises the declaration.
        {"UTF-16", "<?xml version=\"1.0\" encoding=\"UTF-16\"?><a n=\"\xC3\xA9\xF0\x9F\x98\x80\"/>",
         utf16le(u"<?xml version=\"1.0\" encoding=\"UTF-16\"?><a n=\"\u00E9\U0001F600\"/>"), 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        XmlDocument doc;
        doc.setText(c.text);
        unsigned flags = 0xFFFF;
        std::string log;
        ASSERT_TRUE(doc.writeFile(path("out.xml"), &log, &flags)) << log;
        EXPECT_EQ(readBytes(path("out.xml")), c.bytes);
        EXPECT_EQ(flags, c.flags);
        EXPECT_NE(log.find("<write "), std::string::npos) << log;
        if (c.flags & XmlDocument::kFileConversionLoss) {
            EXPECT_NE(log.find("<conversion_loss encoding=\"windows-1252\" count=\"1\"/>"), std::string::npos)
                << log;
        }
        // And it reads back as the same text, less what the charset could not hold.
        XmlDocument back;
        ASSERT_TRUE(back.readFile(path("out.xml")));
        if (!(c.flags & XmlDocument::kFileConversionLoss)) {
            EXPECT_EQ(back.text(), c.text);
        }
    }
}

TEST_F(XmlFileTest, UnknownDeclaredEncodingLeavesTheOldFile) {
    const std::string target = writeBytes("keep.xml", "old");
    XmlDocument doc;
    doc.setText("<?xml version=\"1.0\" encoding=\"x-no-such-charset\"?><a/>");
    unsigned flags = 0;
    EXPECT_FALSE(doc.writeFile(target, nullptr, &flags));
    EXPECT_EQ(flags, XmlDocument::kFileConversionFailed);
    EXPECT_EQ(readBytes(target), "old");
}

TEST_F(XmlFileTest, BuiltDocumentRoundTripsThroughAFile) {
    const std::string special = "<&>'\" Caf\xC3\xA9 \xE9\xBC\xA0 \xF0\x9F\x98\x80";
    XmlDocument out;
    out.setText("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n");
    ASSERT_TRUE(out.appendElement("profile") && out.enter());
    ASSERT_TRUE(out.appendElement("profileinfo") && out.setAttribute("name", special));
    ASSERT_TRUE(out.appendElement("keyitems") && out.enter());
    for (int i = 0; i < 3; ++i) {
        ASSERT_TRUE(out.appendElement("item"));
        ASSERT_TRUE(out.setAttribute("key_index", std::to_string(i)));
        ASSERT_TRUE(out.setAttribute("macro_desc", special + std::to_string(i)));
    }
    ASSERT_TRUE(out.leave() && out.leave());
    ASSERT_TRUE(out.writeFile(path("profile.xml")));
    EXPECT_EQ(readBytes(path("profile.xml")), out.text()) << "UTF-8, no byte-order mark";

    XmlDocument in;
    ASSERT_TRUE(in.readFile(path("profile.xml")));
    ASSERT_TRUE(in.parse()) << in.resultLog();
    ASSERT_TRUE(in.findNext("profile") && in.enter() && in.findNext("profileinfo"));
    EXPECT_EQ(in.attribute("name"), special);
    ASSERT_TRUE(in.findNext("keyitems") && in.enter());
    for (int i = 0; i < 3; ++i) {
        ASSERT_TRUE(in.findNext("item"));
        EXPECT_EQ(in.attribute("key_index"), std::to_string(i));
        EXPECT_EQ(in.attribute("macro_desc"), special + std::to_string(i));
    }
    EXPECT_FALSE(in.findNext("item"));
}

// Each file operation has its own document; documents share nothing, so
// threads reading, decoding references and writing at once do not interfere
// (run under -DQUORVIK_SANITIZE=thread to check).
TEST_F(XmlFileTest, DocumentsOnSeparateThreadsShareNothing) {
    constexpr int kThreads = 4;
    std::vector<std::string> results(kThreads);
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&, t] {
            std::string seen;
            for (int round = 0; round < 20; ++round) {
                XmlDocument in;
                in.readFile(kData + (t % 2 ? "gbk.xml" : "windows-1252.xml"));
                seen += profileName(in);
                XmlDocument out;
                out.setText("<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\r\n");
                out.appendElement("r");
                out.setAttribute("v", "&eacute;" + std::to_string(round));
                XmlDocument decode;
                decode.setText("<a v=\"&Eacute;&#x41;&nbsp;\"/>");
                decode.findNext("a");
                seen += decode.attribute("v");
                out.writeFile(path("thread" + std::to_string(t) + ".xml"));
                XmlDocument back;
                back.readFile(path("thread" + std::to_string(t) + ".xml"));
                back.parse();
                back.findNext("r");
                seen += back.attribute("v");
            }
            results[static_cast<std::size_t>(t)] = seen;
        });
    }
    for (std::thread& t : threads) t.join();
    for (int t = 2; t < kThreads; ++t)
        EXPECT_EQ(results[static_cast<std::size_t>(t)], results[static_cast<std::size_t>(t % 2)]);
    EXPECT_NE(results[0].find("\xE2\x82\xAC"), std::string::npos);
    EXPECT_NE(results[1].find("\xE9\xBC\xA0"), std::string::npos);
}

}  // namespace
}  // namespace quorvik
