// Scanning of tags and attributes; see XmlTagScan.h for the rules.
#include "files/detail/XmlTagScan.h"

#include <cstring>

namespace quorvik::detail {

bool isValidWrittenName(std::string_view name) {
    if (name.empty() || !isNameStart(name[0])) return false;
    for (char c : name)
        if (isXmlSpace(c) || c == '/' || c == '>' || c == '<' || c == '=' || c == '"' || c == '\'' ||
            c == '&' || c == '\0')
            return false;
    return true;
}

std::size_t nameEndAt(std::string_view text, std::size_t p) {
    while (p < text.size() && !isXmlSpace(text[p]) && text[p] != '/' && text[p] != '>') ++p;
    return p;
}

std::size_t findTagEnd(std::string_view text, std::size_t from) {
    const char* data = text.data();
    const std::size_t size = text.size();
    std::size_t p = from;
    while (p < size) {
        const char c = data[p];
        if (c == '>') return p;
        if (c == '"' || c == '\'') {
            const void* close = std::memchr(data + p + 1, c, size - p - 1);
            if (!close) return std::string_view::npos;
            p = static_cast<std::size_t>(static_cast<const char*>(close) - data) + 1;
            continue;
        }
        ++p;
    }
    return std::string_view::npos;
}

TagAttribute findTagAttribute(std::string_view text, std::size_t begin, std::size_t end,
                              std::string_view name) {
    std::size_t p = begin;
    while (p < end) {
        while (p < end && isXmlSpace(text[p])) ++p;
        if (p >= end) break;
        const std::size_t nameStart = p;
        while (p < end && !isXmlSpace(text[p]) && text[p] != '=' && text[p] != '/' && text[p] != '>' &&
               text[p] != '"' && text[p] != '\'')
            ++p;
        if (p == nameStart) {  // stray '=', '/' or quoted run: step over it
            if (text[p] == '"' || text[p] == '\'') {
                const std::size_t close = text.find(text[p], p + 1);
                p = (close == std::string_view::npos || close >= end) ? end : close + 1;
            } else {
                ++p;
            }
            continue;
        }
        TagAttribute a;
        a.nameEnd = p;
        std::size_t q = p;
        while (q < end && isXmlSpace(text[q])) ++q;
        if (q < end && text[q] == '=') {
            ++q;
            while (q < end && isXmlSpace(text[q])) ++q;
            a.hasValue = true;
            if (q < end && (text[q] == '"' || text[q] == '\'')) {
                const std::size_t close = text.find(text[q], q + 1);
                a.quoted = true;
                a.valueStart = q + 1;
                a.valueEnd = (close == std::string_view::npos || close > end) ? end : close;
                p = a.valueEnd + 1 < end ? a.valueEnd + 1 : end;
            } else {
                a.valueStart = q;
                while (q < end && !isXmlSpace(text[q]) && text[q] != '>' && text[q] != '"' && text[q] != '\'')
                    ++q;
                a.valueEnd = q;
                p = q;
            }
        } else {
            a.valueStart = a.valueEnd = a.nameEnd;
        }
        if (text.substr(nameStart, a.nameEnd - nameStart) == name) {
            a.found = true;
            return a;
        }
    }
    return {};
}

}  // namespace quorvik::detail
