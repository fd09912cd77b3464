// Virtual-key to HID usage table and modifier bits.
#include "protocol/KeyCodes.h"

#include <set>

#include <gtest/gtest.h>

namespace quorvik {
namespace {

TEST(VkToHidUsage, EveryRowOfTheTable) {
    struct Row {
        const char* name;
        int vkFirst, vkLast, usageFirst;
        // clang-format off
    } rows[] = {
        {"A..Z", 65, 90, 4},           {"1..9", 49, 57, 30},          {"0", 48, 48, 39},
        {"Enter", 13, 13, 40},         {"Escape", 27, 27, 41},        {"Backspace", 8, 8, 42},
        {"Tab", 9, 9, 43},             {"Space", 32, 32, 44},         {"minus", 189, 189, 45},
        {"equals", 187, 187, 46},      {"[", 219, 219, 47},           {"]", 221, 221, 48},
        {"backslash", 220, 220, 49},   {"non-US #", 666, 666, 50},    {";", 186, 186, 51},
        {"'", 222, 222, 52},           {"`", 192, 192, 53},           {",", 188, 188, 54},
        {".", 190, 190, 55},           {"/", 191, 191, 56},           {"Caps Lock", 20, 20, 57},
        {"F1..F12", 112, 123, 58},     {"Print Screen", 44, 44, 70},  {"Scroll Lock", 145, 145, 71},
        {"Pause", 19, 19, 72},         {"Insert", 45, 45, 73},        {"Home", 36, 36, 74},
        {"Page Up", 33, 33, 75},       {"Delete", 46, 46, 76},        {"End", 35, 35, 77},
        {"Page Down", 34, 34, 78},     {"Right", 39, 39, 79},         {"Left", 37, 37, 80},
        {"Down", 40, 40, 81},          {"Up", 38, 38, 82},            {"Num Lock", 144, 144, 83},
        {"kp /", 111, 111, 84},        {"kp *", 106, 106, 85},        {"kp -", 109, 109, 86},
        {"kp +", 107, 107, 87},        {"kp Enter", 108, 108, 88},    {"kp 1..9", 97, 105, 89},
        {"kp 0", 96, 96, 98},          {"kp .", 110, 110, 99},        {"ISO key", 226, 226, 100},
        {"Applications", 93, 93, 101}, {"F13..F24", 124, 135, 104},  {"254", 254, 254, 175},
        {"LCtrl", 162, 162, 224},      {"LShift", 160, 160, 225},     {"LAlt", 164, 164, 226},
        {"LWin", 91, 91, 227},         {"RCtrl", 163, 163, 228},      {"RShift", 161, 161, 229},
        {"RAlt", 165, 165, 230},       {"RWin", 92, 92, 231},         {"intl 136..139", 136, 139, 136},
        {"own 301", 301, 301, 236},    {"own 302", 302, 302, 235},
    };
    // clang-format on
    std::set<int> listed;
    for (const auto& r : rows)
        for (int vk = r.vkFirst; vk <= r.vkLast; ++vk) {
            EXPECT_EQ(vkToHidUsage(vk), r.usageFirst + (vk - r.vkFirst)) << r.name << " vk " << vk;
            EXPECT_EQ(hidUsageToVk(r.usageFirst + (vk - r.vkFirst)), vk) << r.name << " vk " << vk;
            listed.insert(vk);
        }
    for (int vk = -5; vk < 1000; ++vk) {
        if (listed.count(vk)) continue;
        EXPECT_EQ(vkToHidUsage(vk), 0) << "unlisted vk " << vk;
    }
    EXPECT_EQ(hidUsageToVk(0), 0);
    EXPECT_EQ(hidUsageToVk(0x66), 0);
}

TEST(ModifierBit, VirtualKeysUsagesAndOthers) {
    struct Case {
        int code, bit;
        // clang-format off
    } cases[] = {
        {162, 0x01}, {160, 0x02}, {164, 0x04}, {91, 0x08}, {163, 0x10}, {161, 0x20}, {165, 0x40}, {92, 0x80},
        {224, 0x01}, {225, 0x02}, {226, 0x04}, {227, 0x08}, {228, 0x10}, {229, 0x20}, {230, 0x40}, {231, 0x80},
        {4, 4},      {16, 16},    {0, 0},      {-1, -1},   {232, 232},  {999, 999},
    };
    // clang-format on
    for (const auto& c : cases) EXPECT_EQ(modifierBit(c.code), c.bit) << c.code;
}

TEST(ModifierKeys, Classification) {
    for (int vk : {160, 161, 162, 163, 164, 165, 91, 92}) EXPECT_TRUE(isModifierVk(vk)) << vk;
    for (int vk : {16, 17, 18, 93, 159, 166, 65}) EXPECT_FALSE(isModifierVk(vk)) << vk;
    for (int usage = 0xE0; usage <= 0xE7; ++usage) EXPECT_TRUE(isModifierUsage(usage));
    EXPECT_FALSE(isModifierUsage(0xDF));
    EXPECT_FALSE(isModifierUsage(0xE8));
}

}  // namespace
}  // namespace quorvik
