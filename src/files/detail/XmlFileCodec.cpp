// Encoding detection and conversion for XmlDocument::readFile and writeFile.
#include "files/detail/XmlFileCodec.h"

#include "base/Text.h"
#include "files/XmlDocument.h"
#include "files/detail/XmlCharset.h"
#include "files/detail/XmlResultLog.h"
#include "files/detail/XmlTagScan.h"

#include <algorithm>

namespace quorvik::detail {
namespace {

constexpr std::size_t kEncodingProbeBytes = 1024;

std::string charsetFromContentType(std::string_view content) {
    const std::string lower = asciiLower(content);
    const std::size_t at = lower.find("charset=");
    if (at == std::string::npos) return {};
    std::size_t p = at + 8;
    while (p < content.size() && (content[p] == '"' || content[p] == '\'' || isXmlSpace(content[p]))) ++p;
    std::size_t e = p;
    while (e < content.size() && content[e] != ';' && content[e] != '"' && content[e] != '\'' &&
           !isXmlSpace(content[e]))
        ++e;
    return std::string(content.substr(p, e - p));
}

}  // namespace

std::string declaredEncoding(std::string_view text) {
    text = text.substr(0, std::min(text.size(), kEncodingProbeBytes));
    std::size_t p = 0;
    while (p < text.size() && isXmlSpace(text[p])) ++p;
    if (text.substr(p, 5) == "<?xml" && p + 5 < text.size() && isXmlSpace(text[p + 5])) {
        const std::size_t close = text.find("?>", p + 5);
        const std::size_t end = close == std::string_view::npos ? text.size() : close;
        const TagAttribute a = findTagAttribute(text, p + 5, end, "encoding");
        return a.found ? std::string(text.substr(a.valueStart, a.valueEnd - a.valueStart)) : std::string();
    }
    if (text.find("<html") == std::string_view::npos) return {};
    XmlDocument html;
    html.setText(text);
    if (!html.findNext("html") || !html.enter() || !html.findNext("head") || !html.enter()) return {};
    while (html.findNext("meta"))
        if (equalsIgnoreAsciiCase(html.attribute("http-equiv"), "Content-Type"))
            return charsetFromContentType(html.attribute("content"));
    return {};
}

std::string decodeFileBytes(std::string_view bytes, std::string& log, unsigned& flags) {
    std::string text;
    // Byte-order marks first, then what the text declares about itself.
    std::string encoding;
    int unitSize = 1;
    std::string_view body(bytes);
    if (body.substr(0, 3) == "\xEF\xBB\xBF") {
        encoding = "UTF-8";
        body.remove_prefix(3);
    } else if (body.substr(0, 2) == "\xFF\xFE") {
        encoding = "UTF-16LE";
        unitSize = 2;
        body.remove_prefix(2);
    } else if (body.substr(0, 2) == "\xFE\xFF") {
        encoding = "UTF-16BE";
        unitSize = 2;
        body.remove_prefix(2);
    }
    if (!encoding.empty()) {
        flags |= XmlDocument::kFileByteOrderMark | (unitSize == 2 ? XmlDocument::kFileUtf16 : 0);
        appendLogEvent(log, "bom", {{"encoding", encoding}});
    } else if (body.substr(0, 10) == std::string_view("<\0?\0x\0m\0l\0", 10) ||
               body.substr(0, 10) == std::string_view("\0<\0?\0x\0m\0l", 10)) {
        // A declaration in 16-bit units without a mark, as our own writer
        // produces for documents that declare UTF-16.
        encoding = body[0] == '<' ? "UTF-16LE" : "UTF-16BE";
        unitSize = 2;
        flags |= XmlDocument::kFileUtf16;
    } else {
        encoding = declaredEncoding(body);
        // A declaration we could read as 8-bit text proves the file is not in
        // a 16- or 32-bit form, whatever it claims.
        if (!encoding.empty() && charsetUnitSize(resolveCharset(encoding)) != 1) {
            appendLogEvent(log, "utf8_detection",
                           {{"type", "wide_declaration_ignored"}, {"encoding", encoding}});
            encoding = "UTF-8";
        }
    }
    // Undeclared text starting with '<' is UTF-8 by default, but only when its
    // bytes are UTF-8; otherwise it goes through detection below so legacy
    // 8-bit files keep their characters instead of becoming U+FFFD.
    const bool assumedUtf8 = encoding.empty() && !body.empty() && body[0] == '<';

    if (unitSize == 2) {
        std::u16string units;
        units.reserve(body.size() / 2);
        const bool bigEndian = encoding == "UTF-16BE";
        std::size_t nulls = 0;
        for (std::size_t i = 0; i + 1 < body.size(); i += 2) {
            const auto b0 = static_cast<unsigned char>(body[i]);
            const auto b1 = static_cast<unsigned char>(body[i + 1]);
            const char16_t unit = bigEndian ? char16_t(b0 << 8 | b1) : char16_t(b1 << 8 | b0);
            if (unit == 0)
                ++nulls;
            else
                units.push_back(unit);
        }
        if (body.size() % 2)
            appendLogEvent(
                log, "truncation_error",
                {{"type", "odd_byte"}, logNumber("offset", static_cast<long long>(bytes.size() - 1))});
        if (nulls) appendLogEvent(log, "nulls_removed", {logNumber("count", static_cast<long long>(nulls))});
        if (bigEndian) appendLogEvent(log, "endian_swap");
        appendLogEvent(log, "read",
                       {{"encoding", encoding}, logNumber("length", static_cast<long long>(units.size()))});
        text = utf16ToUtf8(units);
    } else {
        std::string units;
        units.reserve(body.size());
        for (char c : body)
            if (c != '\0') units.push_back(c);
        const std::size_t nulls = body.size() - units.size();
        if (nulls) appendLogEvent(log, "nulls_removed", {logNumber("count", static_cast<long long>(nulls))});
        appendLogEvent(log, "read",
                       {{"encoding", encoding}, logNumber("length", static_cast<long long>(units.size()))});
        if (assumedUtf8 && isValidUtf8(units)) {
            encoding = "UTF-8";
        } else if (encoding.empty()) {
            const bool valid = isValidUtf8(units);
            encoding = valid ? "UTF-8" : "";
            appendLogEvent(log, "utf8_detection", {{"encoding", valid ? "UTF-8" : systemCharset()}});
        }
        const std::string charset = resolveCharset(encoding);
        if (isUtf8Charset(charset)) {
            if (isValidUtf8(units)) {
                text = std::move(units);
            } else {
                // Declared UTF-8 that is not: malformed bytes become U+FFFD.
                text = utf16ToUtf8(utf8ToUtf16(units));
                flags |= XmlDocument::kFileConversionLoss;
                appendLogEvent(log, "converted_to", {{"type", "malformed_replaced"}, {"encoding", encoding}});
            }
        } else {
            ConversionResult converted = convertToUtf8(units, charset);
            text = std::move(converted.text);
            if (converted.status == ConversionStatus::UnknownCharset) {
                flags |= XmlDocument::kFileConversionFailed;
                appendLogEvent(log, "converted_to", {{"type", "unknown_charset"}, {"encoding", encoding}});
            } else if (converted.status == ConversionStatus::InvalidInput) {
                flags |= XmlDocument::kFileConversionFailed;
                appendLogEvent(log, "converted_to",
                               {{"type", "invalid_input"},
                                {"encoding", charset},
                                logNumber("offset", static_cast<long long>(converted.errorOffset))});
            }
        }
    }
    appendLogEvent(log, "converted_to",
                   {{"encoding", "UTF-8"}, logNumber("length", static_cast<long long>(text.size()))});
    return text;
}

bool encodeFileBytes(std::string_view text, std::string& bytes, std::string& log, unsigned& flags) {
    std::string encoding = declaredEncoding(text);
    if (encoding.empty()) encoding = "UTF-8";
    const std::string charset = resolveCharset(encoding);
    if (isUtf8Charset(charset)) {
        bytes.assign(text);
    } else {
        ConversionResult result = convertFromUtf8(text, charset);
        if (result.status == ConversionStatus::UnknownCharset) {
            // Writing the text under a name nothing can read back would lose it.
            appendLogEvent(log, "converted_from", {{"type", "unknown_charset"}, {"encoding", encoding}});
            flags |= XmlDocument::kFileConversionFailed;
            return false;
        }
        if (result.lossCount) {
            flags |= XmlDocument::kFileConversionLoss;
            appendLogEvent(
                log, "conversion_loss",
                {{"encoding", encoding}, logNumber("count", static_cast<long long>(result.lossCount))});
        }
        bytes = std::move(result.text);
    }
    appendLogEvent(log, "converted_from",
                   {{"encoding", "UTF-8"}, logNumber("length", static_cast<long long>(text.size()))});
    return true;
}

}  // namespace quorvik::detail
