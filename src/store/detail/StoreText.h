// Helpers shared by the table operations: text in and out of SQLite and the
// rules that turn step results into success.
#pragma once

#include <string>

namespace quorvik {

class SQLiteStatement;

namespace detail {

// The text up to its first NUL character: that is all SQLite receives, as the
// stored value always ended there.
std::string toUtf8(const std::string& text);

// NUL-terminated UTF-8 from a column; empty for NULL. Malformed bytes (a file
// written by another tool) become U+FFFD so the rest of the program only sees
// valid UTF-8.
std::string fromUtf8(const unsigned char* text);

// Binds text kept alive by the caller; SQLITE_TOOBIG for more than INT_MAX bytes.
int bindText(SQLiteStatement& statement, int index, const std::string& text);

// A write succeeded when step gave SQLITE_OK, SQLITE_ROW or SQLITE_DONE.
bool isWriteSuccess(int stepResult);

}  // namespace detail
}  // namespace quorvik
