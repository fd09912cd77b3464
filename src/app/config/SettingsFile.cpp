// Line-preserving reader and editor of the settings file.
#include "app/config/SettingsFile.h"

#include "app/config/detail/TrimBlanks.h"
#include "base/FileIo.h"
#include "base/Text.h"

#include <sys/stat.h>
#include <cerrno>

namespace quorvik {

SettingsFile SettingsFile::load(const std::string& path) {
    SettingsFile file;
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) {
        file.m_status = errno == ENOENT ? Status::Missing : Status::Unreadable;
        return file;
    }
    if (!S_ISREG(st.st_mode) || static_cast<std::size_t>(st.st_size) > kMaxFileSize) {
        file.m_status = Status::Unreadable;
        return file;
    }
    std::optional<std::string> bytes = readWholeFile(path);
    if (!bytes || bytes->size() > kMaxFileSize) {
        file.m_status = Status::Unreadable;
        return file;
    }
    file.m_status = Status::Loaded;
    file.m_text = std::move(*bytes);
    return file;
}

SettingsFile SettingsFile::fromText(std::string text) {
    SettingsFile file;
    file.m_status = Status::Loaded;
    file.m_text = std::move(text);
    return file;
}

std::optional<SettingsFile::Range> SettingsFile::findValue(std::string_view name) const {
    const std::string_view text = m_text;
    std::size_t lineStart = 0;
    while (lineStart < text.size()) {
        std::size_t lineEnd = text.find('\n', lineStart);
        if (lineEnd == std::string_view::npos) lineEnd = text.size();
        std::size_t contentEnd = lineEnd;
        if (contentEnd > lineStart && text[contentEnd - 1] == '\r') --contentEnd;
        const std::string_view line = text.substr(lineStart, contentEnd - lineStart);
        const std::size_t equals = line.find('=');
        if (equals != std::string_view::npos && equalsIgnoreAsciiCase(detail::trimBlanks(line.substr(0, equals)), name))
            return Range{lineStart + equals + 1, contentEnd};
        lineStart = lineEnd + 1;
    }
    return std::nullopt;
}

std::optional<std::string> SettingsFile::value(std::string_view name) const {
    const std::optional<Range> range = findValue(name);
    if (!range) return std::nullopt;
    return m_text.substr(range->begin, range->end - range->begin);
}

bool SettingsFile::setValue(std::string_view name, std::string_view value) {
    if (name.empty() || name != detail::trimBlanks(name) || name.find_first_of("=\r\n") != std::string_view::npos ||
        value.find_first_of("\r\n") != std::string_view::npos)
        return false;
    if (const std::optional<Range> range = findValue(name)) {
        m_text.replace(range->begin, range->end - range->begin, value);
        return true;
    }
    if (!m_text.empty() && m_text.back() != '\n') m_text += '\n';
    m_text.append(name);
    m_text += '=';
    m_text.append(value);
    m_text += '\n';
    return true;
}

}  // namespace quorvik
