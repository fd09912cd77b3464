// Turning file bytes into the UTF-8 document text and back: byte-order marks,
// declared encodings (XML declaration, HTML meta charset), UTF-8 detection,
// NUL removal, and the result-log events of each step. Internal to src/files.
#pragma once

#include <string>
#include <string_view>

namespace quorvik::detail {

// The encoding a document names for itself within its first 1024 bytes: the
// encoding attribute of the XML declaration, or the charset of an HTML
// <meta http-equiv="Content-Type" content="...; charset=..."> inside html/head.
// Empty when it names none.
std::string declaredEncoding(std::string_view text);

// File bytes to document text. Appends its events to `log` and ORs the
// XmlDocument::kFile* flags that apply into `flags`. A conversion that fails
// leaves the text as far as it got.
std::string decodeFileBytes(std::string_view bytes, std::string& log, unsigned& flags);

// Document text to file bytes in its declared encoding (UTF-8 when none), no
// byte-order mark. False, with nothing to write, when the declared charset is
// unknown; characters the charset cannot hold become '?' and are logged.
bool encodeFileBytes(std::string_view text, std::string& bytes, std::string& log, unsigned& flags);

}  // namespace quorvik::detail
