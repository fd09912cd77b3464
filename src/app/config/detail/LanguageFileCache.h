// Parsed language files, reused while the file on disk is provably the same
// one: same device, inode, size, modification and change times, and those
// times old enough that a later write within the file system's timestamp
// granularity would have shown up as a change.
#pragma once

#include "app/config/IniFile.h"

#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>

namespace quorvik {

class LanguageFileCache {
public:
    // The parsed file, or null when it cannot be read. Thread-safe.
    std::shared_ptr<const IniFile> get(const std::string& path);

    // A file whose times are less than this close to the moment it was read
    // is read again at the next call instead of being trusted.
    static constexpr long long kTimestampSlackNs = 2'000'000'000;

private:
    struct Entry {
        unsigned long long device = 0;
        unsigned long long inode = 0;
        long long size = 0;
        long long modifiedNs = 0;
        long long changedNs = 0;
        bool trusted = false;  // read well after its last change
        std::shared_ptr<const IniFile> file;
    };

    std::mutex m_mutex;
    std::unordered_map<std::string, Entry> m_entries;
};

}  // namespace quorvik
