// The program's own stored values ("LCID", "DeviceType", "exit_mode",
// "autorun_minimize"), kept as decimal text in the settings file. "The key"
// is that file: it exists or not, and it can be opened (read) or not.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace quorvik {

enum class KeyOpen {
    OpenExisting,     // a missing file stays missing
    CreateIfMissing,  // a missing file is created empty
};

enum class KeyState {
    Opened,      // the file existed and was read
    Created,     // the file did not exist and was created empty now
    Missing,     // the file does not exist (OpenExisting)
    Unopenable,  // the file exists but cannot be read, or could not be created
};

struct RegistryRead {
    KeyState key = KeyState::Unopenable;
    std::optional<std::string> text;  // the stored text of the value, when present
    int value = 0;                    // that text read as leading digits; 0 when absent
};

// Reads one value of the settings file at settingsFilePath().
RegistryRead readRegistryValue(std::string_view name, KeyOpen open);

// "DeviceType" is read without creating the file; every other name creates it
// when missing. 0 when the file or the value is missing, the file cannot be
// read, or the text has no leading digits ("1abc" is 1, "abc" is 0).
int readRegistryInt(std::string_view name);

// Stores the value as "%d" in the existing file, keeping every other line.
// Does nothing and returns false when the file does not exist, cannot be
// read, or cannot be replaced.
bool writeRegistryInt(std::string_view name, int value);

}  // namespace quorvik
