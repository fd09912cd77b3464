// Fuzzes the loader reports both ways: any 64 bytes read as a report, and any input as a
// firmware image split into reports and read back to the same image with valid CRCs.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "protocol/Loader.h"

using namespace quorvik;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> input(data, size);
    if (auto parsed = parseLoaderReport(input)) {
        if (parsed->records.size() > kLoaderRecordsPerReport) std::abort();
    }
    if (size >= kLoaderReportSize) (void)parseLoaderReport(input.first(kLoaderReportSize));

    std::vector<std::uint8_t> rebuilt;
    std::size_t number = 0;
    for (const LoaderReport& report : loaderDataReports(input)) {
        const auto parsed = parseLoaderReport(report);
        if (!parsed || parsed->kind != LoaderReportKind::Data) std::abort();
        for (const auto& rec : parsed->records) {
            if (!rec.crcValid || rec.number != number++) std::abort();
            rebuilt.insert(rebuilt.end(), rec.data.begin(), rec.data.end());
        }
    }
    if (rebuilt.size() < size || !std::equal(input.begin(), input.end(), rebuilt.begin())) std::abort();
    if (std::any_of(rebuilt.begin() + size, rebuilt.end(), [](std::uint8_t b) { return b != kLoaderFill; }))
        std::abort();
    return 0;
}
