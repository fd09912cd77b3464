// One row of the macro step list: shown text, step type, value and timestamp
// (the identifier shared by a press and its release).
#pragma once

#include <string>

namespace DUI {

struct RecordItem {
    std::string text;
    int type = 0;
    int value = 0;
    int timestamp = 0;
    bool operator==(const RecordItem&) const = default;
};

}  // namespace DUI
