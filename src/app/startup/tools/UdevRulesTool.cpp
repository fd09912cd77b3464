// Build-time tool: writes the udev rules file for the config.xml of a program
// folder. Usage: quorvik_udev_rules <program folder> <output file>.
#include "app/startup/UdevRules.h"
#include "base/FileIo.h"

#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s <program folder> <output file>\n", argv[0]);
        return 2;
    }
    const std::optional<std::string> rules = quorvik::udevRulesForProgramFolder(argv[1]);
    if (!rules) {
        std::fprintf(stderr, "%s: cannot read config.xml in %s\n", argv[0], argv[1]);
        return 1;
    }
    if (!quorvik::writeFileAtomically(argv[2], *rules)) {
        std::fprintf(stderr, "%s: cannot write %s\n", argv[0], argv[2]);
        return 1;
    }
    return 0;
}
