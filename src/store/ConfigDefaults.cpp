// The default row set of a new profile. Colours are COLORREF order (red in the
// low byte) written as decimal text; the numbers are what "%d" gives.
#include "store/ConfigDefaults.h"

#include <array>

namespace quorvik {
namespace {

constexpr std::array<ConfigDefault, 40> kConfigDefaults{{
    {"version", "1.0.1"},
    {"lightmode", "3"},
    {"sleep_light", "1"},
    {"move_wakeup", "1"},
    {"move_closelight", "1"},
    {"report_rate", "2"},
    {"report_rate_wireless", "1"},
    {"report_count", "4"},
    {"report_flag", "127"},
    {"button_respondtime", "8"},
    {"sensor_flag", "53"},
    {"liftoff_height", "1"},
    {"scroll_flag", "1"},
    {"e-sports_flag", "0"},
    {"leftbtn_lock", "1"},
    {"dpi_flag", "6"},
    {"dpi_index", "1"},
    {"dpi_count", "6"},
    {"dpi_group0_value", "800"},
    {"dpi_group1_value", "1600"},
    {"dpi_group2_value", "2400"},
    {"dpi_group3_value", "3200"},
    {"dpi_group4_value", "6400"},
    {"dpi_group5_value", "26000"},
    {"dpi_group6_value", "26000"},
    {"dpi_group7_value", "0"},
    {"dpi_group0_rgb", "255"},       // 0x0000FF red
    {"dpi_group1_rgb", "16711680"},  // 0xFF0000 blue
    {"dpi_group2_rgb", "65280"},     // 0x00FF00 green
    {"dpi_group3_rgb", "65535"},     // 0x00FFFF yellow
    {"dpi_group4_rgb", "16711935"},  // 0xFF00FF magenta
    {"dpi_group5_rgb", "16776960"},  // 0xFFFF00 cyan
    {"dpi_group6_rgb", "16712191"},  // 0xFF01FF magenta with green 1
    {"dpi_group7_rgb", "16777215"},  // 0xFFFFFF white
    {"dpi_group8_rgb", "2139135"},   // 0x20A3FF orange
    {"mouse_speed", "10"},
    {"mouse_sensitivity", "1"},
    {"wheel_scrollflag", "0"},
    {"wheel_scrolllines", "3"},
    {"doubleclick_time", "550"},
}};

}  // namespace

std::span<const ConfigDefault> configDefaults() {
    return kConfigDefaults;
}

}  // namespace quorvik
