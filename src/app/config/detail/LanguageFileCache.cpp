// The cache checks the file with one stat per lookup; it reads and parses the
// file again whenever anything about it changed or its times are too recent.
#include "app/config/detail/LanguageFileCache.h"

#include "base/FileIo.h"

#include <sys/stat.h>
#include <algorithm>
#include <ctime>
#include <optional>

namespace quorvik {
namespace {

long long nanoseconds(const struct timespec& time) {
    return static_cast<long long>(time.tv_sec) * 1'000'000'000LL + time.tv_nsec;
}

long long wallClockNs() {
    struct timespec now {};
    ::clock_gettime(CLOCK_REALTIME, &now);
    return nanoseconds(now);
}

}  // namespace

std::shared_ptr<const IniFile> LanguageFileCache::get(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) {
        std::lock_guard lock(m_mutex);
        m_entries.erase(path);
        return nullptr;
    }
    Entry probe;
    probe.device = st.st_dev;
    probe.inode = st.st_ino;
    probe.size = st.st_size;
    probe.modifiedNs = nanoseconds(st.st_mtim);
    probe.changedNs = nanoseconds(st.st_ctim);

    {
        std::lock_guard lock(m_mutex);
        const auto it = m_entries.find(path);
        if (it != m_entries.end()) {
            const Entry& e = it->second;
            if (e.trusted && e.device == probe.device && e.inode == probe.inode && e.size == probe.size &&
                e.modifiedNs == probe.modifiedNs && e.changedNs == probe.changedNs)
                return e.file;
        }
    }

    // Times taken before reading: the contents read are at least this new.
    const long long readAt = wallClockNs();
    std::optional<std::string> bytes = readWholeFile(path);
    if (!bytes) {
        std::lock_guard lock(m_mutex);
        m_entries.erase(path);
        return nullptr;
    }
    probe.file = std::make_shared<const IniFile>(IniFile::parse(*bytes));
    const long long lastChange = std::max(probe.modifiedNs, probe.changedNs);
    // A file replaced or written between the stat and the read keeps the
    // probe untrusted too: its size or times no longer match on the next call.
    probe.trusted =
        static_cast<long long>(bytes->size()) == probe.size && readAt - lastChange > kTimestampSlackNs;

    std::lock_guard lock(m_mutex);
    m_entries[path] = probe;
    return probe.file;
}

}  // namespace quorvik
