// One USB identity the program supports, registered from config.xml's mode
// list: which vid/pid belongs to which model and mode, and the dev_id the
// device must report to count as that model.
#pragma once

#include <string>

namespace quorvik {

struct SupportedDevice {
    int vid = 0;
    int pid = 0;
    std::string name;    // registered empty; never used for matching
    int deviceType = 0;  // model number (device_type of config.xml)
    int mode = 0;        // 0 wired, 1 receiver
    std::string devId;   // 4 characters when set; shorter catches every device of vid/pid
};

}  // namespace quorvik
