// Charset names and conversions for XML files: names from XML declarations and
// HTML meta tags resolved to iconv converters, and conversion of whole texts
// to and from UTF-8. Internal to src/files.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace quorvik::detail {

// The iconv name for a charset name as written in a document (ASCII case
// ignored, Windows and IANA aliases included). "" means the system's 8-bit
// character set. Names iconv does not know come back unchanged; opening the
// converter then fails.
std::string resolveCharset(std::string_view name);

// The locale's character set for text that carries no encoding information.
// Windows-1252 when the locale is plain ASCII or UTF-8 (text reaches this
// fallback only after failing the UTF-8 test).
std::string systemCharset();

// Bytes per code unit of a resolved charset: 2 for UTF-16, 4 for UTF-32, else 1.
int charsetUnitSize(std::string_view resolvedName);

bool isUtf8Charset(std::string_view resolvedName);

enum class ConversionStatus { Ok, UnknownCharset, InvalidInput };

struct ConversionResult {
    std::string text;
    ConversionStatus status = ConversionStatus::Ok;
    std::size_t errorOffset = 0;  // input byte where conversion stopped
    std::size_t lossCount = 0;    // characters written as '?' (to a charset only)
};

// Converts bytes in `charset` (resolved name) to UTF-8. On invalid input the
// text holds what was converted before the bad byte.
ConversionResult convertToUtf8(std::string_view bytes, const std::string& charset);

// Converts UTF-8 text to `charset`. Characters the charset cannot represent
// are written as '?' and counted in lossCount.
ConversionResult convertFromUtf8(std::string_view text, const std::string& charset);

}  // namespace quorvik::detail
