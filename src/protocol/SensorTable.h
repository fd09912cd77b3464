// Everything that depends on the sensor id of the identity block, as one table: the DPI limits
// a stage is sent with, the DPI scale (segments of equal steps) and the device code of its first
// value, the slider set-up, and the rules for a DPI typed by the user. Code never switches on ids.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace quorvik {

struct DpiLimits {
    int minimum = 50;
    int maximum = 26000;
};

// One stretch of a DPI scale: from, from + step, ..., to.
struct DpiSegment {
    int from = 0;
    int to = 0;
    int step = 1;
};

struct SensorProfile {
    int sensorId = -1;  // -1 for the row used by every sensor without a row of its own
    DpiLimits limits;   // a stage value is clamped to these before it is sent
    std::array<DpiSegment, 3> segments{};
    int segmentCount = 1;
    int firstCode = 0;        // device code of the scale's first value
    int sliderPositions = 0;  // slider positions 1..n cover the page's part of the scale
    const char* lowLabel = "";
    const char* highLabel = "";
    // Typed DPI: rounded down to typedStep, or above coarseFrom (when > 0) to coarseFrom plus
    // a multiple of coarseStep; then limited to typedMinimum..typedMaximum.
    int typedStep = 50;
    int typedMinimum = 50;
    int typedMaximum = 26000;
    int coarseFrom = 0;
    int coarseStep = 0;

    std::span<const DpiSegment> scale() const {
        return {segments.data(), static_cast<std::size_t>(segmentCount)};
    }
    int scaleTop() const { return segments[segmentCount - 1].to; }
};

// The row for this sensor id, or the default row.
const SensorProfile& sensorProfile(int sensorId);

// All rows with an id of their own, then the default row (for tests and tools).
std::span<const SensorProfile> allSensorProfiles();

}  // namespace quorvik
