// A macro's steps (delays, key and mouse-button presses and releases) turned into the mouse's
// 4-byte events: event code, the delay after the event in ms (16 bits, low byte first), and the
// key's HID usage, the modifier's bit or the mouse button.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace quorvik {

// Step types as stored with a macro; other numbers may come from imported files.
inline constexpr int kStepDelay = 1;         // value: milliseconds
inline constexpr int kStepKeyPress = 2;      // value: virtual-key code
inline constexpr int kStepKeyRelease = 3;    // value: virtual-key code
inline constexpr int kStepMousePress = 4;    // value: button bit (1 left, 2 right, 4 middle, 8, 16)
inline constexpr int kStepMouseRelease = 5;  // value: button bit

// One step as the encoder needs it: the type and value of a stored macro step.
struct MacroEncodeStep {
    int type = 0;
    int value = 0;
};

// Event codes.
inline constexpr std::uint8_t kEventMousePress = 0x10;
inline constexpr std::uint8_t kEventModifierPress = 0x20;
inline constexpr std::uint8_t kEventKeyPress = 0x30;
inline constexpr std::uint8_t kEventMouseRelease = 0x90;
inline constexpr std::uint8_t kEventModifierRelease = 0xA0;
inline constexpr std::uint8_t kEventKeyRelease = 0xB0;

inline constexpr std::size_t kMacroEventSize = 4;
inline constexpr std::size_t kMaxMacroEvents = 255;

struct MacroEvent {
    std::uint8_t code = 0;
    std::uint16_t delay = 1;
    std::uint8_t key = 0;

    bool operator==(const MacroEvent&) const = default;
};

// The events of a macro, in step order, at most 255.
// - Delay steps add up; the sum becomes the delay after the event before them (1 when there is
//   none); delays before the first event are added to the delay after it.
// - A delay sum above 65535 ms is sent as 65535 (the field has 16 bits); negative delays from
//   imported files count as 0.
// - Steps of unknown types produce nothing and leave the running delay alone.
// - Steps that would make a 256th event are dropped, with everything after them.
std::vector<MacroEvent> encodeMacroEvents(std::span<const MacroEncodeStep> steps);

// The 4 bytes of an event as sent.
void appendEventBytes(std::vector<std::uint8_t>& out, const MacroEvent& event);

}  // namespace quorvik
