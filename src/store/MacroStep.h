// One row of t_macrorecord: one recorded step of a macro. Note the field order
// differs from the table's column order (desc comes last here).
#pragma once

#include <string>

namespace quorvik {

struct MacroStep {
    int record_id = 0;  // row identifier
    int macro_id = 0;   // owning macro
    int type = 0;
    int record_index = 0;  // position of the step in its macro
    int value = 0;
    int delay_time = 0;
    std::string desc;
};

}  // namespace quorvik
