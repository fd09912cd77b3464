// The virtual-key to HID usage table (HID Usage Tables, keyboard page) and the modifier table.
// Codes 666, 301 and 302 are the program's own codes for keys Windows has no code for.
#include "protocol/KeyCodes.h"

#include <array>
#include <utility>
#include <vector>

namespace quorvik {
namespace {

struct KeyPair {
    int vk;
    int usage;
};

std::vector<KeyPair> buildKeyTable() {
    std::vector<KeyPair> t;
    auto run = [&t](int vkFirst, int vkLast, int usageFirst) {
        for (int vk = vkFirst; vk <= vkLast; ++vk) t.push_back({vk, usageFirst + (vk - vkFirst)});
    };
    auto list = [&t](std::initializer_list<int> vks, int usageFirst) {
        int usage = usageFirst;
        for (int vk : vks) t.push_back({vk, usage++});
    };
    // clang-format off
    run(65, 90, 4);                              // A..Z
    run(49, 57, 30);                             // 1..9
    list({48}, 39);                              // 0
    list({13, 27, 8, 9, 32}, 40);                // Enter, Escape, Backspace, Tab, Space
    list({189, 187, 219, 221, 220}, 45);         // - = [ ] backslash
    list({666}, 50);                             // non-US # and ~
    list({186, 222, 192, 188, 190, 191}, 51);    // ; ' ` , . /
    list({20}, 57);                              // Caps Lock
    run(112, 123, 58);                           // F1..F12
    list({44, 145, 19}, 70);                     // Print Screen, Scroll Lock, Pause
    list({45, 36, 33, 46, 35, 34}, 73);          // Insert, Home, Page Up, Delete, End, Page Down
    list({39, 37, 40, 38}, 79);                  // Right, Left, Down, Up
    list({144, 111, 106, 109, 107, 108}, 83);    // Num Lock, keypad / * - + Enter
    run(97, 105, 89);                            // keypad 1..9
    list({96, 110}, 98);                         // keypad 0, keypad decimal
    list({226}, 100);                            // ISO key left of Z
    list({93}, 101);                             // Applications
    run(124, 135, 104);                          // F13..F24
    list({254}, 175);
    list({162, 160, 164, 91}, 224);              // left Ctrl, Shift, Alt, Windows
    list({163, 161, 165, 92}, 228);              // right Ctrl, Shift, Alt, Windows
    for (int vk : {136, 137, 138, 139}) t.push_back({vk, vk});  // international keys
    list({301}, 236);
    list({302}, 235);
    // clang-format on
    return t;
}

const std::vector<KeyPair>& keyTable() {
    static const std::vector<KeyPair> table = buildKeyTable();
    return table;
}

// Modifier keys: virtual-key code, HID usage, bit.
struct Modifier {
    int vk;
    int usage;
    int bit;
};
constexpr std::array<Modifier, 8> kModifiers = {{
    {162, 0xE0, 0x01},
    {160, 0xE1, 0x02},
    {164, 0xE2, 0x04},
    {91, 0xE3, 0x08},
    {163, 0xE4, 0x10},
    {161, 0xE5, 0x20},
    {165, 0xE6, 0x40},
    {92, 0xE7, 0x80},
}};

}  // namespace

int vkToHidUsage(int vk) {
    for (const auto& k : keyTable())
        if (k.vk == vk) return k.usage;
    return 0;
}

int hidUsageToVk(int usage) {
    if (usage == 0) return 0;
    for (const auto& k : keyTable())
        if (k.usage == usage) return k.vk;
    return 0;
}

bool isModifierVk(int vk) {
    for (const auto& m : kModifiers)
        if (m.vk == vk) return true;
    return false;
}

bool isModifierUsage(int usage) {
    return usage >= 0xE0 && usage <= 0xE7;
}

int modifierBit(int code) {
    for (const auto& m : kModifiers)
        if (m.vk == code || m.usage == code) return m.bit;
    return code;
}

}  // namespace quorvik
