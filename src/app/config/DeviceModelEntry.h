// One supported model, or one USB identity (mode) of a model, as config.xml
// lists it. Model-list entries leave the mode fields at their defaults.
#pragma once

#include <string>

namespace quorvik {

struct DeviceModelEntry {
    std::string name;           // display name of the model
    int device_type = 0;        // model number
    std::string device_attr;    // file stem of the model's description file and database
    std::string image;          // full path of the model picture
    int mode = 0;               // 0 wired, 1 through the receiver
    int vid = 0;                // USB vendor id
    int pid = 0;                // USB product id
    std::string dev_id;         // four-character model identifier the device reports
    std::string desc;           // text of the mode
    std::string hid_interface;  // text of the mode

    bool operator==(const DeviceModelEntry&) const = default;
};

}  // namespace quorvik
