// Trimming of the configuration files' lines: only spaces and tabs count as
// blanks around names and texts (other control characters are kept).
#pragma once

#include <string_view>

namespace quorvik::detail {

inline bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

// The text without the spaces and tabs at either end.
inline std::string_view trimBlanks(std::string_view text) {
    while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
    return text;
}

}  // namespace quorvik::detail
