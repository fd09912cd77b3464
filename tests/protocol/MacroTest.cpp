// Macro steps to device events, and the upload data split into 0x08 requests.
#include "protocol/MacroEvents.h"
#include "protocol/MacroUpload.h"

#include <gtest/gtest.h>

#include "ProtocolTestHelpers.h"

namespace quorvik {
namespace {

using testing::hexText;

constexpr int kVkA = 65;
constexpr int kVkLeftShift = 160;

MacroEncodeStep delay(int ms) {
    return {kStepDelay, ms};
}
MacroEncodeStep press(int vk) {
    return {kStepKeyPress, vk};
}
MacroEncodeStep release(int vk) {
    return {kStepKeyRelease, vk};
}

std::string eventBytes(const std::vector<MacroEvent>& events) {
    std::vector<std::uint8_t> bytes;
    for (const auto& e : events) appendEventBytes(bytes, e);
    return hexText(bytes);
}

TEST(EncodeMacroEvents, Table) {
    struct Case {
        const char* name;
        std::vector<MacroEncodeStep> steps;
        const char* bytes;
        // clang-format off
    } cases[] = {
        {"press A, 100 ms, release A", {press(kVkA), delay(100), release(kVkA)}, "30 64 00 04 B0 01 00 04"},
        {"leading delay adds to the first event's delay",
         {delay(50), press(kVkA), delay(100), release(kVkA)}, "30 96 00 04 B0 01 00 04"},
        {"left Shift is a modifier", {press(kVkLeftShift), release(kVkLeftShift)}, "20 01 00 02 A0 01 00 02"},
        {"Windows keys are modifiers", {press(91), release(92)}, "20 01 00 08 A0 01 00 80"},
        {"generic Shift 16 is no modifier key", {press(16)}, "30 01 00 00"},
        {"mouse buttons", {{kStepMousePress, 1}, delay(20), {kStepMouseRelease, 0x110}}, "10 14 00 01 90 01 00 10"},
        {"trailing delay is the last event's delay", {press(kVkA), release(kVkA), delay(300)},
         "30 01 00 04 B0 2C 01 04"},
        {"trailing delays add up", {press(kVkA), delay(200), delay(100)}, "30 2C 01 04"},
        {"trailing zero delay gives 0", {press(kVkA), delay(0)}, "30 00 00 04"},
        {"zero delay between events gives 1", {press(kVkA), delay(0), release(kVkA)}, "30 01 00 04 B0 01 00 04"},
        {"delays between events add up", {press(kVkA), delay(100), delay(200), release(kVkA)},
         "30 2C 01 04 B0 01 00 04"},
        {"a delay sum past 16 bits stays at 65535", {press(kVkA), delay(40000), delay(40000), release(kVkA)},
         "30 FF FF 04 B0 01 00 04"},
        {"negative delays count as 0", {press(kVkA), delay(-50), delay(100), release(kVkA)},
         "30 64 00 04 B0 01 00 04"},
        {"unknown step types do not drop the delay", {press(kVkA), delay(100), {9, 5}, release(kVkA)},
         "30 64 00 04 B0 01 00 04"},
        {"unknown step at the end", {press(kVkA), delay(70), {0, 0}}, "30 46 00 04"},
        {"only delays", {delay(10), delay(20)}, ""},
        {"no steps", {}, ""},
        {"delay before a single event stays off", {delay(50), press(kVkA)}, "30 01 00 04"},
        {"key without a usage", {press(250)}, "30 01 00 00"},
        {"keypad 1", {press(97), release(97)}, "30 01 00 59 B0 01 00 59"},
    };
    // clang-format on
    for (const auto& c : cases) EXPECT_EQ(eventBytes(encodeMacroEvents(c.steps)), c.bytes) << c.name;
}

TEST(EncodeMacroEvents, StopsAt255Events) {
    std::vector<MacroEncodeStep> steps;
    for (int i = 0; i < 300; ++i) {
        steps.push_back(i % 2 ? release(kVkA) : press(kVkA));
        steps.push_back(delay(10));
    }
    const auto events = encodeMacroEvents(steps);
    ASSERT_EQ(events.size(), kMaxMacroEvents);
    for (const auto& e : events) ASSERT_EQ(e.delay, 10);
    EXPECT_EQ(events.back().code, kEventKeyPress);  // the 255th event is the 128th press
}

std::vector<MacroEvent> someEvents(std::size_t count) {
    std::vector<MacroEvent> events;
    for (std::size_t i = 0; i < count; ++i)
        events.push_back(
            {kEventKeyPress, static_cast<std::uint16_t>(i + 1), static_cast<std::uint8_t>(4 + i % 26)});
    return events;
}

TEST(MacroUpload, DataIsKeyCodeThenEvents) {
    const std::vector<MacroEvent> events = {{0x30, 0x64, 0x04}, {0xB0, 1, 0x04}};
    EXPECT_EQ(hexText(macroUploadData(3, events)), "03 30 64 00 04 B0 01 00 04");
    EXPECT_EQ(hexText(macroUploadData(0x12C, {})), "2C");
}

TEST(MacroUpload, RequestsByLength) {
    struct Case {
        const char* name;
        std::size_t events;
        std::vector<std::pair<int, int>> flagsAndLength;  // byte 3, byte 4 of each request
        // clang-format off
    } cases[] = {
        {"no events", 0, {{0x01, 1}}},
        {"6 events, L = 25: one request", 6, {{0x01, 25}}},
        {"7 events, L = 29: two chunks", 7, {{0x02, 27}, {0x12, 2}}},
        {"20 events, L = 81: three full chunks", 20, {{0x03, 27}, {0x13, 27}, {0x23, 27}}},
        {"13 events, L = 53", 13, {{0x02, 27}, {0x12, 26}}},
    };
    // clang-format on
    for (const auto& c : cases) {
        const auto data = macroUploadData(5, someEvents(c.events));
        const auto packets = macroUploadPackets(data);
        ASSERT_EQ(packets.size(), c.flagsAndLength.size()) << c.name;
        for (std::size_t i = 0; i < packets.size(); ++i) {
            EXPECT_EQ(packets[i].command(), 0x08) << c.name;
            EXPECT_EQ(packets[i].flags(), c.flagsAndLength[i].first) << c.name << " request " << i;
            EXPECT_EQ(packets[i].lengthByte(), c.flagsAndLength[i].second) << c.name << " request " << i;
            EXPECT_EQ(packets[i].size(), 33u);
        }
    }
}

// Chunk numbering of byte 3 has four bits each for the chunk and the count, so an upload is
// never more than 15 chunks: 101 events. Longer macros are cut, never numbered past 15.
TEST(MacroUpload, LongMacrosAreCutToFifteenChunks) {
    for (std::size_t count : {100u, 101u, 102u, 200u, 255u}) {
        const auto data = macroUploadData(1, someEvents(count));
        const std::size_t kept = std::min(count, kMaxUploadEvents);
        ASSERT_EQ(data.size(), 1 + 4 * kept) << count;
        const auto packets = macroUploadPackets(data);
        ASSERT_LE(packets.size(), kMaxMacroChunks);
        EXPECT_EQ(packets.back().flags() & 0x0F, packets.size()) << count;
        EXPECT_EQ(packets.back().flags() >> 4, packets.size() - 1) << count;
    }
    EXPECT_EQ(kMaxUploadEvents, 101u);
    const std::vector<std::uint8_t> raw(1000, 0xAB);  // data longer than any upload
    const auto packets = macroUploadPackets(raw);
    ASSERT_EQ(packets.size(), 15u);
    EXPECT_EQ(packets.back().flags(), 0xEF);
    EXPECT_EQ(packets.back().lengthByte(), 27);
}

TEST(MacroUpload, ChunksReassembleToTheData) {
    for (std::size_t count = 0; count <= 120; ++count) {
        const auto data = macroUploadData(7, someEvents(count));
        std::vector<std::uint8_t> joined;
        std::size_t expectedChunk = 0;
        const auto packets = macroUploadPackets(data);
        for (const auto& p : packets) {
            if (packets.size() > 1) {
                ASSERT_EQ(p.flags() >> 4, expectedChunk++);
                ASSERT_EQ(p.flags() & 0x0F, packets.size());
            }
            ASSERT_LE(p.lengthByte(), kMacroChunkSize);
            const auto payload = p.payloadArea();
            joined.insert(joined.end(), payload.begin(), payload.begin() + p.lengthByte());
            for (std::size_t i = p.lengthByte(); i < payload.size(); ++i) ASSERT_EQ(payload[i], 0);
        }
        ASSERT_EQ(joined, data) << count;
    }
}

}  // namespace
}  // namespace quorvik
