// Start-up switches (see CommandLine.h).
#include "app/startup/CommandLine.h"

namespace quorvik {

std::string joinCommandLine(int argc, const char* const* argv) {
    std::string line;
    for (int i = 1; i < argc && argv != nullptr; ++i) {
        if (argv[i] == nullptr) break;
        if (i > 1) line += ' ';
        line += argv[i];
    }
    return line;
}

bool startsHidden(std::string_view commandLine) {
    return commandLine.find("-hide") != std::string_view::npos;
}

}  // namespace quorvik
