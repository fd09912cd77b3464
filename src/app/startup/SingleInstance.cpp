// One running copy per user (see SingleInstance.h). Plain POSIX: flock for
// the claim (released by the kernel when a process dies), a stream Unix
// socket for requests, and a thread that polls the socket and a stop pipe so
// the user-interface thread never waits on it.
#include "app/startup/SingleInstance.h"

#include "app/config/AppFolders.h"
#include "base/Text.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace quorvik {
namespace {

constexpr std::size_t kMaxLine = 256;       // longer lines are junk: the client is dropped
constexpr std::size_t kMaxClients = 8;      // connections served at once
constexpr int kClientTimeoutMs = 2000;      // a client that says nothing is dropped
constexpr std::size_t kMaxStemBytes = 100;  // longer device names use a hashed file name

std::string withSlash(std::string folder) {
    if (!folder.empty() && folder.back() != '/') folder += '/';
    return folder;
}

// The folder exists as a real folder of this user, closed to others.
bool privateFolder(const std::string& folder) {
    if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) return false;
    struct stat st {};
    if (::lstat(folder.c_str(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != ::geteuid()) return false;
    if ((st.st_mode & 077) != 0 && ::chmod(folder.c_str(), 0700) != 0) return false;
    return true;
}

std::string fileStem(const std::string& deviceName, const std::string& folder) {
    const std::string stem = devicePathComponent(deviceName);
    sockaddr_un address{};
    if (stem.size() <= kMaxStemBytes && folder.size() + stem.size() + 5 < sizeof(address.sun_path))
        return stem;
    // FNV-1a: the same name always gives the same short file name.
    std::uint64_t hash = 1469598103934665603ull;
    for (unsigned char c : deviceName) hash = (hash ^ c) * 1099511628211ull;
    return format("quorvik-%016llx", static_cast<unsigned long long>(hash));
}

bool socketAddress(const std::string& path, sockaddr_un& address) {
    address = {};
    address.sun_family = AF_UNIX;
    if (path.empty() || path.size() >= sizeof(address.sun_path)) return false;
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    return true;
}

std::int64_t nowMs() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

void closeFd(int& fd) {
    if (fd >= 0) ::close(fd);
    fd = -1;
}

}  // namespace

SingleInstance::SingleInstance(std::string deviceName, std::string folder) {
    m_folder = withSlash(folder.empty() ? runtimeFolder() : std::move(folder));
    if (m_folder.empty()) return;
    const std::string stem = fileStem(deviceName, m_folder);
    m_lockPath = m_folder + stem + ".lock";
    m_socketPath = m_folder + stem + ".sock";
}

SingleInstance::~SingleInstance() {
    stop();
    closeFd(m_lockFd);
}

std::string SingleInstance::runtimeFolder() {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    struct stat st {};
    if (runtime != nullptr && runtime[0] == '/' && ::stat(runtime, &st) == 0 && S_ISDIR(st.st_mode))
        return withSlash(runtime);
    const char* tmp = std::getenv("TMPDIR");
    std::string base = tmp != nullptr && tmp[0] == '/' ? tmp : "/tmp";
    while (base.size() > 1 && base.back() == '/') base.pop_back();
    const std::string folder = format("%s/quorvik-%u", base.c_str(), static_cast<unsigned>(::geteuid()));
    return privateFolder(folder) ? folder + "/" : std::string();
}

SingleInstance::Claim SingleInstance::claim() {
    if (m_lockFd >= 0) return Claim::Only;
    if (m_lockPath.empty()) return Claim::Unavailable;
    // A folder that is missing is made private; one that exists is used as it
    // is (the runtime folder is the user's own, its mode is not ours to change).
    if (::mkdir(m_folder.c_str(), 0700) != 0 && errno != EEXIST) return Claim::Unavailable;
    const int fd = ::open(m_lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0) return Claim::Unavailable;
    int rc = 0;
    do {
        rc = ::flock(fd, LOCK_EX | LOCK_NB);
    } while (rc != 0 && errno == EINTR);
    if (rc == 0) {
        m_lockFd = fd;
        return Claim::Only;
    }
    const int error = errno;
    ::close(fd);
    return error == EWOULDBLOCK ? Claim::AnotherRunning : Claim::Unavailable;
}

bool SingleInstance::listen(Handler handler) {
    if (m_lockFd < 0 || m_listenFd >= 0) return false;
    sockaddr_un address{};
    if (!socketAddress(m_socketPath, address)) return false;

    // We hold the lock, so a socket file here was left by a copy that died.
    // Anything that is not a socket is not ours to delete.
    struct stat st {};
    if (::lstat(m_socketPath.c_str(), &st) == 0) {
        if (!S_ISSOCK(st.st_mode) || ::unlink(m_socketPath.c_str()) != 0) return false;
    }

    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0) return false;
    if (::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) != 0 ||
        ::chmod(m_socketPath.c_str(), 0600) != 0 || ::listen(fd, 8) != 0) {
        ::close(fd);
        ::unlink(m_socketPath.c_str());
        return false;
    }
    if (::pipe2(m_stopPipe, O_CLOEXEC | O_NONBLOCK) != 0) {
        ::close(fd);
        ::unlink(m_socketPath.c_str());
        return false;
    }
    m_listenFd = fd;
    m_handler = std::move(handler);
    m_thread = std::thread([this] { serve(); });
    return true;
}

void SingleInstance::stop() {
    if (m_listenFd < 0) return;
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(m_stopPipe[1], &byte, 1);
    if (m_thread.joinable()) m_thread.join();
    closeFd(m_listenFd);
    closeFd(m_stopPipe[0]);
    closeFd(m_stopPipe[1]);
    ::unlink(m_socketPath.c_str());
}

void SingleInstance::serve() {
    struct Client {
        int fd = -1;
        std::string buffer;
        std::int64_t deadline = 0;
    };
    std::vector<Client> clients;
    struct CloseAll {
        std::vector<Client>& clients;
        ~CloseAll() {
            for (Client& c : clients) ::close(c.fd);
        }
    } closeAll{clients};
    auto dropClient = [&clients](std::size_t i) {
        ::close(clients[i].fd);
        clients.erase(clients.begin() + static_cast<std::ptrdiff_t>(i));
    };
    auto handleLine = [this](std::string_view line) {
        if (auto request = parseInstanceRequest(line); request && m_handler) m_handler(*request);
    };

    for (;;) {
        std::vector<pollfd> fds{{m_stopPipe[0], POLLIN, 0}, {m_listenFd, POLLIN, 0}};
        int timeout = -1;
        const std::int64_t now = nowMs();
        for (const Client& c : clients) {
            fds.push_back({c.fd, POLLIN, 0});
            const int left = static_cast<int>(std::max<std::int64_t>(0, c.deadline - now));
            timeout = timeout < 0 ? left : std::min(timeout, left);
        }
        const int ready = ::poll(fds.data(), fds.size(), timeout);
        if (ready < 0 && errno != EINTR) return;
        if (fds[0].revents != 0) return;

        // Clients first (their indexes match fds[2...]), newest connections after.
        for (std::size_t i = clients.size(); i-- > 0;) {
            const short events = fds[i + 2].revents;
            if (events == 0) {
                if (nowMs() >= clients[i].deadline) dropClient(i);
                continue;
            }
            char chunk[512];
            const ssize_t got = ::read(clients[i].fd, chunk, sizeof(chunk));
            if (got < 0 && (errno == EAGAIN || errno == EINTR)) continue;
            if (got > 0) clients[i].buffer.append(chunk, static_cast<std::size_t>(got));
            std::string& buffer = clients[i].buffer;
            std::size_t start = 0;
            for (std::size_t end; (end = buffer.find('\n', start)) != std::string::npos; start = end + 1)
                handleLine(std::string_view(buffer).substr(start, end - start));
            buffer.erase(0, start);
            if (got <= 0) {
                // End of the client's requests: a last line without its break counts too.
                if (got == 0 && !buffer.empty() && buffer.size() <= kMaxLine) handleLine(buffer);
                dropClient(i);
            } else if (buffer.size() > kMaxLine) {
                dropClient(i);
            }
        }

        if ((fds[1].revents & POLLIN) != 0) {
            for (;;) {
                const int fd = ::accept4(m_listenFd, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
                if (fd < 0) break;
                ucred peer{};
                socklen_t length = sizeof(peer);
                const bool sameUser =
                    ::getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &peer, &length) == 0 && peer.uid == ::geteuid();
                if (!sameUser || clients.size() >= kMaxClients) {
                    ::close(fd);
                    continue;
                }
                clients.push_back({fd, {}, nowMs() + kClientTimeoutMs});
            }
        }
    }
}

bool SingleInstance::sendRequest(InstanceRequest request) const {
    sockaddr_un address{};
    if (!socketAddress(m_socketPath, address)) return false;
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return false;
    timeval timeout{1, 0};
    ::setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &timeout, sizeof(timeout));
    bool sent = false;
    if (::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) == 0) {
        const std::string line = std::string(instanceRequestLine(request)) + "\n";
        sent = ::send(fd, line.data(), line.size(), MSG_NOSIGNAL) == static_cast<ssize_t>(line.size());
    }
    ::close(fd);
    return sent;
}

}  // namespace quorvik
