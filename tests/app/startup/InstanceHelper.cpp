// A second program for the single-instance tests, run as its own process.
//   InstanceHelper <folder> <device name> first   claims, listens, prints
//       "ready", then prints every request line it receives; ends on "exit".
//   InstanceHelper <folder> <device name> second  as a later launch: when
//       another copy runs, asks it to show itself and ends with 0.
// Exit codes: 0 done, 3 could not claim or listen, 4 found no other copy,
// 5 no usable lock, 2 bad arguments.
#include "app/startup/SingleInstance.h"

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <mutex>
#include <string>

int main(int argc, char** argv) {
    if (argc != 4) return 2;
    quorvik::SingleInstance instance(argv[2], argv[1]);
    const std::string mode = argv[3];
    const quorvik::SingleInstance::Claim claim = instance.claim();
    if (mode == "second") {
        if (claim == quorvik::SingleInstance::Claim::AnotherRunning) {
            instance.sendRequest(quorvik::InstanceRequest::Show);
            return 0;
        }
        return claim == quorvik::SingleInstance::Claim::Only ? 4 : 5;
    }
    if (mode != "first") return 2;
    if (claim != quorvik::SingleInstance::Claim::Only) return 3;

    std::mutex mutex;
    std::condition_variable changed;
    bool exitAsked = false;
    const bool listening = instance.listen([&](quorvik::InstanceRequest request) {
        std::printf("%s\n", std::string(quorvik::instanceRequestLine(request)).c_str());
        std::fflush(stdout);
        std::lock_guard lock(mutex);
        if (request == quorvik::InstanceRequest::Exit) exitAsked = true;
        changed.notify_all();
    });
    if (!listening) return 3;
    std::printf("ready\n");
    std::fflush(stdout);
    std::unique_lock lock(mutex);
    changed.wait_for(lock, std::chrono::seconds(20), [&] { return exitAsked; });
    return 0;
}
