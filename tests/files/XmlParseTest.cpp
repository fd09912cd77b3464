// Parsing and walking: well-formedness results and their log events,
// navigation rules of findNext/enter/leave, attribute reading and character
// references, and robustness against truncated and malformed text.
#include "files/XmlDocument.h"

#include <gtest/gtest.h>

#include <string>

namespace quorvik {
namespace {

TEST(XmlParse, WellFormednessAndLoggedEvent) {
    struct Case {
        const char* name;
        std::string text;
        bool wellFormed;
        const char* logged;  // fragment expected in the result log ("" = log empty)
    } cases[] = {
        {"declaration and root", "<?xml version=\"1.0\"?>\r\n<a x=\"1\"/>\r\n", true, ""},
        {"nested with comment, CDATA, PI, doctype",
         "<!DOCTYPE a [<!ENTITY e \"v>\">]><a><!-- c > --><![CDATA[<b>]]><?pi x?><b></b></a>", true, ""},
        {"quoted > does not end a tag", "<a x=\"1>2\" y='>'/>", true, ""},
        {"declaration only", "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n", false, "<no_root_element/>"},
        {"empty text", "", false, "<no_root_element/>"},
        {"two roots", "<a/><b/>", false, "<root_has_sibling tagname=\"b\" offset=\"4\"/>"},
        {"lone end tag", "<a></b></a>", false, "<lone_end_tag tagname=\"b\" offset=\"3\"/>"},
        {"end tag closes inner unended", "<a><b><c></a>", false,
         "<unended_start_tag tagname=\"c\" offset=\"6\"/>"},
        {"open at end of text", "<a><b/>", false, "<unended_start_tag tagname=\"a\" offset=\"0\"/>"},
        {"names compared with case", "<a></A>", false, "<lone_end_tag tagname=\"A\""},
        {"bad first character", "<a>< b</a>", false, "<first_tag_syntax offset=\"3\"/>"},
        {"bad exclamation", "<a><!x></a>", false, "<exclamation_tag_syntax offset=\"3\"/>"},
        {"bad comment", "<a><!-x></a>", false, "<comment_tag_syntax offset=\"3\"/>"},
        {"bad cdata", "<a><![CDAT[x]]></a>", false, "<cdata_section_syntax offset=\"3\"/>"},
        {"bad doctype", "<!DOCTYP a><a/>", false, "<doctype_tag_syntax offset=\"0\"/>"},
        {"unterminated start tag", "<a><b x=\"1>", false,
         "<unterminated_tag_syntax type=\"start_tag\" offset=\"3\"/>"},
        {"unterminated end tag", "<a></a", false, "<unterminated_tag_syntax type=\"end_tag\" offset=\"3\"/>"},
        {"unterminated comment", "<a/><!-- x", false, "type=\"comment\" offset=\"4\""},
        {"unterminated cdata", "<a><![CDATA[x", false, "type=\"cdata_section\" offset=\"3\""},
        {"unterminated PI", "<?xml version", false, "type=\"processing_instruction\" offset=\"0\""},
        {"unterminated doctype", "<!DOCTYPE a [ <!ELEMENT a ANY> ", false,
         "type=\"document_type\" offset=\"0\""},
        {"lone < at the end", "<a/><", false, "type=\"tag\" offset=\"4\""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        XmlDocument doc;
        EXPECT_EQ(doc.setText(c.text), c.wellFormed);
        if (*c.logged)
            EXPECT_NE(doc.resultLog().find(c.logged), std::string::npos) << doc.resultLog();
        else
            EXPECT_EQ(doc.resultLog(), "");
    }
}

TEST(XmlParse, IndexStillWalksANotWellFormedDocument) {
    XmlDocument doc;
    EXPECT_FALSE(doc.setText("<a n=\"1\"/><b n=\"2\"/>"));
    ASSERT_TRUE(doc.findNext("a"));
    EXPECT_EQ(doc.attribute("n"), "1");
    ASSERT_TRUE(doc.findNext("b"));
    EXPECT_EQ(doc.attribute("n"), "2");

    // The unended <item> is closed by </list>, so <next> is its sibling.
    EXPECT_FALSE(doc.setText("<r><list><item v=\"1\"></list><next/></r>"));
    ASSERT_TRUE(doc.findNext("r") && doc.enter());
    ASSERT_TRUE(doc.findNext("list") && doc.enter() && doc.findNext("item"));
    EXPECT_EQ(doc.attribute("v"), "1");
    ASSERT_TRUE(doc.leave());
    EXPECT_TRUE(doc.findNext("next"));
}

TEST(XmlNavigation, FindNextSearchesForwardWithinOneLevel) {
    XmlDocument doc;
    ASSERT_TRUE(doc.setText("<root><a i=\"1\"/><b i=\"2\"><a i=\"inner\"/></b><a i=\"3\"/><c/></root>"));
    EXPECT_FALSE(doc.findNext("a")) << "a is not at document level";
    EXPECT_FALSE(doc.enter()) << "no current element";
    EXPECT_FALSE(doc.leave()) << "already at document level";
    ASSERT_TRUE(doc.findNext("root"));
    ASSERT_TRUE(doc.enter());
    ASSERT_TRUE(doc.findNext("b"));
    ASSERT_TRUE(doc.findNext("a"));
    EXPECT_EQ(doc.attribute("i"), "3") << "skips the child of b and the a before b";
    EXPECT_FALSE(doc.findNext("b")) << "b comes before the current element";
    EXPECT_EQ(doc.attribute("i"), "3") << "a failed search leaves the position alone";
    EXPECT_FALSE(doc.findNext("A")) << "names are compared with letter case";
    ASSERT_TRUE(doc.findNext("c"));
    EXPECT_TRUE(doc.enter());
    EXPECT_FALSE(doc.findNext("a")) << "c has no children";
    ASSERT_TRUE(doc.leave());
    ASSERT_TRUE(doc.leave());
    EXPECT_FALSE(doc.leave());
    EXPECT_FALSE(doc.findNext("root")) << "root is already current";
}

TEST(XmlNavigation, SetTextAndParseResetThePosition) {
    XmlDocument doc;
    ASSERT_TRUE(doc.setText("<r><x v=\"1\"/></r>"));
    ASSERT_TRUE(doc.findNext("r") && doc.enter() && doc.findNext("x"));
    ASSERT_TRUE(doc.parse());
    EXPECT_EQ(doc.attribute("v"), "") << "no current element after parse";
    EXPECT_TRUE(doc.findNext("r"));
}

TEST(XmlAttributes, ValueForms) {
    struct Case {
        const char* name;
        const char* tag;
        const char* attribute;
        const char* expected;
    } cases[] = {
        {"double quotes", "<a v=\"x y\"/>", "v", "x y"},
        {"single quotes", "<a v='say \"hi\"'/>", "v", "say \"hi\""},
        {"spaces around =", "<a v = \"1\" />", "v", "1"},
        {"unquoted ends at space", "<a v=12 w=3/>", "w", "3"},
        {"unquoted before >", "<a v=12>text</a>", "v", "12"},
        {"first occurrence counts", "<a v=\"1\" v=\"2\"/>", "v", "1"},
        {"missing attribute", "<a v=\"1\"/>", "w", ""},
        {"name is not a prefix match", "<a value=\"1\"/>", "v", ""},
        {"attribute names are case sensitive", "<a V=\"1\"/>", "v", ""},
        {"value containing the name", "<a w=\"v=2\" v=\"3\"/>", "v", "3"},
        {"no value", "<a v w=\"1\"/>", "v", ""},
        {"newlines between attributes", "<a\r\nv=\"1\"\r\n/>", "v", "1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        XmlDocument doc;
        doc.setText(c.tag);
        ASSERT_TRUE(doc.findNext("a"));
        EXPECT_EQ(doc.attribute(c.attribute), c.expected);
    }
    XmlDocument empty;
    EXPECT_EQ(empty.attribute("v"), "") << "no current element";
}

TEST(XmlAttributes, CharacterReferences) {
    struct Case {
        const char* value;
        const char* expected;
    } cases[] = {
        {"&#65;&#x41;&#X41;", "AAA"},
        {"&lt;&gt;&amp;&quot;&apos;", "<>&\"'"},
        {"&AMP;&Amp;", "&&"},
        {"&eacute;&Eacute;&EACUTE;",
         "\xC3\xA9\xC3\x89\xC3\x89"},  // é É É: capitals win only without an exact match
        {"&oslash;&OSLASH;", "\xC3\xB8\xC3\x98"},
        {"&larr;&lArr;&LARR;", "\xE2\x86\x90\xE2\x87\x90\xE2\x87\x90"},
        {"&euro;&hellip;&Omega;&omega;&thetasym;", "\xE2\x82\xAC\xE2\x80\xA6\xCE\xA9\xCF\x89\xCF\x91"},
        {"&nbsp;&yuml;&Yuml;", "\xC2\xA0\xC3\xBF\xC5\xB8"},
        {"&#x1F600;&#128512;", "\xF0\x9F\x98\x80\xF0\x9F\x98\x80"},
        {"&#xD83D;&#xDE00;", "\xF0\x9F\x98\x80"},  // a surrogate pair spelt as two references
        {"&#xD83D;x", "&#xD83D;x"},                // a lone surrogate has no UTF-8 form
        {"&#0;&#x0;&#x110000;", "&#0;&#x0;&#x110000;"},
        {"&unknown;&;&#;&#x;&#12a;", "&unknown;&;&#;&#x;&#12a;"},
        {"&thetasymxx;", "&thetasymxx;"},  // ten characters: too long to be a reference
        {"&#00000065;", "A"},              // nine characters
        {"&#000000065;", "&#000000065;"},  // ten
        {"a & b &amp c", "a & b &amp c"},
        {"&&amp;", "&&"},
        {"\xC3\xA9&#233;", "\xC3\xA9\xC3\xA9"},
    };
    for (const Case& c : cases) {
        XmlDocument doc;
        doc.setText(std::string("<a v=\"") + c.value + "\"/>");
        ASSERT_TRUE(doc.findNext("a"));
        EXPECT_EQ(doc.attribute("v"), c.expected) << c.value;
    }
}

// Every prefix of a well-formed document parses without crashing, and the
// index it builds can be walked and read.
TEST(XmlParse, EveryTruncatedPrefixIsSafe) {
    const std::string full =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n"
        "<!DOCTYPE macro [<!ENTITY e \"x\">]>\r\n"
        "<macro>\r\n<!-- steps -->\r\n"
        "<macroinfo name=\"M&amp;1 \xC3\xA9\" count=\"2\"/>\r\n"
        "<macroitems>\r\n<item type='1' code=\"30\" delay=\"10\"/>\r\n"
        "<![CDATA[<item>]]><?pi data?>\r\n<item type=\"2\" code=\"&#x41;\" delay=\"20\" />\r\n"
        "</macroitems>\r\n</macro>\r\n";
    for (std::size_t n = 0; n <= full.size(); ++n) {
        XmlDocument doc;
        const bool ok = doc.setText(full.substr(0, n));
        if (n == full.size()) {
            EXPECT_TRUE(ok) << doc.resultLog();
        }
        if (ok) {
            EXPECT_GE(n, full.find("</macro>") + 8) << "a prefix cut before </macro> cannot be well-formed";
        }
        if (doc.findNext("macro") && doc.enter()) {
            doc.findNext("macroinfo");
            doc.attribute("name");
            if (doc.findNext("macroitems") && doc.enter()) {
                while (doc.findNext("item")) doc.attribute("code");
                doc.leave();
            }
            doc.leave();
        }
        EXPECT_LE(doc.resultLog().size(), 1100u);
    }
}

TEST(XmlParse, ResultLogStopsGrowingAfter999Characters) {
    std::string text = "<r>";
    for (int i = 0; i < 500; ++i) text += "</x>";
    text += "</r>";
    XmlDocument doc;
    EXPECT_FALSE(doc.setText(text));
    const std::string& log = doc.resultLog();
    EXPECT_GT(log.size(), 999u);
    // The fragment that crossed the limit is complete; nothing follows it.
    EXPECT_LT(log.size(), 999u + 60u);
    EXPECT_EQ(log.substr(log.size() - 2), "/>");
}

TEST(XmlParse, DeepNestingAndLongTextsAreHandled) {
    std::string text;
    for (int i = 0; i < 100000; ++i) text += "<d>";
    XmlDocument doc;
    EXPECT_FALSE(doc.setText(text)) << "all left open";
    ASSERT_TRUE(doc.findNext("d") && doc.enter() && doc.findNext("d"));

    std::string closed = text;
    for (int i = 0; i < 100000; ++i) closed += "</d>";
    EXPECT_TRUE(doc.setText(closed));

    // Lone end tags under deep nesting: each is settled without rescanning
    // the 100,000 open elements (this took minutes when it did).
    std::string lone = text;
    for (int i = 0; i < 100000; ++i) lone += "</x>";
    lone += "</d>";
    EXPECT_FALSE(doc.setText(lone));
    ASSERT_TRUE(doc.findNext("d") && doc.enter() && doc.findNext("d"));
}

}  // namespace
}  // namespace quorvik
