// Building documents: the exact text appendElement and setAttribute produce,
// insertion points at every level, escaping, and the round trip of built
// documents through the reader.
#include "files/XmlDocument.h"

#include <gtest/gtest.h>

#include <unistd.h>
#include <algorithm>
#include <cstdio>
#include <random>
#include <string>
#include <utility>
#include <vector>

namespace quorvik {
namespace {

constexpr const char* kDeclaration = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n";

TEST(XmlBuild, WriterLayoutOneElementPerLine) {
    XmlDocument doc;
    EXPECT_FALSE(doc.setText(kDeclaration)) << "declaration only: no root yet";
    ASSERT_TRUE(doc.appendElement("macro"));
    ASSERT_TRUE(doc.enter());
    ASSERT_TRUE(doc.appendElement("macroinfo"));
    ASSERT_TRUE(doc.setAttribute("name", "Fire"));
    ASSERT_TRUE(doc.setAttribute("loop", "1"));
    ASSERT_TRUE(doc.appendElement("macroitems"));
    ASSERT_TRUE(doc.enter());
    for (int i = 0; i < 2; ++i) {
        ASSERT_TRUE(doc.appendElement("item"));
        ASSERT_TRUE(doc.setAttribute("code", std::to_string(30 + i)));
    }
    ASSERT_TRUE(doc.leave());
    ASSERT_TRUE(doc.leave());
    EXPECT_EQ(doc.text(), std::string(kDeclaration) +
                              "<macro>\r\n"
                              "<macroinfo name=\"Fire\" loop=\"1\"/>\r\n"
                              "<macroitems>\r\n"
                              "<item code=\"30\"/>\r\n"
                              "<item code=\"31\"/>\r\n"
                              "</macroitems>\r\n"
                              "</macro>\r\n");
    EXPECT_TRUE(doc.parse()) << doc.resultLog();
}

TEST(XmlBuild, ElementForms) {
    struct Case {
        const char* name;
        const char* content;
        unsigned flags;
        const char* expected;
    } cases[] = {
        {"self-closed", "", 0, "<e/>\r\n"},
        {"space before close", "", XmlDocument::kSpaceBeforeClose, "<e />\r\n"},
        {"no line break", "", XmlDocument::kNoLineBreak, "<e/>"},
        {"start tag only", "", XmlDocument::kStartTagOnly, "<e>\r\n"},
        {"content escapes < & > only", "a<b & c>'\"", 0, "<e>a&lt;b &amp; c&gt;'\"</e>\r\n"},
        {"content without line break", "x", XmlDocument::kNoLineBreak, "<e>x</e>"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        XmlDocument doc;
        ASSERT_TRUE(doc.appendElement("e", c.content, c.flags));
        EXPECT_EQ(doc.text(), c.expected);
    }
}

TEST(XmlBuild, RejectsNamesThatWouldBreakTheMarkup) {
    XmlDocument doc;
    for (const char* bad : {"", "a b", "a>", "<a", "a/b", "1a", "-a", "a=\"", "a&b"}) {
        EXPECT_FALSE(doc.appendElement(bad)) << bad;
    }
    EXPECT_EQ(doc.text(), "");
    EXPECT_FALSE(doc.setAttribute("v", "1")) << "no current element";
    ASSERT_TRUE(doc.appendElement("ok"));
    EXPECT_FALSE(doc.setAttribute("a b", "1"));
    EXPECT_FALSE(doc.setAttribute("", "1"));
    EXPECT_EQ(doc.text(), "<ok/>\r\n");
}

TEST(XmlBuild, SetAttributeReplacesInPlaceOrAppends) {
    struct Case {
        const char* name;
        const char* start;
        const char* attribute;
        const char* value;
        const char* expected;
    } cases[] = {
        {"append to self-closed", "<a/>", "v", "1", "<a v=\"1\"/>"},
        {"keeps the space before />", "<a />", "v", "1", "<a v=\"1\" />"},
        {"append to start tag", "<a>t</a>", "v", "1", "<a v=\"1\">t</a>"},
        {"replace double quoted", "<a v=\"old\" w=\"2\"/>", "v", "new", "<a v=\"new\" w=\"2\"/>"},
        {"replace single quoted", "<a v='old'/>", "v", "x'y", "<a v='x&apos;y'/>"},
        {"replace unquoted", "<a v=old w=2/>", "v", "n", "<a v=\"n\" w=2/>"},
        {"value for a bare name", "<a v w=\"2\"/>", "v", "1", "<a v=\"1\" w=\"2\"/>"},
        {"first occurrence replaced", "<a v=\"1\" v=\"2\"/>", "v", "3", "<a v=\"3\" v=\"2\"/>"},
        {"all five escaped", "<a/>", "v", "<&>'\"", "<a v=\"&lt;&amp;&gt;&apos;&quot;\"/>"},
        {"empty value", "<a/>", "v", "", "<a v=\"\"/>"},
        // Found by fuzzing: the unquoted n=x must end at the quote, or the
        // quoted run after it swallows the new attribute when read back.
        {"dangling = before >", "<a n=>", "v", "1", "<a n=\"\" v=\"1\">"},
        {"dangling = before />", "<a n= />", "v", "1", "<a n=\"\" v=\"1\" />"},
        {"unquoted value before a quote", "<a n=x\"<a b=\"c>", "v", "1", "<a n=x\"<a b=\"c v=\"1\">"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        XmlDocument doc;
        doc.setText(c.start);
        ASSERT_TRUE(doc.findNext("a"));
        ASSERT_TRUE(doc.setAttribute(c.attribute, c.value));
        EXPECT_EQ(doc.text(), c.expected);
        EXPECT_EQ(doc.attribute(c.attribute), c.value);
    }
}

TEST(XmlBuild, EditsKeepTheIndexInStep) {
    XmlDocument doc;
    ASSERT_TRUE(
        doc.setText("<r>\r\n<a/>\r\n<b n=\"1\">\r\n<c n=\"2\"/>\r\n</b>\r\n<d n=\"3\"/>\r\n</r>\r\n"));
    ASSERT_TRUE(doc.findNext("r") && doc.enter() && doc.findNext("a"));
    ASSERT_TRUE(doc.setAttribute("long", std::string(100, 'x')));
    // Insert after a, between a and b.
    ASSERT_TRUE(doc.appendElement("between", "t"));
    ASSERT_TRUE(doc.setAttribute("n", "9"));
    ASSERT_TRUE(doc.findNext("b"));
    EXPECT_EQ(doc.attribute("n"), "1");
    ASSERT_TRUE(doc.enter() && doc.findNext("c"));
    EXPECT_EQ(doc.attribute("n"), "2");
    ASSERT_TRUE(doc.setAttribute("n", "22"));
    ASSERT_TRUE(doc.appendElement("c2"));
    ASSERT_TRUE(doc.leave());
    ASSERT_TRUE(doc.findNext("d"));
    EXPECT_EQ(doc.attribute("n"), "3");
    ASSERT_TRUE(doc.leave());
    EXPECT_EQ(doc.text(),
              "<r>\r\n<a long=\"" + std::string(100, 'x') +
                  "\"/>\r\n<between n=\"9\">t</between>\r\n<b n=\"1\">\r\n<c n=\"22\"/>\r\n<c2/>\r\n</b>\r\n"
                  "<d n=\"3\"/>\r\n</r>\r\n");

    // The edited text parses to the same walk.
    ASSERT_TRUE(doc.parse());
    ASSERT_TRUE(doc.findNext("r") && doc.enter() && doc.findNext("between"));
    EXPECT_EQ(doc.attribute("n"), "9");
    ASSERT_TRUE(doc.findNext("b") && doc.enter() && doc.findNext("c") && doc.findNext("c2"));
}

TEST(XmlBuild, AppendingWithoutCurrentGoesToTheEndOfTheLevel) {
    XmlDocument doc;
    ASSERT_TRUE(doc.setText("<r><a/></r>"));
    ASSERT_TRUE(doc.findNext("r") && doc.enter());
    ASSERT_TRUE(doc.appendElement("z"));
    EXPECT_EQ(doc.text(), "<r><a/><z/>\r\n</r>");
    ASSERT_TRUE(doc.parse());
    ASSERT_TRUE(doc.findNext("r") && doc.enter() && doc.findNext("a") && doc.findNext("z"));

    // An empty parent gets the child on a line of its own.
    ASSERT_TRUE(doc.setText("<r></r>"));
    ASSERT_TRUE(doc.findNext("r") && doc.enter() && doc.appendElement("x"));
    EXPECT_EQ(doc.text(), "<r>\r\n<x/>\r\n</r>");
}

TEST(XmlBuild, TwoChildrenOfASelfClosedElement) {
    XmlDocument doc;
    ASSERT_TRUE(doc.setText("<r>\r\n<list a=\"1\" />\r\n<after/>\r\n</r>\r\n"));
    ASSERT_TRUE(doc.findNext("r") && doc.enter() && doc.findNext("list") && doc.enter());
    ASSERT_TRUE(doc.appendElement("item"));
    ASSERT_TRUE(doc.setAttribute("n", "1"));
    ASSERT_TRUE(doc.appendElement("item"));
    ASSERT_TRUE(doc.setAttribute("n", "2"));
    ASSERT_TRUE(doc.leave());
    EXPECT_EQ(doc.attribute("a"), "1");
    ASSERT_TRUE(doc.findNext("after"));
    EXPECT_EQ(
        doc.text(),
        "<r>\r\n<list a=\"1\">\r\n<item n=\"1\"/>\r\n<item n=\"2\"/>\r\n</list>\r\n<after/>\r\n</r>\r\n");
    EXPECT_TRUE(doc.parse());
}

TEST(XmlBuild, ChildrenOfAStartTagOnlyElement) {
    XmlDocument doc;
    ASSERT_TRUE(doc.appendElement("list", {}, XmlDocument::kStartTagOnly));
    ASSERT_TRUE(doc.enter());
    ASSERT_TRUE(doc.appendElement("a"));
    ASSERT_TRUE(doc.appendElement("b"));
    ASSERT_TRUE(doc.leave());
    ASSERT_TRUE(doc.appendElement("next", {}, XmlDocument::kNoLineBreak));
    EXPECT_EQ(doc.text(), "<list>\r\n<a/>\r\n<b/>\r\n<next/>");
}

// A tree to build with appendElement/setAttribute and to check by walking.
struct Node {
    std::string name;
    std::vector<std::pair<std::string, std::string>> attributes;
    std::string content;
    std::vector<Node> children;
};

void build(XmlDocument& doc, const std::vector<Node>& nodes) {
    for (const Node& n : nodes) {
        ASSERT_TRUE(doc.appendElement(n.name, n.content));
        for (const auto& [name, value] : n.attributes) ASSERT_TRUE(doc.setAttribute(name, value));
        if (!n.children.empty()) {
            ASSERT_TRUE(doc.enter());
            build(doc, n.children);
            ASSERT_TRUE(doc.leave());
        }
    }
}

void expectWalk(XmlDocument& doc, const std::vector<Node>& nodes) {
    for (const Node& n : nodes) {
        ASSERT_TRUE(doc.findNext(n.name)) << n.name;
        for (const auto& [name, value] : n.attributes)
            EXPECT_EQ(doc.attribute(name), value) << n.name << "." << name;
        ASSERT_TRUE(doc.enter());
        expectWalk(doc, n.children);
        for (const char* name : {"item", "list", "macro", "x"})
            EXPECT_FALSE(doc.findNext(name)) << "extra " << name;
        ASSERT_TRUE(doc.leave());
    }
}

std::vector<Node> randomTree(std::mt19937& rng, int depth) {
    static const char* const names[] = {"item", "list", "macro", "x"};
    static const char* const values[] = {"",
                                         "0",
                                         "-12",
                                         "a<b",
                                         "x&y",
                                         "p>q",
                                         "it's",
                                         "say \"hi\"",
                                         "<&>'\"",
                                         "&amp;",
                                         "&#65;",
                                         "Caf\xC3\xA9",
                                         "\xE9\xBC\xA0\xE6\xA0\x87",
                                         "\xF0\x9F\x98\x80",
                                         " lead and trail ",
                                         "tab\tin"};
    std::vector<Node> nodes(rng() % 4 + (depth == 0 ? 0 : 0));
    for (Node& n : nodes) {
        n.name = names[rng() % 4];
        const int attributeCount = static_cast<int>(rng() % 4);
        for (int a = 0; a < attributeCount; ++a)
            n.attributes.emplace_back("a" + std::to_string(a), values[rng() % std::size(values)]);
        if (depth < 3 && rng() % 2) n.children = randomTree(rng, depth + 1);
    }
    return nodes;
}

TEST(XmlBuild, BuiltDocumentsReadBackTheSame) {
    std::mt19937 rng(20261211);
    const std::string path =
        ::testing::TempDir() + "quorvik_xml_round_trip_" + std::to_string(::getpid()) + ".xml";
    for (int round = 0; round < 200; ++round) {
        SCOPED_TRACE(round);
        Node root{"root", {{"version", "1"}}, {}, randomTree(rng, 1)};
        XmlDocument doc;
        doc.setText(kDeclaration);
        build(doc, {root});
        // The built index walks the same as the parsed one.
        XmlDocument reparsed;
        ASSERT_TRUE(reparsed.setText(doc.text())) << reparsed.resultLog();
        expectWalk(reparsed, {root});
        ASSERT_TRUE(doc.parse());
        expectWalk(doc, {root});
        // And through a file (every fifth round; writing syncs to disk):
        // written as UTF-8, read back, same walk.
        if (round % 5) continue;
        ASSERT_TRUE(doc.writeFile(path));
        XmlDocument fromFile;
        ASSERT_TRUE(fromFile.readFile(path));
        EXPECT_EQ(fromFile.text(), doc.text());
        ASSERT_TRUE(fromFile.parse());
        expectWalk(fromFile, {root});
    }
    std::remove(path.c_str());
}

// Moves to child `k` of the level whose children are `level` (from no current).
void goToChild(XmlDocument& doc, const std::vector<Node>& level, std::size_t k) {
    for (std::size_t i = 0; i <= k; ++i) ASSERT_TRUE(doc.findNext(level[i].name));
}

// Checks the current element against `node`, then its children.
void expectCurrent(XmlDocument& doc, const Node& node) {
    for (const auto& [name, value] : node.attributes)
        EXPECT_EQ(doc.attribute(name), value) << node.name << "." << name;
    ASSERT_TRUE(doc.enter());
    expectWalk(doc, node.children);
    ASSERT_TRUE(doc.leave());
}

// Edits at random places of a built document, mirrored in a tree model. The
// edited index (never re-parsed) and a fresh parse of the edited text must
// both walk as the model says.
TEST(XmlBuild, RandomEditsKeepIndexAndTextInStep) {
    std::mt19937 rng(7);
    for (int round = 0; round < 60; ++round) {
        SCOPED_TRACE(round);
        std::vector<Node> tree{{"root", {}, {}, randomTree(rng, 1)}};
        XmlDocument doc;
        doc.setText(kDeclaration);
        build(doc, tree);  // leaves the root current at document level
        for (int edit = 0; edit < 12; ++edit) {
            SCOPED_TRACE(edit);
            std::vector<Node>* level = &tree;
            Node* current = &tree[0];
            while (!current->children.empty() && rng() % 3 != 0) {
                ASSERT_TRUE(doc.enter());
                level = &current->children;
                const std::size_t k = rng() % level->size();
                goToChild(doc, *level, k);
                current = &(*level)[k];
            }
            const std::string value = "v" + std::to_string(edit) + (rng() % 2 ? "<&>\"'" : "");
            const unsigned kind = rng() % 3;
            if (kind == 0 && current != &tree[0]) {  // a sibling right after the current element
                ASSERT_TRUE(doc.appendElement("x"));
                ASSERT_TRUE(doc.setAttribute("a0", value));
                const auto k = current - level->data();
                level->insert(level->begin() + k + 1, Node{"x", {{"a0", value}}, {}, {}});
            } else if (kind == 1) {  // the last child of the current element
                ASSERT_TRUE(doc.enter());
                ASSERT_TRUE(doc.appendElement("item", rng() % 2 ? "" : "text & more"));
                ASSERT_TRUE(doc.setAttribute("a1", value));
                current->children.push_back(Node{"item", {{"a1", value}}, {}, {}});
            } else {  // an attribute, replaced or added
                const std::string name = "a" + std::to_string(rng() % 5);
                ASSERT_TRUE(doc.setAttribute(name, value));
                auto it = std::find_if(current->attributes.begin(), current->attributes.end(),
                                       [&](const auto& a) { return a.first == name; });
                if (it != current->attributes.end())
                    it->second = value;
                else
                    current->attributes.emplace_back(name, value);
            }
            while (doc.leave()) {
            }
            expectCurrent(doc, tree[0]);
            XmlDocument reparsed;
            ASSERT_TRUE(reparsed.setText(doc.text())) << reparsed.resultLog();
            expectWalk(reparsed, tree);
        }
    }
}

TEST(XmlBuild, BuildingManyElementsStaysConsistent) {
    XmlDocument doc;
    doc.setText(kDeclaration);
    ASSERT_TRUE(doc.appendElement("root") && doc.enter());
    for (int i = 0; i < 5000; ++i) {
        ASSERT_TRUE(doc.appendElement("item"));
        ASSERT_TRUE(doc.setAttribute("n", std::to_string(i)));
    }
    ASSERT_TRUE(doc.leave());
    ASSERT_TRUE(doc.parse());
    ASSERT_TRUE(doc.findNext("root") && doc.enter());
    for (int i = 0; i < 5000; ++i) {
        ASSERT_TRUE(doc.findNext("item"));
        ASSERT_EQ(doc.attribute("n"), std::to_string(i));
    }
    EXPECT_FALSE(doc.findNext("item"));
}

}  // namespace
}  // namespace quorvik
