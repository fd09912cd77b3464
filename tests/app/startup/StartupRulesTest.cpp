// The start-up rules that need no window: DPI awareness from the screen and
// its scale, and the "-hide" switch.
#include "app/startup/CommandLine.h"
#include "app/startup/DpiAwareness.h"
#include "ui/toolkit/headless/HeadlessBackend.h"

#include <gtest/gtest.h>
#include <vector>

namespace quorvik {
namespace {

TEST(DpiAwareness, ScaleClassOfDpi) {
    struct Case {
        int dpi;
        int expected;
    };
    const Case cases[] = {{0, 100},   {72, 100},  {96, 100},  {110, 100}, {120, 125}, {121, 100},
                          {144, 144}, {168, 168}, {192, 192}, {200, 100}, {240, 100}, {-5, 100}};
    for (const Case& c : cases) EXPECT_EQ(monitorScaleForDpi(c.dpi), c.expected) << c.dpi << " DPI";
}

TEST(DpiAwareness, RuleOverScreenSizeAndScale) {
    struct Case {
        const char* name;
        int width;
        int height;
        int dpi;
        bool aware;
    };
    const Case cases[] = {
        {"1366 x 768 at 96", 1366, 768, 96, true},      {"1366 x 768 at 144", 1366, 768, 144, true},
        {"narrow but tall", 1280, 1024, 96, true},      {"wide but short", 1600, 790, 96, true},
        {"1400 x 800 edge", 1400, 800, 96, false},      {"2560 x 1440 at 96", 2560, 1440, 96, false},
        {"2560 x 1440 at 192", 2560, 1440, 192, false}, {"1920 x 1080 at 96", 1920, 1080, 96, false},
        {"1920 x 1080 at 120", 1920, 1080, 120, false}, {"1920 x 1080 at 144", 1920, 1080, 144, true},
        {"1920 x 1080 at 168", 1920, 1080, 168, true},  {"1920 x 1080 at 192", 1920, 1080, 192, true},
        {"1920 x 1080 at 240", 1920, 1080, 240, false}, {"1920 x 1200 at 144", 1920, 1200, 144, false},
    };
    DUI::HeadlessBackend backend;
    for (const Case& c : cases) {
        EXPECT_EQ(shouldDeclareDpiAware(c.width, c.height, monitorScaleForDpi(c.dpi)), c.aware) << c.name;
        backend.setScreen({0, 0, c.width, c.height}, c.dpi);
        EXPECT_EQ(queryMonitorScale(), monitorScaleForDpi(c.dpi)) << c.name;
        EXPECT_EQ(decideDpiAwareness(), c.aware) << c.name << " (through the backend)";
    }
}

TEST(CommandLine, HideSwitch) {
    struct Case {
        const char* name;
        std::vector<const char*> argv;
        bool hidden;
    };
    const std::vector<Case> cases = {
        {"no arguments", {"quorvik"}, false},
        {"alone", {"quorvik", "-hide"}, true},
        {"between other words", {"quorvik", "-x", "-hide", "-autorun"}, true},
        {"inside a longer word", {"quorvik", "--hidex"}, true},
        {"capital H", {"quorvik", "-Hide"}, false},
        {"autostart only", {"quorvik", "-autorun"}, false},
        {"split over two arguments", {"quorvik", "-hi", "de"}, false},
        {"program path is not read", {"/opt/x-hide/quorvik", "-autorun"}, false},
    };
    for (const Case& c : cases) {
        const std::string line = joinCommandLine(static_cast<int>(c.argv.size()), c.argv.data());
        EXPECT_EQ(startsHidden(line), c.hidden) << c.name << ": \"" << line << "\"";
    }
    const char* argv[] = {"quorvik", "a", "b c", nullptr};
    EXPECT_EQ(joinCommandLine(3, argv), "a b c");
    EXPECT_EQ(joinCommandLine(0, nullptr), "");
}

}  // namespace
}  // namespace quorvik
