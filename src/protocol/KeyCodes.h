// Key codes between the program and the mouse: a Windows virtual-key code (what key capture and
// macro steps hold) to the HID keyboard usage the mouse sends, and the modifier bit of a modifier
// key given either way. The same table read backwards gives the key of a usage.
#pragma once

#include <cstdint>

namespace quorvik {

// HID keyboard usage of a virtual-key code; 0 for codes without one.
int vkToHidUsage(int vk);

// Virtual-key code of a HID usage (the first key of the table with that usage); 0 when none.
int hidUsageToVk(int usage);

// True for the modifier keys as virtual-key codes: Shift, Ctrl, Alt left and right (160..165)
// and the two Windows keys (91, 92).
bool isModifierVk(int vk);

// True for the eight modifier usages 0xE0..0xE7.
bool isModifierUsage(int usage);

// Modifier bit of a modifier key given as virtual-key code or as HID usage (left Ctrl 0x01,
// left Shift 0x02, left Alt 0x04, left Windows 0x08, then the right keys 0x10..0x80). Every
// other value comes back unchanged.
int modifierBit(int code);

}  // namespace quorvik
