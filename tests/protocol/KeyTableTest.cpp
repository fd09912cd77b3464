// The key table: defaults, the entry of every binding type and value, keep bytes, the macro
// play bits, the bounds of the table, and the 0x09 packet.
#include "protocol/KeyTable.h"

#include <gtest/gtest.h>

#include "ProtocolTestHelpers.h"

namespace quorvik {
namespace {

using testing::hexBytes;
using testing::hexText;

std::string entryText(const KeyEntry& e) {
    return hexText(e);
}

const char* const kDefaultTable =
    "10 01 00 10 02 00 10 04 00 10 08 00 10 10 00 40 01 00";  // buttons 0..5, the rest 0

TEST(KeyTable, DefaultTable) {
    const KeyTable table;
    auto expected = hexBytes(kDefaultTable);
    expected.resize(KeyTable::kSize, 0);
    EXPECT_EQ(hexText(table.bytes()), hexText(expected));
}

TEST(KeyTableEntry, EveryTypeAndValue) {
    struct Case {
        int type, value, value2;
        const char* entry;
        // clang-format off
    } cases[] = {
        // mouse functions
        {1, 1, 0, "10 01 00"}, {1, 2, 0, "10 04 00"}, {1, 3, 0, "10 02 00"}, {1, 4, 0, "30 32 03"},
        {1, 5, 0, "10 10 00"}, {1, 6, 0, "10 08 00"}, {1, 7, 0, "20 01 00"}, {1, 8, 0, "20 FF 00"},
        {1, 9, 0, "10 00 F5"}, {1, 10, 0, "10 00 F6"}, {1, 0, 0, "10 00 00"}, {1, 11, 0, "10 00 00"},
        {1, -1, 0, "10 00 00"},
        // keyboard keys: 70, modifiers, key byte
        {2, 0x04, 0x03, "70 03 04"}, {2, 0xE1, 0, "70 02 00"}, {2, 0x5B, 0, "70 00 5B"},
        {2, 0, 0x01, "70 01 00"},    {2, 0, 0, "70 00 00"},    {2, 0xE0, 0, "70 01 00"},
        {2, 0xE7, 0, "70 80 00"},    {2, 0xE3, 0x02, "70 02 08"}, {2, 0x04, 0x10F, "70 0F 04"},
        // multimedia
        {3, 1, 0, "80 83 01"}, {3, 2, 0, "80 CD 00"}, {3, 3, 0, "80 B7 00"}, {3, 4, 0, "80 B6 00"},
        {3, 5, 0, "80 B5 00"}, {3, 6, 0, "80 E9 00"}, {3, 7, 0, "80 EA 00"}, {3, 8, 0, "80 E2 00"},
        {3, 9, 0, "80 00 00"},
        // DPI
        {5, 1, 0, "40 02 00"}, {5, 2, 0, "40 03 00"}, {5, 3, 0, "40 01 00"}, {5, 4, 0, "40 00 00"},
        // type 6 keeps bytes of the previous entry (AA BB CC here)
        {6, 1, 0, "60 04 CC"}, {6, 2, 0, "60 01 CC"}, {6, 3, 0, "60 BB CC"},
        // rapid fire: interval, count
        {7, 0x32, 0x05, "30 32 05"}, {7, 0x1FF, 0x102, "30 FF 02"},
        // system functions
        {8, 1, 0, "80 6F 00"}, {8, 2, 0, "80 70 00"}, {8, 3, 0, "80 92 01"}, {8, 4, 0, "80 94 01"},
        {8, 5, 0, "80 23 02"}, {8, 6, 0, "80 8A 01"}, {8, 7, 0, "70 08 07"}, {8, 8, 0, "70 08 2B"},
        {8, 9, 0, "70 01 06"}, {8, 10, 0, "70 01 19"}, {8, 11, 0, "70 01 1B"}, {8, 12, 0, "80 00 00"},
        // type 9
        {9, 1, 0, "60 00 00"}, {9, 2, 0, "AA BB CC"},
        // unknown types keep the entry
        {0, 1, 0, "AA BB CC"}, {10, 1, 0, "AA BB CC"}, {-3, 1, 0, "AA BB CC"},
        // macro without an existing macro keeps the entry
        {4, 7, 0, "AA BB CC"},
    };
    // clang-format on
    const KeyEntry previous = {0xAA, 0xBB, 0xCC};
    for (const auto& c : cases) {
        const ButtonBinding b{3, c.type, c.value, c.value2};
        EXPECT_EQ(entryText(keyTableEntry(b, previous, nullptr)), c.entry)
            << "type " << c.type << " value " << c.value << " value2 " << c.value2;
    }
}

TEST(KeyTableEntry, MacroPlayBits) {
    struct Case {
        const char* name;
        int keyCode, playType, playTimes;
        const char* entry;
        // clang-format off
    } cases[] = {
        {"play type 1", 3, 1, 1, "90 13 00"},
        {"play type 3 like 1", 3, 3, 9, "90 13 00"},
        {"play type 2", 3, 2, 1, "90 43 00"},
        {"play 5 times", 3, 0, 5, "90 23 05"},
        {"play 255 times", 8, 0, 255, "90 28 FF"},
        {"more plays than a byte holds stay at 255", 2, 0, 999, "90 22 FF"},
        {"256 plays do not wrap to 0", 2, 0, 256, "90 22 FF"},
        {"no play count", 3, 0, 0, "90 03 00"},
        {"negative play count", 3, 0, -4, "90 03 00"},
        {"other play type with count", 4, 7, 2, "90 24 02"},
    };
    // clang-format on
    for (const auto& c : cases) {
        const MacroPlayback macro{c.playType, c.playTimes};
        const ButtonBinding b{c.keyCode, 4, 12, 0};
        EXPECT_EQ(entryText(keyTableEntry(b, {0, 0, 0}, &macro)), c.entry) << c.name;
    }
}

TEST(KeyTable, BindingsGoToTheirButtonAndLaterOnesWin) {
    KeyTable table;
    EXPECT_TRUE(table.apply({2, 2, 0x04, 0x01}, nullptr));
    EXPECT_TRUE(table.apply({6, 3, 1, 0}, nullptr));
    EXPECT_TRUE(table.apply({6, 5, 2, 0}, nullptr));   // same button again: this one stays
    EXPECT_TRUE(table.apply({20, 1, 1, 0}, nullptr));  // the last button with a place
    EXPECT_EQ(entryText(table.entry(2)), "70 01 04");
    EXPECT_EQ(entryText(table.entry(6)), "40 03 00");
    EXPECT_EQ(entryText(table.entry(20)), "10 01 00");
    EXPECT_EQ(table.bytes()[63], 0);
    EXPECT_EQ(entryText(table.entry(0)), "10 01 00");
}

TEST(KeyTable, Type6KeepsWhatEarlierBindingsWrote) {
    KeyTable table;
    table.apply({7, 7, 0x11, 0x22}, nullptr);
    table.apply({7, 6, 1, 0}, nullptr);
    EXPECT_EQ(entryText(table.entry(7)), "60 04 22");
    table.apply({5, 6, 9, 0}, nullptr);  // default 40 01 00
    EXPECT_EQ(entryText(table.entry(5)), "60 01 00");
}

TEST(KeyTable, KeyCodesWithoutAPlaceChangeNothing) {
    for (int keyCode : {21, 22, 63, 64, 1000, -1, -100, INT32_MIN, INT32_MAX}) {
        KeyTable table;
        const std::string before = hexText(table.bytes());
        EXPECT_FALSE(table.apply({keyCode, 1, 4, 0}, nullptr)) << keyCode;
        EXPECT_EQ(hexText(table.bytes()), before) << keyCode;
        EXPECT_EQ(entryText(table.entry(keyCode)), "00 00 00");
    }
}

TEST(KeyTable, PacketCarriesButtonsZeroToEight) {
    KeyTable table;
    EXPECT_EQ(testing::head(table.packet(), 33),
              "00 09 00 01 0F 10 01 00 10 02 00 10 04 00 10 08 00 10 10 00 40 01 00 "
              "00 00 00 00 00 00 00 00 00 B0");

    KeyTable withButton9;
    withButton9.apply({9, 1, 1, 0}, nullptr);
    EXPECT_EQ(entryText(withButton9.entry(9)), "10 01 00");
    EXPECT_EQ(hexText(withButton9.packet().bytes()), hexText(table.packet().bytes()));

    KeyTable withButton8;
    withButton8.apply({8, 3, 1, 0}, nullptr);
    EXPECT_EQ(testing::head(withButton8.packet(), 33).substr(3 * 29), "80 83 01 B4");
    EXPECT_EQ(withButton8.packet().size(), 33u);
}

}  // namespace
}  // namespace quorvik
