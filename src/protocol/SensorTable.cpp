// The per-sensor rows. Sensors 16 and 18 share a scale; sensor 17's device scale goes on past
// what the page offers (13000..24000 in steps of 1000, codes 221..232).
#include "protocol/SensorTable.h"

namespace quorvik {
namespace {

constexpr SensorProfile row(int id, DpiLimits limits, std::array<DpiSegment, 3> segments, int count,
                            int firstCode, int positions, const char* low, const char* high, int typedStep,
                            int typedMin, int typedMax, int coarseFrom = 0, int coarseStep = 0) {
    SensorProfile p;
    p.sensorId = id;
    p.limits = limits;
    p.segments = segments;
    p.segmentCount = count;
    p.firstCode = firstCode;
    p.sliderPositions = positions;
    p.lowLabel = low;
    p.highLabel = high;
    p.typedStep = typedStep;
    p.typedMinimum = typedMin;
    p.typedMaximum = typedMax;
    p.coarseFrom = coarseFrom;
    p.coarseStep = coarseStep;
    return p;
}

// clang-format off
constexpr std::array<SensorProfile, 10> kProfiles = {
    //  id   limits          scale segments                                                  n  code pos  labels            typed
    row(4,  {100, 8000},  {{{100, 8000, 100}}},                                              1, 1,  80,  "100", "8000",  100, 100, 8000),
    row(5,  {50, 12000},  {{{50, 6400, 50}, {6500, 12000, 100}}},                            2, 1,  184, "50",  "12000", 50,  50,  12000),
    row(16, {100, 4800},  {{{100, 4800, 100}}},                                              1, 1,  48,  "100", "4800",  100, 100, 4800),
    row(17, {50, 24000},  {{{50, 10000, 50}, {10100, 12000, 100}, {13000, 24000, 1000}}},    3, 1,  220, "50",  "12000", 50,  50,  12000),
    row(18, {100, 4800},  {{{100, 4800, 100}}},                                              1, 1,  48,  "100", "4800",  100, 100, 4800),
    row(25, {100, 30000}, {{{100, 16000, 100}, {17000, 30000, 1000}}},                       2, 1,  174, "100", "30000", 100, 100, 30000),
    row(37, {100, 10000}, {{{100, 5000, 100}, {5500, 10000, 500}}},                          2, 1,  60,  "100", "10000", 100, 100, 10000, 5000, 1000),
    row(38, {200, 10000}, {{{200, 5000, 100}, {5500, 10000, 500}}},                          2, 1,  59,  "200", "10000", 100, 200, 10000),
    row(53, {100, 16000}, {{{100, 16000, 100}}},                                             1, 1,  160, "100", "16000", 100, 100, 16000),
    row(-1, {50, 26000},  {{{50, 26000, 50}}},                                               1, 0,  520, "50",  "26000", 50,  50,  26000),
};
// clang-format on

}  // namespace

const SensorProfile& sensorProfile(int sensorId) {
    for (const auto& p : kProfiles)
        if (p.sensorId == sensorId && sensorId >= 0) return p;
    return kProfiles.back();
}

std::span<const SensorProfile> allSensorProfiles() {
    return kProfiles;
}

}  // namespace quorvik
