// An arrival or removal of one HID collection, as the hot-plug source passes it
// on. The path text carries "VID_%04X&PID_%04X&MI_%02X" so the arrival and
// removal patterns of the supported identities can be matched in it.
#pragma once

#include <string>

namespace quorvik {

struct HidHotPlugEvent {
    enum class Kind { Arrival, Removal };
    Kind kind = Kind::Arrival;
    std::string path;
};

}  // namespace quorvik
