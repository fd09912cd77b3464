// The configuration keys every new profile receives, with their default values
// as stored (decimal text). The order is the insert order of a new profile.
#pragma once

#include <span>
#include <string_view>

namespace quorvik {

struct ConfigDefault {
    std::string_view key;
    std::string_view value;
};

// The 40 rows, in insert order.
std::span<const ConfigDefault> configDefaults();

}  // namespace quorvik
