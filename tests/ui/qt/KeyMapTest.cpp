// Key tables of the Qt backend: native X11/evdev codes and Qt keys become the
// virtual-key codes and names the key capture expects.
#include "ui/qt/KeyMap.h"

#include <gtest/gtest.h>

#include <Qt>

namespace DUI {
namespace {

struct NativeCase {
    const char* what;
    int x11KeyCode;
    int vk;
    const char* name;
};

// X11 key codes as Qt reports them in nativeScanCode (evdev + 8).
const NativeCase kNativeCases[] = {
    {"left shift", 50, 160, "Shift"},
    {"right shift", 62, 161, "RShift"},
    {"left ctrl", 37, 162, "Ctrl"},
    {"right ctrl", 105, 163, "RCtrl"},
    {"left alt", 64, 164, "Alt"},
    {"right alt", 108, 165, "RAlt"},
    {"left super", 133, 91, "Windows"},
    {"right super", 134, 92, "RWindows"},
    {"menu key", 135, 93, "Application"},
    {"letter A", 38, 65, "A"},
    {"digit 1", 10, 49, "1"},
    {"main enter", 36, 13, "Enter"},
    {"keypad enter", 104, 108, "Num Enter"},
    {"keypad 7", 79, 103, "Num 7"},
    {"keypad 0", 90, 96, "Num 0"},
    {"keypad decimal", 91, 110, "Num Del"},
    {"keypad divide", 106, 111, "Num /"},
    {"keypad multiply", 63, 106, "Num *"},
    {"keypad minus", 82, 109, "Num -"},
    {"keypad plus", 86, 107, "Num +"},
    {"home (not keypad)", 110, 36, "Home"},
    {"up arrow", 111, 38, "Up"},
    {"delete", 119, 46, "Delete"},
    {"insert", 118, 45, "Insert"},
    {"page down", 117, 34, "Page Down"},
    {"num lock", 77, 144, "Num Lock"},
    {"pause", 127, 19, "Pause"},
    {"print screen", 107, 44, "Print Screen"},
    {"F1", 67, 112, "F1"},
    {"F12", 96, 123, "F12"},
    {"ISO key left of Z", 94, 226, "\\"},
    {"yen", 132, 137, "\xEF\xBF\xA5"},
    {"space", 65, 32, "Space"},
    {"escape", 9, 27, "Esc"},
};

TEST(KeyMapTest, NativeCodesGiveSidedAndKeypadCodes) {
    for (const NativeCase& c : kNativeCases) {
        SCOPED_TRACE(c.what);
        const KeyInput in = KeyMap::translate(c.x11KeyCode, 0, false, "", false);
        EXPECT_EQ(in.kind, 2);
        EXPECT_EQ(in.vk, c.vk);
        EXPECT_EQ(in.name, c.name);
    }
}

TEST(KeyMapTest, UnknownOrMissingCodesGiveNothing) {
    for (int code : {0, 3, 7, 255, 100000}) {
        SCOPED_TRACE(code);
        EXPECT_EQ(KeyMap::fromX11KeyCode(code).vk, 0);
        EXPECT_EQ(KeyMap::translate(code, 0, false, "", true).kind, 0);
    }
}

TEST(KeyMapTest, EveryMappedNativeCodeHasAByteCodeAndAName) {
    // The device tables index by one byte; an empty name would leave the
    // capture field blank.
    for (int evdev = 0; evdev < 256; ++evdev) {
        const KeyCode key = KeyMap::fromEvdev(evdev);
        if (key.vk == 0) continue;
        SCOPED_TRACE(evdev);
        EXPECT_GT(key.vk, 0);
        EXPECT_LT(key.vk, 256);
        EXPECT_STRNE(key.name, "");
    }
}

struct QtCase {
    const char* what;
    int qtKey;
    bool keypad;
    int vk;
    const char* name;
};

// Without a native code (off-screen, other platforms) the Qt key decides;
// the keypad modifier turns navigation keys into keypad digits (Num Lock off).
const QtCase kQtCases[] = {
    {"letter", Qt::Key_Q, false, 81, "Q"},
    {"digit", Qt::Key_5, false, 53, "5"},
    {"keypad digit", Qt::Key_5, true, 101, "Num 5"},
    {"keypad home is keypad 7", Qt::Key_Home, true, 103, "Num 7"},
    {"home", Qt::Key_Home, false, 36, "Home"},
    {"keypad enter", Qt::Key_Enter, true, 108, "Num Enter"},
    {"return", Qt::Key_Return, false, 13, "Enter"},
    {"keypad delete", Qt::Key_Delete, true, 110, "Num Del"},
    {"keypad insert", Qt::Key_Insert, true, 96, "Num 0"},
    {"keypad plus", Qt::Key_Plus, true, 107, "Num +"},
    {"keypad slash", Qt::Key_Slash, true, 111, "Num /"},
    {"shift without side", Qt::Key_Shift, false, 160, "Shift"},
    {"F24", Qt::Key_F24, false, 135, "F24"},
    {"yen", Qt::Key_yen, false, 137, "\xEF\xBF\xA5"},
};

TEST(KeyMapTest, QtKeysWhenNoNativeCode) {
    for (const QtCase& c : kQtCases) {
        SCOPED_TRACE(c.what);
        const KeyInput in = KeyMap::translate(0, c.qtKey, c.keypad, "", false);
        EXPECT_EQ(in.vk, c.vk);
        EXPECT_EQ(in.name, c.name);
    }
    EXPECT_EQ(KeyMap::translate(0, Qt::Key_unknown, false, "", false).kind, 0);
}

TEST(KeyMapTest, LayoutDecidesLettersButNotModifiersOrKeypad) {
    // AZERTY: the key at US "Q" (X11 24) types "a" and is the A key.
    KeyInput in = KeyMap::translate(24, Qt::Key_A, false, "a", false);
    EXPECT_EQ(in.vk, 65);
    EXPECT_EQ(in.name, "A");
    // A German umlaut key keeps its code and shows the layout's letter.
    in = KeyMap::translate(34, Qt::Key_Udiaeresis, false, "\xC3\xBC", false);
    EXPECT_EQ(in.vk, 219);
    EXPECT_EQ(in.name, "\xC3\x9C");
    // Shifted symbols do not rename the key.
    in = KeyMap::translate(10, Qt::Key_Exclam, false, "!", false);
    EXPECT_EQ(in.vk, 49);
    EXPECT_EQ(in.name, "1");
    // Fixed names stay whatever text the layout gives.
    in = KeyMap::translate(105, Qt::Key_Control, false, "x", true);
    EXPECT_EQ(in.vk, 163);
    EXPECT_EQ(in.name, "RCtrl");
    EXPECT_TRUE(in.released);
    in = KeyMap::translate(79, Qt::Key_Home, true, "7", false);
    EXPECT_EQ(in.vk, 103);
    EXPECT_EQ(in.name, "Num 7");
}

TEST(KeyMapTest, BrokenLayoutTextIsIgnored) {
    for (const char* text : {"\xC3", "\xFF\xFE", "ab", "\x01", " "}) {
        SCOPED_TRACE(text);
        const KeyInput in = KeyMap::translate(38, Qt::Key_A, false, text, false);
        EXPECT_EQ(in.vk, 65);
        EXPECT_EQ(in.name, "A");
    }
}

}  // namespace
}  // namespace DUI
