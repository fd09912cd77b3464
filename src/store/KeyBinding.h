// One row of t_key_macro_data: the function bound to one mouse button of one
// profile. Fields in table order; a new record is all 0 and empty texts.
#pragma once

#include <string>

namespace quorvik {

struct KeyBinding {
    int key_id = 0;    // row identifier
    int profile = 0;   // owning profile
    int fn_layer = 0;  // layer of the binding; 0 everywhere except storeKeyBinding's argument
    int key_code = 0;  // device button code
    int layout_value = 0;
    std::string layout_desc;
    int macro_type = 0;  // kind of function bound
    int macro_value = 0;
    int macro_value2 = 0;
    int macro_value3 = 0;
    std::string macro_desc;  // description shown next to the button
};

}  // namespace quorvik
