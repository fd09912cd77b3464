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

namespace detail {
struct TagAttribute;
}

class XmlDocument {
public:
    // appendElement flags.
    static constexpr unsigned kNoLineBreak = 0x2;       // no CR LF after the element
    static constexpr unsigned kSpaceBeforeClose = 0x4;  // "<name />" instead of "<name/>"
    static constexpr unsigned kStartTagOnly = 0x10;     // only "<name>"

    // readFile / writeFile flags (out): what the file turned out to hold.
    static constexpr unsigned kFileByteOrderMark = 0x100;     // the file began with a BOM
    static constexpr unsigned kFileUtf16 = 0x200;             // 16-bit text (UTF-16LE/BE mark)
    static constexpr unsigned kFileConversionFailed = 0x400;  // text converted only partly
    static constexpr unsigned kFileConversionLoss = 0x800;    // characters written as '?'

    XmlDocument();
    ~XmlDocument();
    XmlDocument(const XmlDocument& other);
    XmlDocument& operator=(const XmlDocument& other);
    XmlDocument(XmlDocument&& other) noexcept;
    XmlDocument& operator=(XmlDocument&& other) noexcept;

    // Replaces the text, clears the result log, then parses. Result of parse().
    bool setText(std::string_view text);
    // Reads the file into the text (encoding detected, converted to UTF-8).
    // Does not parse. False when the file cannot be opened/read; text is then empty.
    bool readFile(const std::string& path, std::string* resultLog = nullptr, unsigned* flags = nullptr);
    // Rebuilds the element index; positions reset. True when well-formed.
    bool parse();
    // Writes the text in its declared encoding (UTF-8 when none), no BOM,
    // through a temporary file and rename so a failure keeps the old file.
    // False when the file cannot be written or the declared charset is unknown.
    bool writeFile(const std::string& path, std::string* resultLog = nullptr, unsigned* flags = nullptr);

    // Navigation (forward only within the current level).
    bool findNext(std::string_view name);
    bool enter();
    bool leave();
    // Attribute of the current element with character references decoded;
    // empty when there is no current element or no such attribute.
    std::string attribute(std::string_view name) const;

    // Building. appendElement inserts after the current element (at the end of
    // the level when there is none) and makes the new element current; content
    // is escaped (< & >) and written between start and end tag (after the start
    // tag with kStartTagOnly). setAttribute escapes the value (< & > ' ") and
    // replaces the first attribute of that name or appends one. Both return
    // false, changing nothing, for a name that would break the markup
    // (empty, white space, < > / = quotes &) or, for setAttribute, when there
    // is no current element.
    bool appendElement(std::string_view name, std::string_view content = {}, unsigned flags = 0);
    bool setAttribute(std::string_view name, std::string_view value);

    const std::string& text() const { return m_text; }
    const std::string& resultLog() const { return m_log; }

private:
    struct Element;  // defined in XmlDocument.cpp

    std::string_view elementName(int index) const;
    detail::TagAttribute findAttribute(int index, std::string_view name) const;
    void log(std::string_view event, std::string_view detailName = {}, std::string_view detail = {},
             std::string_view numberName = {}, long long number = -1);
    void resetIndex();
    // Replaces bytes [pos, pos + removed) inside the start tag of `index` and
    // shifts the index: the element and its ancestors grow, later ones move.
    void spliceStartTag(int index, std::size_t pos, std::size_t removed, std::string_view inserted);
    // Inserts a record at document-order position `at`, renumbering links.
    void insertRecord(int at);
    bool appendToSelfClosedParent(std::string_view elementText, std::string_view lineBreak,
                                  const Element& record);

    std::string m_text;
    std::string m_log;
    std::vector<Element> m_elements;  // [0] is the document itself
    int m_parent = 0;
    int m_current = 0;
    int m_child = 0;
    std::uint32_t m_docFlags = 0;
    bool m_logFull = false;  // the result log has reached its limit (parse logs skip work)
};

}  // namespace quorvik
