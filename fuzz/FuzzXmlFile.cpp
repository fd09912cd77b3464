// Fuzzes XmlDocument's file path: the input bytes become a file that is read
// (encoding detection and conversion), parsed, walked and written back.
#include "files/XmlDocument.h"

#include <unistd.h>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

// Scratch files live in memory (/dev/shm) when possible: on a disk-backed
// /tmp, creating the file costs more than everything the target tests.
std::string scratchFolder() {
    if (::access("/dev/shm", W_OK) == 0) return "/dev/shm";
    const char* tmp = std::getenv("TMPDIR");
    return tmp && *tmp ? tmp : "/tmp";
}

const std::string& scratchPath(const char* suffix) {
    static const std::string base = scratchFolder() + "/quorvik_fuzz_xml_" + std::to_string(::getpid());
    static std::string in = base + ".in", out = base + ".out";
    static const int cleanup = std::atexit([] {
        std::remove(in.c_str());
        std::remove(out.c_str());
    });
    (void)cleanup;
    return suffix[0] == 'i' ? in : out;
}

void walk(quorvik::XmlDocument& doc, int depth) {
    static const char* const names[] = {"a", "b", "html", "head", "meta", "profile", "item"};
    for (const char* name : names) {
        while (doc.findNext(name)) {
            doc.attribute("a");
            doc.attribute("name");
            if (depth < 8 && doc.enter()) {
                walk(doc, depth + 1);
                doc.leave();
            }
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string& inPath = scratchPath("in");
    if (FILE* f = std::fopen(inPath.c_str(), "wb")) {
        std::fwrite(data, 1, size, f);
        std::fclose(f);
    } else {
        return 0;
    }
    quorvik::XmlDocument doc;
    if (!doc.readFile(inPath)) return 0;
    doc.parse();
    walk(doc, 0);
    // Writing goes through fsync and rename; do it for one input in sixteen so
    // the reader keeps most of the fuzzing time.
    if (size % 16 == 0) doc.writeFile(scratchPath("out"));
    return 0;
}
