// Key tables of the Qt backend (see KeyMap.h). Names follow what the desktop
// shows on the keys; the program's fixed names (modifiers by side, "Num Enter",
// "Windows"...) are part of the table.
#include "ui/qt/KeyMap.h"

#include "base/Text.h"

#include <QChar>
#include <QString>
#include <Qt>

#include <array>

namespace DUI {
namespace {

struct EvdevEntry {
    int evdev;
    KeyCode key;
};

// Linux input event codes (linux/input-event-codes.h) to virtual keys.
constexpr EvdevEntry kEvdevTable[] = {
    {1, {27, "Esc"}},
    {2, {49, "1"}},
    {3, {50, "2"}},
    {4, {51, "3"}},
    {5, {52, "4"}},
    {6, {53, "5"}},
    {7, {54, "6"}},
    {8, {55, "7"}},
    {9, {56, "8"}},
    {10, {57, "9"}},
    {11, {48, "0"}},
    {12, {189, "-"}},
    {13, {187, "="}},
    {14, {8, "Backspace"}},
    {15, {9, "Tab"}},
    {16, {81, "Q"}},
    {17, {87, "W"}},
    {18, {69, "E"}},
    {19, {82, "R"}},
    {20, {84, "T"}},
    {21, {89, "Y"}},
    {22, {85, "U"}},
    {23, {73, "I"}},
    {24, {79, "O"}},
    {25, {80, "P"}},
    {26, {219, "["}},
    {27, {221, "]"}},
    {28, {13, "Enter"}},
    {29, {162, "Ctrl", true}},
    {30, {65, "A"}},
    {31, {83, "S"}},
    {32, {68, "D"}},
    {33, {70, "F"}},
    {34, {71, "G"}},
    {35, {72, "H"}},
    {36, {74, "J"}},
    {37, {75, "K"}},
    {38, {76, "L"}},
    {39, {186, ";"}},
    {40, {222, "'"}},
    {41, {192, "`"}},
    {42, {160, "Shift", true}},
    {43, {220, "\\"}},
    {44, {90, "Z"}},
    {45, {88, "X"}},
    {46, {67, "C"}},
    {47, {86, "V"}},
    {48, {66, "B"}},
    {49, {78, "N"}},
    {50, {77, "M"}},
    {51, {188, ","}},
    {52, {190, "."}},
    {53, {191, "/"}},
    {54, {161, "RShift", true}},
    {55, {106, "Num *", true}},
    {56, {164, "Alt", true}},
    {57, {32, "Space", true}},
    {58, {20, "Caps Lock", true}},
    {59, {112, "F1", true}},
    {60, {113, "F2", true}},
    {61, {114, "F3", true}},
    {62, {115, "F4", true}},
    {63, {116, "F5", true}},
    {64, {117, "F6", true}},
    {65, {118, "F7", true}},
    {66, {119, "F8", true}},
    {67, {120, "F9", true}},
    {68, {121, "F10", true}},
    {69, {144, "Num Lock", true}},
    {70, {145, "Scroll Lock", true}},
    {71, {103, "Num 7", true}},
    {72, {104, "Num 8", true}},
    {73, {105, "Num 9", true}},
    {74, {109, "Num -", true}},
    {75, {100, "Num 4", true}},
    {76, {101, "Num 5", true}},
    {77, {102, "Num 6", true}},
    {78, {107, "Num +", true}},
    {79, {97, "Num 1", true}},
    {80, {98, "Num 2", true}},
    {81, {99, "Num 3", true}},
    {82, {96, "Num 0", true}},
    {83, {110, "Num Del", true}},
    {86, {226, "\\"}},
    {87, {122, "F11", true}},
    {88, {123, "F12", true}},
    {96, {108, "Num Enter", true}},
    {97, {163, "RCtrl", true}},
    {98, {111, "Num /", true}},
    {99, {44, "Print Screen", true}},
    {100, {165, "RAlt", true}},
    {102, {36, "Home", true}},
    {103, {38, "Up", true}},
    {104, {33, "Page Up", true}},
    {105, {37, "Left", true}},
    {106, {39, "Right", true}},
    {107, {35, "End", true}},
    {108, {40, "Down", true}},
    {109, {34, "Page Down", true}},
    {110, {45, "Insert", true}},
    {111, {46, "Delete", true}},
    {113, {173, "Mute", true}},
    {114, {174, "Volume Down", true}},
    {115, {175, "Volume Up", true}},
    {119, {19, "Pause", true}},
    {124, {137, "\xEF\xBF\xA5", true}},
    {125, {91, "Windows", true}},
    {126, {92, "RWindows", true}},
    {127, {93, "Application", true}},
    {163, {176, "Next Track", true}},
    {164, {179, "Play/Pause", true}},
    {165, {177, "Previous Track", true}},
    {166, {178, "Stop", true}},
    {183, {124, "F13", true}},
    {184, {125, "F14", true}},
    {185, {126, "F15", true}},
    {186, {127, "F16", true}},
    {187, {128, "F17", true}},
    {188, {129, "F18", true}},
    {189, {130, "F19", true}},
    {190, {131, "F20", true}},
    {191, {132, "F21", true}},
    {192, {133, "F22", true}},
    {193, {134, "F23", true}},
    {194, {135, "F24", true}},
};

struct QtEntry {
    int qtKey;
    KeyCode main;    // without the keypad modifier
    KeyCode keypad;  // with it (vk 0: same as main)
};

// Qt keys that are not letters, digits or F-keys. Navigation keys on the
// keypad (Num Lock off) become the keypad digits, like the native table.
constexpr QtEntry kQtTable[] = {
    {Qt::Key_Escape, {27, "Esc"}, {}},
    {Qt::Key_Tab, {9, "Tab"}, {}},
    {Qt::Key_Backtab, {9, "Tab"}, {}},
    {Qt::Key_Backspace, {8, "Backspace"}, {}},
    {Qt::Key_Return, {13, "Enter"}, {108, "Num Enter", true}},
    {Qt::Key_Enter, {13, "Enter"}, {108, "Num Enter", true}},
    {Qt::Key_Insert, {45, "Insert", true}, {96, "Num 0", true}},
    {Qt::Key_Delete, {46, "Delete", true}, {110, "Num Del", true}},
    {Qt::Key_Pause, {19, "Pause", true}, {}},
    {Qt::Key_Print, {44, "Print Screen", true}, {}},
    {Qt::Key_Home, {36, "Home", true}, {103, "Num 7", true}},
    {Qt::Key_End, {35, "End", true}, {97, "Num 1", true}},
    {Qt::Key_Left, {37, "Left", true}, {100, "Num 4", true}},
    {Qt::Key_Up, {38, "Up", true}, {104, "Num 8", true}},
    {Qt::Key_Right, {39, "Right", true}, {102, "Num 6", true}},
    {Qt::Key_Down, {40, "Down", true}, {98, "Num 2", true}},
    {Qt::Key_PageUp, {33, "Page Up", true}, {105, "Num 9", true}},
    {Qt::Key_PageDown, {34, "Page Down", true}, {99, "Num 3", true}},
    {Qt::Key_Clear, {12, "Clear", true}, {101, "Num 5", true}},
    {Qt::Key_Shift, {160, "Shift", true}, {}},
    {Qt::Key_Control, {162, "Ctrl", true}, {}},
    {Qt::Key_Meta, {91, "Windows", true}, {}},
    {Qt::Key_Super_L, {91, "Windows", true}, {}},
    {Qt::Key_Super_R, {92, "RWindows", true}, {}},
    {Qt::Key_Alt, {164, "Alt", true}, {}},
    {Qt::Key_AltGr, {165, "RAlt", true}, {}},
    {Qt::Key_CapsLock, {20, "Caps Lock", true}, {}},
    {Qt::Key_NumLock, {144, "Num Lock", true}, {}},
    {Qt::Key_ScrollLock, {145, "Scroll Lock", true}, {}},
    {Qt::Key_Menu, {93, "Application", true}, {}},
    {Qt::Key_Space, {32, "Space", true}, {}},
    {Qt::Key_Minus, {189, "-"}, {109, "Num -", true}},
    {Qt::Key_Equal, {187, "="}, {}},
    {Qt::Key_Plus, {187, "="}, {107, "Num +", true}},
    {Qt::Key_Asterisk, {56, "8"}, {106, "Num *", true}},
    {Qt::Key_Slash, {191, "/"}, {111, "Num /", true}},
    {Qt::Key_Period, {190, "."}, {110, "Num Del", true}},
    {Qt::Key_Comma, {188, ","}, {110, "Num Del", true}},
    {Qt::Key_BracketLeft, {219, "["}, {}},
    {Qt::Key_BracketRight, {221, "]"}, {}},
    {Qt::Key_Semicolon, {186, ";"}, {}},
    {Qt::Key_Apostrophe, {222, "'"}, {}},
    {Qt::Key_QuoteLeft, {192, "`"}, {}},
    {Qt::Key_Backslash, {220, "\\"}, {}},
    {Qt::Key_yen, {137, "\xEF\xBF\xA5", true}, {}},
    {Qt::Key_VolumeMute, {173, "Mute", true}, {}},
    {Qt::Key_VolumeDown, {174, "Volume Down", true}, {}},
    {Qt::Key_VolumeUp, {175, "Volume Up", true}, {}},
    {Qt::Key_MediaNext, {176, "Next Track", true}, {}},
    {Qt::Key_MediaPrevious, {177, "Previous Track", true}, {}},
    {Qt::Key_MediaStop, {178, "Stop", true}, {}},
    {Qt::Key_MediaTogglePlayPause, {179, "Play/Pause", true}, {}},
    {Qt::Key_MediaPlay, {179, "Play/Pause", true}, {}},
};

// Names of letters, digits and F-keys built once ("A", "7", "F13").
struct GeneratedNames {
    std::array<std::string, 26> letters;
    std::array<std::string, 10> digits;
    std::array<std::string, 10> keypadDigits;
    std::array<std::string, 24> functionKeys;
    GeneratedNames() {
        for (int i = 0; i < 26; ++i) letters[i] = std::string(1, static_cast<char>('A' + i));
        for (int i = 0; i < 10; ++i) {
            digits[i] = std::string(1, static_cast<char>('0' + i));
            keypadDigits[i] = "Num " + digits[i];
        }
        for (int i = 0; i < 24; ++i) functionKeys[i] = "F" + std::to_string(i + 1);
    }
};

const GeneratedNames& names() {
    static const GeneratedNames kNames;
    return kNames;
}

}  // namespace

KeyCode KeyMap::fromEvdev(int evdevCode) {
    for (const EvdevEntry& e : kEvdevTable)
        if (e.evdev == evdevCode) return e.key;
    return {};
}

KeyCode KeyMap::fromX11KeyCode(int keyCode) {
    if (keyCode < 8) return {};
    return fromEvdev(keyCode - 8);
}

KeyCode KeyMap::fromQtKey(int qtKey, bool keypad) {
    const GeneratedNames& n = names();
    if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z)
        return {65 + (qtKey - Qt::Key_A), n.letters[qtKey - Qt::Key_A].c_str()};
    if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) {
        const int digit = qtKey - Qt::Key_0;
        if (keypad) return {96 + digit, n.keypadDigits[digit].c_str(), true};
        return {48 + digit, n.digits[digit].c_str()};
    }
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24)
        return {112 + (qtKey - Qt::Key_F1), n.functionKeys[qtKey - Qt::Key_F1].c_str(), true};
    for (const QtEntry& e : kQtTable) {
        if (e.qtKey != qtKey) continue;
        if (keypad && e.keypad.vk != 0) return e.keypad;
        return e.main;
    }
    return {};
}

KeyInput KeyMap::translate(int nativeScanCode, int qtKey, bool keypad, const std::string& layoutText,
                           bool released) {
    KeyCode key = fromX11KeyCode(nativeScanCode);
    // Letter keys follow the layout (an AZERTY "A" sits where US has "Q"):
    // when Qt names a letter for a character key, that letter's code wins.
    const bool qtLetter = qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z;
    if (key.vk == 0 || (qtLetter && !key.fixedName)) {
        const KeyCode fromQt = fromQtKey(qtKey, keypad);
        if (fromQt.vk != 0) key = fromQt;
    }
    KeyInput input;
    input.released = released;
    if (key.vk == 0) {
        input.kind = 0;
        return input;
    }
    input.kind = 2;
    input.vk = key.vk;
    input.name = key.name;
    // The layout's own letter names its key ("Ü", "Й"); symbols typed with
    // Shift and control characters keep the table's name.
    if (!key.fixedName && quorvik::isValidUtf8(layoutText) && quorvik::codePointCount(layoutText) == 1) {
        const QString text = QString::fromStdString(layoutText);
        if (!text.isEmpty() && text.at(0).isLetter()) input.name = text.toUpper().toStdString();
    }
    return input;
}

}  // namespace DUI
