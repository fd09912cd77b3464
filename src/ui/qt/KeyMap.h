// Keyboard translation for the Qt backend: native key codes (Linux evdev, X11
// key code = evdev + 8) and Qt key values to Windows virtual-key codes with
// left/right modifiers and keypad keys told apart, plus the key's display name.
#pragma once

#include "ui/toolkit/KeyInput.h"

#include <string>

namespace DUI {

struct KeyCode {
    int vk = 0;              // 0: no virtual-key code for this key
    const char* name = "";   // display name used when the layout gives none
    bool fixedName = false;  // the name is always this one (modifiers, keypad, ...)
};

class KeyMap {
public:
    // By Linux input event code (KEY_A = 30, KEY_KP7 = 71, KEY_RIGHTCTRL = 97...).
    static KeyCode fromEvdev(int evdevCode);
    // By X11 key code as Qt reports it in nativeScanCode (evdev + 8); 0 and
    // codes below 8 give nothing.
    static KeyCode fromX11KeyCode(int keyCode);
    // By Qt::Key value when no native code is known (off-screen, other
    // platforms); `keypad` is Qt::KeypadModifier. Modifiers map to their left key.
    static KeyCode fromQtKey(int qtKey, bool keypad);

    // One key event: native code first, then the Qt key. `layoutText` is the
    // text the layout produces for the key (QKeyEvent::text()); a single
    // printable character names keys whose name is not fixed, as the keyboard
    // layout labels them. kind is 0 when the key has no virtual-key code.
    static KeyInput translate(int nativeScanCode, int qtKey, bool keypad, const std::string& layoutText,
                              bool released);
};

}  // namespace DUI
