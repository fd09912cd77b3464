// One row of t_profile_data in memory. A new record is 0, "", "", 0, 0.
#pragma once

#include <string>

namespace quorvik {

struct ProfileRecord {
    int profile = 0;   // identifier assigned by SQLite; the first profile of a file is 1
    std::string name;  // shown to the user
    std::string app;   // application text; created empty and never changed
    int type = 0;      // always 0 for profiles the program creates
    int status = 0;    // 1 for the active profile, 0 for every other
};

}  // namespace quorvik
