// udev rules from config.xml: one uaccess line per USB identity, nothing that
// opens the device to every user, and the file the build made from data/.
#include "app/startup/UdevRules.h"
#include "base/FileIo.h"

#include <gtest/gtest.h>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

namespace quorvik {
namespace {

std::vector<std::string> ruleLines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        if (!line.empty() && line[0] != '#') lines.push_back(line);
    return lines;
}

std::string rule(const char* vid, const char* pid) {
    return std::string("SUBSYSTEM==\"hidraw\", ATTRS{idVendor}==\"") + vid + "\", ATTRS{idProduct}==\"" +
           pid + "\", TAG+=\"uaccess\"";
}

void expectNothingWorldWritable(const std::string& text) {
    EXPECT_EQ(text.find("MODE"), std::string::npos);
    EXPECT_EQ(text.find("0666"), std::string::npos);
    EXPECT_EQ(text.find("GROUP"), std::string::npos);
    EXPECT_EQ(text.find("RUN"), std::string::npos);
}

TEST(UdevRules, OneLinePerIdentityOfTheConfiguration) {
    char pattern[] = "/tmp/quorvik-udev-XXXXXX";
    ASSERT_NE(::mkdtemp(pattern), nullptr);
    const std::string folder = std::string(pattern) + "/";
    ASSERT_TRUE(writeFileAtomically(folder + "config.xml", R"(<?xml version="1.0" encoding="UTF-8"?>
<config>
  <device>
    <mouse name="A" device_type="1" device_attr="a">
      <mode value="0" vid="0x1209" pid="0x0001"/>
      <mode value="1" vid="0x1209" pid="0xBEEF"/>
    </mouse>
    <mouse name="B" device_type="2" device_attr="b">
      <mode value="0" vid="258a" pid="0x0001"/>
      <mode value="1" vid="0x1209" pid="0x0001"/>
      <mode value="1" vid="0x0000" pid="0x0002"/>
      <mode value="1" vid="0x12345" pid="0x0002"/>
      <mode value="1" vid="junk" pid="0x0002"/>
    </mouse>
  </device>
</config>
)"));
    const std::optional<std::string> rules = udevRulesForProgramFolder(folder);
    ASSERT_TRUE(rules.has_value());
    const std::vector<std::string> expected{rule("1209", "0001"), rule("1209", "beef"), rule("258a", "0001")};
    EXPECT_EQ(ruleLines(*rules), expected);
    expectNothingWorldWritable(*rules);

    EXPECT_FALSE(udevRulesForProgramFolder(folder + "missing/").has_value());
    ASSERT_TRUE(writeFileAtomically(folder + "config.xml", "<config><device>"));
    EXPECT_FALSE(udevRulesForProgramFolder(folder).has_value());
    std::system(("rm -rf '" + folder + "'").c_str());
}

TEST(UdevRules, BuiltFileMatchesTheShippedConfiguration) {
    const std::optional<std::string> built = readWholeFile(QUORVIK_UDEV_RULES_FILE);
    ASSERT_TRUE(built.has_value()) << QUORVIK_UDEV_RULES_FILE;
    const std::optional<std::string> fromData = udevRulesForProgramFolder(QUORVIK_SOURCE_DIR "/data/");
    ASSERT_TRUE(fromData.has_value());
    EXPECT_EQ(*built, *fromData);
    expectNothingWorldWritable(*built);

    // Every identity config.xml lists has its line.
    const std::optional<std::string> config = readWholeFile(QUORVIK_SOURCE_DIR "/data/config.xml");
    ASSERT_TRUE(config.has_value());
    std::size_t modes = 0;
    for (std::size_t at = 0; (at = config->find("<mode ", at)) != std::string::npos; ++at) ++modes;
    EXPECT_GT(modes, 0u);
    EXPECT_EQ(ruleLines(*built).size(), modes);
    for (const std::string& line : ruleLines(*built)) {
        EXPECT_EQ(line.rfind("SUBSYSTEM==\"hidraw\", ATTRS{idVendor}==\"", 0), 0u) << line;
        EXPECT_NE(line.find("TAG+=\"uaccess\""), std::string::npos) << line;
    }
}

}  // namespace
}  // namespace quorvik
