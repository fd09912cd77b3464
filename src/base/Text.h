// Text helpers used across the program. Text is UTF-8 in memory; where a rule
// counts characters it counts code points, never bytes. Number reading follows
// the C runtime's `_wtoi` and `wcstol(…, 16)` rules that stored values rely on.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace quorvik {

// Leading white space, optional sign, then leading decimal digits; 0 when there
// are none ("1abc" is 1, "abc" is 0). Values outside int are clamped.
int wtoi(std::string_view text);

// Hexadecimal reading as wcstol base 16: leading white space, optional sign,
// optional 0x/0X, then hex digits; 0 when there are none. Clamped to long.
long hexToLong(std::string_view text);

// printf-style formatting into a std::string ("%d", "%X", "%02X", "%s"...).
std::string format(const char* fmt, ...) __attribute__((format(printf, 1, 2)));

// Number of code points in UTF-8 text (a malformed byte counts as one).
std::size_t codePointCount(std::string_view text);

// The first `count` code points of the text (the whole text when shorter).
std::string cutCodePoints(std::string_view text, std::size_t count);

// True when every byte of 0x80 or more belongs to a complete, well-formed
// UTF-8 sequence of two to four bytes (no overlongs, no surrogates).
bool isValidUtf8(std::string_view bytes);

// UTF-8 <-> UTF-16 for files and formats that need 16-bit text. Malformed input
// becomes U+FFFD; an unpaired surrogate in UTF-16 becomes U+FFFD.
std::u16string utf8ToUtf16(std::string_view text);
std::string utf16ToUtf8(std::u16string_view text);

// Appends the UTF-8 form of one code point (U+FFFD for invalid values).
void appendUtf8(std::string& out, char32_t codePoint);

// ASCII-only case helpers (locale independent).
std::string asciiLower(std::string_view text);
std::string asciiUpper(std::string_view text);
bool equalsIgnoreAsciiCase(std::string_view a, std::string_view b);

}  // namespace quorvik
