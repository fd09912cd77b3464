// Lexical rules of XML markup shared by the parser, the attribute reader and
// the encoding sniffer: name characters, the end of a tag with quoted text
// skipped whole, and finding one attribute inside a tag. Internal to src/files.
#pragma once

#include <cstddef>
#include <string_view>

namespace quorvik::detail {

inline bool isXmlSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// After "<": an ASCII letter, '_', ':' or any character above 'z' (every byte
// of a multi-byte UTF-8 sequence is above 'z').
inline bool isNameStart(char c) {
    const unsigned char u = static_cast<unsigned char>(c);
    return (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || u == '_' || u == ':' || u > 'z';
}

// A name we may write into markup: starts like a name and holds nothing that
// would end it or the tag (white space, / > < = quotes & NUL).
bool isValidWrittenName(std::string_view name);

// Where a name starting at `p` ends: white space, '/', '>' or the text's end.
std::size_t nameEndAt(std::string_view text, std::size_t p);

// Position of the '>' ending a tag whose body starts at `from`; quoted text is
// skipped whole, so "<a v=\"1>2\">" ends at the last '>'. npos when the text
// ends first.
std::size_t findTagEnd(std::string_view text, std::size_t from);

struct TagAttribute {
    bool found = false;
    std::size_t nameEnd = 0;     // just after the name
    std::size_t valueStart = 0;  // inside the quotes when quoted
    std::size_t valueEnd = 0;
    bool hasValue = false;  // an '=' follows the name
    bool quoted = false;
};

// Attribute `name` among [begin, end) of a tag (the part after the element
// name, without the closing "/>" or ">"). Names compare exactly; the first
// occurrence counts. Quotes pair up as in findTagEnd, so an unquoted value
// also ends at a quote.
TagAttribute findTagAttribute(std::string_view text, std::size_t begin, std::size_t end,
                              std::string_view name);

}  // namespace quorvik::detail
