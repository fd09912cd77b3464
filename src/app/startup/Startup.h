// The program's start-up sequence up to the main window: DPI rule, early
// configuration (device name, languages), the single-instance claim, the
// interface language, the user data folder and the start-hidden switch. The
// main window itself is run by the caller's function, which also starts
// listening for requests from later launches.
#pragma once

#include "app/startup/SingleInstance.h"

#include <functional>
#include <string>

namespace quorvik {

struct StartupOptions {
    bool dpiAware = false;     // keep high-DPI scaling (decideDpiAwareness)
    bool startHidden = false;  // "-hide" on the command line: run with the window hidden
};

// Creates, runs and ends the main window. `instance` is the claimed single
// instance: the main window calls instance.listen() once it can take
// requests, and instance lives until this function returns.
using MainWindowRunner = std::function<void(const StartupOptions& options, SingleInstance& instance)>;

// Measures the primary screen in device pixels and its DPI before any window
// exists; false when it cannot.
using ScreenProbe = std::function<bool(int& width, int& height, int& dpi)>;

// Returns 0 when another copy of the program runs (it was asked to show
// itself and nothing else was done), 1 after the main window has run. The
// lock folder is SingleInstance::runtimeFolder() unless `lockFolder` names one.
// The DPI rule reads the screen through `probeScreen` when given (the real
// program measures before its toolkit starts), else through the toolkit.
int runStartup(int argc, const char* const* argv, const MainWindowRunner& runMainWindow,
               const std::string& lockFolder = {}, const ScreenProbe& probeScreen = {});

}  // namespace quorvik
