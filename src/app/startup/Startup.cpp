// Start-up sequence (see Startup.h). The order matters: the configuration
// names the lock, and the language is chosen before any window exists.
#include "app/startup/Startup.h"

#include "app/config/AppFolders.h"
#include "app/config/ConfigLoader.h"
#include "app/config/LanguageChoice.h"
#include "app/startup/CommandLine.h"
#include "app/startup/DpiAwareness.h"
#include "base/FileIo.h"
#include "ui/toolkit/Manager.h"

namespace quorvik {

int runStartup(int argc, const char* const* argv, const MainWindowRunner& runMainWindow,
               const std::string& lockFolder, const ScreenProbe& probeScreen) {
    StartupOptions options;
    int width = 0, height = 0, dpi = 96;
    if (probeScreen && probeScreen(width, height, dpi))
        options.dpiAware = shouldDeclareDpiAware(width, height, monitorScaleForDpi(dpi));
    else
        options.dpiAware = decideDpiAwareness();

    // A missing or broken config.xml leaves the toolkit's default device name.
    loadStartupConfig();

    SingleInstance instance(DUI::Manager::GetDeviceName(), lockFolder);
    if (instance.claim() == SingleInstance::Claim::AnotherRunning) {
        // Whether or not the running copy could be reached (it may still be
        // starting), this launch ends here.
        instance.sendRequest(InstanceRequest::Show);
        return 0;
    }
    // Claimed, or no lock could be had at all: run as the only copy.

    chooseStartupLanguage();
    createFolderPath(UserDataFolder() + "db");
    options.startHidden = startsHidden(joinCommandLine(argc, argv));
    if (runMainWindow) runMainWindow(options, instance);
    return 1;
}

}  // namespace quorvik
