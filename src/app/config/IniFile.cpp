// One pass over the decoded text builds a section -> key -> text index; later
// duplicates of a section or of a key in it are ignored, as lookups stop at
// the first match.
#include "app/config/IniFile.h"

#include "app/config/detail/TrimBlanks.h"
#include "base/Text.h"

namespace quorvik {
namespace {

std::u16string utf16FromBytes(std::string_view bytes, bool bigEndian) {
    std::u16string units;
    units.reserve(bytes.size() / 2);
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        const auto first = static_cast<unsigned char>(bytes[i]);
        const auto second = static_cast<unsigned char>(bytes[i + 1]);
        units.push_back(static_cast<char16_t>(bigEndian ? (first << 8) | second : (second << 8) | first));
    }
    return units;
}

}  // namespace

std::string IniFile::decode(std::string_view bytes) {
    if (bytes.size() >= 2 && bytes[0] == '\xFF' && bytes[1] == '\xFE')
        return utf16ToUtf8(utf16FromBytes(bytes.substr(2), false));
    if (bytes.size() >= 2 && bytes[0] == '\xFE' && bytes[1] == '\xFF')
        return utf16ToUtf8(utf16FromBytes(bytes.substr(2), true));
    if (bytes.size() >= 3 && bytes.substr(0, 3) == "\xEF\xBB\xBF") bytes.remove_prefix(3);
    if (isValidUtf8(bytes)) return std::string(bytes);
    return utf16ToUtf8(utf8ToUtf16(bytes));
}

IniFile IniFile::parse(std::string_view bytes) {
    IniFile file;
    const std::string text = decode(bytes);
    const std::string_view all = text;
    Keys* current = nullptr;  // null before the first section and inside a duplicate one
    std::size_t lineStart = 0;
    while (lineStart < all.size()) {
        std::size_t lineEnd = all.find_first_of("\r\n", lineStart);
        if (lineEnd == std::string_view::npos) lineEnd = all.size();
        const std::string_view line = detail::trimBlanks(all.substr(lineStart, lineEnd - lineStart));
        lineStart = lineEnd + 1;

        if (!line.empty() && line.front() == '[') {
            std::string_view name = line.substr(1);
            name = name.substr(0, name.find(']'));
            const auto [it, inserted] = file.m_sections.try_emplace(asciiLower(detail::trimBlanks(name)));
            current = inserted ? &it->second : nullptr;
            continue;
        }
        if (current == nullptr || line.empty() || line.front() == ';') continue;
        const std::size_t equals = line.find('=');
        if (equals == std::string_view::npos) continue;
        std::string_view entry = line.substr(equals + 1);
        entry = detail::trimBlanks(entry.substr(0, entry.find('\0')));
        if (entry.size() > 1 && (entry.front() == '"' || entry.front() == '\'') &&
            entry.back() == entry.front())
            entry = entry.substr(1, entry.size() - 2);
        current->try_emplace(asciiLower(detail::trimBlanks(line.substr(0, equals))), entry);
    }
    return file;
}

std::optional<std::string> IniFile::value(std::string_view section, std::string_view key) const {
    const auto sectionIt = m_sections.find(asciiLower(section));
    if (sectionIt == m_sections.end()) return std::nullopt;
    const auto keyIt = sectionIt->second.find(asciiLower(key));
    if (keyIt == sectionIt->second.end()) return std::nullopt;
    return keyIt->second;
}

}  // namespace quorvik
