// The mouse's key table: 64 bytes, a 3-byte entry (family byte, two value bytes) per button at
// 3 x key_code, starting from the built-in defaults. A stored binding (type, value, value2)
// becomes one entry; command 0x09 carries the first 27 bytes (buttons 0..8).
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "protocol/CommandPacket.h"

namespace quorvik {

// Binding types as stored (macro_type).
enum class BindingType : int {
    Mouse = 1,
    Keyboard = 2,
    Multimedia = 3,
    Macro = 4,
    Dpi = 5,
    Type6 = 6,
    RapidFire = 7,
    System = 8,
    Type9 = 9,
};

// One button's binding as the store holds it: key_code, macro_type, macro_value, macro_value2.
struct ButtonBinding {
    int keyCode = 0;
    int type = 0;
    int value = 0;
    int value2 = 0;
};

// Play settings of the macro a type-4 binding names (play_type, play_times of the macro).
struct MacroPlayback {
    int playType = 0;
    int playTimes = 1;
};

using KeyEntry = std::array<std::uint8_t, 3>;

// Entry of one binding. `previous` is the entry as it stands (bytes marked "keep" and types
// without an entry keep it); `macro` is the named macro's playback, null when it does not exist.
KeyEntry keyTableEntry(const ButtonBinding& binding, const KeyEntry& previous, const MacroPlayback* macro);

class KeyTable {
public:
    static constexpr std::size_t kSize = 64;
    static constexpr std::size_t kEntrySize = 3;
    static constexpr int kButtonCount = 21;        // key codes 0..20 have an entry
    static constexpr std::size_t kSentBytes = 27;  // buttons 0..8 reach the mouse
    static constexpr std::uint8_t kLengthByte = 0x0F;
    static_assert(kButtonCount * kEntrySize <= kSize);

    // The default table: buttons 0..5 as built in, everything else 0.
    KeyTable();

    // Writes the binding's entry at 3 x key_code. A key code without a place in the table
    // (negative, or 21 and above) changes nothing and gives false.
    bool apply(const ButtonBinding& binding, const MacroPlayback* macro);

    KeyEntry entry(int keyCode) const;
    std::span<const std::uint8_t> bytes() const { return m_bytes; }

    // Command 0x09: 00 09 00 01 0F, then table bytes 0..26.
    CommandPacket packet() const;

private:
    std::array<std::uint8_t, kSize> m_bytes{};
};

}  // namespace quorvik
