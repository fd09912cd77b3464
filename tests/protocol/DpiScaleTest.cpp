// DPI scales: the firmware's conversion formulas where they agree with the scale, every scale
// value through device code and slider and back, typed values, and the slider set-up rows.
#include "protocol/DpiScale.h"
#include "protocol/SensorTable.h"

#include <climits>
#include <string>

#include <gtest/gtest.h>

namespace quorvik {
namespace {

const int kSensors[] = {4, 5, 16, 17, 18, 25, 37, 38, 53, 0, 99};

// clang-format off
// The firmware's formulas, segment by segment, as the mouse documents them. For sensors 25 and 38
// the rows that are one step off the scale are written in the scale's form.
int formulaCode(int s, int d) {
    switch (s) {
        case 17: return d >= 13000 ? (d - 13000) / 1000 + 221 : d <= 10000 ? d / 50 : (d - 10000) / 100 + 200;
        case 5: return d <= 6400 ? d / 50 : (d - 6400) / 100 + 128;
        case 4: case 16: case 18: case 53: return d / 100;
        case 25: return d <= 16000 ? d / 100 : (d - 16000) / 1000 + 160;
        case 37: return d <= 5000 ? d / 100 : (d - 5000) / 500 + 50;
        case 38: return d <= 5000 ? d / 100 - 1 : (d - 5000) / 500 + 49;
        default: return d / 50 - 1;
    }
}

int formulaDpi(int s, int c) {
    switch (s) {
        case 17: return c < 200 ? c * 50 : c <= 220 ? c * 100 - 10000 : c * 1000 - 208000;
        case 5: return c < 129 ? c * 50 : c * 100 - 6400;
        case 4: case 16: case 18: case 53: return c * 100;
        case 25: return c < 160 ? c * 100 : c * 1000 - 144000;
        case 37: return c < 50 ? c * 100 : c * 500 - 20000;
        case 38: return c >= 50 ? c * 500 - 19500 : c * 100 + 100;
        default: return c * 50 + 50;
    }
}

int formulaSliderPosition(int s, int d) {
    switch (s) {
        case 17: return d <= 10000 ? d / 50 : d <= 12000 ? (d - 10000) / 100 + 200 : (d - 13000) / 1000 + 221;
        case 4: case 16: case 18: case 53: return d / 100;
        case 5: case 25: case 37: case 38: return formulaCode(s, d);
        default: return d / 50;
    }
}

int formulaSliderDpi(int s, int p) {
    switch (s) {
        case 17: return std::min(p <= 200 ? p * 50 : p <= 220 ? (p - 100) * 100 : (p - 208) * 1000, 24000);
        case 5: return std::min(p <= 128 ? p * 50 : (p - 64) * 100, 12000);
        case 4: return std::min(p * 100, 8000);
        case 16: case 18: return std::min(p * 100, 4800);
        case 53: return std::min(p * 100, 16000);
        case 25: return std::min(p <= 160 ? p * 100 : (p - 144) * 1000, 30000);
        case 37: return std::min(p * 100 <= 5000 ? p * 100 : (p - 40) * 500, 10000);
        case 38: return std::min(p * 100 < 5000 ? p * 100 + 100 : (p - 39) * 500, 10000);
        default: return std::min(p * 50, 26000);
    }
}

// clang-format on

bool inSensor17Gap(int s, int d) {
    return s == 17 && d > 12000 && d < 13000;
}

TEST(DpiScale, MatchesFirmwareFormulasOverTheSendableRange) {
    for (int s : kSensors) {
        const DpiLimits limits = sensorProfile(s).limits;
        for (int d = limits.minimum; d <= limits.maximum; ++d) {
            if (inSensor17Gap(s, d)) continue;
            ASSERT_EQ(dpiToDeviceCode(s, d), formulaCode(s, d)) << "sensor " << s << " dpi " << d;
            ASSERT_EQ(dpiToSliderPosition(s, d), formulaSliderPosition(s, d))
                << "sensor " << s << " dpi " << d;
        }
        for (int c = 0; c <= dpiToDeviceCode(s, limits.maximum) + 3; ++c)
            ASSERT_EQ(deviceCodeToDpi(s, c), formulaDpi(s, c)) << "sensor " << s << " code " << c;
        for (int p = 0; p <= sensorProfile(s).sliderPositions + 20; ++p)
            ASSERT_EQ(sliderPositionToDpi(s, p), formulaSliderDpi(s, p))
                << "sensor " << s << " position " << p;
    }
}

TEST(DpiScale, NamedCases) {
    struct Case {
        const char* name;
        int actual, expected;
        // clang-format off
    } cases[] = {
        {"default: 50 -> code 0", dpiToDeviceCode(0, 50), 0},
        {"default: code 0 -> 50", deviceCodeToDpi(0, 0), 50},
        {"17: 13000 -> code 221", dpiToDeviceCode(17, 13000), 221},
        {"17: code 221 -> 13000", deviceCodeToDpi(17, 221), 13000},
        {"17: 24000 -> code 232", dpiToDeviceCode(17, 24000), 232},
        {"4: code 0 -> 0 (not storable)", deviceCodeToDpi(4, 0), 0},
        {"default: slider 16 -> 800", sliderPositionToDpi(99, 16), 800},
        {"default: 800 -> slider 16", dpiToSliderPosition(99, 800), 16},
        {"25: slider 161 -> 17000", sliderPositionToDpi(25, 161), 17000},
        {"25: slider 174 -> 30000", sliderPositionToDpi(25, 174), 30000},
        {"38: 5500 -> slider 50", dpiToSliderPosition(38, 5500), 50},
        {"38: 5500 -> code 50", dpiToDeviceCode(38, 5500), 50},
        {"38: code 49 -> 5000", deviceCodeToDpi(38, 49), 5000},
        {"38: code 1 -> 200", deviceCodeToDpi(38, 1), 200},
        {"17: 12500 between segments -> code of 12000", dpiToDeviceCode(17, 12500), 220},
        {"code field is 16 bits", dpiToDeviceCode(0, INT_MAX), 0xFFFF},
        {"no negative code", dpiToDeviceCode(0, -500), 0},
        {"slider past the end is limited", sliderPositionToDpi(4, 1000), 8000},
        {"huge slider position", sliderPositionToDpi(17, INT_MAX), 24000},
        {"below the scale the first step goes on", dpiToSliderPosition(0, -50), -1},
        {"most negative dpi does not overflow", dpiToDeviceCode(0, INT_MIN), 0},
    };
    // clang-format on
    for (const auto& c : cases) EXPECT_EQ(c.actual, c.expected) << c.name;
}

TEST(DpiScale, EveryScaleValueSurvivesCodeAndSlider) {
    for (const SensorProfile& profile : allSensorProfiles()) {
        const int s = profile.sensorId;
        const std::vector<int> values = dpiScaleValues(s);
        ASSERT_FALSE(values.empty());
        int previousCode = -1;
        for (int v : values) {
            const int code = dpiToDeviceCode(s, v);
            ASSERT_EQ(deviceCodeToDpi(s, code), v) << "sensor " << s << " dpi " << v;
            ASSERT_EQ(code, previousCode < 0 ? profile.firstCode : previousCode + 1)
                << "codes are consecutive";
            previousCode = code;
            ASSERT_EQ(sliderPositionToDpi(s, dpiToSliderPosition(s, v)), v) << "sensor " << s << " dpi " << v;
        }
    }
}

TEST(DpiScale, SliderPositionsCoverThePageRange) {
    struct Row {
        int sensor, positions;
        const char* low;
        const char* high;
        // clang-format off
    } rows[] = {
        {4, 80, "100", "8000"},     {5, 184, "50", "12000"},   {16, 48, "100", "4800"},
        {18, 48, "100", "4800"},    {17, 220, "50", "12000"},  {25, 174, "100", "30000"},
        {37, 60, "100", "10000"},   {38, 59, "200", "10000"},  {53, 160, "100", "16000"},
        {7, 520, "50", "26000"},
    };
    // clang-format on
    for (const auto& r : rows) {
        const SensorProfile& p = sensorProfile(r.sensor);
        EXPECT_EQ(p.sliderPositions, r.positions) << r.sensor;
        EXPECT_STREQ(p.lowLabel, r.low) << r.sensor;
        EXPECT_STREQ(p.highLabel, r.high) << r.sensor;
        EXPECT_EQ(std::to_string(sliderPositionToDpi(r.sensor, 1)), r.low) << r.sensor;
        EXPECT_EQ(std::to_string(sliderPositionToDpi(r.sensor, r.positions)), r.high) << r.sensor;
        int previous = 0;
        for (int pos = 1; pos <= r.positions; ++pos) {
            const int dpi = sliderPositionToDpi(r.sensor, pos);
            ASSERT_GT(dpi, previous) << "sensor " << r.sensor << " position " << pos;
            ASSERT_EQ(dpiToSliderPosition(r.sensor, dpi), pos)
                << "sensor " << r.sensor << " position " << pos;
            previous = dpi;
        }
    }
}

TEST(NormalizeTypedDpi, Table) {
    struct Case {
        int sensor, typed, expected;
        // clang-format off
    } cases[] = {
        {17, 11234, 11200}, {17, 30000, 12000}, {17, 20, 50},      {17, 10150, 10100}, {17, 10000, 10000},
        {37, 7600, 7000},   {37, 99, 100},      {37, 5400, 5000},  {37, 5000, 5000},   {37, 10400, 10000},
        {37, 4999, 4900},
        {0, 26010, 26000},  {0, 74, 50},        {0, 0, 50},        {0, -40, 50},
        {5, 6450, 6400},    {5, 6550, 6500},    {5, 12001, 12000},
        {4, 150, 100},      {4, 8100, 8000},
        {16, 5000, 4800},   {18, 99, 100},      {53, 15999, 15900},
        {25, 16500, 16000}, {25, 29999, 29000}, {25, 30001, 30000},
        {38, 150, 200},     {38, 5300, 5000},   {38, 7777, 7500},
        {0, INT_MAX, 26000}, {0, INT_MIN, 50},  {37, INT_MAX, 10000}, {37, INT_MIN, 100},
    };
    // clang-format on
    for (const auto& c : cases)
        EXPECT_EQ(normalizeTypedDpi(c.sensor, c.typed), c.expected)
            << "sensor " << c.sensor << " typed " << c.typed;
}

TEST(NormalizeTypedDpi, ResultIsWhatTheMouseGivesBack) {
    for (int s : kSensors) {
        const SensorProfile& p = sensorProfile(s);
        for (int typed = -100; typed <= p.typedMaximum + 2000; typed += 7) {
            const int v = normalizeTypedDpi(s, typed);
            ASSERT_GE(v, p.typedMinimum);
            ASSERT_LE(v, p.typedMaximum);
            ASSERT_EQ(deviceCodeToDpi(s, dpiToDeviceCode(s, v)), v) << "sensor " << s << " typed " << typed;
        }
    }
}

}  // namespace
}  // namespace quorvik
