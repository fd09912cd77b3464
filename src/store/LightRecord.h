// One row of t_light_data: one lighting mode of one profile. `status` is 1 on
// the profile's active mode and 0 on the others.
#pragma once

#include <string>

namespace quorvik {

struct LightRecord {
    int light_id = 0;  // row identifier
    int profile = 0;
    std::string name;
    int mode = 0;
    int brightness = 0;
    int speed = 0;
    int direction = 0;
    int colorful = 0;
    int colorindex = 0;
    int color_value1 = 0;
    int color_value2 = 0;
    int color_value3 = 0;
    int color_value4 = 0;
    int color_value5 = 0;
    int color_value6 = 0;
    int color_value7 = 0;
    int config_func = 0;
    int reserved = 0;
    int status = 0;
};

}  // namespace quorvik
