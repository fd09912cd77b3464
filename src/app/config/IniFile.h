// Reader of initialisation files ("[section]" lines and "key=text" lines) with
// the lookup rules the language files were written for: section and key names
// compared without ASCII case, white space around keys and texts trimmed, one
// pair of surrounding quotes removed, the first section and key of a name win.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace quorvik {

class IniFile {
public:
    // Decodes the bytes (UTF-8 with or without BOM, UTF-16LE or UTF-16BE with
    // BOM; malformed UTF-8 is repaired with U+FFFD) and indexes them.
    static IniFile parse(std::string_view bytes);

    // The text of the key in the section, empty optional when the section or
    // the key is missing. Texts are UTF-8 and end at an embedded NUL.
    std::optional<std::string> value(std::string_view section, std::string_view key) const;

    // Text of the file as UTF-8, without BOM.
    static std::string decode(std::string_view bytes);

private:
    using Keys = std::unordered_map<std::string, std::string>;  // lower-case key -> text
    std::unordered_map<std::string, Keys> m_sections;           // lower-case section -> keys
};

}  // namespace quorvik
