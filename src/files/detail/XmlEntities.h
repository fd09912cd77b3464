// Character references in XML text: decoding of numeric references and of the
// HTML 4 named entities (plus apos), and the escaping used when we write text.
// Internal to src/files.
#pragma once

#include <string>
#include <string_view>

namespace quorvik::detail {

// Code point of a named entity ("amp", "Oslash"); 0 when the name is unknown.
// An exact-case match wins; otherwise the name is matched ignoring ASCII case,
// and where two entities differ only in case the one spelt with capitals wins.
char32_t namedEntityCodePoint(std::string_view name);

// Decodes "&...;" references (at most nine characters between "&" and ";").
// Numeric references give their code point (a surrogate pair written as two
// references is joined); value 0, lone surrogates, values above U+10FFFF and
// unknown names are kept as written.
std::string decodeCharacterReferences(std::string_view text);

enum class EscapeContext { Attribute, Content };

// Attribute values escape < & > ' and "; element content escapes < & > only.
std::string escapeXmlText(std::string_view text, EscapeContext context);

}  // namespace quorvik::detail
