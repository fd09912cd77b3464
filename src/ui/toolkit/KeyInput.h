// One keyboard event as a backend hands it to the program: press or release,
// a Windows virtual-key code (left/right modifiers and keypad keys told apart)
// and the key's display name. Windows receive it as WM_INPUT (MWindow::GetKeyInput).
#pragma once

#include <string>

namespace DUI {

struct KeyInput {
    int kind = 2;  // 0 nothing usable, 2 keyboard, 3 other input device
    bool released = false;
    int vk = 0;        // virtual-key code after the left/right and keypad corrections
    std::string name;  // display name; empty when the backend has none
};

}  // namespace DUI
