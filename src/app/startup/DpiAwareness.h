// Whether the program declares itself DPI-aware: small screens and scaled
// full-HD screens keep the toolkit's high-DPI scaling, every other screen is
// drawn at scale 1. The rule is pure; the screen is read through the toolkit.
#pragma once

namespace quorvik {

// Scale class of a monitor's effective DPI: 100 for up to 96 DPI, 125 for
// 120, the DPI itself for 144, 168 and 192, and 100 for any other value.
int monitorScaleForDpi(int dpi);

// Scale class of the primary screen (the monitor nearest the point (1, 1)),
// from the toolkit backend's DPI; 100 without a backend.
int queryMonitorScale();

// Aware when the screen is smaller than 1400 x 800 in either direction, or is
// exactly 1920 x 1080 with a scale class above 125.
bool shouldDeclareDpiAware(int screenWidth, int screenHeight, int monitorScale);

// The rule applied to the primary screen as the toolkit backend reports it.
// The scale is only queried for a 1920 x 1080 screen.
bool decideDpiAwareness();

}  // namespace quorvik
