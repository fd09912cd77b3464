// The scale walk behind the DPI conversions. Index 0 is the scale's first value; below it and
// above the last value the nearest segment's step goes on, which is what the mouse's linear
// formulas do at the ends. Arithmetic is 64-bit so no input can overflow.
#include "protocol/DpiScale.h"

#include <algorithm>
#include <cstdint>

#include "protocol/SensorTable.h"

namespace quorvik {
namespace {

std::int64_t floorDiv(std::int64_t a, std::int64_t b) {
    std::int64_t q = a / b;
    if ((a % b != 0) && ((a < 0) != (b < 0))) --q;
    return q;
}

std::int64_t segmentLength(const DpiSegment& s) {
    return (s.to - s.from) / s.step + 1;
}

// Index of the scale value at or below `dpi`.
std::int64_t indexOf(const SensorProfile& profile, std::int64_t dpi) {
    const auto scale = profile.scale();
    std::int64_t base = 0;
    for (std::size_t i = 0; i < scale.size(); ++i) {
        const DpiSegment& s = scale[i];
        if (dpi < s.from) {
            if (i == 0) return floorDiv(dpi - s.from, s.step);
            return base - 1;  // in the gap after the previous segment: its last value
        }
        if (dpi <= s.to || i + 1 == scale.size()) return base + (dpi - s.from) / s.step;
        base += segmentLength(s);
    }
    return base - 1;
}

// Scale value at an index, continuing the end segments' steps beyond the scale.
std::int64_t valueAt(const SensorProfile& profile, std::int64_t index) {
    const auto scale = profile.scale();
    if (index < 0) return scale[0].from + index * scale[0].step;
    std::int64_t base = 0;
    for (std::size_t i = 0; i < scale.size(); ++i) {
        const DpiSegment& s = scale[i];
        const std::int64_t length = segmentLength(s);
        if (index < base + length || i + 1 == scale.size()) return s.from + (index - base) * s.step;
        base += length;
    }
    return scale.back().to;
}

int toInt(std::int64_t v) {
    return static_cast<int>(std::clamp<std::int64_t>(v, INT32_MIN, INT32_MAX));
}

std::int64_t roundDown(std::int64_t v, std::int64_t step) {
    return floorDiv(v, step) * step;
}

}  // namespace

int dpiToSliderPosition(int sensorId, int dpi) {
    return toInt(indexOf(sensorProfile(sensorId), dpi) + 1);
}

int sliderPositionToDpi(int sensorId, int position) {
    const SensorProfile& profile = sensorProfile(sensorId);
    return toInt(std::min<std::int64_t>(valueAt(profile, std::int64_t{position} - 1), profile.scaleTop()));
}

int dpiToDeviceCode(int sensorId, int dpi) {
    const SensorProfile& profile = sensorProfile(sensorId);
    return toInt(std::clamp<std::int64_t>(indexOf(profile, dpi) + profile.firstCode, 0, 0xFFFF));
}

int deviceCodeToDpi(int sensorId, int code) {
    const SensorProfile& profile = sensorProfile(sensorId);
    return toInt(valueAt(profile, std::int64_t{code} - profile.firstCode));
}

int normalizeTypedDpi(int sensorId, int typed) {
    const SensorProfile& p = sensorProfile(sensorId);
    std::int64_t v = typed;
    if (p.coarseFrom > 0 && v > p.coarseFrom)
        v = p.coarseFrom + roundDown(v - p.coarseFrom, p.coarseStep);
    else
        v = roundDown(v, p.typedStep);
    v = std::clamp<std::int64_t>(v, p.typedMinimum, p.typedMaximum);
    return toInt(valueAt(p, indexOf(p, v)));
}

std::vector<int> dpiScaleValues(int sensorId) {
    std::vector<int> values;
    for (const DpiSegment& s : sensorProfile(sensorId).scale())
        for (int v = s.from; v <= s.to; v += s.step) values.push_back(v);
    return values;
}

}  // namespace quorvik
