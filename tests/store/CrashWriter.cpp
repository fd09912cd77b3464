// Helper process for the crash test: writes to a model's store without pause
// and reports each operation on stdout only after it returned, so the parent
// knows exactly which writes had completed when it kills this process.
//   store_crash_writer <user data folder> <model stem>
#include "store/SettingsStore.h"

#include <unistd.h>
#include <cstdio>
#include <string>

namespace {

void report(const std::string& line) {
    const std::string text = line + "\n";
    for (std::size_t done = 0; done < text.size();) {
        const ssize_t n = ::write(STDOUT_FILENO, text.data() + done, text.size() - done);
        if (n <= 0) _exit(3);
        done += static_cast<std::size_t>(n);
    }
}

}  // namespace

int main(int argc, char** argv) {
    using namespace quorvik;
    if (argc != 3) return 2;
    auto& store = SettingsStore::instance();
    if (!store.openForModel(argv[1], argv[2])) return 1;
    std::vector<ProfileRecord> profiles;
    if (store.listProfiles(profiles) == 0 && store.addProfile({.name = "Profile 1"}) != 1) return 1;
    std::string value;
    store.getConfigValue(1, "dpi_group0_value", value);
    int counter = std::stoi(value.empty() ? "0" : value);
    report("ready");
    for (;;) {
        const int macroId = store.addMacro("recorded");
        if (macroId <= 0) return 1;
        report("macro " + std::to_string(macroId));
        std::vector<MacroStep> steps;
        for (int k = 0; k < 200; ++k) {
            steps.push_back({.macro_id = macroId,
                             .type = k % 2,
                             .record_index = k,
                             .value = k,
                             .delay_time = 5,
                             .desc = "key " + std::to_string(k)});
        }
        store.insertMacroSteps(steps);
        report("steps " + std::to_string(macroId));
        for (int k = 0; k < 20; ++k) {
            ++counter;
            if (!store.setConfigValue(1, "dpi_group0_value", std::to_string(counter))) return 1;
            report("value " + std::to_string(counter));
        }
    }
}
