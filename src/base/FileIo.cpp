// Whole-file I/O over POSIX calls, so failures are plain results (no exceptions).
#include "base/FileIo.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace quorvik {

std::optional<std::string> readWholeFile(const std::string& path) {
    return readWholeFileWithError(path).bytes;
}

FileReadResult readWholeFileWithError(const std::string& path) {
    FileReadResult result;
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        result.error = errno;
        return result;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        result.error = S_ISDIR(st.st_mode) ? EISDIR : EINVAL;
        ::close(fd);
        return result;
    }
    result.sizeWhenOpened = static_cast<std::size_t>(st.st_size);
    std::string bytes;
    bytes.reserve(result.sizeWhenOpened);
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n == 0) break;
        if (n < 0) {
            if (errno == EINTR) continue;
            result.error = errno;
            ::close(fd);
            return result;
        }
        bytes.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(fd);
    result.bytes = std::move(bytes);
    return result;
}

bool writeFileAtomically(const std::string& path, std::string_view bytes) {
    std::string temp = path + ".XXXXXX";
    const int fd = ::mkstemp(temp.data());
    if (fd < 0) return false;
    bool ok = true;
    for (std::size_t done = 0; ok && done < bytes.size();) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) ok = false;
        else done += static_cast<std::size_t>(n);
    }
    ok = ok && ::fsync(fd) == 0;
    ok = ::close(fd) == 0 && ok;
    ok = ok && ::chmod(temp.c_str(), 0644) == 0;
    ok = ok && ::rename(temp.c_str(), path.c_str()) == 0;
    if (!ok) ::unlink(temp.c_str());
    return ok;
}

bool folderExists(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool fileExists(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool createFolderPath(const std::string& path) {
    if (path.empty()) return false;
    // Create each prefix ending at a '/', then the whole path.
    for (std::size_t pos = path.find('/', 1); pos != std::string::npos; pos = path.find('/', pos + 1)) {
        const std::string prefix = path.substr(0, pos);
        if (!prefix.empty() && !folderExists(prefix)) ::mkdir(prefix.c_str(), 0755);
    }
    if (!folderExists(path)) ::mkdir(path.c_str(), 0755);
    return folderExists(path);
}

}  // namespace quorvik
