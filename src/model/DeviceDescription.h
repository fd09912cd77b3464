// What the main window keeps of the description file of the model shown: its
// name and file stem, the page switches, the lighting modes it offers, its
// firmware link and the default function of every button. One instance lives
// as long as the main window; loading another model updates it in place.
#pragma once

#include "store/KeyBinding.h"

#include <array>
#include <string>
#include <vector>

namespace quorvik {

struct DeviceDescription {
    static constexpr int kLightElementCount = 6;  // light_1 .. light_6

    std::string modelName;  // name of the model-list entry, empty when none matched
    std::string modelStem;  // device_attr: description file and database name

    // Switches. Each keeps its value when the next model's file lacks its element.
    bool lightingTabVisible = true;  // the tab is built visible
    bool showDpiPopup = false;       // show_dpitips
    bool showSaveWait = false;       // show_savetips
    bool showLiftOff = false;        // show_lod
    bool showSensor = false;         // show_sensor
    std::string firmwareLink;        // base address of the firmware on the update server

    // enable of light_1 .. light_6, in that order.
    std::array<bool, kLightElementCount> lightEnabled{};

    // One default binding per button, in file order. Shown only: never stored or sent.
    std::vector<KeyBinding> keyDefaults;

    // Whether the model offers lighting mode `mode` (0..5): light_1 to light_5
    // offer modes 1 to 5, light_6 offers mode 0.
    bool offersLightMode(int mode) const {
        if (mode == 0) return lightEnabled[5];
        return mode >= 1 && mode <= 5 && lightEnabled[static_cast<std::size_t>(mode - 1)];
    }
};

}  // namespace quorvik
