// One row of t_macro_data: a macro's name and play settings. Macros are shared
// by all profiles; bindings refer to them through their values.
#pragma once

#include <string>

namespace quorvik {

struct MacroRecord {
    int macro_id = 0;  // row identifier
    std::string name;
    int play_type = 0;
    int play_times = 0;
    int delay_type = 0;
    int delay_time = 0;
};

}  // namespace quorvik
