// The result log of XmlDocument: one self-closed XML fragment per event
// ("<read encoding=\"UTF-8\" length=\"120\"/>"), no line breaks, and nothing
// more once the log is longer than 999 characters. Internal to src/files.
#pragma once

#include <cstddef>
#include <initializer_list>
#include <string>
#include <string_view>

namespace quorvik::detail {

struct LogAttribute {
    std::string_view name;
    std::string value;
};

inline constexpr std::size_t kResultLogLimit = 999;  // characters (code points)

// Appends `<event a="v" .../>` unless the log is already over the limit.
void appendLogEvent(std::string& log, std::string_view event,
                    std::initializer_list<LogAttribute> attributes = {});

// True once nothing more will be added to the log.
bool resultLogFull(const std::string& log);

// Number attribute helper: {"offset", 12} -> offset="12".
LogAttribute logNumber(std::string_view name, long long value);

}  // namespace quorvik::detail
