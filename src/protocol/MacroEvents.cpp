// The macro step encoder.
#include "protocol/MacroEvents.h"

#include <algorithm>

#include "protocol/KeyCodes.h"

namespace quorvik {
namespace {

constexpr std::int64_t kMaxDelay = 0xFFFF;

std::uint16_t delayOf(std::int64_t sum) {
    return static_cast<std::uint16_t>(std::clamp<std::int64_t>(sum, 0, kMaxDelay));
}

bool makesEvent(int type) {
    return type == kStepKeyPress || type == kStepKeyRelease || type == kStepMousePress ||
           type == kStepMouseRelease;
}

MacroEvent eventOf(const MacroEncodeStep& step) {
    MacroEvent e;
    switch (step.type) {
        case kStepKeyPress:
        case kStepKeyRelease: {
            const bool press = step.type == kStepKeyPress;
            if (isModifierVk(step.value)) {
                e.code = press ? kEventModifierPress : kEventModifierRelease;
                e.key = static_cast<std::uint8_t>(modifierBit(step.value));
            } else {
                e.code = press ? kEventKeyPress : kEventKeyRelease;
                e.key = static_cast<std::uint8_t>(vkToHidUsage(step.value));
            }
            break;
        }
        case kStepMousePress:
            e.code = kEventMousePress;
            e.key = static_cast<std::uint8_t>(step.value & 0xFF);
            break;
        default:
            e.code = kEventMouseRelease;
            e.key = static_cast<std::uint8_t>(step.value & 0xFF);
            break;
    }
    return e;
}

}  // namespace

std::vector<MacroEvent> encodeMacroEvents(std::span<const MacroEncodeStep> steps) {
    std::vector<MacroEvent> events;
    std::int64_t sum = 0;
    bool delaysPending = false;  // delay steps seen since the last event was completed
    for (const MacroEncodeStep& step : steps) {
        if (step.type == kStepDelay) {
            sum += std::max(step.value, 0);
            delaysPending = true;
            continue;
        }
        if (!makesEvent(step.type)) continue;
        if (!events.empty()) {
            events.back().delay = sum == 0 ? 1 : delayOf(sum);
            sum = 0;
            delaysPending = false;
        }
        if (events.size() == kMaxMacroEvents) return events;
        events.push_back(eventOf(step));
        delaysPending = false;
    }
    // Delays after the last event: their sum is that event's delay, as the steps say.
    if (delaysPending && !events.empty()) events.back().delay = delayOf(sum);
    return events;
}

void appendEventBytes(std::vector<std::uint8_t>& out, const MacroEvent& event) {
    out.push_back(event.code);
    out.push_back(static_cast<std::uint8_t>(event.delay & 0xFF));
    out.push_back(static_cast<std::uint8_t>(event.delay >> 8));
    out.push_back(event.key);
}

}  // namespace quorvik
