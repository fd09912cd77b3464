// Fuzzes the encoders with values no page would produce: macro steps of any type and value
// (upload never exceeds 15 chunks and reassembles to its data), bindings of any key code (the
// table never changes outside 64 bytes), DPI conversions of any integer, and colour texts.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdlib>
#include <string>

#include "protocol/ColorText.h"
#include "protocol/DpiScale.h"
#include "protocol/KeyTable.h"
#include "protocol/Lighting.h"
#include "protocol/MacroEvents.h"
#include "protocol/MacroUpload.h"

using namespace quorvik;

namespace {

void check(bool ok) {
    if (!ok) std::abort();
}

void fuzzMacro(FuzzedDataProvider& in) {
    std::vector<MacroEncodeStep> steps(in.ConsumeIntegralInRange<std::size_t>(0, 600));
    for (auto& s : steps) {
        s.type = in.ConsumeIntegralInRange(0, 6);
        s.value = in.ConsumeBool() ? in.ConsumeIntegral<int>() : in.ConsumeIntegralInRange(0, 300);
    }
    const auto events = encodeMacroEvents(steps);
    check(events.size() <= kMaxMacroEvents);
    const auto data = macroUploadData(in.ConsumeIntegral<int>(), events);
    const auto packets = macroUploadPackets(data);
    check(!packets.empty() && packets.size() <= kMaxMacroChunks);
    std::vector<std::uint8_t> joined;
    for (const auto& p : packets) {
        check(p.lengthByte() <= kMaxPayloadSize);
        joined.insert(joined.end(), p.payloadArea().begin(), p.payloadArea().begin() + p.lengthByte());
    }
    check(joined == data);
}

void fuzzKeyTable(FuzzedDataProvider& in) {
    KeyTable table;
    const int count = in.ConsumeIntegralInRange(0, 40);
    for (int i = 0; i < count; ++i) {
        ButtonBinding b;
        b.keyCode = in.ConsumeBool() ? in.ConsumeIntegral<int>() : in.ConsumeIntegralInRange(-2, 25);
        b.type = in.ConsumeIntegralInRange(-1, 10);
        b.value = in.ConsumeIntegral<int>();
        b.value2 = in.ConsumeIntegral<int>();
        const MacroPlayback macro{in.ConsumeIntegral<int>(), in.ConsumeIntegral<int>()};
        const bool placed = table.apply(b, in.ConsumeBool() ? &macro : nullptr);
        check(placed == (b.keyCode >= 0 && b.keyCode < KeyTable::kButtonCount));
    }
    check(table.bytes().size() == KeyTable::kSize && table.bytes()[63] == 0);
    check(table.packet().size() == kShortPacketSize);
}

void fuzzDpi(FuzzedDataProvider& in) {
    const int sensor = in.ConsumeIntegralInRange(0, 60);
    const int value = in.ConsumeIntegral<int>();
    const int code = dpiToDeviceCode(sensor, value);
    check(code >= 0 && code <= 0xFFFF);
    (void)deviceCodeToDpi(sensor, code);
    (void)deviceCodeToDpi(sensor, value);
    (void)dpiToSliderPosition(sensor, value);
    (void)sliderPositionToDpi(sensor, value);
    const int typed = normalizeTypedDpi(sensor, value);
    check(deviceCodeToDpi(sensor, dpiToDeviceCode(sensor, typed)) == typed);
    LightSettings light;
    light.mode = in.ConsumeIntegral<int>();
    light.brightness = in.ConsumeIntegral<int>();
    light.speed = in.ConsumeIntegral<int>();
    check(encodeLighting(light).size() == kLongPacketSize);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    switch (in.ConsumeIntegralInRange(0, 3)) {
        case 0:
            fuzzMacro(in);
            break;
        case 1:
            fuzzKeyTable(in);
            break;
        case 2:
            fuzzDpi(in);
            break;
        default:
            (void)parseColorText(in.ConsumeRemainingBytesAsString());
            break;
    }
    return 0;
}
