// The program's one XML class: the whole document kept as text plus an index of
// its elements. Callers walk it level by level (findNext / enter / leave /
// attribute) and build documents element by element (appendElement /
// setAttribute). Reading a file detects and converts its encoding to UTF-8.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace quorvik {

class XmlDocument {
public:
    // appendElement flags.
    static constexpr unsigned kNoLineBreak = 0x2;     // no CR LF after the element
    static constexpr unsigned kSpaceBeforeClose = 0x4; // "<name />" instead of "<name/>"
    static constexpr unsigned kStartTagOnly = 0x10;    // only "<name>"

    XmlDocument();

    // Replaces the text, clears the result log, then parses. Result of parse().
    bool setText(std::string_view text);
    // Reads the file into the text (encoding detected, converted to UTF-8).
    // Does not parse. False when the file cannot be opened/read; text is then empty.
    bool readFile(const std::string& path, std::string* resultLog = nullptr, unsigned* flags = nullptr);
    // Rebuilds the element index; positions reset. True when well-formed.
    bool parse();
    // Writes the text in its declared encoding (UTF-8 when none), no BOM.
    bool writeFile(const std::string& path, std::string* resultLog = nullptr, unsigned* flags = nullptr);

    // Navigation (forward only within the current level).
    bool findNext(std::string_view name);
    bool enter();
    bool leave();
    // Attribute of the current element with character references decoded;
    // empty when there is no current element or no such attribute.
    std::string attribute(std::string_view name) const;

    // Building.
    bool appendElement(std::string_view name, std::string_view content = {}, unsigned flags = 0);
    bool setAttribute(std::string_view name, std::string_view value);

    const std::string& text() const { return m_text; }
    const std::string& resultLog() const { return m_log; }

private:
    struct Element;  // defined in XmlDocument.cpp

    std::string m_text;
    std::string m_log;
    std::vector<Element> m_elements;  // [0] is the document itself
    int m_parent = 0;
    int m_current = 0;
    int m_child = 0;
    std::uint32_t m_docFlags = 0;
};

}  // namespace quorvik
