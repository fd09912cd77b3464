// The program's settings file: one "name=value" line per value. Edits touch
// only the line of the value they change, so lines this program does not
// understand (hand edits, damage) are kept byte for byte.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace quorvik {

class SettingsFile {
public:
    enum class Status {
        Missing,     // no file at the path
        Unreadable,  // exists but cannot be read (a folder, no permission, too large)
        Loaded,
    };

    // Files larger than this are not read: a settings file never grows so
    // large, and refusing it keeps a damaged file from being rewritten.
    static constexpr std::size_t kMaxFileSize = 1 << 20;

    static SettingsFile load(const std::string& path);
    static SettingsFile fromText(std::string text);

    Status status() const { return m_status; }

    // The text after '=' on the first line whose name (trimmed, ASCII case
    // ignored) equals `name`; empty optional when there is none.
    std::optional<std::string> value(std::string_view name) const;

    // Replaces the value on the first line with this name, or appends a line.
    // False (and no change) for a name that is empty or holds '=' or a line
    // break, or a value that holds a line break: those would damage the file.
    bool setValue(std::string_view name, std::string_view value);

    const std::string& text() const { return m_text; }

private:
    // Byte range of the value on the first matching line, when there is one.
    struct Range {
        std::size_t begin = 0;
        std::size_t end = 0;
    };
    std::optional<Range> findValue(std::string_view name) const;

    Status m_status = Status::Missing;
    std::string m_text;
};

}  // namespace quorvik
