// Keeps the program to one running copy per user and device name: an advisory
// lock on "<device name>.lock" in the user's runtime folder, and a Unix socket
// "<device name>.sock" beside it on which the running copy takes requests
// ("show", "exit", "language", one per line) from later launches.
#pragma once

#include "app/startup/InstanceRequest.h"

#include <functional>
#include <string>
#include <thread>

namespace quorvik {

class SingleInstance {
public:
    enum class Claim {
        Only,            // this process holds the lock: it is the running copy
        AnotherRunning,  // another process holds it
        Unavailable,     // no usable folder or lock file: run as the only copy
    };

    // Called on the listening thread for every request received. It must
    // not wait for the user-interface thread (which may be in stop()): post.
    using Handler = std::function<void(InstanceRequest)>;

    // Lock and socket live in `folder` (created 0700 when missing); an empty
    // folder means runtimeFolder().
    explicit SingleInstance(std::string deviceName, std::string folder = {});
    ~SingleInstance();  // stops listening, removes the socket, releases the lock
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;

    // $XDG_RUNTIME_DIR when it names a folder; otherwise a private folder
    // "quorvik-<uid>" in the temp folder ($TMPDIR or /tmp), created with mode
    // 0700 and refused (empty text) when another user owns it.
    static std::string runtimeFolder();

    const std::string& lockPath() const { return m_lockPath; }
    const std::string& socketPath() const { return m_socketPath; }

    // Takes the lock without waiting. A lock left by a crashed copy is gone
    // with its process, so it never blocks a new start; programs this one
    // starts (the installer) do not inherit it.
    Claim claim();

    // After claim() gave Only: replaces a stale socket file, listens, and
    // serves requests on a thread of its own until stop(). Only processes of
    // the same user are heard. False when the socket cannot be made.
    bool listen(Handler handler);
    void stop();

    // From a later launch: sends one request line to the running copy. False
    // when no copy listens (it may still be starting).
    bool sendRequest(InstanceRequest request) const;

private:
    void serve();

    std::string m_folder;
    std::string m_lockPath;
    std::string m_socketPath;
    int m_lockFd = -1;
    int m_listenFd = -1;
    int m_stopPipe[2] = {-1, -1};
    Handler m_handler;
    std::thread m_thread;
};

}  // namespace quorvik
