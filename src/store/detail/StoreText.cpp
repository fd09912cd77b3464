// Text conversion and result rules of the table operations.
#include "store/detail/StoreText.h"

#include "base/Text.h"
#include "store/SQLiteStatement.h"

#include <sqlite3.h>
#include <climits>

namespace quorvik::detail {

std::string toUtf8(const std::string& text) {
    const auto nul = text.find('\0');
    return nul == std::string::npos ? text : text.substr(0, nul);
}

std::string fromUtf8(const unsigned char* text) {
    if (!text) return {};
    std::string bytes(reinterpret_cast<const char*>(text));
    if (isValidUtf8(bytes)) return bytes;
    return utf16ToUtf8(utf8ToUtf16(bytes));
}

int bindText(SQLiteStatement& statement, int index, const std::string& text) {
    if (text.size() > static_cast<std::size_t>(INT_MAX)) return SQLITE_TOOBIG;
    return statement.bindText(index, text.data(), static_cast<int>(text.size()));
}

bool isWriteSuccess(int stepResult) {
    return stepResult == SQLITE_OK || stepResult == SQLITE_ROW || stepResult == SQLITE_DONE;
}

}  // namespace quorvik::detail
