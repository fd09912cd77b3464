// XmlDocument: one UTF-8 text plus an index of its elements in document order.
// Parsing indexes elements only; edits splice the text and shift the index so
// positions stay valid while a document is being built.
#include "files/XmlDocument.h"

#include "base/FileIo.h"
#include "base/Text.h"
#include "files/detail/XmlEntities.h"
#include "files/detail/XmlFileCodec.h"
#include "files/detail/XmlResultLog.h"
#include "files/detail/XmlTagScan.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <unordered_map>

namespace quorvik {

using detail::appendLogEvent;
using detail::logNumber;

struct XmlDocument::Element {
    std::size_t start = 0;             // byte offset of '<'
    std::size_t length = 0;            // whole element, end tag included
    std::uint32_t startTagLength = 0;  // the whole text for a self-closed element
    std::uint32_t endTagLength = 0;    // 0 when self-closed or unended
    std::uint32_t nameLength = 0;
    int parent = 0;
    int firstChild = 0;
    int lastChild = 0;
    int next = 0;
    int prev = 0;
    int level = 0;
    std::uint32_t flags = 0;

    std::size_t end() const { return start + length; }
};

namespace {

constexpr std::uint32_t kUnended = 0x1;
constexpr std::uint32_t kSelfClosed = 0x2;
constexpr std::uint32_t kNotWellFormed = 0x4;  // record 0 only

std::string systemErrorText(int error) {
    char buffer[256];
    // GNU strerror_r returns the message (possibly not in buffer).
    return ::strerror_r(error, buffer, sizeof buffer);
}

}  // namespace

XmlDocument::XmlDocument() {
    m_elements.emplace_back();
}

XmlDocument::~XmlDocument() = default;
XmlDocument::XmlDocument(const XmlDocument& other) = default;
XmlDocument& XmlDocument::operator=(const XmlDocument& other) = default;
XmlDocument::XmlDocument(XmlDocument&& other) noexcept = default;
XmlDocument& XmlDocument::operator=(XmlDocument&& other) noexcept = default;

void XmlDocument::resetIndex() {
    m_elements.assign(1, Element{});
    m_elements[0].length = m_text.size();
    m_parent = m_current = m_child = 0;
}

void XmlDocument::log(std::string_view event, std::string_view detailName, std::string_view detail,
                      std::string_view numberName, long long number) {
    // A damaged document can raise an event per tag; once the log is full
    // they cost nothing.
    if (m_logFull) return;
    if (detailName.empty() && numberName.empty()) {
        appendLogEvent(m_log, event);
    } else if (numberName.empty()) {
        appendLogEvent(m_log, event, {{detailName, std::string(detail)}});
    } else if (detailName.empty()) {
        appendLogEvent(m_log, event, {logNumber(numberName, number)});
    } else {
        appendLogEvent(m_log, event, {{detailName, std::string(detail)}, logNumber(numberName, number)});
    }
    m_logFull = detail::resultLogFull(m_log);
}

bool XmlDocument::setText(std::string_view text) {
    m_text.assign(text.data() ? text : std::string_view());
    m_log.clear();
    m_logFull = false;
    return parse();
}

std::string_view XmlDocument::elementName(int index) const {
    const Element& e = m_elements[static_cast<std::size_t>(index)];
    return std::string_view(m_text).substr(e.start + 1, e.nameLength);
}

bool XmlDocument::parse() {
    const std::string_view text(m_text);
    const std::size_t size = text.size();
    m_elements.clear();
    m_elements.reserve(size / 64 + 8);
    resetIndex();
    bool wellFormed = true;
    std::vector<int> open;
    // Open elements by name, kept only once an end tag has failed to match the
    // innermost element: a well-formed document never pays for it, and a run
    // of lone end tags under deep nesting does not rescan the whole stack.
    std::unordered_map<std::string_view, int> openByName;
    bool countingNames = false;
    auto pushOpen = [&](int index) {
        open.push_back(index);
        if (countingNames) ++openByName[elementName(index)];
    };
    auto popOpen = [&] {
        if (countingNames) --openByName[elementName(open.back())];
        open.pop_back();
    };

    auto addElement = [&](std::size_t start, std::size_t nameLength) {
        const int parent = open.empty() ? 0 : open.back();
        const int index = static_cast<int>(m_elements.size());
        Element e;
        e.start = start;
        e.nameLength = static_cast<std::uint32_t>(nameLength);
        e.parent = parent;
        e.level = m_elements[static_cast<std::size_t>(parent)].level + 1;
        Element& p = m_elements[static_cast<std::size_t>(parent)];
        e.prev = p.lastChild;
        if (p.lastChild)
            m_elements[static_cast<std::size_t>(p.lastChild)].next = index;
        else
            p.firstChild = index;
        p.lastChild = index;
        m_elements.push_back(e);
        return index;
    };
    auto closeUnended = [&](int index, std::size_t at) {
        Element& e = m_elements[static_cast<std::size_t>(index)];
        e.length = at - e.start;
        e.flags |= kUnended;
        log("unended_start_tag", "tagname", elementName(index), "offset", static_cast<long long>(e.start));
        wellFormed = false;
    };
    auto unterminated = [&](std::string_view kind, std::size_t offset) {
        log("unterminated_tag_syntax", "type", kind, "offset", static_cast<long long>(offset));
        wellFormed = false;
    };
    // A malformed "<!" or "<" construct: logged, then skipped up to its '>'.
    auto syntaxError = [&](std::string_view event, std::size_t offset) {
        log(event, {}, {}, "offset", static_cast<long long>(offset));
        wellFormed = false;
        const std::size_t close = text.find('>', offset + 1);
        return close == std::string_view::npos ? offset + 1 : close + 1;
    };

    std::size_t pos = 0;
    while (pos < size) {
        const void* lt = std::memchr(text.data() + pos, '<', size - pos);
        if (!lt) break;
        const std::size_t tagStart = static_cast<std::size_t>(static_cast<const char*>(lt) - text.data());
        const std::size_t p = tagStart + 1;
        if (p >= size) {
            unterminated("tag", tagStart);
            break;
        }
        const char c = text[p];
        if (detail::isNameStart(c)) {
            const std::size_t nameEnd = detail::nameEndAt(text, p);
            const std::size_t tagEnd = detail::findTagEnd(text, nameEnd);
            if (tagEnd == std::string_view::npos) {
                unterminated("start_tag", tagStart);
                break;
            }
            const int index = addElement(tagStart, nameEnd - p);
            Element& e = m_elements[static_cast<std::size_t>(index)];
            e.startTagLength = static_cast<std::uint32_t>(tagEnd + 1 - tagStart);
            if (text[tagEnd - 1] == '/' && tagEnd - 1 >= nameEnd) {
                e.flags |= kSelfClosed;
                e.length = e.startTagLength;
            } else {
                pushOpen(index);
            }
            pos = tagEnd + 1;
        } else if (c == '/') {
            const std::size_t nameEnd = detail::nameEndAt(text, p + 1);
            const std::size_t tagEnd = detail::findTagEnd(text, nameEnd);
            if (tagEnd == std::string_view::npos) {
                unterminated("end_tag", tagStart);
                break;
            }
            const std::string_view name = text.substr(p + 1, nameEnd - p - 1);
            std::size_t match = open.size();
            if (match > 0 && elementName(open.back()) != name) {
                if (!countingNames) {
                    countingNames = true;
                    for (int i : open) ++openByName[elementName(i)];
                }
                const auto found = openByName.find(name);
                if (found == openByName.end() || found->second == 0)
                    match = 0;
                else
                    while (match > 0 && elementName(open[match - 1]) != name) --match;
            }
            if (match == 0) {
                log("lone_end_tag", "tagname", name, "offset", static_cast<long long>(tagStart));
                wellFormed = false;
            } else {
                while (open.size() > match) {
                    closeUnended(open.back(), tagStart);
                    popOpen();
                }
                Element& e = m_elements[static_cast<std::size_t>(open.back())];
                e.length = tagEnd + 1 - e.start;
                e.endTagLength = static_cast<std::uint32_t>(tagEnd + 1 - tagStart);
                popOpen();
            }
            pos = tagEnd + 1;
        } else if (c == '?') {
            const std::size_t close = text.find("?>", p + 1);
            if (close == std::string_view::npos) {
                unterminated("processing_instruction", tagStart);
                break;
            }
            pos = close + 2;
        } else if (c == '!') {
            const std::string_view rest = text.substr(p + 1);
            if (rest.substr(0, 2) == "--") {
                const std::size_t close = text.find("-->", p + 3);
                if (close == std::string_view::npos) {
                    unterminated("comment", tagStart);
                    break;
                }
                pos = close + 3;
            } else if (rest.substr(0, 7) == "[CDATA[") {
                const std::size_t close = text.find("]]>", p + 8);
                if (close == std::string_view::npos) {
                    unterminated("cdata_section", tagStart);
                    break;
                }
                pos = close + 3;
            } else if (rest.substr(0, 7) == "DOCTYPE" && rest.size() > 7 && detail::isXmlSpace(rest[7])) {
                // The internal subset in brackets may hold '>' of its own.
                std::size_t q = p + 8;
                bool inSubset = false;
                std::size_t close = std::string_view::npos;
                while (q < size) {
                    const char d = text[q];
                    if (d == '"' || d == '\'') {
                        const std::size_t quote = text.find(d, q + 1);
                        if (quote == std::string_view::npos) break;
                        q = quote + 1;
                        continue;
                    }
                    if (d == '[')
                        inSubset = true;
                    else if (d == ']')
                        inSubset = false;
                    else if (d == '>' && !inSubset) {
                        close = q;
                        break;
                    }
                    ++q;
                }
                if (close == std::string_view::npos) {
                    unterminated("document_type", tagStart);
                    break;
                }
                pos = close + 1;
            } else if (!rest.empty() && rest[0] == '-') {
                pos = syntaxError("comment_tag_syntax", tagStart);
            } else if (!rest.empty() && rest[0] == '[') {
                pos = syntaxError("cdata_section_syntax", tagStart);
            } else if (!rest.empty() && (rest[0] == 'D' || rest[0] == 'd')) {
                pos = syntaxError("doctype_tag_syntax", tagStart);
            } else {
                pos = syntaxError("exclamation_tag_syntax", tagStart);
            }
        } else {
            log("first_tag_syntax", {}, {}, "offset", static_cast<long long>(tagStart));
            wellFormed = false;
            pos = p;
        }
    }
    while (!open.empty()) {
        closeUnended(open.back(), size);
        open.pop_back();
    }

    int roots = 0;
    for (int i = m_elements[0].firstChild; i; i = m_elements[static_cast<std::size_t>(i)].next) {
        if (++roots == 2)
            log("root_has_sibling", "tagname", elementName(i), "offset",
                static_cast<long long>(m_elements[static_cast<std::size_t>(i)].start));
    }
    if (roots == 0) log("no_root_element");
    wellFormed = wellFormed && roots == 1;
    if (!wellFormed) m_elements[0].flags |= kNotWellFormed;
    return wellFormed;
}

bool XmlDocument::findNext(std::string_view name) {
    int i = m_current ? m_elements[static_cast<std::size_t>(m_current)].next
                      : m_elements[static_cast<std::size_t>(m_parent)].firstChild;
    for (; i; i = m_elements[static_cast<std::size_t>(i)].next) {
        if (elementName(i) == name) {
            m_current = i;
            m_child = 0;
            return true;
        }
    }
    return false;
}

bool XmlDocument::enter() {
    if (!m_current) return false;
    m_parent = m_current;
    m_current = 0;
    m_child = 0;
    return true;
}

bool XmlDocument::leave() {
    if (!m_parent) return false;
    m_child = m_current;
    m_current = m_parent;
    m_parent = m_elements[static_cast<std::size_t>(m_parent)].parent;
    return true;
}

detail::TagAttribute XmlDocument::findAttribute(int index, std::string_view name) const {
    const Element& e = m_elements[static_cast<std::size_t>(index)];
    const std::size_t begin = e.start + 1 + e.nameLength;
    std::size_t end = e.start + e.startTagLength - 1;  // the closing '>'
    if (end > begin && m_text[end - 1] == '/') --end;
    return detail::findTagAttribute(m_text, begin, end, name);
}

std::string XmlDocument::attribute(std::string_view name) const {
    if (!m_current || name.empty()) return {};
    const detail::TagAttribute span = findAttribute(m_current, name);
    if (!span.found) return {};
    return detail::decodeCharacterReferences(
        std::string_view(m_text).substr(span.valueStart, span.valueEnd - span.valueStart));
}

void XmlDocument::spliceStartTag(int index, std::size_t pos, std::size_t removed, std::string_view inserted) {
    m_text.replace(pos, removed, inserted);
    const long long delta = static_cast<long long>(inserted.size()) - static_cast<long long>(removed);
    Element& e = m_elements[static_cast<std::size_t>(index)];
    e.length = static_cast<std::size_t>(static_cast<long long>(e.length) + delta);
    e.startTagLength = static_cast<std::uint32_t>(static_cast<long long>(e.startTagLength) + delta);
    for (int a = e.parent; a; a = m_elements[static_cast<std::size_t>(a)].parent) {
        Element& ancestor = m_elements[static_cast<std::size_t>(a)];
        ancestor.length = static_cast<std::size_t>(static_cast<long long>(ancestor.length) + delta);
    }
    for (std::size_t i = static_cast<std::size_t>(index) + 1; i < m_elements.size(); ++i)
        m_elements[i].start = static_cast<std::size_t>(static_cast<long long>(m_elements[i].start) + delta);
    m_elements[0].length = m_text.size();
}

bool XmlDocument::setAttribute(std::string_view name, std::string_view value) {
    if (!m_current || !detail::isValidWrittenName(name)) return false;
    const std::string escaped = detail::escapeXmlText(value, detail::EscapeContext::Attribute);
    const detail::TagAttribute span = findAttribute(m_current, name);
    if (span.found && span.quoted) {
        spliceStartTag(m_current, span.valueStart, span.valueEnd - span.valueStart, escaped);
    } else if (span.found && span.hasValue) {
        spliceStartTag(m_current, span.valueStart, span.valueEnd - span.valueStart, "\"" + escaped + "\"");
    } else if (span.found) {
        spliceStartTag(m_current, span.nameEnd, 0, "=\"" + escaped + "\"");
    } else {
        const Element& e = m_elements[static_cast<std::size_t>(m_current)];
        std::size_t at = e.start + e.startTagLength - 1;  // the closing '>'
        if (at > e.start + e.nameLength && m_text[at - 1] == '/') --at;
        std::size_t last = at;
        while (last > e.start + e.nameLength + 1 && detail::isXmlSpace(m_text[last - 1])) --last;
        std::string piece;
        if (m_text[last - 1] == '=') {
            // "<a n=>": a dangling '=' would take the new attribute as its
            // value, so give it an empty one first.
            at = last;
            piece.append("\"\" ").append(name).append("=\"").append(escaped).append("\"");
        } else if (detail::isXmlSpace(m_text[at - 1])) {  // "<name />": keep the space before "/>"
            piece.append(name).append("=\"").append(escaped).append("\" ");
        } else {
            piece.append(" ").append(name).append("=\"").append(escaped).append("\"");
        }
        spliceStartTag(m_current, at, 0, piece);
    }
    return true;
}

void XmlDocument::insertRecord(int at) {
    // Every link that points into the tail [at, size) grows by one. Links into
    // the tail live in the tail itself or in the element before a tail element
    // (its next) and in a tail element's parent (first/last child), so the
    // work is proportional to the tail, not to the document.
    const auto size = static_cast<int>(m_elements.size());
    auto bump = [at](int& link) {
        if (link >= at) ++link;
    };
    for (int j = at; j < size; ++j) {
        Element& e = m_elements[static_cast<std::size_t>(j)];
        if (e.prev && e.prev < at) ++m_elements[static_cast<std::size_t>(e.prev)].next;
        if (!e.prev && e.parent < at) ++m_elements[static_cast<std::size_t>(e.parent)].firstChild;
        if (!e.next && e.parent < at) ++m_elements[static_cast<std::size_t>(e.parent)].lastChild;
        bump(e.parent);
        bump(e.firstChild);
        bump(e.lastChild);
        bump(e.next);
        bump(e.prev);
    }
    m_elements.insert(m_elements.begin() + at, Element{});
    bump(m_parent);
    bump(m_current);
    bump(m_child);
}

bool XmlDocument::appendElement(std::string_view name, std::string_view content, unsigned flags) {
    if (!detail::isValidWrittenName(name)) return false;
    const std::string_view lineBreak = (flags & kNoLineBreak) ? "" : "\r\n";
    const bool startOnly = (flags & kStartTagOnly) != 0;

    std::string elementText = "<";
    elementText += name;
    std::uint32_t startTagLength = 0;
    std::uint32_t endTagLength = 0;
    std::uint32_t recordFlags = 0;
    if (startOnly) {
        elementText += '>';
        startTagLength = static_cast<std::uint32_t>(elementText.size());
        elementText += detail::escapeXmlText(content, detail::EscapeContext::Content);
        recordFlags = kUnended;
    } else if (content.empty()) {
        elementText += (flags & kSpaceBeforeClose) ? " />" : "/>";
        startTagLength = static_cast<std::uint32_t>(elementText.size());
        recordFlags = kSelfClosed;
    } else {
        elementText += '>';
        startTagLength = static_cast<std::uint32_t>(elementText.size());
        elementText += detail::escapeXmlText(content, detail::EscapeContext::Content);
        const std::string endTag = "</" + std::string(name) + ">";
        endTagLength = static_cast<std::uint32_t>(endTag.size());
        elementText += endTag;
    }

    Element record;
    record.length = elementText.size();
    record.startTagLength = startTagLength;
    record.endTagLength = endTagLength;
    record.nameLength = static_cast<std::uint32_t>(name.size());
    record.flags = recordFlags;

    const int parent = m_parent;
    if (parent && (m_elements[static_cast<std::size_t>(parent)].flags & kSelfClosed))
        return appendToSelfClosedParent(elementText, lineBreak, record);

    auto skipLineBreak = [this](std::size_t p) {
        if (p + 1 < m_text.size() && m_text[p] == '\r' && m_text[p + 1] == '\n') return p + 2;
        if (p < m_text.size() && m_text[p] == '\n') return p + 1;
        return p;
    };

    std::string prefix;
    std::size_t pos;
    if (m_current) {
        pos = skipLineBreak(m_elements[static_cast<std::size_t>(m_current)].end());
    } else if (!parent) {
        pos = m_text.size();
    } else {
        const Element& p = m_elements[static_cast<std::size_t>(parent)];
        if (p.endTagLength) {
            pos = p.end() - p.endTagLength;
            if (!p.firstChild && pos == p.start + p.startTagLength && !lineBreak.empty()) prefix = "\r\n";
        } else {
            pos = skipLineBreak(p.end());  // unended: its content runs to its end
        }
    }

    const std::string inserted = prefix + elementText + std::string(lineBreak);
    m_text.insert(pos, inserted);
    const std::size_t delta = inserted.size();

    // Records at or after `pos` move; everything before keeps its offset.
    const auto firstMoved = std::lower_bound(m_elements.begin() + 1, m_elements.end(), pos,
                                             [](const Element& e, std::size_t at) { return e.start < at; });
    const int at = static_cast<int>(firstMoved - m_elements.begin());
    for (auto it = firstMoved; it != m_elements.end(); ++it) it->start += delta;
    for (int a = parent; a; a = m_elements[static_cast<std::size_t>(a)].parent) {
        Element& ancestor = m_elements[static_cast<std::size_t>(a)];
        if (ancestor.end() < pos) ancestor.length = pos - ancestor.start;  // unended parent grows
        ancestor.length += delta;
    }

    const int previous = m_current ? m_current : m_elements[static_cast<std::size_t>(parent)].lastChild;
    insertRecord(at);
    const int newParent = m_parent;  // renumbered by insertRecord
    const int prev = previous >= at ? previous + 1 : previous;
    Element& e = m_elements[static_cast<std::size_t>(at)];
    e = record;
    e.start = pos + prefix.size();
    e.parent = newParent;
    e.level = m_elements[static_cast<std::size_t>(newParent)].level + 1;
    e.prev = prev;
    Element& p = m_elements[static_cast<std::size_t>(newParent)];
    if (prev) {
        Element& before = m_elements[static_cast<std::size_t>(prev)];
        e.next = before.next;
        before.next = at;
    } else {
        e.next = p.firstChild;
        p.firstChild = at;
    }
    if (e.next)
        m_elements[static_cast<std::size_t>(e.next)].prev = at;
    else
        p.lastChild = at;
    m_elements[0].length = m_text.size();
    m_current = at;
    m_child = 0;
    return true;
}

bool XmlDocument::appendToSelfClosedParent(std::string_view elementText, std::string_view lineBreak,
                                           const Element& record) {
    const int parent = m_parent;
    Element& p = m_elements[static_cast<std::size_t>(parent)];
    // "<name a=\"1\" />" becomes "<name a=\"1\">", CR LF, the child, "</name>".
    std::string startTag = m_text.substr(p.start, p.startTagLength);
    startTag.pop_back();  // '>'
    if (!startTag.empty() && startTag.back() == '/') startTag.pop_back();
    while (startTag.size() > 1 + p.nameLength && detail::isXmlSpace(startTag.back())) startTag.pop_back();
    startTag += '>';
    const std::string endTag = "</" + std::string(elementName(parent)) + ">";
    std::string replacement = startTag;
    replacement += "\r\n";
    replacement += elementText;
    replacement += lineBreak;
    replacement += endTag;

    const std::size_t oldLength = p.length;
    m_text.replace(p.start, oldLength, replacement);
    const long long delta = static_cast<long long>(replacement.size()) - static_cast<long long>(oldLength);
    p.length = replacement.size();
    p.startTagLength = static_cast<std::uint32_t>(startTag.size());
    p.endTagLength = static_cast<std::uint32_t>(endTag.size());
    p.flags &= ~kSelfClosed;
    for (int a = p.parent; a; a = m_elements[static_cast<std::size_t>(a)].parent) {
        Element& ancestor = m_elements[static_cast<std::size_t>(a)];
        ancestor.length = static_cast<std::size_t>(static_cast<long long>(ancestor.length) + delta);
    }
    for (std::size_t i = static_cast<std::size_t>(parent) + 1; i < m_elements.size(); ++i)
        m_elements[i].start = static_cast<std::size_t>(static_cast<long long>(m_elements[i].start) + delta);

    const int at = parent + 1;  // a self-closed element has no descendants
    const std::size_t childStart = m_elements[static_cast<std::size_t>(parent)].start + startTag.size() + 2;
    insertRecord(at);
    Element& e = m_elements[static_cast<std::size_t>(at)];
    e = record;
    e.start = childStart;
    e.parent = parent;
    e.level = m_elements[static_cast<std::size_t>(parent)].level + 1;
    Element& owner = m_elements[static_cast<std::size_t>(parent)];
    owner.firstChild = owner.lastChild = at;
    m_elements[0].length = m_text.size();
    m_current = at;
    m_child = 0;
    return true;
}

bool XmlDocument::readFile(const std::string& path, std::string* resultLog, unsigned* flags) {
    m_text.clear();
    m_log.clear();
    m_logFull = false;
    resetIndex();
    unsigned fileFlags = 0;
    auto finish = [&](bool result) {
        if (resultLog) *resultLog = m_log;
        if (flags) *flags = fileFlags;
        return result;
    };

    // Only regular files: a folder cannot be read, and a device or pipe may
    // never end.
    const FileReadResult read = readWholeFileWithError(path);
    if (!read.bytes) {
        appendLogEvent(m_log, "file_error", {{"msg", systemErrorText(read.error)}, logNumber("n", read.error)});
        return finish(false);
    }
    const std::string& bytes = *read.bytes;
    if (bytes.size() < read.sizeWhenOpened)
        appendLogEvent(m_log, "truncation_error",
                       {logNumber("length", static_cast<long long>(bytes.size())),
                        logNumber("n", static_cast<long long>(read.sizeWhenOpened))});

    m_text = detail::decodeFileBytes(bytes, m_log, fileFlags);
    m_elements[0].length = m_text.size();
    return finish(true);
}

bool XmlDocument::writeFile(const std::string& path, std::string* resultLog, unsigned* flags) {
    m_log.clear();
    m_logFull = false;
    unsigned fileFlags = 0;
    auto finish = [&](bool result) {
        if (resultLog) *resultLog = m_log;
        if (flags) *flags = fileFlags;
        return result;
    };

    std::string bytes;
    if (!detail::encodeFileBytes(m_text, bytes, m_log, fileFlags)) return finish(false);

    // Through a temporary file and rename: a failed write leaves the old file.
    errno = 0;
    if (!writeFileAtomically(path, bytes)) {
        const int error = errno ? errno : EIO;
        appendLogEvent(m_log, "file_error", {{"msg", systemErrorText(error)}, logNumber("n", error)});
        return finish(false);
    }
    appendLogEvent(m_log, "write", {logNumber("length", static_cast<long long>(bytes.size()))});
    return finish(true);
}

}  // namespace quorvik
