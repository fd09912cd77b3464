// Whole-file reading and writing. Settings files are written atomically
// (temporary file in the same folder, then rename) so a crash never leaves
// half a file behind.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace quorvik {

// The whole file as bytes; empty optional when it cannot be opened or read.
std::optional<std::string> readWholeFile(const std::string& path);

// What readWholeFileWithError found.
struct FileReadResult {
    // The file's bytes; empty when it cannot be opened or read.
    std::optional<std::string> bytes;
    // Why it failed: the errno value, EISDIR for a folder and EINVAL for
    // anything else that is not a regular file.
    int error = 0;
    // The size the file had when it was opened; fewer bytes are read when the
    // file shrinks meanwhile.
    std::size_t sizeWhenOpened = 0;
};

// readWholeFile for callers that report why a read failed. Regular files
// only: a folder cannot be read, and a device or pipe may never end.
FileReadResult readWholeFileWithError(const std::string& path);

// Writes bytes to `path` through a temporary file and rename. False on any
// failure; the old file is then left untouched.
bool writeFileAtomically(const std::string& path, std::string_view bytes);

// Creates a folder and any missing parents; true when the folder exists afterwards.
bool createFolderPath(const std::string& path);

bool fileExists(const std::string& path);
bool folderExists(const std::string& path);

}  // namespace quorvik
