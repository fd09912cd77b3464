// The simulator's default device set stands for the models data/config.xml
// supports: every USB identity there has a virtual device with the same
// vid, pid, mode and dev_id, and the simulator adds none of its own.
#include <gtest/gtest.h>

#include <regex>
#include <set>
#include <tuple>

#include "base/FileIo.h"
#include "base/Text.h"
#include "sim/VirtualMouseConfig.h"

namespace quorvik {
namespace {

using Identity = std::tuple<long, long, int, std::string>;  // vid, pid, mode, dev_id

std::string attributeOf(const std::string& element, const char* name) {
    const std::regex pattern(std::string("\\b") + name + "=\"([^\"]*)\"");
    std::smatch match;
    return std::regex_search(element, match, pattern) ? match[1].str() : std::string();
}

TEST(DefaultDeviceSet, MatchesTheIdentitiesOfConfigXml) {
    const auto text = readWholeFile(std::string(QUORVIK_SOURCE_DIR) + "/data/config.xml");
    ASSERT_TRUE(text.has_value()) << "data/config.xml is missing";
    std::set<Identity> fromConfig;
    const std::regex modeElement("<mode\\b[^>]*>");
    for (auto it = std::sregex_iterator(text->begin(), text->end(), modeElement); it != std::sregex_iterator(); ++it) {
        const std::string element = it->str();
        fromConfig.insert({hexToLong(attributeOf(element, "vid")), hexToLong(attributeOf(element, "pid")),
                           wtoi(attributeOf(element, "value")), attributeOf(element, "dev_id")});
    }
    ASSERT_FALSE(fromConfig.empty());

    std::set<Identity> simulated;
    for (const VirtualMouseConfig& config : defaultVirtualMouseConfigs())
        simulated.insert({config.vid, config.pid, static_cast<int>(config.mode), config.devId});
    EXPECT_EQ(simulated, fromConfig);
}

}  // namespace
}  // namespace quorvik
