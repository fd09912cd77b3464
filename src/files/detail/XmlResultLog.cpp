// Formatting of result-log fragments and the length limit of the log.
#include "files/detail/XmlResultLog.h"

#include "base/Text.h"
#include "files/detail/XmlEntities.h"

namespace quorvik::detail {

bool resultLogFull(const std::string& log) {
    // Bytes >= code points, so the cheap test settles the common case.
    return log.size() > kResultLogLimit && codePointCount(log) > kResultLogLimit;
}

void appendLogEvent(std::string& log, std::string_view event,
                    std::initializer_list<LogAttribute> attributes) {
    if (resultLogFull(log)) return;
    log += '<';
    log += event;
    int count = 0;
    for (const LogAttribute& a : attributes) {
        if (++count > 3) break;  // a fragment carries at most three details
        log += ' ';
        log += a.name;
        log += "=\"";
        log += escapeXmlText(a.value, EscapeContext::Attribute);
        log += '"';
    }
    log += "/>";
}

LogAttribute logNumber(std::string_view name, long long value) {
    return {name, std::to_string(value)};
}

}  // namespace quorvik::detail
