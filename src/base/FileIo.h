// Whole-file reading and writing. Settings files are written atomically
// (temporary file in the same folder, then rename) so a crash never leaves
// half a file behind.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace quorvik {

// The whole file as bytes; empty optional when it cannot be opened or read.
std::optional<std::string> readWholeFile(const std::string& path);

// Writes bytes to `path` through a temporary file and rename. False on any
// failure; the old file is then left untouched.
bool writeFileAtomically(const std::string& path, std::string_view bytes);

// Creates a folder and any missing parents; true when the folder exists afterwards.
bool createFolderPath(const std::string& path);

bool fileExists(const std::string& path);
bool folderExists(const std::string& path);

}  // namespace quorvik
