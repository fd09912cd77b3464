// Binding-to-entry tables per type and the key table itself.
#include "protocol/KeyTable.h"

#include <algorithm>

#include "protocol/KeyCodes.h"

namespace quorvik {
namespace {

struct ValueEntry {
    int value;
    KeyEntry entry;
};

// clang-format off
constexpr std::array<ValueEntry, 6> kDefaults = {{
    {0, {0x10, 0x01, 0x00}}, {1, {0x10, 0x02, 0x00}}, {2, {0x10, 0x04, 0x00}},
    {3, {0x10, 0x08, 0x00}}, {4, {0x10, 0x10, 0x00}}, {5, {0x40, 0x01, 0x00}},
}};

constexpr std::array<ValueEntry, 10> kMouseFunctions = {{
    {1, {0x10, 0x01, 0x00}}, {2, {0x10, 0x04, 0x00}}, {3, {0x10, 0x02, 0x00}}, {4, {0x30, 0x32, 0x03}},
    {5, {0x10, 0x10, 0x00}}, {6, {0x10, 0x08, 0x00}}, {7, {0x20, 0x01, 0x00}}, {8, {0x20, 0xFF, 0x00}},
    {9, {0x10, 0x00, 0xF5}}, {10, {0x10, 0x00, 0xF6}},
}};
constexpr KeyEntry kMouseOther = {0x10, 0x00, 0x00};

constexpr std::array<ValueEntry, 8> kMultimedia = {{
    {1, {0x80, 0x83, 0x01}}, {2, {0x80, 0xCD, 0x00}}, {3, {0x80, 0xB7, 0x00}}, {4, {0x80, 0xB6, 0x00}},
    {5, {0x80, 0xB5, 0x00}}, {6, {0x80, 0xE9, 0x00}}, {7, {0x80, 0xEA, 0x00}}, {8, {0x80, 0xE2, 0x00}},
}};
constexpr KeyEntry kMultimediaOther = {0x80, 0x00, 0x00};

constexpr std::array<ValueEntry, 3> kDpiFunctions = {{
    {1, {0x40, 0x02, 0x00}}, {2, {0x40, 0x03, 0x00}}, {3, {0x40, 0x01, 0x00}},
}};
constexpr KeyEntry kDpiOther = {0x40, 0x00, 0x00};

constexpr std::array<ValueEntry, 11> kSystemFunctions = {{
    {1, {0x80, 0x6F, 0x00}}, {2, {0x80, 0x70, 0x00}}, {3, {0x80, 0x92, 0x01}}, {4, {0x80, 0x94, 0x01}},
    {5, {0x80, 0x23, 0x02}}, {6, {0x80, 0x8A, 0x01}}, {7, {0x70, 0x08, 0x07}}, {8, {0x70, 0x08, 0x2B}},
    {9, {0x70, 0x01, 0x06}}, {10, {0x70, 0x01, 0x19}}, {11, {0x70, 0x01, 0x1B}},
}};
constexpr KeyEntry kSystemOther = {0x80, 0x00, 0x00};
// clang-format on

constexpr std::uint8_t kFamilyKeyboard = 0x70;
constexpr std::uint8_t kFamilyMacro = 0x90;
constexpr std::uint8_t kFamilyType6 = 0x60;
constexpr std::uint8_t kFamilyRapidFire = 0x30;
constexpr KeyEntry kType9Entry = {0x60, 0x00, 0x00};

// Macro play bits in the second byte of a macro entry.
constexpr std::uint8_t kPlayHold = 0x10;    // play types 1 and 3
constexpr std::uint8_t kPlayToggle = 0x40;  // play type 2
constexpr std::uint8_t kPlayCount = 0x20;   // play type 0: count in the third byte
constexpr int kMaxPlayCount = 0xFF;

template <std::size_t N>
KeyEntry lookup(const std::array<ValueEntry, N>& table, int value, const KeyEntry& other) {
    for (const auto& e : table)
        if (e.value == value) return e.entry;
    return other;
}

std::uint8_t lowByte(int v) {
    return static_cast<std::uint8_t>(v & 0xFF);
}

KeyEntry keyboardEntry(int usage, int modifiers) {
    if (isModifierUsage(usage)) {
        const auto bit = lowByte(modifierBit(usage));
        if (modifiers == 0) return {kFamilyKeyboard, bit, 0x00};
        return {kFamilyKeyboard, lowByte(modifiers), bit};
    }
    return {kFamilyKeyboard, lowByte(modifiers), usage == 0 ? std::uint8_t{0} : lowByte(usage)};
}

KeyEntry macroEntry(int keyCode, const MacroPlayback& macro) {
    std::uint8_t bits = 0;
    std::uint8_t count = 0;
    if (macro.playType == 1 || macro.playType == 3) {
        bits = kPlayHold;
    } else if (macro.playType == 2) {
        bits = kPlayToggle;
    } else if (macro.playTimes >= 1) {
        // The count has one byte; more plays than it holds play the most it can say rather than
        // wrapping round to a small number.
        bits = kPlayCount;
        count = lowByte(std::min(macro.playTimes, kMaxPlayCount));
    }
    return {kFamilyMacro, static_cast<std::uint8_t>(lowByte(keyCode) | bits), count};
}

}  // namespace

KeyEntry keyTableEntry(const ButtonBinding& binding, const KeyEntry& previous, const MacroPlayback* macro) {
    switch (static_cast<BindingType>(binding.type)) {
        case BindingType::Mouse:
            return lookup(kMouseFunctions, binding.value, kMouseOther);
        case BindingType::Keyboard:
            return keyboardEntry(binding.value, binding.value2);
        case BindingType::Multimedia:
            return lookup(kMultimedia, binding.value, kMultimediaOther);
        case BindingType::Macro:
            return macro ? macroEntry(binding.keyCode, *macro) : previous;
        case BindingType::Dpi:
            return lookup(kDpiFunctions, binding.value, kDpiOther);
        case BindingType::Type6:
            if (binding.value == 1) return {kFamilyType6, 0x04, previous[2]};
            if (binding.value == 2) return {kFamilyType6, 0x01, previous[2]};
            return {kFamilyType6, previous[1], previous[2]};
        case BindingType::RapidFire:
            return {kFamilyRapidFire, lowByte(binding.value), lowByte(binding.value2)};
        case BindingType::System:
            return lookup(kSystemFunctions, binding.value, kSystemOther);
        case BindingType::Type9:
            return binding.value == 1 ? kType9Entry : previous;
    }
    return previous;
}

KeyTable::KeyTable() {
    for (const auto& d : kDefaults)
        std::copy(d.entry.begin(), d.entry.end(), m_bytes.begin() + kEntrySize * d.value);
}

bool KeyTable::apply(const ButtonBinding& binding, const MacroPlayback* macro) {
    if (binding.keyCode < 0 || binding.keyCode >= kButtonCount) return false;
    const KeyEntry e = keyTableEntry(binding, entry(binding.keyCode), macro);
    std::copy(e.begin(), e.end(), m_bytes.begin() + kEntrySize * binding.keyCode);
    return true;
}

KeyEntry KeyTable::entry(int keyCode) const {
    if (keyCode < 0 || keyCode >= kButtonCount) return {0, 0, 0};
    const std::size_t at = kEntrySize * keyCode;
    return {m_bytes[at], m_bytes[at + 1], m_bytes[at + 2]};
}

CommandPacket KeyTable::packet() const {
    return CommandPacket::make(Command::KeyTable, kFlagWrite, kLengthByte,
                               std::span(m_bytes).first(kSentBytes));
}

}  // namespace quorvik
